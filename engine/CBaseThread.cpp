#include "engine/CBaseThread.h"

#include "platform/DateTimeUtils.h"
#include "platform/LException.h"

namespace {

constexpr long kYieldPeriod = 12;
constexpr UInt32 kOwnerResumeLimit = 3600;

} // namespace

CBaseThread::CBaseThread(BaseThreadStruct*) : LThread(false, 0x20000, threadOption_Alloc), mLastYield(TickCount() + kYieldPeriod)
{
}

void CBaseThread::SetEndNotification(LListener* listener, long message)
{
    mListener = listener;
    mMessage = SInt32(message);
    if (mListener != nullptr && mMessage != 0)
        mEndMode = kEndNotifyListener;
}

void CBaseThread::YieldSelf(long ticks)
{
    const UInt32 now = TickCount();
    if (now <= mLastYield + UInt32(ticks))
        return;
    mLastYield = now;
    Yield();
}

void CBaseThread::WaitTicks(long ticks)
{
    const UInt32 start = TickCount();
    while (TickCount() < start + UInt32(ticks)) {
        if (!ThreadRunning())
            return;
        Yield();
    }
}

void* CBaseThread::Run()
{
    mLastYield = TickCount() + kYieldPeriod;
    mState = 0;
    try {
        RunSelf();
    } catch (...) {
    }
    mState |= kStateFinished;

    if (mEndMode == kEndNotifyListener && mListener != nullptr && mMessage != 0) {
        mListener->ListenToMessage(mMessage, this);
        return nullptr;
    }
    // The owner reads the results, then resumes the thread once so that it ends.
    Suspend();
    const UInt32 start = TickCount();
    while (IsSuspended()) {
        if (TickCount() - start > kOwnerResumeLimit)
            throw LException(ExceptionCode(MakeOSType("nilP")));
        Yield();
    }
    return nullptr;
}
