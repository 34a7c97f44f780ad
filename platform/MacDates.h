#pragma once
// The platform's dates: seconds since 1 January 1904, in local time for the classic
// records, in UTC with a 1/65536 fraction for UTCDateTime.

#include <time.h>

#include "platform/Files.h"

namespace MacDates {

constexpr SInt64 kUnixEpochInMacSeconds = 2082844800;

inline SInt64 LocalOffset(time_t when)
{
    struct tm local;
    localtime_r(&when, &local);
    return local.tm_gmtoff;
}

inline UInt32 LocalSecondsFromTime(time_t when)
{
    return UInt32(SInt64(when) + kUnixEpochInMacSeconds + LocalOffset(when));
}

inline time_t TimeFromLocalSeconds(UInt32 seconds)
{
    const time_t approximate = time_t(SInt64(seconds) - kUnixEpochInMacSeconds);
    return time_t(approximate - LocalOffset(approximate));
}

inline UTCDateTime UTCDateTimeFromTimespec(const timespec& time)
{
    const UInt64 seconds = UInt64(SInt64(time.tv_sec) + kUnixEpochInMacSeconds);
    return UTCDateTime{UInt16(seconds >> 32), UInt32(seconds), UInt16((UInt64(time.tv_nsec) << 16) / 1000000000u)};
}

inline timespec TimespecFromUTCDateTime(const UTCDateTime& date)
{
    const SInt64 seconds = SInt64((UInt64(date.highSeconds) << 32) | date.lowSeconds) - kUnixEpochInMacSeconds;
    return timespec{time_t(seconds), long((UInt64(date.fraction) * 1000000000u) >> 16)};
}

inline bool SameDate(const UTCDateTime& a, const UTCDateTime& b)
{
    return a.highSeconds == b.highSeconds && a.lowSeconds == b.lowSeconds && a.fraction == b.fraction;
}

} // namespace MacDates
