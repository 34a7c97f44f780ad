#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTimer>

#include <chrono>
#include <functional>

#include "framework/LDialogBox.h"
#include "framework/LStdButton.h"
#include "framework/LYieldAttachment.h"
#include "framework/StDialogHandler.h"
#include "framework/StTimedDialogHandler.h"
#include "framework/UEventLoop.h"
#include "platform/LThread.h"
#include "tests/support/TestThread.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

using namespace frameworktest;
using Clock = std::chrono::steady_clock;

using FunctionThread = testsupport::TestThread;

// Runs the dialog until it answers 900 or 901, at most `passes` passes; 0 when it did not.
MessageT RunToAnswer(StDialogHandler& handler, int passes = 200)
{
    for (int pass = 0; pass < passes; ++pass) {
        const MessageT message = handler.DoDialog();
        if (message == msg_OK || message == msg_Cancel)
            return message;
    }
    return msg_Nothing;
}

void SendKey(QWidget* widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Escape ? QStringLiteral("\x1b") : QStringLiteral("\r"));
    QCoreApplication::sendEvent(widget, &press);
}

TEST(StDialogHandler, EndsOnTheMessageOfTheButtonTheUserChose)
{
    StResourceFolder descriptions(TestDescriptions());
    URegistrar::RegisterClass<DrawnPane>(MakeOSType("Tst1"));
    struct Case {
        const char* action;
        ResIDT dialog;
        std::function<void(LWindow&)> act;
        MessageT expected;
    };
    const Case cases[] = {
        {"OK clicked", 1000, [](LWindow& d) { dynamic_cast<LStdButton*>(d.FindPaneByID(10))->SimulateHotSpotClick(); }, msg_OK},
        {"Cancel clicked", 1000, [](LWindow& d) { dynamic_cast<LStdButton*>(d.FindPaneByID(11))->SimulateHotSpotClick(); }, msg_Cancel},
        {"Return", 1000, [](LWindow& d) { SendKey(d.GetWidget(), Qt::Key_Return); }, msg_OK},
        {"Escape", 1000, [](LWindow& d) { SendKey(d.GetWidget(), Qt::Key_Escape); }, msg_Cancel},
        {"close box", 1000, [](LWindow& d) { d.GetWidget()->close(); }, msg_Cancel},
        {"close box, no Cancel button", 1006, [](LWindow& d) { d.GetWidget()->close(); }, msg_OK},
        {"Escape, no Cancel button", 1006, [](LWindow& d) { SendKey(d.GetWidget(), Qt::Key_Escape); }, msg_OK},
    };
    for (const Case& c : cases) {
        StDialogHandler handler(c.dialog, nullptr);
        handler.GetDialog()->Show();
        EXPECT_EQ(handler.DoDialog(), msg_Nothing) << c.action << ": an answer before any";
        QTimer::singleShot(0, [&] { c.act(*handler.GetDialog()); });
        EXPECT_EQ(RunToAnswer(handler, 20), c.expected) << c.action;
        EXPECT_TRUE(handler.GetDialog()->IsVisible()) << c.action << ": the handler, not the dialog, ends it";
    }
}

TEST(StDialogHandler, DialogIsModal)
{
    StResourceFolder descriptions(TestDescriptions());
    StDialogHandler handler(1006, nullptr);
    EXPECT_EQ(handler.GetDialog()->GetWidget()->windowModality(), Qt::ApplicationModal);
}

TEST(StTimedDialogHandler, PressesItsButtonOnlyWhenTheCountdownRanOut)
{
    StResourceFolder descriptions(TestDescriptions());
    StTimedDialogHandler waiting(1006, nullptr, 1, 0);
    EXPECT_EQ(RunToAnswer(waiting, 5), msg_Nothing) << "no countdown started";

    StTimedDialogHandler started(1006, nullptr, 1, 0);
    started.StartCountdown();
    EXPECT_EQ(RunToAnswer(started, 5), msg_OK);

    StTimedDialogHandler longer(1006, nullptr, 1, 60);
    longer.StartCountdown();
    EXPECT_EQ(RunToAnswer(longer, 5), msg_Nothing) << "a minute has not passed";
}

class ThreadedDialogTest : public ::testing::Test {
protected:
    ~ThreadedDialogTest() override
    {
        mStop = true;
        for (int pass = 0; LThread::CountThreads() > 0 && pass < 1000; ++pass)
            UEventLoop::ProcessNextEvent();
    }

    // Starts a thread that runs dialog 1006 until it answers.
    void StartDialogThread()
    {
        (new FunctionThread([this] {
            StDialogHandler handler(1006, nullptr);
            handler.GetDialog()->Show();
            mHandler = &handler;
            mAnswer = RunToAnswer(handler, 1000000);
            mHandler = nullptr;
        }))->Resume();
    }

    // Passes of the event loop for the given time; answers how many.
    static int RunFor(std::chrono::milliseconds duration)
    {
        int passes = 0;
        for (const auto end = Clock::now() + duration; Clock::now() < end; ++passes)
            UEventLoop::ProcessNextEvent();
        return passes;
    }

    // Passes until `done` holds, at most five seconds; answers `done`.
    static bool RunUntil(const std::function<bool()>& done)
    {
        for (const auto end = Clock::now() + std::chrono::seconds(5); !done() && Clock::now() < end;)
            UEventLoop::ProcessNextEvent();
        return done();
    }

    void PressOK()
    {
        ASSERT_NE(mHandler, nullptr) << "the dialog is not up";
        dynamic_cast<LStdButton*>(mHandler->GetDialog()->FindPaneByID(1))->SimulateHotSpotClick();
    }

    StResourceFolder mDescriptions{TestDescriptions()};
    LYieldAttachment mYield;
    StDialogHandler* mHandler = nullptr;
    MessageT mAnswer = msg_Nothing;
    bool mStop = false;

    void SetUp() override { UEventLoop::AddAttachment(&mYield); }
};

TEST_F(ThreadedDialogTest, ModalDialogInAThreadLetsTheOtherThreadsRun)
{
    int turns = 0;
    (new FunctionThread([&] {
        while (!mStop) {
            ++turns;
            LThread::Yield();
        }
    }))->Resume();
    StartDialogThread();
    ASSERT_TRUE(RunUntil([this] { return mHandler != nullptr; })) << "the dialog did not come up";

    const int turnsBefore = turns;
    RunFor(std::chrono::milliseconds(100));
    EXPECT_GT(turns - turnsBefore, 10) << "the other thread was held up by the dialog";
    PressOK();
    EXPECT_TRUE(RunUntil([this] { return mAnswer != msg_Nothing; }));
    EXPECT_EQ(mAnswer, msg_OK);
    EXPECT_EQ(mHandler, nullptr) << "the dialog's thread did not go on";
}

TEST_F(ThreadedDialogTest, EventLoopSleepsWhileTheOnlyThreadWaitsOnADialog)
{
    StartDialogThread();
    ASSERT_TRUE(RunUntil([this] { return mHandler != nullptr; })) << "the dialog did not come up";
    const int passes = RunFor(std::chrono::milliseconds(500));
    // The wake-up comes every sleep time (6 ticks): about 5 passes, where spinning makes thousands.
    EXPECT_LT(passes, 60);
    PressOK();
    EXPECT_TRUE(RunUntil([this] { return mAnswer != msg_Nothing; }));
    EXPECT_EQ(mAnswer, msg_OK);
}

} // namespace
