#include <gtest/gtest.h>

#include "framework/LWindow.h"
#include "framework/URegistrar.h"
#include "tests/support/WindowTestSupport.h"
#include "ui/CPictureMasked.h"

namespace {

using namespace windowtest;

// How many pixels of the pane's frame in the grabbed window are the picture's red.
int RedPixels(const QImage& grabbed, const LPane& pane)
{
    const QImage image = PaneInGrab(grabbed, pane);
    const qreal ratio = grabbed.devicePixelRatio();
    int red = 0;
    for (int y = 0; y < image.height() / ratio; ++y) {
        for (int x = 0; x < image.width() / ratio; ++x)
            red += image.pixel(QPoint(x, y) * ratio) == 0xFFFF0000 ? 1 : 0;
    }
    return red;
}

TEST(CPictureMasked, ShowsThePictureOnlyWhereTheMaskIsBlack)
{
    StResourceFolder descriptions(TestDescriptions());
    URegistrar::RegisterClass<CPictureMasked>(MakeOSType("PicM"));
    LWindow* window = LWindow::CreateWindow(3000, nullptr);
    window->Show();
    const QImage grabbed = window->GetWidget()->grab().toImage();
    SaveForInspection(grabbed, "masked-pictures");

    struct Case {
        PaneIDT paneID;
        const char* mask;
        int redPixels; // of the 40 × 40 pane
    };
    const Case cases[] = {
        {1, "all white", 0},
        {2, "left half black", 20 * 40},
        {3, "none", 40 * 40},
        {4, "missing", 40 * 40},
    };
    for (const Case& c : cases) {
        LPane* pane = window->FindPaneByID(c.paneID);
        ASSERT_NE(dynamic_cast<CPictureMasked*>(pane), nullptr) << c.mask;
        EXPECT_EQ(RedPixels(grabbed, *pane), c.redPixels) << "mask " << c.mask;
    }
    delete window;
}

} // namespace
