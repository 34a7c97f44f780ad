#pragma once
// The date clock and the tick count on Linux.
//
// Dates are unsigned seconds since midnight, 1 January 1904, in local time: the
// Unix time shifted by the local offset from UTC that holds at that moment. So the
// conversions between seconds and calendar fields are plain calendar arithmetic.
// Ticks are sixtieths of a second of the monotonic clock.

#include <ctime>
#include <optional>

#include "platform/MacTypes.h"

struct DateTimeRec {
    short year;
    short month;     // 1-12
    short day;       // 1-31
    short hour;      // 0-23
    short minute;    // 0-59
    short second;    // 0-59
    short dayOfWeek; // 1 Sunday .. 7 Saturday
};

// Seconds from 1 January 1904 to 1 January 1970.
constexpr UInt32 kMacEpochToUnixEpoch = 2082844800u;

void GetDateTime(unsigned long* secs);

// The local date of a Unix time; times outside 1904-2040 are clamped to that range.
UInt32 MacDateFromUnixTime(std::time_t unixTime);

void SecondsToDate(unsigned long secs, DateTimeRec* d);

// Fields out of range carry over (day 31 of February is early March; month 13 is
// January of the next year), so a caller can tell a day that does not exist.
void DateToSeconds(const DateTimeRec* d, unsigned long* secs);

UInt32 TickCount();

// Sleeps `ticks` ticks; `finalTicks` (may be null) receives the tick count then.
void Delay(unsigned long ticks, unsigned long* finalTicks);

// Test interface: a fixed date and a fixed tick count (nullopt: the real clocks).
void SetDateTimeForTesting(std::optional<UInt32> secs);
void SetTickCountForTesting(std::optional<UInt32> ticks);
