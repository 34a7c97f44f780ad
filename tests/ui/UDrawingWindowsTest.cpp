#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include "framework/LWindow.h"
#include "framework/URegistrar.h"
#include "tests/ui/UiTestSupport.h"
#include "toolkit/UDrawing.h"
#include "ui/UDrawingWindows.h"

namespace {

using namespace uitest;

// Three light grey rectangles (class 'Bevl'): raised and framed at x 0-19, sunken at
// x 25-44, and one too small for a bevel at x 50-51.
class BevelPane : public LPane {
public:
    explicit BevelPane(QWidget* widget) : LPane(widget) { InterceptEvents(true, false); }

    static constexpr Rect kRaised = {0, 0, 20, 20};
    static constexpr Rect kSunken = {0, 25, 20, 45};
    static constexpr Rect kTiny = {0, 50, 2, 52};

protected:
    void DrawSelf() override
    {
        UDrawingWindows::DrawColoredRect(UDrawing::kColorLightGrey5, 50, &kRaised,
                                         UDrawingWindows::kBevelRaised | UDrawingWindows::kFrameBlack);
        UDrawingWindows::DrawColoredRect(UDrawing::kColorLightGrey5, 50, &kSunken, UDrawingWindows::kBevelSunken);
        UDrawingWindows::DrawColoredRect(UDrawing::kColorLightGrey5, 50, &kTiny, UDrawingWindows::kBevelRaised);
    }
};

TEST(UDrawingWindows, ColoredRectsHaveTheirBevelsAndFrame)
{
    StResourceFolder descriptions(TestDescriptions());
    URegistrar::RegisterClass<BevelPane>(MakeOSType("Bevl"));
    LWindow* window = LWindow::CreateWindow(3004, nullptr);
    window->Show();
    const QImage grabbed = window->FindPaneByID(1)->GetWidget()->grab().toImage();
    SaveForInspection(window->GetWidget()->grab().toImage(), "colored-rects");
    delete window;

    const int face = qRed(grabbed.pixel(10, 10));
    EXPECT_EQ(face, 0xCC) << "colour 5 at brightness 50";
    enum Shade { kFace, kDarker, kLighter, kBlack };
    struct Case {
        const char* where;
        int x;
        int y;
        Shade shade;
    };
    const Case cases[] = {
        {"raised: frame", 0, 10, kBlack},
        {"raised: frame's bottom right", 19, 19, kBlack},
        {"raised: top edge", 10, 1, kLighter},
        {"raised: left edge", 1, 10, kLighter},
        {"raised: bottom edge", 10, 18, kDarker},
        {"raised: right edge", 18, 10, kDarker},
        {"sunken: no frame", 25, 0, kFace},
        {"sunken: top edge", 35, 1, kDarker},
        {"sunken: left edge", 26, 10, kDarker},
        {"sunken: bottom edge", 35, 18, kLighter},
        {"sunken: right edge", 43, 10, kLighter},
        {"sunken: inside the bevel", 35, 10, kFace},
        {"too small for a bevel", 51, 1, kFace},
    };
    for (const Case& c : cases) {
        const int red = qRed(grabbed.pixel(c.x, c.y));
        switch (c.shade) {
        case kFace:
            EXPECT_EQ(red, face) << c.where;
            break;
        case kDarker:
            EXPECT_LT(red, face) << c.where;
            break;
        case kLighter:
            EXPECT_GT(red, face) << c.where;
            break;
        case kBlack:
            EXPECT_EQ(grabbed.pixel(c.x, c.y) & 0xFFFFFF, 0u) << c.where;
            break;
        }
    }
}

TEST(UDrawingWindows, ScreenSizeLeavesOutTheMenuBar)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int menuBar = QGuiApplication::primaryScreen()->availableGeometry().top() - screen.top();
    Rect plain, inset;
    UDrawingWindows::GetScreenSize(&plain, false);
    UDrawingWindows::GetScreenSize(&inset, true);
    EXPECT_EQ(plain.left, 0);
    EXPECT_EQ(plain.top, menuBar);
    EXPECT_EQ(plain.right, screen.width());
    EXPECT_EQ(plain.bottom, screen.height() - menuBar);
    EXPECT_EQ(inset.left, 4);
    EXPECT_EQ(inset.top, menuBar + 4);
    EXPECT_EQ(inset.right, screen.width() - 8);
    EXPECT_EQ(inset.bottom, screen.height() - menuBar - 8);
}

} // namespace
