#include <gtest/gtest.h>

#include <QMouseEvent>

#include <functional>
#include <vector>

#include "framework/Icons.h"
#include "framework/QDOffscreen.h"
#include "framework/QuickDraw.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

using namespace frameworktest;

constexpr RGBColor kBlack = {0, 0, 0};
constexpr QRgb kWhitePixel = 0xFFFFFFFF;
constexpr QRgb kBlackPixel = 0xFF000000;

QImage WhiteImage(int width = 10, int height = 10)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    return image;
}

// The pixels that are not white, as (x, y).
std::vector<std::pair<int, int>> MarkedPixels(const QImage& image)
{
    std::vector<std::pair<int, int>> marked;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != kWhitePixel)
                marked.emplace_back(x, y);
        }
    }
    return marked;
}

TEST(QuickDraw, LinesAndRectanglesCoverThePixelsQuickDrawDoes)
{
    struct Case {
        const char* what;
        std::function<void()> draw;
        std::vector<std::pair<int, int>> marked;
    };
    const Rect small = {1, 2, 3, 5}; // top, left, bottom, right
    const std::vector<std::pair<int, int>> smallArea = {{2, 1}, {3, 1}, {4, 1}, {2, 2}, {3, 2}, {4, 2}};
    const Case cases[] = {
        {"horizontal line, both ends", [] { MoveTo(1, 1); LineTo(3, 1); }, {{1, 1}, {2, 1}, {3, 1}}},
        {"vertical line drawn upward", [] { MoveTo(2, 3); LineTo(2, 1); }, {{2, 1}, {2, 2}, {2, 3}}},
        {"a point", [] { MoveTo(4, 4); LineTo(4, 4); }, {{4, 4}}},
        {"painted rectangle, bottom and right excluded", [&] { PaintRect(&small); }, smallArea},
        {"framed rectangle", [] { const Rect r = {0, 0, 3, 3}; FrameRect(&r); },
         {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}},
        {"inverted rectangle", [&] { InvertRect(&small); }, smallArea},
        {"inverted twice", [&] { InvertRect(&small); InvertRect(&small); }, {}},
        {"empty rectangle", [] { const Rect r = {3, 3, 3, 6}; PaintRect(&r); FrameRect(&r); }, {}},
        {"xor pen over itself", [&] { PenMode(patXor); PaintRect(&small); PaintRect(&small); }, {}},
    };
    for (const Case& c : cases) {
        QImage image = WhiteImage();
        {
            StPaintPort port(&image);
            RGBForeColor(&kBlack);
            c.draw();
        }
        EXPECT_EQ(MarkedPixels(image), c.marked) << c.what;
        if (!c.marked.empty()) {
            EXPECT_EQ(image.pixel(c.marked[0].first, c.marked[0].second), kBlackPixel) << c.what;
        }
    }
}

TEST(QuickDraw, CallsOutsideAPortDoNothingAndPortsNest)
{
    const Rect r = {0, 0, 5, 5};
    PaintRect(&r);
    MoveTo(1, 1);
    LineTo(3, 3);
    EXPECT_EQ(GetPort(), nullptr);

    QImage outer = WhiteImage(), inner = WhiteImage();
    StPaintPort outerPort(&outer);
    const RGBColor red = {0xFFFF, 0, 0};
    RGBForeColor(&red);
    {
        StPaintPort innerPort(&inner);
        RGBColor color;
        GetForeColor(&color);
        EXPECT_EQ(color.red, 0) << "a new port starts black";
    }
    RGBColor color;
    GetForeColor(&color);
    EXPECT_EQ(color.red, 0xFFFF) << "the outer port came back";
}

TEST(QuickDraw, DrawStringMovesThePenByTheStringsWidth)
{
    QImage image = WhiteImage(200, 40);
    StPaintPort port(&image);
    const unsigned char text[] = "\x05" "Varno";
    TextFace(bold);
    const SInt16 width = StringWidth(text);
    EXPECT_GT(width, 0);
    MoveTo(10, 30);
    DrawString(text);
    EXPECT_EQ(port.Port().penLocation.h, 10 + width);
    FontInfo info;
    GetFontInfo(&info);
    EXPECT_GT(info.ascent, 0);
}

TEST(QuickDraw, OffscreenWorldReadsBackInItsOwnCoordinates)
{
    GWorldPtr world = nullptr;
    const Rect empty = {5, 5, 5, 9};
    EXPECT_EQ(NewGWorld(&world, 1, &empty), paramErr);
    EXPECT_EQ(world, nullptr);

    const Rect bounds = {10, 20, 30, 40};
    ASSERT_EQ(NewGWorld(&world, 1, &bounds), noErr);
    {
        StGWorldPort port(world);
        EXPECT_FALSE(GetPixel(20, 10)) << "a new world is white";
        const Rect corner = {10, 20, 11, 22};
        PaintRect(&corner);
        EXPECT_TRUE(GetPixel(20, 10));
        EXPECT_TRUE(GetPixel(21, 10));
        EXPECT_FALSE(GetPixel(22, 10));
        EXPECT_FALSE(GetPixel(20, 11));
        EXPECT_FALSE(GetPixel(0, 0)) << "outside the world";
    }
    DisposeGWorld(world);
}

TEST(QuickDraw, ColourIconKeepsItsSizeAtTheRectanglesCorner)
{
    StResourceFolder descriptions(TestDescriptions());
    EXPECT_EQ(GetCIcon(699), nullptr);
    CIconHandle icon = GetCIcon(600);
    ASSERT_NE(icon, nullptr);
    QImage image = WhiteImage();
    {
        StPaintPort port(&image);
        const Rect r = {2, 3, 10, 10};
        PlotCIcon(&r, icon);
    }
    DisposeCIcon(icon);
    const auto marked = MarkedPixels(image);
    ASSERT_EQ(marked.size(), 12u) << "4 × 3 pixels";
    EXPECT_EQ(marked.front(), std::make_pair(3, 2));
    EXPECT_EQ(marked.back(), std::make_pair(6, 4));
}

double AverageBrightness(const QImage& image)
{
    double sum = 0;
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor color = image.pixelColor(x, y);
            if (color.alpha() == 255 && color.rgb() != kWhitePixel) {
                sum += color.lightnessF();
                ++count;
            }
        }
    }
    return count ? sum / count : -1;
}

TEST(Icons, GenericFolderIconIsPlottedAndDarkenedWhenSelected)
{
    IconRef folder = nullptr;
    ASSERT_EQ(GetIconRef(0, kSystemIconsCreator, kGenericFolderIcon, &folder), noErr);
    const Rect frame = {0, 0, 32, 32};
    QImage normalImage = WhiteImage(32, 32), selectedImage = WhiteImage(32, 32);
    {
        StPaintPort port(&normalImage);
        EXPECT_EQ(PlotIconRef(&frame, kAlignAbsoluteCenter, kTransformNone, kIconServicesNormalUsageFlag, folder), noErr);
    }
    {
        StPaintPort port(&selectedImage);
        PlotIconRef(&frame, kAlignAbsoluteCenter, kTransformSelected, kIconServicesNormalUsageFlag, folder);
    }
    EXPECT_FALSE(MarkedPixels(normalImage).empty()) << "nothing was drawn";
    EXPECT_LT(AverageBrightness(selectedImage), AverageBrightness(normalImage));
    SaveForInspection(normalImage, "icon-folder");
    EXPECT_EQ(AcquireIconRef(folder), noErr);
    EXPECT_EQ(ReleaseIconRef(folder), noErr);
    EXPECT_EQ(ReleaseIconRef(folder), noErr);
}

TEST(Icons, NoIconPlotsNothing)
{
    IconRef none = nullptr;
    QImage image = WhiteImage();
    StPaintPort port(&image);
    const Rect r = {0, 0, 10, 10};
    EXPECT_EQ(PlotIconRef(&r, 0, 0, 0, none), paramErr);
}

using PaneDrawingTest = WindowTest;

TEST_F(PaneDrawingTest, PaneThatDrawsItselfPaintsItsFrameAndTakesItsClicks)
{
    auto* drawn = Find<DrawnPane>(40);
    ASSERT_NE(drawn, nullptr);
    const QImage grabbed = mWindow->GetWidget()->grab().toImage();
    SaveForInspection(grabbed, "window-1000");
    Rect frame;
    drawn->CalcPortFrameRect(frame);
    EXPECT_EQ(frame.left, 280);
    EXPECT_EQ(frame.top, 205);
    const qreal ratio = grabbed.devicePixelRatio();
    EXPECT_EQ(grabbed.pixel(QPoint(frame.left + 1, frame.top + 1) * ratio), 0xFFFF0000);
    EXPECT_EQ(grabbed.pixel(QPoint(frame.right - 1, frame.bottom - 1) * ratio), 0xFFFF0000);
    EXPECT_NE(grabbed.pixel(QPoint(frame.right + 1, frame.bottom + 1) * ratio), 0xFFFF0000);

    QWidget* widget = drawn->GetWidget();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(7, 9), widget->mapToGlobal(QPointF(7, 9)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    EXPECT_EQ(drawn->mClicks, 1);
    EXPECT_EQ(drawn->mLastClick.h, 7);
    EXPECT_EQ(drawn->mLastClick.v, 9);
    EXPECT_EQ(drawn->mLastClickCount, 1);
    QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(7, 9), widget->mapToGlobal(QPointF(7, 9)), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &second);
    EXPECT_EQ(drawn->mClicks, 2) << "the second click of a double click";
    EXPECT_EQ(drawn->mLastClickCount, 2);

    drawn->Disable();
    QCoreApplication::sendEvent(widget, &press);
    EXPECT_EQ(drawn->mClicks, 2) << "a disabled pane took a click";
}

} // namespace
