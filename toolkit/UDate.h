#pragma once
// Calendar dates as seconds since midnight, 1 January 1904, local time.

#include "platform/MacTypes.h"

class UDate {
public:
    static constexpr UInt32 kSecondsPerDay = 86400;

    static UInt32 Now();
    static UInt32 ToDay(); // today at 0:00

    // The calendar fields of secs; 0 means today.
    static long GetYear(UInt32 secs);
    static long GetMonth(UInt32 secs); // 1-12
    static long GetDay(UInt32 secs);   // 1-31

    // 0:00 on that day. Months out of range carry into years, days that the month
    // lacks fall back to its last day, years are kept within 1904-2030.
    static UInt32 SetDate(long day, long month, long year);
};
