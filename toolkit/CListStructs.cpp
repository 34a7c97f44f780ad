#include "toolkit/CListStructs.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/LException.h"
#include "toolkit/BigEndian.h"
#include "toolkit/CComparator.h"
#include "toolkit/StLockHandleQOR.h"

namespace {

constexpr long kMaxSigned16 = 0x7FFF;
constexpr long kMaxSigned32 = 0x7FFFFFFF;

} // namespace

CListStructs::CListStructs(CComparator* comparator, SInt16 lengthMode, long size)
    : CListObject(comparator), mBuffer(size == 0 ? kDefaultStep : size), mLengthMode(lengthMode),
      mSize(SInt32(size))
{
    ThrowIfNot_(lengthMode >= kPrefix32 && lengthMode <= kOwnLength8);
    ThrowIfNot_(lengthMode != kFixedSize || size > 0);
}

std::unique_ptr<CListObject> CListStructs::NewEmpty() const
{
    return std::make_unique<CListStructs>(nullptr, mLengthMode, mSize);
}

Boolean CListStructs::GetCopy(CListObject& into)
{
    auto* list = dynamic_cast<CListStructs*>(&into);
    // Records only mean something to a list that reads their lengths the same way.
    ThrowIfNot_(list == nullptr || (list->mLengthMode == mLengthMode &&
                                    (mLengthMode != kFixedSize || list->mSize == mSize)));
    if (list != nullptr) {
        Compact();
        const long size = mBuffer.GetSize();
        if (!list->mBuffer.Resize(size))
            return false;
        std::memcpy(list->mBuffer.GetPtr(), mBuffer.GetPtr(), std::size_t(size));
    }
    return CListObject::GetCopy(into);
}

long CListStructs::PrefixBytes() const
{
    return mLengthMode == kPrefix32 ? 4 : mLengthMode == kPrefix16 ? 2 : 0;
}

// The bytes a record needs at least: those that hold its length (or its fixed size).
long CListStructs::LengthFieldBytes() const
{
    switch (mLengthMode) {
    case kPrefix32:
    case kOwnLength32:
        return 4;
    case kPrefix16:
    case kOwnLength16:
        return 2;
    case kFixedSize:
        return mSize;
    default:
        return 1;
    }
}

// The bytes the record occupies in the buffer, or 0 when the mode cannot keep it: its
// length would read back negative, or it does not hold its own length field.
long CListStructs::StoredLength(const void* record, long length) const
{
    const auto* bytes = static_cast<const UInt8*>(record);
    long total;
    switch (mLengthMode) {
    case kPrefix32:
    case kPrefix16:
        ThrowIfNot_(length >= 0);
        total = length + PrefixBytes();
        break;
    case kFixedSize:
        total = mSize;
        break;
    case kOwnLength32:
        total = bytes == nullptr ? 0 : long(GetBigEndian32(bytes));
        break;
    case kOwnLength16:
        total = bytes == nullptr ? 0 : long(GetBigEndian16(bytes));
        break;
    default:
        total = bytes == nullptr ? 0 : long(bytes[0]);
        break;
    }
    const bool shortLength = mLengthMode == kPrefix16 || mLengthMode == kOwnLength16;
    if (total < LengthFieldBytes() || total > (shortLength ? kMaxSigned16 : kMaxSigned32))
        return 0;
    if (bytes == nullptr && total > PrefixBytes())
        return 0;
    return total;
}

void CListStructs::WriteRecord(long offset, const void* record, long total)
{
    auto* at = reinterpret_cast<UInt8*>(mBuffer.GetPtr()) + offset;
    if (mLengthMode == kPrefix32)
        PutBigEndian32(at, UInt32(total));
    else if (mLengthMode == kPrefix16)
        PutBigEndian16(at, UInt16(total));
    const long prefix = PrefixBytes();
    if (total > prefix)
        std::memcpy(at + prefix, record, std::size_t(total - prefix));
}

// A record taken from this very buffer would move with it as the buffer changes: it
// is copied out first.
const void* CListStructs::Detached(const void* record, long total, std::vector<UInt8>& own)
{
    const Ptr start = mBuffer.GetPtr();
    const auto* bytes = static_cast<const UInt8*>(record);
    if (bytes == nullptr || record < start || record >= start + mBuffer.GetSize())
        return record;
    own.assign(bytes, bytes + (total - PrefixBytes()));
    return own.data();
}

long CListStructs::AddStructToList(const void* record, long length)
{
    const long total = StoredLength(record, length);
    if (total == 0)
        return 0;
    std::vector<UInt8> own;
    record = Detached(record, total, own);
    const long offset = mBuffer.GetSize();
    if (!mBuffer.Resize(offset + total))
        return 0;
    WriteRecord(offset, record, total);
    return AddItemToList(offset);
}

long CListStructs::InsertStruct(long index, const void* record, long length)
{
    if (index <= 0)
        index = 1;
    if (index > GetCount())
        return AddStructToList(record, length);
    const long total = StoredLength(record, length);
    if (total == 0)
        return 0;
    std::vector<UInt8> own;
    record = Detached(record, total, own);
    Compact();
    const long offset = GetNthItem(index);
    if (!mBuffer.ReplaceBytes(offset, 0, nullptr, total))
        return 0;
    WriteRecord(offset, record, total);
    ShiftValues(offset, total);
    InsertItem(index, offset);
    return index;
}

void CListStructs::SetNthStruct(long index, const void* record, long length)
{
    if (index <= 0)
        return;
    while (GetCount() < index)
        if (AddStructToList(record, length) == 0)
            return;
    const long total = StoredLength(record, length);
    if (total == 0)
        return;
    std::vector<UInt8> own;
    record = Detached(record, total, own);
    const long old = GetLengthInBuffer(index);
    // Records behind it move only in a buffer without holes.
    if (total != old)
        Compact();
    const long offset = GetNthItem(index);
    if (!mBuffer.ReplaceBytes(offset, old, nullptr, total))
        return;
    WriteRecord(offset, record, total);
    if (total != old)
        ShiftValues(offset + 1, total - old);
}

long CListStructs::GetNthStruct(long index, void* dest, long maxLength)
{
    const Ptr data = GetNthStructPtr(index);
    if (data == nullptr)
        return 0;
    long length = GetNthStructLength(index);
    if (maxLength != 0 && length > maxLength)
        length = maxLength;
    std::memcpy(dest, data, std::size_t(length));
    return length;
}

Ptr CListStructs::GetNthStructPtr(long index)
{
    if (index < 1 || index > GetCount())
        return nullptr;
    return mBuffer.GetPtr() + GetNthStructPosition(index);
}

long CListStructs::GetNthStructLength(long index)
{
    if (index < 1 || index > GetCount())
        return 0;
    const long length = GetLengthInBuffer(index) - PrefixBytes();
    ThrowIfNot_(length >= 0);
    return length;
}

long CListStructs::GetNthStructPosition(long index)
{
    return GetNthItem(index) + PrefixBytes();
}

long CListStructs::GetLengthInBuffer(long index)
{
    return index < 1 || index > GetCount() ? 0 : GetLengthAtPosition(GetNthItem(index));
}

long CListStructs::GetLengthAtPosition(long offset)
{
    if (offset < 0 || offset + LengthFieldBytes() > mBuffer.GetSize())
        return 0;
    const auto* at = reinterpret_cast<const UInt8*>(mBuffer.GetPtr()) + offset;
    switch (mLengthMode) {
    case kPrefix32:
    case kOwnLength32:
        return SInt32(GetBigEndian32(at));
    case kPrefix16:
    case kOwnLength16:
        return SInt16(GetBigEndian16(at));
    case kFixedSize:
        return mSize;
    default:
        return at[0];
    }
}

void CListStructs::RemoveNthItem(long index)
{
    RemoveItems(index, 1);
}

// A removed record leaves a hole in the buffer: closing it at once would move every
// record behind it and renumber the index, so a list consumed from its front would
// cost its whole length per record. The holes are closed together once they hold as
// many bytes as the records.
void CListStructs::RemoveItems(long first, long n)
{
    const long count = GetCount();
    if (first <= 0 || first > count || n <= 0)
        return;
    const long last = first + n - 1 < count ? first + n - 1 : count;
    for (long k = first; k <= last; ++k) {
        const long length = GetLengthInBuffer(k);
        mHoles.push_back({GetNthItem(k), length});
        mHoleBytes += length;
    }
    CListObject::RemoveItems(first, last - first + 1);
    if (mHoleBytes >= mBuffer.GetSize() - mHoleBytes)
        Compact();
}

// Closes the holes: the records keep their order in the buffer, and each offset drops
// by the bytes of the holes before it.
void CListStructs::Compact()
{
    if (mHoles.empty())
        return;
    std::sort(mHoles.begin(), mHoles.end(), [](const Hole& a, const Hole& b) { return a.offset < b.offset; });
    // closedBefore[i]: the hole bytes before hole i's end.
    std::vector<long> closedBefore(mHoles.size());
    long closed = 0;
    for (std::size_t i = 0; i < mHoles.size(); ++i)
        closedBefore[i] = closed += mHoles[i].length;
    for (long k = 1; k <= GetCount(); ++k) {
        const long offset = GetNthItem(k);
        const auto after = std::upper_bound(mHoles.begin(), mHoles.end(), offset,
                                            [](long value, const Hole& hole) { return value < hole.offset; });
        if (after != mHoles.begin())
            SetNthItem(k, offset - closedBefore[std::size_t(after - mHoles.begin()) - 1]);
    }
    const long size = mBuffer.GetSize();
    Ptr bytes = mBuffer.GetPtr();
    long to = mHoles.front().offset;
    for (std::size_t i = 0; i < mHoles.size(); ++i) {
        const long from = mHoles[i].offset + mHoles[i].length;
        const long end = i + 1 < mHoles.size() ? mHoles[i + 1].offset : size;
        std::memmove(bytes + to, bytes + from, std::size_t(end - from));
        to += end - from;
    }
    mBuffer.Resize(to);
    mHoles.clear();
    mHoleBytes = 0;
}

void CListStructs::RemoveAllItems()
{
    CListObject::RemoveAllItems();
    mBuffer.Resize(0);
    mHoles.clear();
    mHoleBytes = 0;
}

long CListStructs::AddUHandleToList(UHandle* block)
{
    StLockHandleQOR lock(block);
    return AddStructToList(block->GetPtr(), block->GetSize());
}

void CListStructs::GetNthUHandle(long index, UHandle* block)
{
    const long length = GetNthStructLength(index);
    if (block->Resize(length) && length > 0)
        std::memcpy(block->GetPtr(), GetNthStructPtr(index), std::size_t(length));
}

void CListStructs::SetNthUHandle(long index, UHandle* block)
{
    StLockHandleQOR lock(block);
    SetNthStruct(index, block->GetPtr(), block->GetSize());
}

long CListStructs::InsertUHandle(long index, UHandle* block)
{
    StLockHandleQOR lock(block);
    return InsertStruct(index, block->GetPtr(), block->GetSize());
}

SInt32 CListStructs::CompareStructs(const void* a, const void* b)
{
    CComparator* comparator = GetComparator();
    if (comparator == nullptr)
        return 0;
    const SInt32 result = comparator->Compare(reinterpret_cast<long>(a), reinterpret_cast<long>(b));
    return comparator->IsReverse() ? -result : result;
}

// The buffer stays locked while the comparator holds pointers into it.
SInt32 CListStructs::CompareValues(long a, long b)
{
    StLockHandleQOR lock(&mBuffer);
    const Ptr start = mBuffer.GetPtr();
    return GetComparator()->Compare(reinterpret_cast<long>(start + a + PrefixBytes()),
                                    reinterpret_cast<long>(start + b + PrefixBytes()));
}

Boolean CListStructs::BufferSizeOK()
{
    Compact();
    return mLengthMode != kFixedSize || mBuffer.GetSize() == GetCount() * long(mSize);
}

void CListStructs::CorrectBufferSize()
{
    const long count = GetCount();
    const long size = mBuffer.GetSize();
    // Bytes of a last record beyond the old buffer's end read as zeros.
    std::vector<UInt8> compact(std::size_t(count * mSize), 0);
    for (long k = 1; k <= count; ++k) {
        const long offset = GetNthItem(k);
        const long available = size - offset < mSize ? size - offset : mSize;
        if (available > 0)
            std::memcpy(compact.data() + (k - 1) * mSize, mBuffer.GetPtr() + offset, std::size_t(available));
    }
    RemoveAllItems();
    mBuffer.Resize(long(compact.size()));
    if (!compact.empty())
        std::memcpy(mBuffer.GetPtr(), compact.data(), compact.size());
    for (long k = 0; k < count; ++k)
        AddItemToList(k * mSize);
}

long CListStructs::WriteToBytes(std::vector<UInt8>& out, Boolean withIndex)
{
    Compact();
    const std::size_t start = out.size();
    if (withIndex)
        CListObject::WriteToBytes(out, withIndex);
    const long size = mBuffer.GetSize();
    AppendBigEndian32(out, UInt32(size));
    const auto* bytes = reinterpret_cast<const UInt8*>(mBuffer.GetPtr());
    out.insert(out.end(), bytes, bytes + size);
    return long(out.size() - start);
}

// Whether a record may start at offset and end by `end` without overlapping what
// lies beyond: its length field is there, and the length it holds fits.
Boolean CListStructs::ValidRecordAt(long offset, long end)
{
    if (offset < 0 || offset + LengthFieldBytes() > end)
        return false;
    const long length = GetLengthAtPosition(offset);
    return length >= LengthFieldBytes() && length <= end - offset;
}

// Offsets read from a file go in as they stand, up to the first that names no whole
// record or overlaps one already taken.
Boolean CListStructs::AdoptIndex(const std::vector<SInt32>& offsets, long base, long end)
{
    std::map<long, long> taken; // start -> end of each record taken
    for (SInt32 relative : offsets) {
        const long offset = base + long(relative);
        if (relative < 0 || !ValidRecordAt(offset, end))
            return false;
        const long recordEnd = offset + GetLengthAtPosition(offset);
        const auto next = taken.upper_bound(offset);
        if (next != taken.end() && next->first < recordEnd)
            return false;
        if (next != taken.begin() && std::prev(next)->second > offset)
            return false;
        taken.emplace(offset, recordEnd);
        InsertItem(GetCount() + 1, offset);
    }
    return true;
}

// Without an index the records are found one after the other; a record that does
// not fit ends the walk, and the bytes from it on are dropped.
Boolean CListStructs::WalkRecords(long offset, long end)
{
    while (offset < end) {
        if (!ValidRecordAt(offset, end)) {
            mBuffer.Resize(offset);
            return false;
        }
        const long length = GetLengthAtPosition(offset);
        AddItemToList(offset);
        offset += length;
    }
    return true;
}

ListReadResult CListStructs::DecodeBytes(std::span<const UInt8> bytes, Boolean withIndex, Boolean append)
{
    if (!append)
        RemoveAllItems();
    BigEndianReader reader(bytes);
    std::vector<SInt32> offsets;
    if (withIndex) {
        SInt32 indexLength;
        reader.Read32(indexLength);
        if (indexLength < 0 || indexLength % 4 != 0 || (append && indexLength == 0) ||
            !reader.Has(std::size_t(indexLength)))
            return {false, reader.Consumed()};
        offsets.resize(std::size_t(indexLength / 4));
        for (SInt32& offset : offsets)
            reader.Read32(offset);
    }
    SInt32 areaLength;
    reader.Read32(areaLength);
    const std::span<const UInt8> area = reader.Take(std::size_t(areaLength < 0 ? 0 : areaLength));
    if (areaLength < 0 || long(area.size()) != areaLength)
        return {false, reader.Consumed()};
    const long base = mBuffer.GetSize();
    mBuffer.Resize(base + areaLength);
    if (areaLength > 0)
        std::memcpy(mBuffer.GetPtr() + base, area.data(), area.size());
    const Boolean ok = withIndex ? AdoptIndex(offsets, base, base + areaLength) : WalkRecords(base, base + areaLength);
    if (!BufferSizeOK())
        CorrectBufferSize();
    return {ok, reader.Consumed()};
}

long CListStructs::WriteToBytesNItems(std::vector<UInt8>& out)
{
    if (mLengthMode != kFixedSize)
        return 0;
    const std::size_t start = out.size();
    AppendBigEndian32(out, UInt32(GetCount()));
    for (long k = 1; k <= GetCount(); ++k) {
        const auto* record = reinterpret_cast<const UInt8*>(GetNthStructPtr(k));
        out.insert(out.end(), record, record + mSize);
    }
    return long(out.size() - start);
}

ListReadResult CListStructs::ReadFromBytesNItems(std::span<const UInt8> bytes)
{
    if (mLengthMode != kFixedSize)
        return {false, 0};
    BigEndianReader reader(bytes);
    SInt32 count;
    reader.Read32(count);
    if (count < 0 || !reader.Has(std::size_t(count) * std::size_t(mSize)))
        return {false, reader.Consumed()};
    const std::span<const UInt8> records = reader.Take(std::size_t(count) * std::size_t(mSize));
    const long base = mBuffer.GetSize();
    mBuffer.Resize(base + long(records.size()));
    if (!records.empty())
        std::memcpy(mBuffer.GetPtr() + base, records.data(), records.size());
    for (long k = 0; k < count; ++k)
        AddItemToList(base + k * mSize);
    if (!BufferSizeOK())
        CorrectBufferSize();
    return {true, reader.Consumed()};
}
