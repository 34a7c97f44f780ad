#include "platform/DateTimeUtils.h"

#include <chrono>
#include <thread>

namespace {

std::optional<UInt32> gFixedDate;
std::optional<UInt32> gFixedTicks;

constexpr std::int64_t kSecondsPerDay = 86400;

// Days from 1 January 1904 to 1 January 1970.
constexpr std::int64_t kEpochDays = kMacEpochToUnixEpoch / kSecondsPerDay;

UInt32 Clamped(std::int64_t secs)
{
    return secs < 0 ? 0 : secs > std::int64_t(UINT32_MAX) ? UINT32_MAX : UInt32(secs);
}

} // namespace

UInt32 MacDateFromUnixTime(std::time_t unixTime)
{
    std::tm local{};
    localtime_r(&unixTime, &local);
    return Clamped(std::int64_t(unixTime) + local.tm_gmtoff + kMacEpochToUnixEpoch);
}

void GetDateTime(unsigned long* secs)
{
    *secs = gFixedDate ? *gFixedDate : MacDateFromUnixTime(std::time(nullptr));
}

void SecondsToDate(unsigned long secs, DateTimeRec* d)
{
    using namespace std::chrono;
    const std::int64_t days = std::int64_t(UInt32(secs)) / kSecondsPerDay;
    const std::int64_t rest = std::int64_t(UInt32(secs)) % kSecondsPerDay;
    const sys_days day{std::chrono::days(days - kEpochDays)};
    const year_month_day ymd{day};
    d->year = short(int(ymd.year()));
    d->month = short(unsigned(ymd.month()));
    d->day = short(unsigned(ymd.day()));
    d->hour = short(rest / 3600);
    d->minute = short(rest / 60 % 60);
    d->second = short(rest % 60);
    d->dayOfWeek = short(weekday{day}.c_encoding() + 1);
}

void DateToSeconds(const DateTimeRec* d, unsigned long* secs)
{
    using namespace std::chrono;
    // Months carry into years first, then days past the month's end carry on.
    const int months = d->year * 12 + (d->month - 1);
    const int yearNumber = months >= 0 ? months / 12 : (months - 11) / 12;
    const year_month_day first{year{yearNumber}, month{unsigned(months - yearNumber * 12 + 1)}, day{1}};
    const std::int64_t days = (sys_days{first}.time_since_epoch().count() + kEpochDays) + (d->day - 1);
    *secs = Clamped(days * kSecondsPerDay + d->hour * 3600 + d->minute * 60 + d->second);
}

UInt32 TickCount()
{
    if (gFixedTicks)
        return *gFixedTicks;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return UInt32(std::chrono::duration_cast<std::chrono::milliseconds>(now).count() * 60 / 1000);
}

void Delay(unsigned long ticks, unsigned long* finalTicks)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(std::int64_t(ticks) * 1000 / 60));
    if (finalTicks != nullptr)
        *finalTicks = TickCount();
}

void SetDateTimeForTesting(std::optional<UInt32> secs)
{
    gFixedDate = secs;
}

void SetTickCountForTesting(std::optional<UInt32> ticks)
{
    gFixedTicks = ticks;
}
