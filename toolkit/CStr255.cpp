#include "toolkit/CStr255.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "platform/DateTimeText.h"
#include "platform/MacRoman.h"

namespace {

constexpr UInt8 kReturn = 0x0D;

// first..last map to target; with `ranged`, to target, target + 1, ... in turn.
struct Mapping {
    UInt8 first;
    UInt8 last;
    UInt8 target;
    bool ranged = false;
};

constexpr CStr255::Table MakeTable(std::initializer_list<Mapping> mappings)
{
    CStr255::Table table{};
    for (int c = 0; c < 256; ++c)
        table[c] = UInt8(c);
    for (const Mapping& m : mappings)
        for (int c = m.first; c <= m.last; ++c)
            table[c] = UInt8(m.ranged ? m.target + (c - m.first) : m.target);
    return table;
}

UInt8 Length(ConstStr255Param s)
{
    return s == nullptr ? 0 : s[0];
}

// Whether `pattern` stands at `position` of s, both folded through `table`.
bool MatchesAt(ConstStr255Param pattern, ConstStr255Param s, int position, const CStr255::Table& table,
               bool zeroMatchesAny)
{
    for (int k = 1; k <= pattern[0]; ++k) {
        const UInt8 p = pattern[k];
        if (!(zeroMatchesAny && p == 0) && table[p] != table[s[position + k - 1]])
            return false;
    }
    return true;
}

short FindFrom(ConstStr255Param pattern, ConstStr255Param s, int from)
{
    for (int position = from; position + Length(pattern) - 1 <= Length(s); ++position)
        if (MatchesAt(pattern, s, position, CStr255::sTableLowercase, true))
            return short(position);
    return 0;
}

// s with its `length` characters at `position` replaced, cut at 255.
void ReplaceAt(int position, int length, ConstStr255Param replacement, StringPtr s)
{
    UInt8 result[256 * 2];
    int n = 0;
    const auto append = [&](const UInt8* bytes, int count) {
        std::memcpy(result + n, bytes, std::size_t(count));
        n += count;
    };
    append(s + 1, position - 1);
    append(replacement + 1, Length(replacement));
    append(s + position + length, s[0] - (position + length - 1));
    s[0] = UInt8(n < 255 ? n : 255);
    std::memcpy(s + 1, result, s[0]);
}

const unsigned char kPlaceholders[4][3] = {{2, '^', '0'}, {2, '^', '1'}, {2, '^', '2'}, {2, '^', '3'}};
const unsigned char kEmpty[1] = {0};

unsigned long Magnitude(long v)
{
    return v < 0 ? 0ul - static_cast<unsigned long>(v) : static_cast<unsigned long>(v);
}

bool PointDecimal(long flags)
{
    return (flags & kFormatPointDecimal) || CStr255::sNumberFormat;
}

} // namespace

Boolean CStr255::sNumberFormat = false;

const CStr255::Table CStr255::sTableLowercase = MakeTable({
    {0x41, 0x5A, 0x61, true},
    {0x80, 0x81, 'a'}, {0x82, 0x82, 'c'}, {0x83, 0x83, 'e'}, {0x84, 0x84, 'n'}, {0x85, 0x85, 'o'},
    {0x86, 0x86, 'u'}, {0x87, 0x8C, 'a'}, {0x8D, 0x8D, 'c'}, {0x8E, 0x91, 'e'}, {0x92, 0x95, 'i'},
    {0x96, 0x96, 'n'}, {0x97, 0x9B, 'o'}, {0x9C, 0x9F, 'u'},
    {0xC1, 0xC1, 'I'}, {0xCB, 0xCC, 'a'}, {0xCD, 0xCD, 'o'}, {0xD8, 0xD9, 'Y'},
    {0xE5, 0xE5, 'a'}, {0xE7, 0xE7, 'a'}, {0xE6, 0xE6, 'e'}, {0xE8, 0xE9, 'e'}, {0xEA, 0xED, 'i'},
    {0xEE, 0xEF, 'o'}, {0xF1, 0xF1, 'o'}, {0xF2, 0xF4, 'u'},
});

const CStr255::Table CStr255::sTableLowercaseDiacritical = MakeTable({
    {0x41, 0x5A, 0x61, true},
    {0x80, 0x80, 0x8A}, {0x81, 0x81, 0x8C}, {0x82, 0x82, 0x8D}, {0x83, 0x83, 0x8E}, {0x84, 0x84, 0x96},
    {0x85, 0x85, 0x9A}, {0x86, 0x86, 0x9F}, {0xCB, 0xCB, 0x88}, {0xCC, 0xCC, 0x8B}, {0xCD, 0xCD, 0x9B},
    {0xD9, 0xD9, 0xD8}, {0xE5, 0xE5, 0x89}, {0xE6, 0xE6, 0x90}, {0xE7, 0xE7, 0x87}, {0xE8, 0xE8, 0x91},
    {0xE9, 0xE9, 0x8F}, {0xEA, 0xEA, 0x92}, {0xEB, 0xEB, 0x94}, {0xEC, 0xEC, 0x95}, {0xED, 0xED, 0x93},
    {0xEE, 0xEE, 0x97}, {0xEF, 0xEF, 0x99}, {0xF1, 0xF1, 0x98}, {0xF2, 0xF2, 0x9C}, {0xF3, 0xF3, 0x9E},
    {0xF4, 0xF4, 0x9D},
});

const CStr255::Table CStr255::sTableUNIXName = MakeTable({
    {0x2F, 0x2F, '*'}, {0x3A, 0x3A, '*'},
    {0x80, 0x81, 'A'}, {0x82, 0x82, 'C'}, {0x83, 0x83, 'E'}, {0x84, 0x84, 'N'}, {0x85, 0x85, 'O'},
    {0x86, 0x86, 'U'}, {0x87, 0x8C, 'a'}, {0x8D, 0x8D, 'c'}, {0x8E, 0x91, 'e'}, {0x92, 0x95, 'i'},
    {0x96, 0x96, 'n'}, {0x97, 0x9B, 'o'}, {0x9C, 0x9F, 'u'},
    {0xA0, 0xA0, 't'}, {0xA1, 0xA2, 'o'}, {0xA3, 0xA3, 'L'}, {0xA4, 0xA4, 'S'}, {0xA5, 0xA5, 'o'},
    {0xA6, 0xA6, 'P'}, {0xA7, 0xA7, 'B'}, {0xA8, 0xA8, 'r'}, {0xA9, 0xA9, 'c'}, {0xAA, 0xAC, ' '},
    {0xAD, 0xAD, '-'}, {0xAE, 0xAE, 'A'}, {0xAF, 0xAF, 'O'}, {0xB0, 0xB0, ' '}, {0xB1, 0xB1, '-'},
    {0xB2, 0xB2, '<'}, {0xB3, 0xB3, '>'}, {0xB4, 0xB4, 'Y'}, {0xB5, 0xB5, 'm'}, {0xB6, 0xB6, 'd'},
    {0xB7, 0xB7, 'S'}, {0xB8, 0xB8, 'P'}, {0xB9, 0xB9, 'p'}, {0xBA, 0xBA, 'f'}, {0xBB, 0xBB, 'a'},
    {0xBC, 0xBC, 'o'}, {0xBD, 0xBD, 'O'}, {0xBE, 0xBE, 'a'}, {0xBF, 0xBF, 'o'},
    {0xC0, 0xC0, '?'}, {0xC1, 0xC1, 'I'}, {0xC2, 0xC2, '-'}, {0xC3, 0xC3, 'V'}, {0xC4, 0xC4, 'f'},
    {0xC5, 0xC5, '='}, {0xC6, 0xC6, 'D'}, {0xC7, 0xC7, '<'}, {0xC8, 0xC8, '>'}, {0xC9, 0xC9, '.'},
    {0xCA, 0xCA, ' '}, {0xCB, 0xCC, 'A'}, {0xCD, 0xCE, 'O'}, {0xCF, 0xCF, 'o'},
    {0xD2, 0xD3, '"'}, {0xD4, 0xD5, '\''}, {0xD6, 0xD6, '-'}, {0xD7, 0xD7, 'o'}, {0xD8, 0xD9, 'Y'},
    {0xE5, 0xE5, 'a'}, {0xE7, 0xE7, 'a'}, {0xE6, 0xE6, 'e'}, {0xE8, 0xE9, 'e'}, {0xEA, 0xED, 'i'},
    {0xEE, 0xEF, 'o'}, {0xF1, 0xF1, 'o'}, {0xF2, 0xF4, 'u'},
});

CStr255::CStr255(ConstStr255Param s) : mString(new UInt8[Length(s) + 1])
{
    std::memcpy(mString.get(), s == nullptr ? kEmpty : s, std::size_t(Length(s)) + 1);
}

CStr255::~CStr255() = default;

short CStr255::GetNbLines() const
{
    short lines = 1;
    for (int i = 1; i < mString[0]; ++i)
        if (mString[i] == kReturn)
            ++lines;
    return lines;
}

Boolean CStr255::GetLineString(short line, Str255 out) const
{
    const UInt8* s = mString.get();
    int n = s[0];
    if (n > 0 && s[n] == kReturn)
        --n;
    short current = 1;
    int start = 1;
    for (int i = 1; i <= n + 1; ++i) {
        if (i <= n && s[i] != kReturn)
            continue;
        out[0] = UInt8(i - start);
        std::memcpy(out + 1, s + start, out[0]);
        if (current == line)
            return true;
        ++current;
        start = i + 1;
    }
    return false;
}

Boolean CStr255::IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

Boolean CStr255::IsASCII7BitsString(ConstStr255Param s)
{
    for (int i = 1; i <= Length(s); ++i)
        if (s[i] < 0x20 || s[i] > 0x7F)
            return false;
    return true;
}

void CStr255::CopyPString(ConstStr255Param src, StringPtr dst, short maxLength)
{
    if (dst == nullptr)
        return;
    int n = Length(src);
    if (maxLength > 0 && n > maxLength)
        n = maxLength;
    if (n > 0)
        std::memmove(dst + 1, src + 1, std::size_t(n));
    dst[0] = UInt8(n);
}

void CStr255::ConcatPStrings(StringPtr dst, ConstStr255Param src, short maxLength)
{
    const int limit = maxLength > 0 && maxLength < 255 ? maxLength : 255;
    const int count = Length(src);
    // src may be dst itself: its length is taken before anything is appended.
    for (int i = 1; i <= count && dst[0] < limit; ++i) {
        dst[dst[0] + 1] = src[i];
        ++dst[0];
    }
}

void CStr255::ConcatPStrings(StringPtr dst, long number, short maxLength)
{
    Str255 text;
    TextToStr255((number < 0 ? "-" : "") + std::to_string(Magnitude(number)), text);
    ConcatPStrings(dst, text, maxLength);
}

void CStr255::AddCharToPString(StringPtr s, char c)
{
    if (s[0] < 255) {
        ++s[0];
        s[s[0]] = UInt8(c);
    }
}

void CStr255::AddCharsToPString(StringPtr s, char a, char b)
{
    if (s[0] < 254) {
        s[s[0] + 1] = UInt8(a);
        s[s[0] + 2] = UInt8(b);
        s[0] = UInt8(s[0] + 2);
    }
}

void CStr255::Add2DigitsToPString(StringPtr s, long v)
{
    const unsigned long lastTwo = Magnitude(v) % 100;
    AddCharsToPString(s, char('0' + lastTwo / 10), char('0' + lastTwo % 10));
}

void CStr255::InsertInPString(StringPtr s, long position, char c)
{
    const int n = s[0];
    if (n == 255)
        return;
    const long at = position < 1 ? 1 : position > n + 1 ? n + 1 : position;
    std::memmove(s + at + 1, s + at, std::size_t(n + 1 - at));
    s[at] = UInt8(c);
    s[0] = UInt8(n + 1);
}

char* CStr255::ConvPStringToCString(StringPtr s)
{
    const int n = s[0];
    std::memmove(s, s + 1, std::size_t(n));
    s[n] = 0;
    return reinterpret_cast<char*>(s);
}

Boolean CStr255::EqualPStrings(ConstStr255Param a, ConstStr255Param b)
{
    // With case and accents significant, the system's equality is byte identity.
    return EqualPStrings2(a, b);
}

Boolean CStr255::EqualPStrings2(ConstStr255Param a, ConstStr255Param b)
{
    return Length(a) == Length(b) && (Length(a) == 0 || std::memcmp(a + 1, b + 1, Length(a)) == 0);
}

short CStr255::CompareAccentedPStrings(ConstStr255Param a, ConstStr255Param b)
{
    const int shorter = Length(a) < Length(b) ? Length(a) : Length(b);
    for (int i = 1; i <= shorter; ++i) {
        const UInt8 x = sTableLowercaseDiacritical[a[i]];
        const UInt8 y = sTableLowercaseDiacritical[b[i]];
        if (x != y)
            return x < y ? -1 : 1;
    }
    return Length(a) == Length(b) ? 0 : Length(a) < Length(b) ? -1 : 1;
}

Boolean CStr255::StartWithPString(ConstStr255Param prefix, ConstStr255Param s)
{
    return Length(prefix) <= Length(s) && (Length(prefix) == 0 || MatchesAt(prefix, s, 1, sTableLowercase, false));
}

Boolean CStr255::EndWithPString(ConstStr255Param suffix, ConstStr255Param s)
{
    return Length(suffix) <= Length(s) &&
           (Length(suffix) == 0 || MatchesAt(suffix, s, Length(s) - Length(suffix) + 1, sTableLowercase, false));
}

Boolean CStr255::StartWithPStringDiacritical(ConstStr255Param prefix, ConstStr255Param s)
{
    return Length(prefix) <= Length(s) && (Length(prefix) == 0 || std::memcmp(prefix + 1, s + 1, Length(prefix)) == 0);
}

short CStr255::IsInPString(char c, ConstStr255Param s)
{
    for (int i = 1; i <= Length(s); ++i)
        if (sTableLowercase[s[i]] == sTableLowercase[UInt8(c)])
            return short(i);
    return 0;
}

short CStr255::IsInPString(ConstStr255Param pattern, ConstStr255Param s)
{
    if (Length(pattern) == 0)
        return Length(s) > 0 ? 1 : 0;
    return FindFrom(pattern, s, 1);
}

short CStr255::ReplaceInPString(ConstStr255Param pattern, ConstStr255Param replacement, StringPtr s)
{
    if (Length(pattern) == 0)
        return 0;
    const short position = FindFrom(pattern, s, 1);
    if (position != 0)
        ReplaceAt(position, pattern[0], replacement == nullptr ? kEmpty : replacement, s);
    return position;
}

void CStr255::ReplaceAllOccurencesInPString(ConstStr255Param pattern, ConstStr255Param replacement, StringPtr s)
{
    if (Length(pattern) == 0 || EqualPStrings2(pattern, replacement))
        return;
    if (replacement == nullptr)
        replacement = kEmpty;
    // Each search starts again at the beginning, except after a replacement that
    // holds the pattern itself: starting again there would never end.
    const bool restart = FindFrom(pattern, replacement, 1) == 0;
    int from = 1;
    while (short position = FindFrom(pattern, s, from)) {
        ReplaceAt(position, pattern[0], replacement, s);
        from = restart ? 1 : position + replacement[0];
    }
}

short CStr255::Replace0InPString(ConstStr255Param text, StringPtr s)
{
    return ReplaceInPString(kPlaceholders[0], text, s);
}

short CStr255::Replace1InPString(ConstStr255Param text, StringPtr s)
{
    return ReplaceInPString(kPlaceholders[1], text, s);
}

short CStr255::Replace2InPString(ConstStr255Param text, StringPtr s)
{
    return ReplaceInPString(kPlaceholders[2], text, s);
}

short CStr255::Replace3InPString(ConstStr255Param text, StringPtr s)
{
    return ReplaceInPString(kPlaceholders[3], text, s);
}

short CStr255::RemoveInPString(ConstStr255Param pattern, StringPtr s)
{
    return ReplaceInPString(pattern, kEmpty, s);
}

void CStr255::GetUNIXFileName(StringPtr s)
{
    for (int i = 1; i <= s[0]; ++i)
        s[i] = sTableUNIXName[s[i]];
}

void CStr255::InsertEspaces(StringPtr s, long flags)
{
    // The digit run starts at character 1, or after a leading minus sign.
    const int first = s[0] >= 1 && s[1] == '-' ? 2 : 1;
    if (s[0] < first || !IsDigit(char(s[first])))
        return;
    int end = first;
    while (end <= s[0] && IsDigit(char(s[end])))
        ++end;
    const char separator = PointDecimal(flags) ? ',' : ' ';
    for (int position = end - 3; position > first; position -= 3)
        InsertInPString(s, position, separator);
}

void CStr255::ConvLongToString(long v, StringPtr out, long flags)
{
    out[0] = 0;
    if ((flags & kFormatZeroEmpty) && v == 0)
        return;
    TextToStr255(std::to_string(Magnitude(v)), out);
    if (flags & kFormatGroupThousands)
        InsertEspaces(out, flags);
    if (v < 0 && (flags & kFormatNegativeParens)) {
        InsertInPString(out, 1, '(');
        AddCharToPString(out, ')');
    } else if (v < 0) {
        InsertInPString(out, 1, '-');
    }
}

void CStr255::ConvDoubleToString(double v, StringPtr out, long flags)
{
    out[0] = 0;
    if (!std::isfinite(v))
        return;
    const int decimals = int(flags & kFormatDecimalsMask);
    // Rounded half away from zero on the whole scaled value: adding half a unit and
    // taking the digits one by one in floating point loses a half that binary
    // fractions hold exactly (2.25 to one decimal would read 2.2).
    const double scaled = std::floor(std::fabs(v) * std::pow(10.0, decimals) + 0.5);
    std::string text;
    if (scaled < 1e18) {
        text = std::to_string(static_cast<unsigned long long>(scaled));
        if (text.size() <= std::size_t(decimals))
            text.insert(0, std::size_t(decimals) + 1 - text.size(), '0');
    } else {
        char digits[400];
        std::snprintf(digits, sizeof digits, "%.0f", scaled);
        text = digits;
    }
    // Without decimals there is no decimal part and no separator to introduce it.
    if (decimals > 0)
        text.insert(text.size() - std::size_t(decimals), 1, PointDecimal(flags) ? '.' : ',');
    TextToStr255(text, out);
    if (flags & kFormatGroupThousands)
        InsertEspaces(out, flags);
    if (v < 0)
        InsertInPString(out, 1, '-');
}

void CStr255::ConvCentimesToString(long cents, StringPtr out, long flags)
{
    if ((flags & kFormatDecimalsMask) == 0)
        flags |= 2;
    ConvDoubleToString(double(cents) / 100.0, out, flags);
}

void CStr255::ConvDateToString(unsigned long seconds, StringPtr out, long flags)
{
    out[0] = 0;
    if (seconds == 0)
        return;
    switch (flags & kFormatDateMask) {
    case kFormatDateShort:
        DateString(UInt32(seconds), DateForm::kShort, false, out);
        break;
    case kFormatDateAbbrevNoWeekday:
        DateString(UInt32(seconds), DateForm::kAbbrev, false, out);
        break;
    case kFormatDateLongNoWeekday:
        DateString(UInt32(seconds), DateForm::kLong, false, out);
        break;
    case kFormatDateLong:
        DateString(UInt32(seconds), DateForm::kLong, true, out);
        break;
    default:
        DateString(UInt32(seconds), DateForm::kAbbrev, true, out);
        break;
    }
}

void CStr255::ConvTimeToString(unsigned long seconds, StringPtr out, long flags)
{
    if (flags == kFormatMinutesSeconds) {
        out[0] = 0;
        ConcatPStrings(out, long(seconds / 60));
        AddCharToPString(out, ':');
        Add2DigitsToPString(out, long(seconds % 60));
        return;
    }
    TimeString(UInt32(seconds), flags == kFormatTimeSeconds || flags == kFormatTimeSecondsAlt, out);
}
