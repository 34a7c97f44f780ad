#pragma once
// A growable array of 32-bit values, kept in order by its comparator when it has
// one; positions are 1-based. It serves as the index of CListStructs.
//
// The values live in a relocatable block in host byte order; the list file format
// writes them big-endian.

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "platform/MacTypes.h"
#include "toolkit/UHandle.h"

class CComparator;

// What a long sort shows: the window toolkit's progress dialog.
class CSortProgress {
public:
    virtual ~CSortProgress() = default;
    // Shows that `done` of `total` are placed; true when the user asked to stop.
    virtual Boolean WantToStop(long done, long total) = 0;
};

// The outcome of reading a list from bytes: whether it succeeded and how many bytes
// it read. A list that failed keeps what it read before the fault.
struct ListReadResult {
    Boolean ok;
    std::size_t consumed;
};

class CListObject {
public:
    // The list owns the comparator (may be null).
    explicit CListObject(CComparator* comparator = nullptr);
    virtual ~CListObject();
    CListObject(const CListObject&) = delete;
    CListObject& operator=(const CListObject&) = delete;

    virtual Boolean IsCListObject() const { return true; }
    virtual OSType GetCListType() const { return MakeOSType("LObj"); }

    // A new list of the same kind and content, without comparator.
    std::unique_ptr<CListObject> GetCopy();
    // Gives `into` the same content; false when its blocks cannot be sized.
    virtual Boolean GetCopy(CListObject& into);

    // The old comparator is handed back to the caller, who then owns it.
    CComparator* SetComparator(CComparator* comparator);
    CComparator* GetComparator() const { return mComparator; }

    long GetCount() const { return mCount; }
    // Set by every change that adds, removes or reorders values; never cleared here.
    Boolean HasChanged() const { return mChanged; }

    long GetNthItem(long index);
    void SetNthItem(long index, long value);
    long AddItemToList(long value);
    void InsertItem(long index, long value);
    long FindItemInList(long value);
    long FindInsertedPosition(long value);
    void MoveItemToIndex(long from, long to);
    virtual void RemoveNthItem(long index);
    virtual void RemoveItems(long first, long n);
    virtual void RemoveAllItems();

    SInt32 Compare2Items(long i, long j);
    // The candidate value first: Compare(value, item at index).
    SInt32 CompareItem(long index, long value);

    // A stable insertion sort; with keepValue, only that value is placed. Answers
    // the position of keepValue (0 without), or the count for fewer than 2 values.
    long SortList(Boolean canStop, long keepValue, Boolean showProgress);

    // The list file format: appends the list to `out`, answers the bytes written.
    virtual long WriteToBytes(std::vector<UInt8>& out, Boolean withIndex);
    // Replaces the list by the one that `bytes` begins with.
    ListReadResult ReadFromBytes(std::span<const UInt8> bytes, Boolean withIndex);
    // Appends the list that `bytes` begins with.
    ListReadResult AddFromBytes(std::span<const UInt8> bytes, Boolean withIndex);

    // Hooks of the window toolkit: the busy cursor during a sort, and the progress
    // dialog that a long sort shows. Without them neither appears.
    static void (*sBusyCursorHook)(Boolean busy);
    static std::unique_ptr<CSortProgress> (*sSortProgressHook)(Boolean canStop);

protected:
    virtual std::unique_ptr<CListObject> NewEmpty() const;
    // What the comparator says of two values, before any reversal.
    virtual SInt32 CompareValues(long a, long b);
    virtual ListReadResult DecodeBytes(std::span<const UInt8> bytes, Boolean withIndex, Boolean append);

    // Adds `delta` to every value from `from` on.
    void ShiftValues(long from, long delta);

private:
    // The first live value; the mFirst slots before it are free.
    Ptr Items() const;
    SInt32 ValueAt(long index);
    void StoreAt(long index, SInt32 value);
    void SetCount(long count);
    void PlaceItem(long i);

    UHandle mItems;
    SInt32 mFirst = 0;
    SInt32 mCount = 0;
    CComparator* mComparator;
    Boolean mChanged = false;
};
