#include <gtest/gtest.h>

#include "platform/DateTimeUtils.h"
#include "toolkit/UDate.h"
#include "toolkit/UTime.h"

namespace {

TEST(UDate, SetDateNormalises)
{
    struct Case {
        long day, month, year;
        long expectedDay, expectedMonth, expectedYear;
    } cases[] = {
        {31, 2, 2004, 29, 2, 2004}, {31, 2, 2003, 28, 2, 2003}, {15, 0, 2005, 15, 12, 2004},
        {1, 25, 2005, 1, 1, 2007},  {1, 1, 2100, 1, 1, 2030},   {0, 3, 2003, 1, 3, 2003},
        {5, 3, 0, 5, 3, 1904},      {31, 4, 2005, 30, 4, 2005}, {15, -13, 2005, 15, 11, 2003},
        {40, 1, 2005, 31, 1, 2005}, {1, 12, 2005, 1, 12, 2005}, {29, 2, 2000, 29, 2, 2000},
        {29, 2, 1900, 29, 2, 1904},
    };
    for (const Case& c : cases) {
        const UInt32 secs = UDate::SetDate(c.day, c.month, c.year);
        const std::string what = std::to_string(c.day) + "/" + std::to_string(c.month) + "/" + std::to_string(c.year);
        EXPECT_EQ(secs % UDate::kSecondsPerDay, 0u) << what;
        if (secs == 0)
            continue; // 1 January 1904 is second 0, which the getters read as today
        EXPECT_EQ(UDate::GetDay(secs), c.expectedDay) << what;
        EXPECT_EQ(UDate::GetMonth(secs), c.expectedMonth) << what;
        EXPECT_EQ(UDate::GetYear(secs), c.expectedYear) << what;
    }
}

TEST(UDate, KnownSeconds)
{
    EXPECT_EQ(UDate::SetDate(1, 1, 1904), 0u);
    EXPECT_EQ(UDate::SetDate(2, 1, 1904), 86400u);
    EXPECT_EQ(UDate::SetDate(1, 1, 2001), 3061152000u);
    EXPECT_EQ(UDate::SetDate(1, 1, 1970), kMacEpochToUnixEpoch);
}

TEST(UDate, NowAndTodayFollowTheClock)
{
    const UInt32 noon = UDate::SetDate(14, 7, 2006) + 12 * 3600;
    SetDateTimeForTesting(noon);
    EXPECT_EQ(UDate::Now(), noon);
    EXPECT_EQ(UDate::ToDay(), noon - 12 * 3600);
    EXPECT_EQ(UDate::GetYear(0), 2006);
    EXPECT_EQ(UDate::GetMonth(0), 7);
    EXPECT_EQ(UDate::GetDay(0), 14);
    SetDateTimeForTesting(std::nullopt);
    EXPECT_GT(UDate::GetYear(0), 2020);
}

class SharedTimer : public testing::Test {
protected:
    void TearDown() override { SetTickCountForTesting(std::nullopt); }
    void At(UInt32 ticks) { SetTickCountForTesting(ticks); }
};

TEST_F(SharedTimer, DelayThenInterval)
{
    At(1000);
    UTime::ClearTime(100);
    EXPECT_FALSE(UTime::ElapsedTime(20));
    At(1100);
    EXPECT_FALSE(UTime::ElapsedTime(20)) << "the delay counts as no time passed";
    At(1120);
    EXPECT_FALSE(UTime::ElapsedTime(20));
    At(1121);
    EXPECT_TRUE(UTime::ElapsedTime(20));
    EXPECT_EQ(UTime::sLastTime, 1121u);
    EXPECT_FALSE(UTime::ElapsedTime(20)) << "the timer started again";
    At(1142);
    EXPECT_TRUE(UTime::ElapsedTime(20));
}

TEST_F(SharedTimer, SurvivesTheWrapOfTheTickCount)
{
    At(0xFFFFFFF0u);
    UTime::ClearTime(0);
    At(0x00000010u);
    EXPECT_TRUE(UTime::ElapsedTime(20));
    At(0xFFFFFFF0u);
    UTime::ClearTime(100);
    At(0x00000010u);
    EXPECT_FALSE(UTime::ElapsedTime(20));
}

} // namespace
