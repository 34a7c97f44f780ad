#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QPointer>

#include "framework/LDialogBox.h"
#include "framework/LStdButton.h"
#include "framework/UDesktop.h"
#include "framework/UEventLoop.h"
#include "framework/UKeyboard.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

using namespace frameworktest;

TEST(UDesktop, MainScreenOfTheOffscreenPlatform)
{
    Rect screen;
    UDesktop::GetMainScreenBounds(screen);
    EXPECT_EQ(screen.left, 0);
    EXPECT_EQ(screen.top, 0);
    EXPECT_GT(screen.right, 0);
    EXPECT_GT(screen.bottom, 0);
    EXPECT_EQ(UDesktop::GetMBarHeight(), 0);
}

class LWindowTest : public ::testing::Test {
protected:
    StResourceFolder mDescriptions{TestDescriptions()};
};

TEST_F(LWindowTest, WindowListIsFrontToBackAndForgetsClosedWindows)
{
    LWindow* first = LWindow::CreateWindow(1005, nullptr);
    LWindow* second = LWindow::CreateWindow(1006, nullptr);
    EXPECT_EQ(UDesktop::FetchTopRegular(), second) << "a new window comes in front";
    first->Select();
    EXPECT_EQ(UDesktop::FetchTopRegular(), first);
    EXPECT_TRUE(first->IsVisible());
    EXPECT_EQ(LCommander::GetTarget(), first);
    first->DoClose();
    EXPECT_EQ(UDesktop::FetchTopRegular(), second);
    EXPECT_NE(LCommander::GetTarget(), first);
    delete second;
    EXPECT_TRUE(UDesktop::GetWindowList().empty());
}

TEST_F(LWindowTest, BoundsAreThoseOfTheContentInGlobalCoordinates)
{
    LWindow* window = LWindow::CreateWindow(1005, nullptr);
    window->DoSetPosition({120, 30});
    window->Show();
    Rect bounds;
    window->GetGlobalBounds(bounds);
    EXPECT_EQ(bounds.top, 120);
    EXPECT_EQ(bounds.left, 30);
    EXPECT_EQ(bounds.right - bounds.left, 300) << "the description's width";
    EXPECT_EQ(bounds.bottom - bounds.top, 200);
    window->DoSetBounds({50, 60, 150, 260});
    window->GetGlobalBounds(bounds);
    EXPECT_EQ(bounds.top, 50);
    EXPECT_EQ(bounds.left, 60);
    EXPECT_EQ(bounds.bottom, 150);
    EXPECT_EQ(bounds.right, 260);
    delete window;
}

TEST_F(LWindowTest, TitleIsTheDescriptorAndCloseCommandClosesTheWindow)
{
    LWindow* window = LWindow::CreateWindow(1005, nullptr);
    Str255 title;
    window->GetDescriptor(title);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(title + 1), title[0]), "Plain");
    const unsigned char other[] = "\x05" "Other";
    window->SetDescriptor(other);
    EXPECT_EQ(window->GetWidget()->windowTitle(), QStringLiteral("Other"));

    Boolean enabled = false;
    window->FindCommandStatus(cmd_Close, enabled);
    EXPECT_TRUE(enabled);
    const std::size_t before = UDesktop::GetWindowList().size();
    window->ObeyCommand(cmd_Close, nullptr);
    EXPECT_EQ(UDesktop::GetWindowList().size(), before - 1);
}

TEST_F(LWindowTest, ClosingFromAHandlerOfItsOwnButtonIsSafe)
{
    // The dialog box closes itself on OK, from within the button's click.
    auto* dialog = dynamic_cast<LDialogBox*>(LWindow::CreateWindow(1006, nullptr));
    ASSERT_NE(dialog, nullptr);
    UReanimator::LinkListenerToControls(dialog, dialog, 1006);
    QPointer<QWidget> widget = dialog->GetWidget();
    struct DeleteAtOnce : LListener {
        LWindow* window;
        void ListenToMessage(MessageT, void*) override { delete window; }
    } closer;
    closer.window = dialog;
    auto* ok = dynamic_cast<LStdButton*>(dialog->FindPaneByID(1));
    ok->AddListener(&closer);
    ok->SimulateHotSpotClick();
    EXPECT_FALSE(widget.isNull()) << "the widgets outlive the handler";
    for (int pass = 0; pass < 3; ++pass)
        UEventLoop::ProcessNextEvent();
    EXPECT_TRUE(widget.isNull()) << "the widgets of a deleted window stay";
}

TEST_F(LWindowTest, SpaceBarIsDownFromItsPressToItsRelease)
{
    LWindow* window = LWindow::CreateWindow(1005, nullptr);
    QWidget* label = window->FindPaneByID(1)->GetWidget();
    auto send = [label](QEvent::Type type, bool autoRepeat) {
        QKeyEvent key(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
        QCoreApplication::sendEvent(label, &key);
    };
    EXPECT_FALSE(UKeyboard::IsKeyDown(UKeyboard::kSpaceBar));
    send(QEvent::KeyPress, false);
    EXPECT_TRUE(UKeyboard::IsKeyDown(UKeyboard::kSpaceBar));
    send(QEvent::KeyRelease, true);
    EXPECT_TRUE(UKeyboard::IsKeyDown(UKeyboard::kSpaceBar)) << "the key repeats; it was not let go";
    send(QEvent::KeyRelease, false);
    EXPECT_FALSE(UKeyboard::IsKeyDown(UKeyboard::kSpaceBar));
    EXPECT_FALSE(UKeyboard::IsKeyDown(12)) << "keys other than the modifiers and the space bar";
    delete window;
}

TEST_F(LWindowTest, WindowsAreDeletedWithTheirSuperCommander)
{
    auto* owner = new LCommander(nullptr);
    LWindow::CreateWindow(1005, owner);
    LWindow::CreateWindow(1006, owner);
    EXPECT_EQ(owner->GetSubCommanders().size(), 2u);
    delete owner;
    EXPECT_TRUE(UDesktop::GetWindowList().empty());
}

} // namespace
