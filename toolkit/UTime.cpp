#include "toolkit/UTime.h"

#include "platform/DateTimeUtils.h"

UInt32 UTime::sLastTime = 0;

void UTime::ClearTime(long delay)
{
    sLastTime = TickCount() + UInt32(delay);
}

Boolean UTime::ElapsedTime(unsigned long interval)
{
    const UInt32 now = TickCount();
    // The signed difference stays right across the wrap of the tick count.
    const SInt32 elapsed = SInt32(now - sLastTime);
    if (elapsed <= 0 || UInt32(elapsed) <= interval)
        return false;
    sLastTime = now;
    return true;
}
