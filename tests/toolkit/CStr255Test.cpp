#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/DateTimeText.h"
#include "tests/toolkit/PStr.h"
#include "toolkit/CStr255.h"
#include "toolkit/UDate.h"

namespace {

using namespace std::string_literals;

// A table as the listing gives it: characters on the left map to those on the right,
// every other byte to itself.
struct Listing {
    const char* name;
    const CStr255::Table& table;
    std::vector<std::pair<std::string, std::string>> entries;
};

const Listing kListings[] = {
    {"sTableLowercase",
     CStr255::sTableLowercase,
     {{"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz"},
      {"\x80\x81\x82\x83\x84\x85\x86", "aacenou"},
      {"\x87\x88\x89\x8A\x8B\x8C\x8D", "aaaaaac"},
      {"\x8E\x8F\x90\x91\x92\x93\x94\x95\x96", "eeeeiiiin"},
      {"\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F", "ooooouuuu"},
      {"\xC1\xCB\xCC\xCD\xD8\xD9", "IaaoYY"},
      {"\xE5\xE7\xE6\xE8\xE9", "aaeee"},
      {"\xEA\xEB\xEC\xED\xEE\xEF\xF1\xF2\xF3\xF4", "iiiiooouuu"}}},
    {"sTableLowercaseDiacritical",
     CStr255::sTableLowercaseDiacritical,
     {{"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz"},
      {"\x80\x81\x82\x83\x84\x85\x86", "\x8A\x8C\x8D\x8E\x96\x9A\x9F"},
      {"\xCB\xCC\xCD\xD9", "\x88\x8B\x9B\xD8"},
      {"\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED", "\x89\x90\x87\x91\x8F\x92\x94\x95\x93"},
      {"\xEE\xEF\xF1\xF2\xF3\xF4", "\x97\x99\x98\x9C\x9E\x9D"}}},
    {"sTableUNIXName",
     CStr255::sTableUNIXName,
     {{"/:", "**"},
      {"\x80\x81\x82\x83\x84\x85\x86", "AACENOU"},
      {"\x87\x88\x89\x8A\x8B\x8C\x8D", "aaaaaac"},
      {"\x8E\x8F\x90\x91\x92\x93\x94\x95\x96", "eeeeiiiin"},
      {"\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F", "ooooouuuu"},
      {"\xA0\xA1\xA2\xA3\xA4\xA5\xA6\xA7\xA8\xA9", "tooLSoPBrc"},
      {"\xAA\xAB\xAC\xB0\xCA", "     "},
      {"\xAD\xB1\xC2\xD6", "----"},
      {"\xAE\xAF\xB2\xC7\xB3\xC8", "AO<<>>"},
      {"\xB4\xB5\xB6\xB7\xB8\xB9", "YmdSPp"},
      {"\xBA\xC4\xBB\xBE\xBC\xBF\xBD", "ffaaooO"},
      {"\xC0\xC1\xC3\xC5\xC6\xC9", "?IV=D."},
      {"\xCB\xCC\xCD\xCE\xCF", "AAOOo"},
      {"\xD2\xD3\xD4\xD5\xD7\xD8\xD9", "\"\"''oYY"},
      {"\xE5\xE7\xE6\xE8\xE9", "aaeee"},
      {"\xEA\xEB\xEC\xED\xEE\xEF\xF1\xF2\xF3\xF4", "iiiiooouuu"}}},
};

TEST(CStr255Tables, EveryByteMapsAsListed)
{
    for (const Listing& listing : kListings) {
        CStr255::Table expected;
        for (int c = 0; c < 256; ++c)
            expected[c] = UInt8(c);
        for (const auto& [from, to] : listing.entries) {
            ASSERT_EQ(from.size(), to.size()) << listing.name << " listing " << from;
            for (std::size_t i = 0; i < from.size(); ++i)
                expected[UInt8(from[i])] = UInt8(to[i]);
        }
        for (int c = 0; c < 256; ++c)
            EXPECT_EQ(int(listing.table[c]), int(expected[c])) << listing.name << " byte 0x" << std::hex << c;
    }
}

TEST(CStr255Converting, UNIXFileNameReplacesSeparatorsAndAccents)
{
    PStr name("Disk/Backup: \x8Et\x8E");
    CStr255::GetUNIXFileName(name);
    EXPECT_EQ(name.Text(), "Disk*Backup* ete");
}

TEST(CStr255Comparing, SortOrderFoldsCaseButNotAccents)
{
    struct Case {
        const char* a;
        const char* b;
        short expected;
    } cases[] = {
        {"abc", "ABC", 0},     {"abc", "abcd", -1},         {"abcd", "abc", 1},  {"z\x8F" "bre", "zzz", 1},
        {"", "a", -1},         {"", "", 0},                 {"a", "", 1},        {"\x83t\x83", "\x8E" "t\x8E", 0},
        {"e", "\x8E", -1},     {"B", "a", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CStr255::CompareAccentedPStrings(PStr(c.a), PStr(c.b)), c.expected) << c.a << " vs " << c.b;
    EXPECT_EQ(CStr255::CompareAccentedPStrings(nullptr, PStr("a")), -1);
}

TEST(CStr255Comparing, EqualityIsExact)
{
    EXPECT_TRUE(CStr255::EqualPStrings(PStr("Disk"), PStr("Disk")));
    EXPECT_FALSE(CStr255::EqualPStrings(PStr("Disk"), PStr("disk")));
    EXPECT_FALSE(CStr255::EqualPStrings2(PStr("e"), PStr("\x8E")));
    EXPECT_FALSE(CStr255::EqualPStrings2(PStr("ab"), PStr("abc")));
    EXPECT_TRUE(CStr255::EqualPStrings2(PStr(""), PStr("")));
}

TEST(CStr255Comparing, PrefixesAndSuffixes)
{
    EXPECT_TRUE(CStr255::StartWithPString(PStr("\x83" "COLE"), PStr("\x8E" "cole normale")));
    EXPECT_FALSE(CStr255::StartWithPStringDiacritical(PStr("\x83" "cole"), PStr("\x8E" "cole")));
    EXPECT_TRUE(CStr255::StartWithPStringDiacritical(PStr("Sys"), PStr("System")));
    EXPECT_FALSE(CStr255::StartWithPString(PStr("Systems"), PStr("System")));
    EXPECT_TRUE(CStr255::EndWithPString(PStr(".TXT"), PStr("read.txt")));
    EXPECT_FALSE(CStr255::EndWithPString(PStr("long suffix"), PStr("fix")));
    EXPECT_TRUE(CStr255::EndWithPString(PStr(""), PStr("any")));
}

TEST(CStr255Searching, FoldsCaseAndAccentsAndTakesZeroAsAnyCharacter)
{
    struct Case {
        std::string pattern;
        std::string s;
        short expected;
    } cases[] = {
        {"Ecole", "une \x8E" "cole", 5},
        {"a\0c"s, "abc", 1},
        {"a\0c"s, "axc", 1},
        {"a\0c"s, "xyzabc", 4},
        {"", "abc", 1},
        {"", "", 0},
        {"abcd", "abc", 0},
        {"bc", "abc", 2},
        {"zz", "abc", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CStr255::IsInPString(PStr(c.pattern), PStr(c.s)), c.expected) << c.pattern << " in " << c.s;
    EXPECT_EQ(CStr255::IsInPString('E', PStr("caf\x8E")), 4);
    EXPECT_EQ(CStr255::IsInPString('x', PStr("abc")), 0);
}

TEST(CStr255Replacing, PlaceholdersAndPatterns)
{
    PStr message("^0 is full");
    EXPECT_EQ(CStr255::Replace0InPString(PStr("Disk"), message), 1);
    EXPECT_EQ(message.Text(), "Disk is full");
    EXPECT_EQ(CStr255::Replace0InPString(PStr("Disk"), message), 0);
    EXPECT_EQ(message.Text(), "Disk is full");

    PStr all("^3 ^2 ^1 ^0");
    CStr255::Replace0InPString(PStr("a"), all);
    CStr255::Replace1InPString(PStr("b"), all);
    CStr255::Replace2InPString(PStr("c"), all);
    CStr255::Replace3InPString(PStr("d"), all);
    EXPECT_EQ(all.Text(), "d c b a");

    PStr text("one TWO three");
    EXPECT_EQ(CStr255::RemoveInPString(PStr("two "), text), 5);
    EXPECT_EQ(text.Text(), "one three");
    EXPECT_EQ(CStr255::ReplaceInPString(PStr(""), PStr("x"), text), 0);
    EXPECT_EQ(text.Text(), "one three");
}

TEST(CStr255Replacing, ResultIsCutAt255)
{
    PStr s(std::string(250, 'a') + "^0");
    CStr255::Replace0InPString(PStr("0123456789"), s);
    EXPECT_EQ(s.Text(), std::string(250, 'a') + "01234");
}

TEST(CStr255Replacing, AllOccurrences)
{
    struct Case {
        const char* pattern;
        const char* replacement;
        const char* s;
        const char* expected;
    } cases[] = {
        {"/", ":", "a/b/c", "a:b:c"},
        {"ab", "a", "abb", "a"},        // each search starts again at the beginning
        {"a", "A", "banana", "bAnAnA"}, // the replacement holds the pattern: no endless loop
        {"an", "anan", "banana", "banananana"},
        {"x", "x", "xx", "xx"},
    };
    for (const Case& c : cases) {
        PStr s(c.s);
        CStr255::ReplaceAllOccurencesInPString(PStr(c.pattern), PStr(c.replacement), s);
        EXPECT_EQ(s.Text(), c.expected) << c.pattern << " -> " << c.replacement << " in " << c.s;
    }
}

TEST(CStr255Building, AppendingStopsAt255)
{
    PStr full(std::string(255, 'x'));
    CStr255::AddCharToPString(full, 'y');
    EXPECT_EQ(full.Length(), 255);
    CStr255::InsertInPString(full, 1, 'y');
    EXPECT_EQ(full.Text(), std::string(255, 'x'));

    PStr almost(std::string(254, 'x'));
    CStr255::AddCharsToPString(almost, 'a', 'b');
    EXPECT_EQ(almost.Length(), 254);
    CStr255::ConcatPStrings(almost, PStr("abc"));
    EXPECT_EQ(almost.Text(), std::string(254, 'x') + "a");
}

TEST(CStr255Building, InsertClampsThePosition)
{
    struct Case {
        long position;
        const char* expected;
    } cases[] = {{300, "abcZ"}, {0, "Zabc"}, {-4, "Zabc"}, {2, "aZbc"}, {4, "abcZ"}};
    for (const Case& c : cases) {
        PStr s("abc");
        CStr255::InsertInPString(s, c.position, 'Z');
        EXPECT_EQ(s.Text(), c.expected) << c.position;
    }
}

TEST(CStr255Building, CopyConcatAndDigits)
{
    PStr dst("old");
    CStr255::CopyPString(PStr("Macintosh HD"), dst, 3);
    EXPECT_EQ(dst.Text(), "Mac");
    CStr255::CopyPString(nullptr, dst);
    EXPECT_EQ(dst.Text(), "");
    CStr255::CopyPString(PStr("x"), nullptr);

    PStr s("n=");
    CStr255::ConcatPStrings(s, -42L);
    EXPECT_EQ(s.Text(), "n=-42");
    CStr255::ConcatPStrings(s, PStr("abcdef"), 8);
    EXPECT_EQ(s.Text(), "n=-42abc");
    CStr255::ConcatPStrings(s, s);
    EXPECT_EQ(s.Text(), "n=-42abcn=-42abc");

    PStr digits;
    CStr255::Add2DigitsToPString(digits, 7);
    CStr255::Add2DigitsToPString(digits, 1234);
    EXPECT_EQ(digits.Text(), "0734");

    PStr c("volume");
    EXPECT_STREQ(CStr255::ConvPStringToCString(c), "volume");
}

TEST(CStr255Building, CharacterTests)
{
    EXPECT_TRUE(CStr255::IsDigit('0'));
    EXPECT_TRUE(CStr255::IsDigit('9'));
    EXPECT_FALSE(CStr255::IsDigit('a'));
    EXPECT_TRUE(CStr255::IsASCII7BitsString(PStr("Plain text ~")));
    EXPECT_FALSE(CStr255::IsASCII7BitsString(PStr("caf\x8E")));
    EXPECT_FALSE(CStr255::IsASCII7BitsString(PStr("line\r")));
}

TEST(CStr255Lines, CountsAndExtractsLines)
{
    struct Case {
        const char* text;
        short lines;
    } counts[] = {{"", 1}, {"a", 1}, {"a\r", 1}, {"a\rb", 2}, {"a\r\r", 2}, {"\r", 1}, {"a\rb\rc", 3}};
    for (const Case& c : counts)
        EXPECT_EQ(CStr255(PStr(c.text)).GetNbLines(), c.lines) << c.text;

    CStr255 text(PStr("a\rb"));
    Str255 line;
    EXPECT_TRUE(text.GetLineString(1, line));
    EXPECT_EQ(Text(line), "a");
    EXPECT_TRUE(text.GetLineString(2, line));
    EXPECT_EQ(Text(line), "b");
    EXPECT_FALSE(text.GetLineString(3, line));
    EXPECT_EQ(Text(line), "b");

    CStr255 ended(PStr("first\rsecond\r"));
    EXPECT_TRUE(ended.GetLineString(2, line));
    EXPECT_EQ(Text(line), "second");
    EXPECT_FALSE(ended.GetLineString(3, line));
}

class CStr255Formatting : public testing::Test {
protected:
    void SetUp() override { SetTimeLocaleForTesting("C"); }
    void TearDown() override
    {
        CStr255::sNumberFormat = false;
        SetTimeLocaleForTesting("");
    }
};

enum class Conversion { kLong, kCentimes, kDouble };

struct NumberCase {
    Conversion conversion;
    double value;
    long flags;
    const char* commaDecimal; // sNumberFormat false
    const char* pointDecimal; // sNumberFormat true
};

const NumberCase kNumbers[] = {
    {Conversion::kLong, -1234567, 0x1000, "-1 234 567", "-1,234,567"},
    {Conversion::kLong, -1234567, 0x5000, "(1 234 567)", "(1,234,567)"},
    {Conversion::kLong, -1234567, 0, "-1234567", "-1234567"},
    {Conversion::kLong, 0, 0x8000, "", ""},
    {Conversion::kLong, 0, 0, "0", "0"},
    {Conversion::kLong, 123, 0x1000, "123", "123"},
    {Conversion::kLong, 1234, 0x1000, "1 234", "1,234"},
    {Conversion::kLong, 123456, 0x1000, "123 456", "123,456"},
    {Conversion::kLong, -5, 0x4000, "(5)", "(5)"},
    {Conversion::kLong, 1234, 0x11000, "1,234", "1,234"},
    {Conversion::kCentimes, 123456, 0x1000, "1 234,56", "1,234.56"},
    {Conversion::kCentimes, -5, 0, "-0,05", "-0.05"},
    {Conversion::kCentimes, 100, 0, "1,00", "1.00"},
    {Conversion::kCentimes, 123456, 0x1001, "1 234,6", "1,234.6"},
    {Conversion::kDouble, 3.14159, 3, "3,142", "3.142"},
    {Conversion::kDouble, 0.5, 1, "0,5", "0.5"},
    {Conversion::kDouble, 999.96, 0x1001, "1 000,0", "1,000.0"},
    {Conversion::kDouble, 10, 2, "10,00", "10.00"},
    {Conversion::kDouble, 1.5, 0x10002, "1.50", "1.50"},
    {Conversion::kDouble, 1234.5, 0x11002, "1,234.50", "1,234.50"},
    {Conversion::kDouble, -2.25, 1, "-2,3", "-2.3"},
    {Conversion::kDouble, 12.4, 0, "12", "12"},
    {Conversion::kDouble, 1e20, 0x1000, "100 000 000 000 000 000 000", "100,000,000,000,000,000,000"},
};

TEST_F(CStr255Formatting, NumbersInBothStyles)
{
    for (Boolean pointStyle : {false, true}) {
        CStr255::sNumberFormat = pointStyle;
        for (const NumberCase& c : kNumbers) {
            Str255 out;
            if (c.conversion == Conversion::kLong)
                CStr255::ConvLongToString(long(c.value), out, c.flags);
            else if (c.conversion == Conversion::kCentimes)
                CStr255::ConvCentimesToString(long(c.value), out, c.flags);
            else
                CStr255::ConvDoubleToString(c.value, out, c.flags);
            EXPECT_EQ(Text(out), pointStyle ? c.pointDecimal : c.commaDecimal)
                << "value " << c.value << " flags 0x" << std::hex << c.flags << " point style " << pointStyle;
        }
    }
}

TEST_F(CStr255Formatting, NonFiniteNumbersAreEmpty)
{
    Str255 out;
    CStr255::ConvDoubleToString(std::numeric_limits<double>::infinity(), out, 2);
    EXPECT_EQ(Text(out), "");
    CStr255::ConvDoubleToString(std::numeric_limits<double>::quiet_NaN(), out, 2);
    EXPECT_EQ(Text(out), "");
}

TEST_F(CStr255Formatting, ThousandsSeparators)
{
    struct Case {
        const char* s;
        const char* expected;
    } cases[] = {{"1234567", "1 234 567"}, {"123", "123"}, {"1234,56", "1 234,56"},
                 {"-1234", "-1 234"},      {"x1234", "x1234"}, {"", ""}};
    for (const Case& c : cases) {
        PStr s(c.s);
        CStr255::InsertEspaces(s, 0);
        EXPECT_EQ(s.Text(), c.expected) << c.s;
    }
}

TEST_F(CStr255Formatting, DurationsAndTimesOfDay)
{
    struct Case {
        unsigned long seconds;
        long flags;
        const char* expected;
    } cases[] = {
        {59, 0xD00, "0:59"},           {3600, 0xD00, "60:00"},          {125, 0xD00, "2:05"},
        {47107, 0x900, "13:05:07"},     {47107, 0xB00, "13:05:07"},      {47107, 0, "13:05"},
        {47107, 0x1900, "13:05"},       {47107, 0xD01, "13:05"},
    };
    for (const Case& c : cases) {
        Str255 out;
        CStr255::ConvTimeToString(c.seconds, out, c.flags);
        EXPECT_EQ(Text(out), c.expected) << c.seconds << " flags 0x" << std::hex << c.flags;
    }
}

TEST_F(CStr255Formatting, DatesInEachForm)
{
    const UInt32 date = UDate::SetDate(5, 3, 2003) + 3600; // a Wednesday
    struct Case {
        long flags;
        const char* expected;
    } cases[] = {
        {0x100, "03/5/03"},           {0x200, "Mar 5, 2003"},
        {0x300, "March 5, 2003"},     {0x500, "Wednesday, March 5, 2003"},
        {0x000, "Wed, Mar 5, 2003"},  {0x400, "Wed, Mar 5, 2003"},
        {0x1100, "03/5/03"},
    };
    for (const Case& c : cases) {
        Str255 out;
        CStr255::ConvDateToString(date, out, c.flags);
        EXPECT_EQ(Text(out), c.expected) << "flags 0x" << std::hex << c.flags;
    }
    Str255 none;
    CStr255::ConvDateToString(0, none, 0x100);
    EXPECT_EQ(Text(none), "");
}

} // namespace
