#pragma once
// The framework tests' own pane class and window 1000.

#include <gtest/gtest.h>

#include "framework/LWindow.h"
#include "framework/QuickDraw.h"
#include "framework/URegistrar.h"
#include "tests/support/WindowTestSupport.h"

namespace frameworktest {

using namespace windowtest;

// The pane of class 'Tst1' in window 1000: it paints itself red and counts its clicks.
class DrawnPane : public LPane {
public:
    explicit DrawnPane(QWidget* widget) : LPane(widget) { InterceptEvents(true, true); }

    int mClicks = 0;
    Point mLastClick = {0, 0};
    UInt16 mLastClickCount = 0;

protected:
    void DrawSelf() override
    {
        Rect frame;
        CalcLocalFrameRect(frame);
        const RGBColor red = {0xFFFF, 0, 0};
        RGBForeColor(&red);
        PaintRect(&frame);
    }

    void ClickSelf(const SMouseDownEvent& event) override
    {
        ++mClicks;
        mLastClick = event.whereLocal;
        mLastClickCount = event.clickCount;
    }
};

// Window 1000 of the test descriptions, built afresh for each test.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        URegistrar::RegisterClass<DrawnPane>(MakeOSType("Tst1"));
        mWindow = LWindow::CreateWindow(1000, nullptr);
    }

    void TearDown() override { delete mWindow; }

    template <typename PaneClass>
    PaneClass* Find(PaneIDT paneID)
    {
        return dynamic_cast<PaneClass*>(mWindow->FindPaneByID(paneID));
    }

    StResourceFolder mDescriptions{TestDescriptions()};
    LWindow* mWindow = nullptr;
};

} // namespace frameworktest
