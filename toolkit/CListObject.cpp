#include "toolkit/CListObject.h"

#include <cstring>

#include "toolkit/BigEndian.h"
#include "toolkit/CComparator.h"
#include "toolkit/CSmartIndex.h"
#include "toolkit/UTime.h"

void (*CListObject::sBusyCursorHook)(Boolean busy) = nullptr;
std::unique_ptr<CSortProgress> (*CListObject::sSortProgressHook)(Boolean canStop) = nullptr;

namespace {

// Shows the busy cursor for a scope, also when an exception passes.
class StBusyCursor {
public:
    StBusyCursor()
    {
        if (CListObject::sBusyCursorHook != nullptr)
            CListObject::sBusyCursorHook(true);
    }
    ~StBusyCursor()
    {
        if (CListObject::sBusyCursorHook != nullptr)
            CListObject::sBusyCursorHook(false);
    }
    StBusyCursor(const StBusyCursor&) = delete;
    StBusyCursor& operator=(const StBusyCursor&) = delete;
};

constexpr long kSortCheckEvery = 32;
constexpr long kSortDialogDelay = 100;
constexpr unsigned long kSortRefreshTicks = 20;

} // namespace

CListObject::CListObject(CComparator* comparator) : mComparator(comparator)
{
}

CListObject::~CListObject()
{
    delete mComparator;
}

std::unique_ptr<CListObject> CListObject::NewEmpty() const
{
    return std::make_unique<CListObject>();
}

std::unique_ptr<CListObject> CListObject::GetCopy()
{
    std::unique_ptr<CListObject> copy = NewEmpty();
    if (!GetCopy(*copy))
        return nullptr;
    return copy;
}

Boolean CListObject::GetCopy(CListObject& into)
{
    into.mFirst = 0;
    into.SetCount(mCount);
    std::memcpy(into.Items(), Items(), std::size_t(mCount) * 4);
    return true;
}

CComparator* CListObject::SetComparator(CComparator* comparator)
{
    CComparator* old = mComparator;
    mComparator = comparator;
    return old;
}

Ptr CListObject::Items() const
{
    return mItems.GetPtr() + mFirst * 4;
}

SInt32 CListObject::ValueAt(long index)
{
    SInt32 value;
    std::memcpy(&value, Items() + (index - 1) * 4, 4);
    return value;
}

void CListObject::StoreAt(long index, SInt32 value)
{
    std::memcpy(Items() + (index - 1) * 4, &value, 4);
}

// The block holds the removed front slots and the count, rounded up to four values,
// so it is resized once every four additions or removals.
void CListObject::SetCount(long count)
{
    const long capacity = (mFirst + count + 3) / 4 * 4;
    mItems.Resize(capacity * 4);
    mCount = SInt32(count);
    mChanged = true;
}

long CListObject::GetNthItem(long index)
{
    return index >= 1 && index <= mCount ? ValueAt(index) : 0;
}

void CListObject::SetNthItem(long index, long value)
{
    while (mCount < index)
        AddItemToList(value);
    if (index >= 1)
        StoreAt(index, SInt32(value));
}

long CListObject::AddItemToList(long value)
{
    const long position = FindInsertedPosition(value);
    InsertItem(position, value);
    return position;
}

void CListObject::InsertItem(long index, long value)
{
    if (index <= 0)
        index = 1;
    if (index > mCount + 1)
        return;
    SetCount(mCount + 1);
    Ptr items = Items();
    std::memmove(items + index * 4, items + (index - 1) * 4, std::size_t(mCount - index) * 4);
    StoreAt(index, SInt32(value));
}

long CListObject::FindItemInList(long value)
{
    for (long i = 1; i <= mCount; ++i)
        if (ValueAt(i) == value)
            return i;
    return 0;
}

long CListObject::FindInsertedPosition(long value)
{
    if (mComparator == nullptr)
        return mCount + 1;
    CSmartIndex search(1, mCount);
    long index = 1;
    SInt32 result = 0;
    while (!search.Finished()) {
        index = search.GetIndex();
        result = CompareItem(index, value);
        if (result == 0)
            break;
        search.SetResult(result > 0);
    }
    return result > 0 ? index + 1 : index;
}

void CListObject::MoveItemToIndex(long from, long to)
{
    if (from < 1 || from > mCount || to < 1 || to > mCount || from == to)
        return;
    const SInt32 value = ValueAt(from);
    Ptr items = Items();
    if (from < to)
        std::memmove(items + (from - 1) * 4, items + from * 4, std::size_t(to - from) * 4);
    else
        std::memmove(items + to * 4, items + (to - 1) * 4, std::size_t(from - to) * 4);
    StoreAt(to, value);
    mChanged = true;
}

void CListObject::RemoveNthItem(long index)
{
    CListObject::RemoveItems(index, 1);
}

void CListObject::RemoveItems(long first, long n)
{
    if (first <= 0 || first > mCount || n <= 0)
        return;
    const long last = first + n - 1 < mCount ? first + n - 1 : mCount;
    const long removed = last - first + 1;
    // Values taken from the front only move the start of the live values, so a list
    // consumed from its front costs the same per value at any length; the free slots
    // are given back once they outnumber the live values.
    if (first == 1) {
        mFirst += SInt32(removed);
    } else {
        Ptr items = Items();
        std::memmove(items + (first - 1) * 4, items + last * 4, std::size_t(mCount - last) * 4);
    }
    mCount -= SInt32(removed);
    if (mFirst > mCount) {
        std::memmove(mItems.GetPtr(), Items(), std::size_t(mCount) * 4);
        mFirst = 0;
    }
    SetCount(mCount);
}

void CListObject::RemoveAllItems()
{
    mFirst = 0;
    SetCount(0);
}

void CListObject::ShiftValues(long from, long delta)
{
    for (long i = 1; i <= mCount; ++i) {
        const SInt32 value = ValueAt(i);
        if (value >= from)
            StoreAt(i, SInt32(value + delta));
    }
}

SInt32 CListObject::CompareValues(long a, long b)
{
    return mComparator->Compare(a, b);
}

SInt32 CListObject::Compare2Items(long i, long j)
{
    if (mComparator == nullptr)
        return 0;
    const SInt32 result = CompareValues(GetNthItem(i), GetNthItem(j));
    return mComparator->IsReverse() ? -result : result;
}

SInt32 CListObject::CompareItem(long index, long value)
{
    if (mComparator == nullptr)
        return 0;
    const SInt32 result = CompareValues(value, GetNthItem(index));
    return mComparator->IsReverse() ? -result : result;
}

long CListObject::SortList(Boolean canStop, long keepValue, Boolean showProgress)
{
    if (mCount < 2)
        return mCount;
    StBusyCursor busy;
    long i = 1;
    if (keepValue != 0) {
        const long e = FindItemInList(keepValue);
        if (e != 0) {
            if ((e == 1 || Compare2Items(e - 1, e) <= 0) && (e == mCount || Compare2Items(e, e + 1) <= 0))
                return e;
            MoveItemToIndex(e, mCount);
            i = mCount - 1;
        }
    }
    UTime::ClearTime(kSortDialogDelay);
    std::unique_ptr<CSortProgress> progress;
    for (; i < mCount; ++i) {
        if (i % kSortCheckEvery == 0 && showProgress && UTime::ElapsedTime(kSortRefreshTicks)) {
            if (progress == nullptr && sSortProgressHook != nullptr)
                progress = sSortProgressHook(canStop);
            if (progress != nullptr && progress->WantToStop(i, mCount) && canStop)
                break;
        }
        if (Compare2Items(i + 1, i) < 0)
            PlaceItem(i);
    }
    return keepValue == 0 ? 0 : FindItemInList(keepValue);
}

// Moves value i + 1 to its place among the sorted values 1..i: a binary search comes
// near it, then a short scan finds the first value it sorts before, which keeps equal
// values in their order.
void CListObject::PlaceItem(long i)
{
    long e = 1;
    while (e < i)
        e *= 2;
    for (long f = e / 2; f >= 1; f /= 2) {
        if (e >= i || Compare2Items(i + 1, e) < 0)
            e -= f;
        else
            e += f;
    }
    if (e > 1)
        e -= 1;
    for (; e <= i; ++e) {
        if (Compare2Items(i + 1, e) < 0) {
            MoveItemToIndex(i + 1, e);
            return;
        }
    }
}

long CListObject::WriteToBytes(std::vector<UInt8>& out, Boolean)
{
    const std::size_t start = out.size();
    AppendBigEndian32(out, UInt32(mCount) * 4);
    for (long i = 1; i <= mCount; ++i)
        AppendBigEndian32(out, UInt32(ValueAt(i)));
    return long(out.size() - start);
}

ListReadResult CListObject::ReadFromBytes(std::span<const UInt8> bytes, Boolean withIndex)
{
    return DecodeBytes(bytes, withIndex, false);
}

ListReadResult CListObject::AddFromBytes(std::span<const UInt8> bytes, Boolean withIndex)
{
    return DecodeBytes(bytes, withIndex, true);
}

ListReadResult CListObject::DecodeBytes(std::span<const UInt8> bytes, Boolean, Boolean append)
{
    if (!append)
        RemoveAllItems();
    BigEndianReader reader(bytes);
    SInt32 length;
    reader.Read32(length);
    if (length < 0 || length % 4 != 0 || (append && length == 0))
        return {false, reader.Consumed()};
    for (SInt32 i = 0; i < length / 4; ++i) {
        SInt32 value;
        if (!reader.Read32(value))
            return {false, reader.Consumed()};
        InsertItem(mCount + 1, value);
    }
    return {true, reader.Consumed()};
}
