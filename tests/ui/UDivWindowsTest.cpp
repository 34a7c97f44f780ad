#include <gtest/gtest.h>

#include <vector>

#include "framework/LWindow.h"
#include "framework/URegistrar.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/UDivWindows.h"

namespace {

using namespace uitest;

// A window that listens (class 'LstW'), recording what it hears.
class ListeningWindow : public LWindow, public LListener {
public:
    using LWindow::LWindow;

    void ListenToMessage(MessageT message, void* param) override
    {
        mMessages.push_back(message);
        mParams.push_back(param);
    }

    std::vector<MessageT> mMessages;
    std::vector<void*> mParams;
};

class UDivWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        URegistrar::RegisterClass<ListeningWindow>(MakeOSType("LstW"));
        mWindow = dynamic_cast<ListeningWindow*>(LWindow::CreateWindow(3003, nullptr));
        ASSERT_NE(mWindow, nullptr);
    }
    void TearDown() override { delete mWindow; }

    StResourceFolder mDescriptions{TestDescriptions()};
    ListeningWindow* mWindow = nullptr;
};

TEST_F(UDivWindowsTest, FindsThePanesWindow)
{
    EXPECT_EQ(UDivWindows::FindParentWindow(mWindow->FindPaneByID(2)), mWindow) << "a pane inside a view";
    EXPECT_EQ(UDivWindows::FindParentWindow(mWindow), mWindow) << "the window itself";
    EXPECT_EQ(UDivWindows::FindParentWindow(nullptr), nullptr);
}

TEST_F(UDivWindowsTest, FindsPanesOutward)
{
    LPane* inner = mWindow->FindPaneByID(2);
    EXPECT_EQ(UDivWindows::FindPaneByIDHiearchical(inner, 1), mWindow->FindPaneByID(1)) << "its enclosing view";
    EXPECT_EQ(UDivWindows::FindPaneByIDHiearchical(inner, 3003), mWindow) << "the window by its ID";
    EXPECT_EQ(UDivWindows::FindPaneByIDHiearchical(inner, 99), nullptr);
    EXPECT_EQ(UDivWindows::FindPaneByIDHiearchical(nullptr, 1), nullptr);
}

TEST_F(UDivWindowsTest, WindowListenToMessageReachesTheListeningWindow)
{
    SInt32 value = 7;
    UDivWindows::WindowListenToMessage(mWindow->FindPaneByID(2), MakeOSType("Selc"), &value);
    ASSERT_EQ(mWindow->mMessages.size(), 1u);
    EXPECT_EQ(mWindow->mMessages[0], MessageT(MakeOSType("Selc")));
    EXPECT_EQ(mWindow->mParams[0], &value);
    UDivWindows::WindowListenToMessage(nullptr, 1, nullptr);
    EXPECT_EQ(mWindow->mMessages.size(), 1u) << "no pane, no window";
}

} // namespace
