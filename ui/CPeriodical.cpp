#include "ui/CPeriodical.h"

void CPeriodical::SpendTime(const EventRecord& event)
{
    if (mBusy)
        return;
    if (mDelay != 0) {
        // The event's time is the tick count; compared by difference, so that the
        // count may wrap, and the first call is never held back by a count that is
        // already past 2^31.
        const SInt32 now = SInt32(event.when);
        if (mTimed && SInt32(UInt32(mNextTime) - UInt32(now)) > 0)
            return;
        mTimed = true;
        mNextTime = SInt32(UInt32(now) + UInt32(mDelay));
    }
    // A hook that throws must not leave the periodical busy for ever.
    struct ClearBusy {
        Boolean& busy;
        ~ClearBusy() { busy = false; }
    } clearBusy{mBusy};
    mBusy = true;
    SpendTimeSelf(event);
}
