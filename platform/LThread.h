#pragma once
// Cooperative threads: each has its own stack and runs on the main OS thread, so only
// one runs at a time and control changes only at Yield, Suspend and the end of Run.
// Threads read each other's fields without locks.
//
// Scheduling always goes through the main thread: the main thread's Yield (or
// RunReadyThreads) runs every ready thread once, each until it yields, suspends or
// ends; a thread's Yield goes back to the main thread. A thread whose Run returns is
// deleted by the scheduler, on the main stack.

#include <cstddef>

#include "platform/MacTypes.h"

class LThread {
public:
    enum EThreadOption : UInt16 {
        threadOption_Default = 0,
        threadOption_UsePool = 0x0001,
        threadOption_Alloc = 0x0002,
        threadOption_NoFPU = 0x0004,
        threadOption_Exact = 0x0008,
        threadOption_Main = 0x1000,
    };

    // Every stack gets at least this much, whatever is asked: painting a dialog from a
    // thread takes about 95 KB. Only the pages touched cost memory.
    static constexpr std::size_t kMinimumStackSize = 512 * 1024;

    // A thread is created suspended; the main thread's object (isMainThread) is the
    // one that schedules, and exists implicitly when none was made.
    explicit LThread(Boolean isMainThread, UInt32 stackSize = 0, UInt16 flags = threadOption_Default,
                     void** result = nullptr);
    virtual ~LThread();
    LThread(const LThread&) = delete;
    LThread& operator=(const LThread&) = delete;

    void Resume();
    // On the running thread: switches away until resumed. On another: it is not run until resumed.
    void Suspend();
    Boolean IsSuspended() const { return mSuspended; }
    Boolean IsCurrent() const { return sCurrent == this; }
    Boolean IsMainThread() const { return mIsMain; }

    // From a thread: back to the main thread. From the main thread: runs the ready threads.
    static void Yield(const LThread* yieldTo = nullptr);
    // Runs every ready thread once; answers whether any ran. Never re-enters a thread:
    // called from a thread, it only yields.
    static Boolean RunReadyThreads();
    static LThread* GetCurrentThread();
    static LThread* GetMainThread();
    // Threads created and not yet ended, the main thread not counted.
    static std::size_t CountThreads();
    // Threads that the next pass of the scheduler would run.
    static std::size_t CountReadyThreads();

protected:
    virtual void* Run() = 0;

private:
    struct Context;

    static void Entry();
    void SwitchTo(LThread& next, bool ending);

    Context* mContext;
    Boolean mIsMain;
    Boolean mSuspended = true;
    Boolean mStarted = false;
    Boolean mEnded = false;
    void** mResult;

    static LThread* sCurrent;
};
