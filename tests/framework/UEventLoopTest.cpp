#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/LPeriodical.h"
#include "framework/LYieldAttachment.h"
#include "framework/UEventLoop.h"
#include "platform/LThread.h"
#include "tests/support/TestThread.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

class TestPeriodical : public LPeriodical {
public:
    explicit TestPeriodical(std::function<void(TestPeriodical&)> work = {}) : mWork(std::move(work)) {}

    void SpendTime(const EventRecord& event) override
    {
        ++mCalls;
        mLastEvent = event;
        if (mWork)
            mWork(*this);
    }

    int mCalls = 0;
    EventRecord mLastEvent;

private:
    std::function<void(TestPeriodical&)> mWork;
};

TEST(UEventLoop, EveryPassGivesTimeToRepeatersThenIdlers)
{
    std::vector<char> order;
    TestPeriodical idler([&](TestPeriodical&) { order.push_back('i'); });
    TestPeriodical repeater([&](TestPeriodical&) { order.push_back('r'); });
    idler.StartIdling();
    repeater.StartRepeating();
    UEventLoop::ProcessNextEvent();
    UEventLoop::ProcessNextEvent();
    EXPECT_EQ(order, (std::vector<char>{'r', 'i', 'r', 'i'}));
    EXPECT_EQ(idler.mLastEvent.what, nullEvent);
    EXPECT_NE(idler.mLastEvent.when, 0u);
}

TEST(UEventLoop, PeriodicalsMayStopThemselvesAndOthersWhileTheyRun)
{
    TestPeriodical* second = nullptr;
    TestPeriodical first([&](TestPeriodical& self) {
        self.StopIdling();
        delete second; // a periodical deleted during the pass is not called
        second = nullptr;
    });
    second = new TestPeriodical;
    first.StartIdling();
    second->StartIdling();
    UEventLoop::ProcessNextEvent();
    UEventLoop::ProcessNextEvent();
    EXPECT_EQ(first.mCalls, 1);
    EXPECT_FALSE(first.IsIdling());
}

TEST(UEventLoop, ThreadsRunOnEveryPassOnlyWithTheYieldAttachment)
{
    int turns = 0;
    (new testsupport::TestThread([&] {
        for (int i = 0; i < 3; ++i) {
            ++turns;
            LThread::Yield();
        }
    }))->Resume();
    UEventLoop::ProcessNextEvent();
    EXPECT_EQ(turns, 0);
    {
        LYieldAttachment yield;
        UEventLoop::AddAttachment(&yield);
        UEventLoop::ProcessNextEvent();
        EXPECT_EQ(turns, 1);
        UEventLoop::ProcessNextEvent();
        EXPECT_EQ(turns, 2);
    }
    UEventLoop::ProcessNextEvent();
    EXPECT_EQ(turns, 2) << "a deleted attachment left the loop";
    LThread::Yield();
    LThread::Yield();
    EXPECT_EQ(LThread::CountThreads(), 0u);
}

} // namespace
