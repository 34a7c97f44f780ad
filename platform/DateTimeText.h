#pragma once
// The texts of dates and times in the user's regional settings (LC_TIME), as Mac
// Roman Pascal strings.
//
// The order of day, month and year and the short form's separator come from the
// locale's date format (D_FMT); month and day names from the locale; the time of
// day follows the locale's time format (T_FMT), without its seconds when they are
// not wanted. glibc knows no long date format, so the long and abbreviated forms are
// built from the names in that order: "Wednesday, March 5, 2003" where the month
// comes first, "Wednesday 5 March 2003" where the day does, "2003 March 5
// Wednesday" where the year does.

#include "platform/MacTypes.h"

enum class DateForm {
    kShort,  // numeric: month with leading zero, day without, year without century
    kAbbrev, // abbreviated month (and day) names
    kLong,   // full month (and day) names
};

void DateString(UInt32 secs, DateForm form, Boolean withWeekday, Str255 result);
void TimeString(UInt32 secs, Boolean wantSeconds, Str255 result);

// Test interface: the locale to use instead of the environment's ("" goes back).
void SetTimeLocaleForTesting(const char* name);
