// Tool tips on simulated mouse positions and tick counts: when a tip appears, where,
// and when it goes; the pane whose tip a point of a window shows.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>

#include "framework/UDesktop.h"
#include "framework/UEventLoop.h"
#include "platform/DateTimeUtils.h"
#include "platform/MacRoman.h"
#include "platform/Resources.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/CToolTips.h"

namespace {

using namespace uitest;
namespace fs = std::filesystem;

constexpr ResIDT kTippedWindow = 3006;
constexpr ResIDT kStrings = 140; // a string list with more than three lines

class CToolTipsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterWindowClass();
        URegistrar::RegisterClass<CToolTips>(MakeOSType("WTip"));
        fs::copy_file(PackageResources() / "21999.ui", mResources / "21999.ui");
        fs::copy_file(TestDescriptions() / "3006.ui", mResources / "3006.ui");
        mResources.WriteFile("140.strings", "One line\nFirst\rSecond\rThird\nLater\n");
        SetResourceFolderForTesting(mResources.Path().string());
        mOwner = dynamic_cast<CWindow*>(LWindow::CreateWindow(kTippedWindow, nullptr));
        ASSERT_NE(mOwner, nullptr);
        mOwner->DoSetPosition({100, 100});
        mOwner->Select();
        // The application comes to the front once the window's activation is handled.
        testsupport::WaitUntil([] {
            QCoreApplication::processEvents();
            return UDesktop::IsApplicationActive();
        }, std::chrono::seconds(5));
        CToolTips::sActive = true;
        CToolTips::sPaneID = 0;
        CToolTips::sMousePosition = {0, 0};
        CToolTips::sTicks = 0;
        mOwner->SetToolTipsForItem(11, kStrings, 1);
        mOwner->SetToolTipsForItem(10, kStrings, 3);
    }

    void TearDown() override
    {
        PressSpaceBar(false);
        delete mOwner;
        // A tip closes itself at the event loop's next pass: let that pass come.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetTickCountForTesting(std::nullopt);
        SetResourceFolderForTesting("");
    }

    // The mouse at `where` in the owner's content at tick `tick`, over pane 11 unless told.
    void MouseAt(Point where, UInt32 tick, PaneIDT paneID = 11, SInt16 textIndex = 1)
    {
        SetTickCountForTesting(tick);
        EventRecord event;
        event.when = tick;
        event.where = {SInt16(where.v + 100), SInt16(where.h + 100)};
        Str255 text;
        GetIndString(text, kStrings, textIndex);
        CToolTips::DoToolTips(where, event, paneID, text, mOwner);
    }

    // The tip's periodical check at tick `tick`, the mouse over the owner.
    void CheckTip(UInt32 tick)
    {
        SetTickCountForTesting(tick);
        EventRecord event;
        event.when = tick;
        event.where = {130, 130};
        ASSERT_NE(CToolTips::sToolTipsWindow, nullptr);
        CToolTips::sToolTipsWindow->SpendTime(event);
    }

    void PressSpaceBar(bool down)
    {
        QKeyEvent key(down ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier,
                      QStringLiteral(" "));
        QCoreApplication::sendEvent(mOwner->GetWidget(), &key);
    }

    static bool TipShown() { return CToolTips::sToolTipsWindow != nullptr && CToolTips::sToolTipsWindow->IsVisible(); }

    testsupport::TempFolder mResources;
    StResourceFolder mDescriptions{mResources.Path()};
    CWindow* mOwner = nullptr;
};

TEST_F(CToolTipsTest, TipAppearsAfterTheMouseRestsSixtyTicks)
{
    MouseAt({20, 20}, 1000);
    MouseAt({20, 20}, 1059);
    EXPECT_FALSE(TipShown());
    MouseAt({20, 20}, 1061);
    ASSERT_TRUE(TipShown());
    Str255 text;
    CToolTips::sToolTipsWindow->FindPaneByID(1)->GetDescriptor(text);
    EXPECT_EQ(std::string(Str255View(text)), "One line");
    SaveForInspection(CToolTips::sToolTipsWindow->GetWidget()->grab().toImage(), "tool-tip");
}

TEST_F(CToolTipsTest, FivePixelsAreRestSixRestartTheDelay)
{
    const struct {
        SInt16 dh, dv;
        bool shown;
    } cases[] = {{5, 0, true}, {0, -5, true}, {5, 5, true}, {6, 0, false}, {0, 6, false}};
    UInt32 tick = 1000;
    for (const auto& c : cases) {
        CToolTips::DeleteToolTipsWindow();
        CToolTips::sPaneID = 0;
        MouseAt({20, 20}, tick);
        MouseAt({SInt16(20 + c.dv), SInt16(20 + c.dh)}, tick + 30);
        MouseAt({SInt16(20 + c.dv), SInt16(20 + c.dh)}, tick + 61);
        EXPECT_EQ(TipShown(), c.shown) << c.dh << "," << c.dv;
        tick += 1000;
    }
}

TEST_F(CToolTipsTest, ClosedTipStaysClosedOverTheSamePane)
{
    MouseAt({20, 20}, 1000);
    MouseAt({20, 20}, 1061);
    ASSERT_TRUE(TipShown());
    CToolTips::DeleteToolTipsWindow();
    MouseAt({20, 20}, 1200);
    EXPECT_FALSE(TipShown()) << "the same pane, the mouse still at rest";
    MouseAt({22, 22}, 1300);
    EXPECT_FALSE(TipShown()) << "moved within the same pane";

    // Another pane first, then back: the tip may come again.
    MouseAt({60, 60}, 1400, 10, 3);
    MouseAt({20, 20}, 1500);
    MouseAt({20, 20}, 1561);
    EXPECT_TRUE(TipShown());
}

TEST_F(CToolTipsTest, PaneWithoutIdOrTextNeverShowsATip)
{
    PressSpaceBar(true);
    const struct {
        PaneIDT paneID;
        SInt16 textIndex;
    } cases[] = {{0, 1}, {11, 9}};
    for (const auto& c : cases) {
        MouseAt({20, 20}, 1000, c.paneID, c.textIndex);
        MouseAt({20, 20}, 1100, c.paneID, c.textIndex);
        EXPECT_FALSE(TipShown()) << c.paneID;
    }
}

TEST_F(CToolTipsTest, ThreeLineTipStaysTwentySecondsAfterItWasDue)
{
    MouseAt({20, 20}, 1000, 11, 2);
    MouseAt({20, 20}, 1061, 11, 2);
    ASSERT_TRUE(TipShown());
    EXPECT_EQ(CToolTips::sToolTipsWindow->GetLineCount(), 3);
    // The checks come at least 30 ticks apart.
    CheckTip(1060 + 1170);
    EXPECT_TRUE(TipShown());
    CheckTip(1060 + 1200);
    EXPECT_TRUE(TipShown());
    CheckTip(1060 + 1230);
    EXPECT_FALSE(TipShown());
    UEventLoop::ProcessPendingEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CToolTips::sToolTipsWindow, nullptr);
}

TEST_F(CToolTipsTest, SpaceBarShowsATipAtOnceWithTipsOff)
{
    CToolTips::sActive = false;
    MouseAt({20, 20}, 1000);
    MouseAt({20, 20}, 1100);
    EXPECT_FALSE(TipShown()) << "tips off";

    // With the space bar down, the next pass of the event loop over the pane shows it.
    PressSpaceBar(true);
    MouseAt({20, 20}, 1101);
    MouseAt({20, 20}, 1102);
    ASSERT_TRUE(TipShown());
    EXPECT_TRUE(CToolTips::sActivedWithSpaceBar);
    CheckTip(1110);
    EXPECT_TRUE(TipShown()) << "the space bar is still down";
    PressSpaceBar(false);
    CheckTip(1140);
    EXPECT_FALSE(TipShown()) << "closed at the first check after the release";
}

TEST_F(CToolTipsTest, TipNearTheBottomOfTheScreenOpensAboveTheMouse)
{
    Rect screen;
    UDesktop::GetMainScreenBounds(screen);
    const Point mouse = {SInt16(screen.bottom - 4), 200};
    const Point inOwner = {SInt16(mouse.v - 100), SInt16(mouse.h - 100)};
    SetTickCountForTesting(1000);
    EventRecord event;
    event.where = mouse;
    Str255 text;
    GetIndString(text, kStrings, 1);
    CToolTips::DoToolTips(inOwner, event, 11, text, mOwner);
    SetTickCountForTesting(1061);
    CToolTips::DoToolTips(inOwner, event, 11, text, mOwner);
    ASSERT_TRUE(TipShown());
    Rect tip;
    CToolTips::sToolTipsWindow->GetGlobalBounds(tip);
    EXPECT_LT(tip.bottom, mouse.v);
    EXPECT_EQ(tip.left, mouse.h - 6);
}

TEST_F(CToolTipsTest, DeepestPaneWithATipAnswers)
{
    const struct {
        Point where;
        PaneIDT expected;
        const char* text;
    } cases[] = {
        {{25, 25}, 11, "One line"},   // the label inside the frame: the deepest tip wins
        {{65, 25}, 10, "Later"},      // a label without a tip: its frame's
        {{165, 25}, 0, ""},           // a pane without an ID
        {{190, 250}, 0, ""},          // no pane at all
    };
    for (const auto& c : cases) {
        Str255 text;
        EXPECT_EQ(mOwner->GetToolTipsItemInWindow(c.where, text), c.expected) << c.where.h << "," << c.where.v;
        EXPECT_EQ(std::string(Str255View(text)), c.text);
    }
    // A second registration replaces the first.
    mOwner->SetToolTipsForItem(11, kStrings, 3);
    Str255 text;
    mOwner->GetToolTipsItemInWindow({25, 25}, text);
    EXPECT_EQ(std::string(Str255View(text)), "Later");
}

} // namespace
