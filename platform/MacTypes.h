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

enum : OSErr {
    noErr = 0,
};
