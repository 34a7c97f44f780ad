#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "ui/CPeriodical.h"

namespace {

class TestPeriodical : public CPeriodical {
public:
    explicit TestPeriodical(std::function<void(TestPeriodical&)> work = {}) : mWork(std::move(work)) {}

    std::vector<UInt32> mCalls; // the ticks of each call

    void SpendAt(UInt32 ticks)
    {
        EventRecord event;
        event.when = ticks;
        SpendTime(event);
    }

protected:
    void SpendTimeSelf(const EventRecord& event) override
    {
        mCalls.push_back(event.when);
        if (mWork)
            mWork(*this);
    }

private:
    std::function<void(TestPeriodical&)> mWork;
};

TEST(CPeriodical, RunsItsHookAtMostOncePerDelay)
{
    struct Case {
        SInt32 delay;
        std::vector<UInt32> events;
        std::vector<UInt32> calls;
    };
    const Case cases[] = {
        {0, {100, 100, 101}, {100, 100, 101}},
        {15, {100, 110, 114, 115, 129, 131}, {100, 115, 131}},
        {6, {0, 5, 6}, {0, 6}}, // the default delay
        {15, {0xFFFFFFF8u, 0xFFFFFFFFu, 7, 8}, {0xFFFFFFF8u, 7}}, // across the wrap of the tick count
        {15, {0x90000000u, 0x90000001u}, {0x90000000u}}, // a long uptime: the first call still runs
    };
    for (const Case& c : cases) {
        TestPeriodical periodical;
        if (c.delay != 6)
            periodical.SetPeriodicalDelay(c.delay);
        for (UInt32 ticks : c.events)
            periodical.SpendAt(ticks);
        EXPECT_EQ(periodical.mCalls, c.calls) << "delay " << c.delay;
    }
}

TEST(CPeriodical, HookIsNeverEnteredTwice)
{
    TestPeriodical periodical([](TestPeriodical& self) {
        if (self.mCalls.size() == 1)
            self.SpendAt(1000); // as from a nested event loop
    });
    periodical.SetPeriodicalDelay(0);
    periodical.SpendAt(1);
    EXPECT_EQ(periodical.mCalls, std::vector<UInt32>{1});
    periodical.SpendAt(2);
    EXPECT_EQ(periodical.mCalls.size(), 2u) << "busy after the hook returned";
}

TEST(CPeriodical, HookThatThrowsDoesNotStopTheNextCalls)
{
    TestPeriodical periodical([](TestPeriodical& self) {
        if (self.mCalls.size() == 1)
            throw std::runtime_error("hook failed");
    });
    periodical.SetPeriodicalDelay(0);
    EXPECT_THROW(periodical.SpendAt(1), std::runtime_error);
    periodical.SpendAt(2);
    EXPECT_EQ(periodical.mCalls.size(), 2u);
}

} // namespace
