#pragma once
// Big-endian integers in byte buffers: the byte order of the list file format and
// of the length prefixes inside list records.

#include <cstddef>
#include <span>
#include <vector>

#include "platform/MacTypes.h"

inline UInt32 GetBigEndian32(const UInt8* bytes)
{
    return (UInt32(bytes[0]) << 24) | (UInt32(bytes[1]) << 16) | (UInt32(bytes[2]) << 8) | UInt32(bytes[3]);
}

inline UInt16 GetBigEndian16(const UInt8* bytes)
{
    return UInt16((bytes[0] << 8) | bytes[1]);
}

inline void PutBigEndian32(UInt8* bytes, UInt32 value)
{
    bytes[0] = UInt8(value >> 24);
    bytes[1] = UInt8(value >> 16);
    bytes[2] = UInt8(value >> 8);
    bytes[3] = UInt8(value);
}

inline void PutBigEndian16(UInt8* bytes, UInt16 value)
{
    bytes[0] = UInt8(value >> 8);
    bytes[1] = UInt8(value);
}

// Reads big-endian fields from a byte buffer, never past its end.
class BigEndianReader {
public:
    explicit BigEndianReader(std::span<const UInt8> bytes) : mBytes(bytes) {}

    // A 32-bit signed field; false, and the field reads as 0, when fewer than 4 bytes are left.
    Boolean Read32(SInt32& value)
    {
        value = 0;
        if (!Has(4))
            return false;
        value = SInt32(GetBigEndian32(mBytes.data() + mPosition));
        mPosition += 4;
        return true;
    }

    Boolean Has(std::size_t count) const { return count <= mBytes.size() - mPosition; }

    // The next `count` bytes, or an empty span when fewer are left.
    std::span<const UInt8> Take(std::size_t count)
    {
        if (!Has(count))
            return {};
        const std::span<const UInt8> taken = mBytes.subspan(mPosition, count);
        mPosition += count;
        return taken;
    }

    std::size_t Consumed() const { return mPosition; }

private:
    std::span<const UInt8> mBytes;
    std::size_t mPosition = 0;
};

inline void AppendBigEndian32(std::vector<UInt8>& out, UInt32 value)
{
    UInt8 bytes[4];
    PutBigEndian32(bytes, value);
    out.insert(out.end(), bytes, bytes + 4);
}
