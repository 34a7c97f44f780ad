#include "platform/DateTimeText.h"

#include <langinfo.h>
#include <locale.h>

#include <array>
#include <string>

#include "platform/DateTimeUtils.h"
#include "platform/MacRoman.h"

namespace {

locale_t gLocale = nullptr;

locale_t TimeLocale()
{
    if (gLocale == nullptr)
        gLocale = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "", nullptr);
    if (gLocale == nullptr)
        gLocale = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "C", nullptr);
    return gLocale;
}

enum Field { kDay, kMonth, kYear };

// The order of the three fields and the separator of the locale's date format.
struct DateOrder {
    std::array<Field, 3> fields{kMonth, kDay, kYear};
    char separator = '/';
};

DateOrder LocaleDateOrder(locale_t locale)
{
    std::string format = nl_langinfo_l(D_FMT, locale);
    if (format == "%D")
        format = "%m/%d/%y";
    else if (format == "%F")
        format = "%Y-%m-%d";
    DateOrder order;
    std::size_t found = 0;
    bool separatorSeen = false;
    for (std::size_t i = 0; i + 1 < format.size() && found < 3; ++i) {
        if (format[i] != '%') {
            if (found > 0 && !separatorSeen) {
                order.separator = format[i];
                separatorSeen = true;
            }
            continue;
        }
        const char code = format[++i];
        if (code == 'd' || code == 'e')
            order.fields[found++] = kDay;
        else if (code == 'm' || code == 'b' || code == 'B')
            order.fields[found++] = kMonth;
        else if (code == 'y' || code == 'Y')
            order.fields[found++] = kYear;
    }
    if (found < 3)
        order = DateOrder{};
    return order;
}

std::tm CalendarTime(UInt32 secs)
{
    DateTimeRec date;
    SecondsToDate(secs, &date);
    std::tm time{};
    time.tm_year = date.year - 1900;
    time.tm_mon = date.month - 1;
    time.tm_mday = date.day;
    time.tm_hour = date.hour;
    time.tm_min = date.minute;
    time.tm_sec = date.second;
    time.tm_wday = date.dayOfWeek - 1;
    return time;
}

std::string Formatted(const char* format, const std::tm& time, locale_t locale)
{
    char text[256];
    const std::size_t length = strftime_l(text, sizeof text, format, &time, locale);
    return std::string(text, length);
}

std::string TwoDigits(int value)
{
    return {char('0' + value / 10 % 10), char('0' + value % 10)};
}

std::string ShortDate(const std::tm& time, const DateOrder& order)
{
    std::string text;
    for (Field field : order.fields) {
        if (!text.empty())
            text += order.separator;
        if (field == kDay)
            text += std::to_string(time.tm_mday);
        else if (field == kMonth)
            text += TwoDigits(time.tm_mon + 1);
        else
            text += TwoDigits((time.tm_year + 1900) % 100);
    }
    return text;
}

std::string NamedDate(const std::tm& time, const DateOrder& order, bool abbreviated, bool withWeekday,
                      locale_t locale)
{
    const std::string month = Formatted(abbreviated ? "%b" : "%B", time, locale);
    const std::string weekday = withWeekday ? Formatted(abbreviated ? "%a" : "%A", time, locale) : "";
    const std::string day = std::to_string(time.tm_mday);
    const std::string year = std::to_string(time.tm_year + 1900);
    if (order.fields[0] == kYear)
        return year + " " + month + " " + day + (withWeekday ? " " + weekday : "");
    const std::string prefix = withWeekday ? weekday + (order.fields[0] == kMonth ? ", " : " ") : "";
    if (order.fields[0] == kMonth)
        return prefix + month + " " + day + ", " + year;
    return prefix + day + " " + month + " " + year;
}

// The locale's time format, its composite codes spelled out, without the seconds
// (and the separator before them) when they are not wanted.
std::string TimeFormat(locale_t locale, bool wantSeconds)
{
    std::string format = nl_langinfo_l(T_FMT, locale);
    if (format == "%r")
        format = nl_langinfo_l(T_FMT_AMPM, locale);
    if (format == "%T")
        format = "%H:%M:%S";
    if (format.empty())
        format = "%H:%M:%S";
    const std::size_t seconds = format.find("%S");
    if (!wantSeconds && seconds != std::string::npos) {
        const bool separated = seconds > 0 && format[seconds - 1] != '%' && (seconds < 2 || format[seconds - 2] != '%');
        format.erase(separated ? seconds - 1 : seconds, separated ? 3 : 2);
    }
    return format;
}

void Deliver(const std::string& text, locale_t locale, Str255 result)
{
    TextToStr255(MacRomanFromText(text, nl_langinfo_l(CODESET, locale)), result);
}

} // namespace

void DateString(UInt32 secs, DateForm form, Boolean withWeekday, Str255 result)
{
    locale_t locale = TimeLocale();
    const std::tm time = CalendarTime(secs);
    const DateOrder order = LocaleDateOrder(locale);
    if (form == DateForm::kShort)
        Deliver(ShortDate(time, order), locale, result);
    else
        Deliver(NamedDate(time, order, form == DateForm::kAbbrev, withWeekday, locale), locale, result);
}

void TimeString(UInt32 secs, Boolean wantSeconds, Str255 result)
{
    locale_t locale = TimeLocale();
    Deliver(Formatted(TimeFormat(locale, wantSeconds).c_str(), CalendarTime(secs), locale), locale, result);
}

void SetTimeLocaleForTesting(const char* name)
{
    if (gLocale != nullptr)
        freelocale(gLocale);
    gLocale = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, name, nullptr);
}
