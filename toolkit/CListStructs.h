#pragma once
// A list of byte records of fixed or variable length, stored back to back in one
// growable buffer, with an index (the values of CListObject) of their byte offsets.
// With a comparator the index is kept in sorted order; the records themselves never
// move when only the order changes.
//
// Invariants: every offset lies in the buffer and its record ends within it; records
// do not overlap. Removed records may leave holes between them until the list is
// written, copied or changes a record's length. Reading a list keeps them for any input.

#include <vector>

#include "toolkit/CBufferObject.h"
#include "toolkit/CListObject.h"

class CListStructs : public CListObject {
public:
    // How a record's length is known.
    enum : SInt16 {
        kPrefix32 = 0,    // a 4-byte big-endian prefix holds data length + 4
        kPrefix16 = 1,    // a 2-byte big-endian prefix holds data length + 2 (below 32768)
        kFixedSize = 2,   // every record has `size` bytes
        kOwnLength32 = 3, // the record's first 4 bytes hold its length
        kOwnLength16 = 4, // the record's first 2 bytes hold its length (below 32768)
        kOwnLength8 = 5,  // the record's first byte holds its length
    };

    static constexpr long kDefaultStep = 2048;

    // `size`: the record size in kFixedSize mode, and in every mode the buffer's growth
    // step (0: 2048). Another mode, or kFixedSize without a size, raises 'asrt'.
    CListStructs(CComparator* comparator, SInt16 lengthMode, long size);

    Boolean IsCListObject() const override { return false; }
    OSType GetCListType() const override { return MakeOSType("LStu"); }
    using CListObject::GetCopy;
    Boolean GetCopy(CListObject& into) override;

    SInt16 GetLengthMode() const { return mLengthMode; }
    long GetRecordSize() const { return mSize; }

    // The position of the new record; 0 when it cannot be stored: the buffer cannot
    // grow, or its length cannot be kept in the list's mode. `length` counts in the
    // prefix modes; the other modes take the record's own length.
    long AddStructToList(const void* record, long length);
    // No re-sorting; an index past the end adds.
    long InsertStruct(long index, const void* record, long length);
    // Replaces the record at index in place, adding records while the list is shorter.
    void SetNthStruct(long index, const void* record, long length);
    // Copies the record's data, at most maxLength bytes when maxLength is not 0.
    long GetNthStruct(long index, void* dest, long maxLength);
    // The record's data inside the buffer, until the next change; null when out of range.
    Ptr GetNthStructPtr(long index);
    long GetNthStructLength(long index);
    long GetNthStructPosition(long index);
    long GetLengthInBuffer(long index);
    long GetLengthAtPosition(long offset);

    void RemoveNthItem(long index) override;
    void RemoveNthStruct(long index) { RemoveNthItem(index); }
    void RemoveItems(long first, long n) override;
    void RemoveAllItems() override;

    long AddUHandleToList(UHandle* block);
    void GetNthUHandle(long index, UHandle* block);
    void SetNthUHandle(long index, UHandle* block);
    long InsertUHandle(long index, UHandle* block);

    SInt32 CompareStructs(const void* a, const void* b);

    Boolean BufferSizeOK();
    // Rebuilds a fixed-size list as exactly count x size bytes in list order.
    void CorrectBufferSize();

    void CryptData(UInt32 key) { mBuffer.CryptData(key); }

    long WriteToBytes(std::vector<UInt8>& out, Boolean withIndex) override;
    // kFixedSize only: a record count, then the records in list order.
    long WriteToBytesNItems(std::vector<UInt8>& out);
    ListReadResult ReadFromBytesNItems(std::span<const UInt8> bytes);

protected:
    std::unique_ptr<CListObject> NewEmpty() const override;
    SInt32 CompareValues(long a, long b) override;
    ListReadResult DecodeBytes(std::span<const UInt8> bytes, Boolean withIndex, Boolean append) override;

private:
    long PrefixBytes() const;
    long LengthFieldBytes() const;
    long StoredLength(const void* record, long length) const;
    const void* Detached(const void* record, long total, std::vector<UInt8>& own);
    void WriteRecord(long offset, const void* record, long total);
    Boolean ValidRecordAt(long offset, long end);
    Boolean AdoptIndex(const std::vector<SInt32>& offsets, long base, long end);
    Boolean WalkRecords(long offset, long end);
    void Compact();

    // The bytes of a removed record, still in the buffer until Compact.
    struct Hole {
        long offset;
        long length;
    };

    CBufferObject mBuffer;
    SInt16 mLengthMode;
    SInt32 mSize;
    std::vector<Hole> mHoles;
    long mHoleBytes = 0;
};
