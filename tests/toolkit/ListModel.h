#pragma once
// What the list tests share: a comparator on one key byte of each record, with many
// ties so that stability shows, and records made for each length mode.

#include <random>
#include <string>

#include "toolkit/BigEndian.h"
#include "toolkit/CComparator.h"
#include "toolkit/CListStructs.h"

// Orders records by the byte at `keyOffset` of their data, modulo 5.
class KeyComparator : public CComparator {
public:
    explicit KeyComparator(long keyOffset) : mKeyOffset(keyOffset) {}

    SInt32 Compare(long a, long b) override
    {
        ++sCompares;
        return Key(reinterpret_cast<const UInt8*>(a)) - Key(reinterpret_cast<const UInt8*>(b));
    }

    int Key(const UInt8* data) const { return data[mKeyOffset] % 5; }

    static inline long sCompares = 0;

private:
    long mKeyOffset;
};

// The bytes that hold a record's own length in each mode, where its key byte follows.
inline long KeyOffset(SInt16 mode)
{
    switch (mode) {
    case CListStructs::kOwnLength32:
        return 4;
    case CListStructs::kOwnLength16:
        return 2;
    case CListStructs::kOwnLength8:
        return 1;
    default:
        return 0;
    }
}

constexpr long kFixedRecordSize = 12;

// A record's data as GetNthStruct returns it: for the own-length modes it starts with
// its total length; it always holds a key byte.
inline std::string MakeRecord(SInt16 mode, std::mt19937& random)
{
    const long keyOffset = KeyOffset(mode);
    long length = mode == CListStructs::kFixedSize ? kFixedRecordSize : keyOffset + 1 + long(random() % 12);
    std::string data(std::size_t(length), '\0');
    for (char& c : data)
        c = char(random() % 256);
    auto* bytes = reinterpret_cast<UInt8*>(data.data());
    if (mode == CListStructs::kOwnLength32)
        PutBigEndian32(bytes, UInt32(length));
    else if (mode == CListStructs::kOwnLength16)
        PutBigEndian16(bytes, UInt16(length));
    else if (mode == CListStructs::kOwnLength8)
        bytes[0] = UInt8(length);
    return data;
}
