#include <gtest/gtest.h>

#include <QMouseEvent>

#include "framework/LWindow.h"
#include "framework/URegistrar.h"
#include "tests/support/WindowTestSupport.h"
#include "ui/CStaticTextButton.h"

namespace {

using namespace windowtest;

// Records the messages and the pane each came with.
struct PaneListener : LListener {
    void ListenToMessage(MessageT message, void* ioParam) override
    {
        messages.push_back(message);
        params.push_back(ioParam);
    }
    std::vector<MessageT> messages;
    std::vector<void*> params;
};

void Click(LPane& pane)
{
    QWidget* widget = pane.GetWidget();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

class CStaticTextButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        URegistrar::RegisterClass<CStaticTextButton, QLabel>(MakeOSType("CTex"));
        mWindow = LWindow::CreateWindow(3001, nullptr);
    }
    void TearDown() override { delete mWindow; }

    CStaticTextButton& Text(PaneIDT paneID) { return *dynamic_cast<CStaticTextButton*>(mWindow->FindPaneByID(paneID)); }

    StResourceFolder mDescriptions{TestDescriptions()};
    LWindow* mWindow = nullptr;
};

TEST_F(CStaticTextButtonTest, ClickBroadcastsItsMessageWithItselfAsParameter)
{
    mWindow->Show();
    SaveForInspection(mWindow->GetWidget()->grab().toImage(), "text-buttons");
    PaneListener listener;
    Text(1).AddListener(&listener);
    Click(Text(1));
    ASSERT_EQ(listener.messages.size(), 1u);
    EXPECT_EQ(listener.messages[0], MessageT(MakeOSType("Clo1")));
    EXPECT_EQ(listener.params[0], &Text(1));
}

TEST_F(CStaticTextButtonTest, MessageZeroBroadcastsNothing)
{
    PaneListener listener;
    Text(3).AddListener(&listener);
    Click(Text(3));
    EXPECT_TRUE(listener.messages.empty());
}

TEST_F(CStaticTextButtonTest, LinkedControlSpeaksWithTheTextsMessageAndFollowsItsState)
{
    auto* check = dynamic_cast<LControl*>(mWindow->FindPaneByID(2));
    ASSERT_EQ(Text(1).GetLinkedControl(), check);
    EXPECT_EQ(check->GetValueMessage(), MessageT(MakeOSType("Clo1")));
    Text(1).Disable();
    EXPECT_FALSE(check->IsEnabled());
    Text(1).Enable();
    EXPECT_TRUE(check->IsEnabled());
}

TEST_F(CStaticTextButtonTest, LinkedPaneThatIsNoControlIsIgnored)
{
    EXPECT_EQ(Text(4).GetLinkedControl(), nullptr);
    Text(4).Disable();
    EXPECT_TRUE(mWindow->FindPaneByID(5)->IsEnabled());
    PaneListener listener;
    Text(4).Enable();
    Text(4).AddListener(&listener);
    Click(Text(4));
    EXPECT_EQ(listener.messages, std::vector<MessageT>{MessageT(MakeOSType("Res1"))});
}

} // namespace
