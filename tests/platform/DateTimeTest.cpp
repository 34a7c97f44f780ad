#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/DateTimeText.h"
#include "platform/DateTimeUtils.h"

namespace {

std::string Text(const Str255 s)
{
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

UInt32 Seconds(short year, short month, short day, short hour = 0, short minute = 0, short second = 0)
{
    DateTimeRec date{year, month, day, hour, minute, second, 0};
    unsigned long secs;
    DateToSeconds(&date, &secs);
    return UInt32(secs);
}

TEST(DateClock, CalendarFieldsBothWays)
{
    struct Case {
        UInt32 secs;
        short year, month, day, hour, minute, second, dayOfWeek;
    } cases[] = {
        {0, 1904, 1, 1, 0, 0, 0, 6},                 // a Friday
        {3061152000u, 2001, 1, 1, 0, 0, 0, 2},       // a Monday
        {3061152000u + 86399, 2001, 1, 1, 23, 59, 59, 2},
        {0xFFFFFFFFu, 2040, 2, 6, 6, 28, 15, 2},
    };
    for (const Case& c : cases) {
        DateTimeRec date;
        SecondsToDate(c.secs, &date);
        EXPECT_EQ(date.year, c.year) << c.secs;
        EXPECT_EQ(date.month, c.month) << c.secs;
        EXPECT_EQ(date.day, c.day) << c.secs;
        EXPECT_EQ(date.hour, c.hour) << c.secs;
        EXPECT_EQ(date.minute, c.minute) << c.secs;
        EXPECT_EQ(date.second, c.second) << c.secs;
        EXPECT_EQ(date.dayOfWeek, c.dayOfWeek) << c.secs;
        EXPECT_EQ(Seconds(c.year, c.month, c.day, c.hour, c.minute, c.second), c.secs);
    }
}

TEST(DateClock, FieldsOutOfRangeCarryOver)
{
    EXPECT_EQ(Seconds(2003, 2, 31), Seconds(2003, 3, 3));
    EXPECT_EQ(Seconds(2003, 13, 1), Seconds(2004, 1, 1));
    EXPECT_EQ(Seconds(2003, 0, 1), Seconds(2002, 12, 1));
    EXPECT_EQ(Seconds(1800, 1, 1), 0u) << "clamped to the first second";
}

TEST(DateClock, LocalTimeIsTheUnixTimeShiftedByTheZone)
{
    const char* saved = std::getenv("TZ");
    const std::string previous = saved != nullptr ? saved : "";
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(MacDateFromUnixTime(0), kMacEpochToUnixEpoch);
    setenv("TZ", "CET-1", 1);
    tzset();
    EXPECT_EQ(MacDateFromUnixTime(0), kMacEpochToUnixEpoch + 3600);
    if (saved != nullptr)
        setenv("TZ", previous.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST(DateClock, TicksAdvanceAtSixtyASecond)
{
    const UInt32 before = TickCount();
    unsigned long after;
    Delay(3, &after);
    EXPECT_GE(after - before, 3u);
    SetTickCountForTesting(42);
    EXPECT_EQ(TickCount(), 42u);
    SetTickCountForTesting(std::nullopt);
}

class DateText : public testing::Test {
protected:
    void SetUp() override { SetTimeLocaleForTesting("C"); }
    void TearDown() override { SetTimeLocaleForTesting(""); }
};

TEST_F(DateText, FormsInTheCLocale)
{
    const UInt32 date = Seconds(2003, 3, 5, 9, 7, 3); // a Wednesday
    struct Case {
        DateForm form;
        Boolean weekday;
        const char* expected;
    } cases[] = {
        {DateForm::kShort, false, "03/5/03"},
        {DateForm::kAbbrev, false, "Mar 5, 2003"},
        {DateForm::kAbbrev, true, "Wed, Mar 5, 2003"},
        {DateForm::kLong, false, "March 5, 2003"},
        {DateForm::kLong, true, "Wednesday, March 5, 2003"},
    };
    for (const Case& c : cases) {
        Str255 out;
        DateString(date, c.form, c.weekday, out);
        EXPECT_EQ(Text(out), c.expected);
    }
    Str255 time;
    TimeString(date, true, time);
    EXPECT_EQ(Text(time), "09:07:03");
    TimeString(date, false, time);
    EXPECT_EQ(Text(time), "09:07");
}

TEST_F(DateText, UTF8LocaleGivesTheSameText)
{
    SetTimeLocaleForTesting("C.UTF-8");
    Str255 out;
    DateString(Seconds(2010, 12, 24), DateForm::kLong, true, out);
    EXPECT_EQ(Text(out), "Friday, December 24, 2010");
}

} // namespace
