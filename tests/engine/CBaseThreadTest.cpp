#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "platform/DateTimeUtils.h"
#include "tests/engine/WorkThread.h"

namespace {

class CBaseThreadTest : public testing::Test {
protected:
    void SetUp() override { SetTickCountForTesting(1000); }
    void TearDown() override
    {
        SetTickCountForTesting(std::nullopt);
        EXPECT_EQ(LThread::CountThreads(), 0u);
    }
};

TEST_F(CBaseThreadTest, FinishedThreadWaitsForItsOwnerThenEnds)
{
    int result = 0;
    auto* thread = new WorkThread([&](WorkThread&) { result = 42; });
    thread->Resume();
    for (int pass = 0; pass < 3; ++pass)
        LThread::Yield();
    ASSERT_TRUE(thread->ThreadFinished());
    EXPECT_FALSE(thread->ThreadRunning());
    EXPECT_EQ(result, 42);
    EXPECT_EQ(LThread::CountThreads(), 1u) << "gone before the owner resumed it";

    thread->Resume();
    LThread::Yield();
}

TEST_F(CBaseThreadTest, EndIsToldToTheListenerInstead)
{
    struct EndListener : LListener {
        void ListenToMessage(MessageT message, void* thread) override
        {
            heard = message;
            finished = static_cast<CBaseThread*>(thread)->ThreadFinished();
        }
        MessageT heard = 0;
        bool finished = false;
    } listener;
    auto* thread = new WorkThread([](WorkThread&) {});
    thread->SetEndNotification(&listener, MessageT(MakeOSType("Done")));
    thread->Resume();
    LThread::Yield();
    EXPECT_EQ(listener.heard, MessageT(MakeOSType("Done")));
    EXPECT_TRUE(listener.finished);
}

TEST_F(CBaseThreadTest, YieldsAtMostOncePerPeriod)
{
    int reached = 0;
    auto* thread = new WorkThread([&](WorkThread& self) {
        SetTickCountForTesting(1025); // past the first period
        self.YieldSelf(12);
        reached = 1;
        SetTickCountForTesting(1030); // within the period of that yield
        self.YieldSelf(12);
        reached = 2;
    });
    thread->Resume();
    LThread::Yield();
    EXPECT_EQ(reached, 0);
    LThread::Yield();
    EXPECT_EQ(reached, 2);
    thread->Resume();
    LThread::Yield();
}

TEST_F(CBaseThreadTest, WaitTicksYieldsUntilTimeOrCancellation)
{
    int waits = 0;
    auto* waiting = new WorkThread([&](WorkThread& self) {
        self.WaitTicks(30);
        ++waits;
    });
    waiting->Resume();
    int passes = 0;
    for (UInt32 ticks = 1000; waits == 0 && passes < 100; ticks += 10, ++passes) {
        SetTickCountForTesting(ticks);
        LThread::Yield();
    }
    EXPECT_EQ(passes, 4);
    waiting->Resume();
    LThread::Yield();

    // The clock stands still here: only the cancellation can end the wait.
    auto* cancelled = new WorkThread([&](WorkThread& self) {
        self.CancelThread();
        self.WaitTicks(30);
        ++waits;
    });
    cancelled->Resume();
    LThread::Yield();
    EXPECT_EQ(waits, 2);
    EXPECT_TRUE(cancelled->ThreadCancelled());
    EXPECT_TRUE(cancelled->ThreadFinished());
    cancelled->Resume();
    LThread::Yield();
}

TEST_F(CBaseThreadTest, AnExceptionEndsTheRunAsFinished)
{
    auto* thread = new WorkThread([](WorkThread&) { throw std::runtime_error("lost"); });
    thread->Resume();
    LThread::Yield();
    EXPECT_TRUE(thread->ThreadFinished());
    thread->Resume();
    LThread::Yield();
}

} // namespace
