#pragma once
// The base of the long jobs: a cooperative thread with a cancel request, a finished
// mark that its owner polls, a rate-limited yield and an end protocol through which
// the owner collects the results before the thread goes away.

#include "platform/LListener.h"
#include "platform/LThread.h"

struct BaseThreadStruct;

class CBaseThread : public LThread {
public:
    enum : SInt16 { kEndNotifyListener = 1, kEndWaitForOwner = 2 };
    enum : SInt16 { kStateFinished = 1, kStateCancelled = 2 };

    // Created suspended; the owner starts it with Resume(). The argument is always null.
    explicit CBaseThread(BaseThreadStruct* settings = nullptr);

    // With a listener and a message, the end is told to the listener (the thread as
    // parameter) instead of waiting for the owner.
    virtual void SetEndNotification(LListener* listener, long message);
    // Yields when more than `ticks` ticks passed since the last yield.
    virtual void YieldSelf(long ticks);
    virtual void RunSelf() {}

    // Waits, yielding, but returns as soon as the thread stops running.
    void WaitTicks(long ticks);

    void CancelThread() { mState |= kStateCancelled; }
    Boolean ThreadCancelled() const { return (mState & kStateCancelled) != 0; }
    Boolean ThreadFinished() const { return (mState & kStateFinished) != 0; }
    Boolean ThreadRunning() const { return mState == 0; }

protected:
    void* Run() override;

    SInt16 mEndMode = kEndWaitForOwner;
    SInt16 mState = 0;
    UInt32 mLastYield;
    LListener* mListener = nullptr;
    SInt32 mMessage = 0;
};
