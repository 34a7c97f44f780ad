#include "toolkit/UDate.h"

#include "platform/DateTimeUtils.h"

namespace {

DateTimeRec Fields(UInt32 secs)
{
    DateTimeRec date;
    SecondsToDate(secs == 0 ? UDate::Now() : secs, &date);
    return date;
}

} // namespace

UInt32 UDate::Now()
{
    unsigned long secs;
    GetDateTime(&secs);
    return UInt32(secs);
}

UInt32 UDate::ToDay()
{
    const UInt32 now = Now();
    return now - now % kSecondsPerDay;
}

long UDate::GetYear(UInt32 secs)
{
    return Fields(secs).year;
}

long UDate::GetMonth(UInt32 secs)
{
    return Fields(secs).month;
}

long UDate::GetDay(UInt32 secs)
{
    return Fields(secs).day;
}

UInt32 UDate::SetDate(long day, long month, long year)
{
    if (month <= 0) {
        const long back = (12 - month) / 12;
        year -= back;
        month += 12 * back;
    }
    if (month >= 13) {
        year += (month - 1) / 12;
        month = (month - 1) % 12 + 1;
    }
    if (day <= 0)
        day = 1;
    if (day > 31)
        day = 31;
    if (year <= 0)
        year = 1904;
    if (year > 2030)
        year = 2030;
    // Past the month's last day the conversion runs into the next month.
    for (;; --day) {
        DateTimeRec date{short(year), short(month), short(day), 0, 0, 0, 0};
        unsigned long secs;
        DateToSeconds(&date, &secs);
        SecondsToDate(secs, &date);
        if (date.day == day)
            return UInt32(secs);
    }
}
