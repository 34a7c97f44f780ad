#include "platform/FinderInfo.h"

#include <algorithm>
#include <iterator>

namespace FinderInfo {

namespace {

// Reads and writes big-endian fields one after the other.
class Reader {
public:
    explicit Reader(const FinderInfoBytes& bytes) : mBytes(bytes) {}
    UInt32 U32() { return (UInt32(U16()) << 16) | U16(); }
    UInt16 U16()
    {
        const UInt16 value = UInt16((mBytes[mAt] << 8) | mBytes[mAt + 1]);
        mAt += 2;
        return value;
    }
    SInt16 S16() { return SInt16(U16()); }
    SInt8 S8() { return SInt8(mBytes[mAt++]); }
    Point P()
    {
        const SInt16 v = S16();
        return Point{v, S16()};
    }

private:
    const FinderInfoBytes& mBytes;
    std::size_t mAt = 0;
};

class Writer {
public:
    void U32(UInt32 value)
    {
        U16(UInt16(value >> 16));
        U16(UInt16(value));
    }
    void U16(UInt16 value)
    {
        mBytes[mAt++] = UInt8(value >> 8);
        mBytes[mAt++] = UInt8(value);
    }
    void S8(SInt8 value) { mBytes[mAt++] = UInt8(value); }
    void P(const Point& point)
    {
        U16(UInt16(point.v));
        U16(UInt16(point.h));
    }
    const FinderInfoBytes& Bytes() const { return mBytes; }

private:
    FinderInfoBytes mBytes{};
    std::size_t mAt = 0;
};

} // namespace

void Decode(const FinderInfoBytes& bytes, FInfo* info, FXInfo* extended)
{
    Reader in(bytes);
    info->fdType = in.U32();
    info->fdCreator = in.U32();
    info->fdFlags = in.U16();
    info->fdLocation = in.P();
    info->fdFldr = in.S16();
    extended->fdIconID = in.S16();
    for (SInt16& reserved : extended->fdReserved)
        reserved = in.S16();
    extended->fdScript = in.S8();
    extended->fdXFlags = in.S8();
    extended->fdComment = in.S16();
    extended->fdPutAway = SInt32(in.U32());
}

void Decode(const FinderInfoBytes& bytes, DInfo* info, DXInfo* extended)
{
    Reader in(bytes);
    info->frRect.top = in.S16();
    info->frRect.left = in.S16();
    info->frRect.bottom = in.S16();
    info->frRect.right = in.S16();
    info->frFlags = in.U16();
    info->frLocation = in.P();
    info->frView = in.S16();
    extended->frScroll = in.P();
    extended->frOpenChain = SInt32(in.U32());
    extended->frScript = in.S8();
    extended->frXFlags = in.S8();
    extended->frComment = in.S16();
    extended->frPutAway = SInt32(in.U32());
}

FinderInfoBytes Encode(const FInfo& info, const FXInfo& extended)
{
    Writer out;
    out.U32(info.fdType);
    out.U32(info.fdCreator);
    out.U16(info.fdFlags);
    out.P(info.fdLocation);
    out.U16(UInt16(info.fdFldr));
    out.U16(UInt16(extended.fdIconID));
    for (SInt16 reserved : extended.fdReserved)
        out.U16(UInt16(reserved));
    out.S8(extended.fdScript);
    out.S8(extended.fdXFlags);
    out.U16(UInt16(extended.fdComment));
    out.U32(UInt32(extended.fdPutAway));
    return out.Bytes();
}

FinderInfoBytes Encode(const DInfo& info, const DXInfo& extended)
{
    Writer out;
    out.U16(UInt16(info.frRect.top));
    out.U16(UInt16(info.frRect.left));
    out.U16(UInt16(info.frRect.bottom));
    out.U16(UInt16(info.frRect.right));
    out.U16(info.frFlags);
    out.P(info.frLocation);
    out.U16(UInt16(info.frView));
    out.P(extended.frScroll);
    out.U32(UInt32(extended.frOpenChain));
    out.S8(extended.frScript);
    out.S8(extended.frXFlags);
    out.U16(UInt16(extended.frComment));
    out.U32(UInt32(extended.frPutAway));
    return out.Bytes();
}

OSType Type(const FinderInfoBytes& bytes)
{
    return Reader(bytes).U32();
}

OSType Type(const UInt8 (&catalogFinderInfo)[16])
{
    FinderInfoBytes bytes{};
    std::copy(std::begin(catalogFinderInfo), std::end(catalogFinderInfo), bytes.begin());
    return Type(bytes);
}

OSType Creator(const FinderInfoBytes& bytes)
{
    Reader in(bytes);
    in.U32();
    return in.U32();
}

UInt16 Flags(const FinderInfoBytes& bytes)
{
    return UInt16((bytes[8] << 8) | bytes[9]);
}

void SetType(FinderInfoBytes& bytes, OSType type, OSType creator)
{
    for (int i = 0; i < 4; ++i) {
        bytes[std::size_t(i)] = UInt8(type >> (24 - 8 * i));
        bytes[std::size_t(4 + i)] = UInt8(creator >> (24 - 8 * i));
    }
}

void SetFlags(FinderInfoBytes& bytes, UInt16 flags)
{
    bytes[8] = UInt8(flags >> 8);
    bytes[9] = UInt8(flags);
}

} // namespace FinderInfo
