#pragma once
// One interval timer in ticks, shared by every user.

#include "platform/MacTypes.h"

class UTime {
public:
    // Starts the timer `delay` ticks from now.
    static void ClearTime(long delay);
    // True, and the timer starts again, when more than `interval` ticks have passed
    // since the mark; a mark still ahead counts as no time passed.
    static Boolean ElapsedTime(unsigned long interval);

    static UInt32 sLastTime;
};
