#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/LThread.h"
#include "tests/support/TestThread.h"

namespace {

using testsupport::TestThread;

// Drives the scheduler as a program without windows does, until every thread ended.
void RunToEnd(int limit = 1000)
{
    for (int pass = 0; LThread::CountThreads() > 0 && pass < limit; ++pass)
        LThread::Yield();
    ASSERT_EQ(LThread::CountThreads(), 0u) << "threads left after " << limit << " passes";
}

TEST(LThread, IsCreatedSuspendedAndDeletedWhenRunReturns)
{
    bool ran = false, deleted = false;
    auto* thread = new TestThread([&] { ran = true; }, &deleted);
    EXPECT_TRUE(thread->IsSuspended());
    EXPECT_EQ(LThread::CountReadyThreads(), 0u);
    EXPECT_FALSE(LThread::RunReadyThreads());
    EXPECT_FALSE(ran);

    thread->Resume();
    EXPECT_EQ(LThread::CountReadyThreads(), 1u);
    EXPECT_TRUE(LThread::RunReadyThreads());
    EXPECT_TRUE(ran);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(LThread::CountThreads(), 0u);
}

TEST(LThread, ThreadsTakeTurnsAtEachYield)
{
    std::string trace;
    auto worker = [&](char name) {
        return [&trace, name] {
            for (int i = 0; i < 3; ++i) {
                trace += name;
                LThread::Yield();
            }
        };
    };
    (new TestThread(worker('a')))->Resume();
    (new TestThread(worker('b')))->Resume();
    LThread::RunReadyThreads();
    EXPECT_EQ(trace, "ab");
    RunToEnd();
    EXPECT_EQ(trace, "ababab");
}

TEST(LThread, SuspendedThreadWaitsForItsOwner)
{
    int step = 0;
    LThread* thread = new TestThread([&] {
        step = 1;
        LThread::GetCurrentThread()->Suspend();
        step = 2;
    });
    thread->Resume();
    for (int i = 0; i < 5; ++i)
        LThread::Yield();
    EXPECT_EQ(step, 1);
    EXPECT_TRUE(thread->IsSuspended());
    thread->Resume();
    RunToEnd();
    EXPECT_EQ(step, 2);
}

TEST(LThread, SchedulerCalledFromAThreadOnlyYields)
{
    int depth = 0, deepest = 0, passes = 0;
    auto reentrant = [&] {
        for (int i = 0; i < 3; ++i) {
            ++depth;
            deepest = std::max(deepest, depth);
            // A nested event loop on this stack calls the scheduler: it must not come back here.
            LThread::RunReadyThreads();
            --depth;
            ++passes;
        }
    };
    (new TestThread(reentrant))->Resume();
    (new TestThread(reentrant))->Resume();
    RunToEnd();
    EXPECT_EQ(passes, 6);
    EXPECT_EQ(deepest, 2); // both threads inside their loop at once, each on its own stack
}

TEST(LThread, ExceptionsStayOnTheirThread)
{
    std::string trace;
    (new TestThread([&] { throw std::runtime_error("lost"); }))->Resume();
    (new TestThread([&] {
        try {
            throw std::runtime_error("first");
        } catch (const std::exception&) {
            // Yield inside a handler while the main thread throws and catches its own.
            LThread::Yield();
            try {
                throw;
            } catch (const std::exception& again) {
                trace += again.what();
            }
        }
    }))->Resume();

    // The main thread runs the threads from inside its own handler and leaves that
    // handler while the thread is still inside its one.
    try {
        throw std::logic_error("main");
    } catch (const std::exception& mine) {
        LThread::RunReadyThreads();
        trace += std::string(mine.what()) + ",";
    }
    EXPECT_EQ(std::current_exception(), nullptr);
    RunToEnd();
    EXPECT_EQ(trace, "main,first");
}

TEST(LThread, StacksHoldMoreThanTheSmallSizeAsked)
{
    std::size_t touched = 0;
    (new TestThread([&] {
        // About 300 KB of stack, more than the 128 KB the thread asked for.
        volatile char block[300 * 1024];
        for (std::size_t i = 0; i < sizeof block; i += 4096)
            block[i] = char(i);
        touched = sizeof block;
    }))->Resume();
    RunToEnd();
    EXPECT_EQ(touched, 300u * 1024);
}

TEST(LThread, ResultIsHandedBack)
{
    class Answer : public LThread {
    public:
        explicit Answer(void** result) : LThread(false, 0, threadOption_Default, result) {}

    protected:
        void* Run() override { return this; }
    };
    void* result = nullptr;
    LThread* thread = new Answer(&result);
    thread->Resume();
    RunToEnd();
    EXPECT_EQ(result, thread);
}

} // namespace
