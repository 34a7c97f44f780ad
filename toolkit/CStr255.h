#pragma once
// Pascal strings: a length byte (0-255), then that many bytes of Mac Roman text.
//
// A CStr255 object owns a copy of one string (multi-line texts); the static
// operations work on caller-owned 256-byte buffers. Positions are 1-based, and
// operations that add characters drop those that would pass 255.

#include <array>
#include <memory>

#include "platform/MacTypes.h"

// Formatting flags of the conversion operations.
enum : long {
    kFormatDecimalsMask = 0xF,
    kFormatDateMask = 0xFF0,
    kFormatDateShort = 0x100,
    kFormatDateAbbrevNoWeekday = 0x200,
    kFormatDateLongNoWeekday = 0x300,
    kFormatDateLong = 0x500,
    kFormatTimeSeconds = 0x900,
    kFormatTimeSecondsAlt = 0xB00,
    kFormatMinutesSeconds = 0xD00,
    kFormatGroupThousands = 0x1000,
    kFormatNegativeParens = 0x4000,
    kFormatZeroEmpty = 0x8000,
    kFormatPointDecimal = 0x10000,
};

class CStr255 {
public:
    using Table = std::array<UInt8, 256>;

    explicit CStr255(ConstStr255Param s);
    virtual ~CStr255();
    CStr255(const CStr255&) = delete;
    CStr255& operator=(const CStr255&) = delete;

    // Lines are separated by carriage returns; a final one does not start a line.
    short GetNbLines() const;
    // False, with the last line in `out`, when there is no line number `line`.
    Boolean GetLineString(short line, Str255 out) const;

    // True: point as decimal and comma as thousands separator; false: comma and space.
    static Boolean sNumberFormat;

    static const Table sTableUNIXName;             // file names for command lines
    static const Table sTableLowercase;            // folds case and accents: searching
    static const Table sTableLowercaseDiacritical; // folds case only: sorting

    static Boolean IsDigit(char c);
    static Boolean IsASCII7BitsString(ConstStr255Param s);

    static void CopyPString(ConstStr255Param src, StringPtr dst, short maxLength = 0);
    static void ConcatPStrings(StringPtr dst, ConstStr255Param src, short maxLength = 0);
    static void ConcatPStrings(StringPtr dst, long number, short maxLength = 0);
    static void AddCharToPString(StringPtr s, char c);
    static void AddCharsToPString(StringPtr s, char a, char b);
    static void Add2DigitsToPString(StringPtr s, long v);
    static void InsertInPString(StringPtr s, long position, char c);
    static char* ConvPStringToCString(StringPtr s);

    static Boolean EqualPStrings(ConstStr255Param a, ConstStr255Param b);
    static Boolean EqualPStrings2(ConstStr255Param a, ConstStr255Param b);
    static short CompareAccentedPStrings(ConstStr255Param a, ConstStr255Param b);
    static Boolean StartWithPString(ConstStr255Param prefix, ConstStr255Param s);
    static Boolean EndWithPString(ConstStr255Param suffix, ConstStr255Param s);
    static Boolean StartWithPStringDiacritical(ConstStr255Param prefix, ConstStr255Param s);

    // Searching folds case and accents; a zero byte in a pattern matches any character.
    static short IsInPString(char c, ConstStr255Param s);
    static short IsInPString(ConstStr255Param pattern, ConstStr255Param s);
    // Results longer than 255 characters are cut at 255.
    static short ReplaceInPString(ConstStr255Param pattern, ConstStr255Param replacement, StringPtr s);
    static void ReplaceAllOccurencesInPString(ConstStr255Param pattern, ConstStr255Param replacement, StringPtr s);
    static short Replace0InPString(ConstStr255Param text, StringPtr s);
    static short Replace1InPString(ConstStr255Param text, StringPtr s);
    static short Replace2InPString(ConstStr255Param text, StringPtr s);
    static short Replace3InPString(ConstStr255Param text, StringPtr s);
    static short RemoveInPString(ConstStr255Param pattern, StringPtr s);

    static void GetUNIXFileName(StringPtr s);
    static void ConvLongToString(long v, StringPtr out, long flags);
    static void ConvCentimesToString(long cents, StringPtr out, long flags);
    static void ConvDoubleToString(double v, StringPtr out, long flags);
    static void ConvDateToString(unsigned long seconds, StringPtr out, long flags);
    static void ConvTimeToString(unsigned long seconds, StringPtr out, long flags);
    static void InsertEspaces(StringPtr s, long flags);

private:
    std::unique_ptr<UInt8[]> mString;
};
