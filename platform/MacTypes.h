#pragma once
// The basic types and codes of the platform the system was written for, on Linux.

#include <cstdint>

using UInt8 = std::uint8_t;
using SInt8 = std::int8_t;
using UInt16 = std::uint16_t;
using SInt16 = std::int16_t;
using UInt32 = std::uint32_t;
using SInt32 = std::int32_t;
using UInt64 = std::uint64_t;
using SInt64 = std::int64_t;

using Boolean = bool;
using OSErr = SInt16;
using OSStatus = SInt32;
using FourCharCode = UInt32;
using OSType = FourCharCode;

// A four-character code as the integer it is compared as: MakeOSType("root") == 0x726F6F74.
constexpr OSType MakeOSType(const char (&code)[5])
{
    return (OSType(UInt8(code[0])) << 24) | (OSType(UInt8(code[1])) << 16) |
           (OSType(UInt8(code[2])) << 8) | OSType(UInt8(code[3]));
}

using Size = long;
using Ptr = char*;
using Handle = char**;

// Pascal strings: a length byte, then that many bytes of Mac Roman text.
using Str255 = unsigned char[256];
using Str63 = unsigned char[64];
using Str32 = unsigned char[33];
using Str31 = unsigned char[32];
using StrFileName = Str63;
using StringPtr = unsigned char*;
using ConstStringPtr = const unsigned char*;
using ConstStr255Param = const unsigned char*;
using ConstStr63Param = const unsigned char*;
using ConstStr31Param = const unsigned char*;

using UniChar = UInt16;
using UniCharCount = unsigned long;

// An item: volume reference number, parent directory ID and catalog name.
struct FSSpec {
    SInt16 vRefNum;
    SInt32 parID;
    StrFileName name;
};
using FSSpecPtr = FSSpec*;

// QuickDraw geometry: a point is (vertical, horizontal); a rectangle's bottom and
// right lie outside it.
struct Point {
    SInt16 v;
    SInt16 h;
};

struct Rect {
    SInt16 top;
    SInt16 left;
    SInt16 bottom;
    SInt16 right;
};

// The platform's error codes, by their names.
enum : OSErr {
    noErr = 0,
    dirFulErr = -33,
    dskFulErr = -34,
    nsvErr = -35,
    ioErr = -36,
    bdNamErr = -37,
    fnOpnErr = -38,
    eofErr = -39,
    posErr = -40,
    tmfoErr = -42,
    fnfErr = -43,
    wPrErr = -44,
    fLckdErr = -45,
    vLckdErr = -46,
    fBsyErr = -47,
    dupFNErr = -48,
    opWrErr = -49,
    paramErr = -50,
    rfNumErr = -51,
    permErr = -54,
    nsDrvErr = -56,
    extFSErr = -58,
    wrPermErr = -61,
    memFullErr = -108,
    nilHandleErr = -109,
    memWZErr = -111,
    dirNFErr = -120,
    resNotFound = -192,
    userCanceledErr = -128,
    afpAccessDenied = -5000,
};
