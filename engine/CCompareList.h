#pragma once
// The flat list of a folder comparison: one CompareStruct per reported item, in the
// depth-first order of the walk. Folders present on both sides whose content turns
// out identical are dropped as the walk moves on. The compare window's outline and
// the command line show it, filtered by the kinds of difference asked for.

#include <memory>

#include "platform/MacTypes.h"

class CListStructs;

// One reported item. Lives only in memory; a record of a list of length mode 5 that
// carries its own length (name length + 5) in its first byte.
struct CompareStruct {
    UInt8 length;
    UInt8 level; // 0 for items directly in the compared folders
    UInt8 isFolder; // also for a file on one side and a folder on the other
    UInt8 differences;
    Str255 name;
};
static_assert(sizeof(CompareStruct) == 260);

enum : UInt8 {
    kOnlyOnSecond = 0x01,
    kOnlyOnFirst = 0x02,
    kFileAndFolder = kOnlyOnSecond | kOnlyOnFirst,
    kSizeDiffers = 0x04,
    kDateDiffers = 0x08,
    kFileOwnerDiffers = 0x20,
    kFolderOwnerDiffers = 0x40,
};

// Receives the records of a comparison as the walk reports them.
class CCompareSink {
public:
    virtual ~CCompareSink() = default;
    virtual void AddItem(const CompareStruct& record) = 0;
};

class CCompareList : public CCompareSink {
public:
    CCompareList();
    ~CCompareList() override;

    // Drops the trailing records without differences at the new record's level or
    // deeper, then appends it.
    void AddItem(const CompareStruct& record) override;

    long GetCount() const;
    CompareStruct GetItem(long index) const;
    // The bits that decide whether entry `index` is shown under `mask`: its own, and
    // for a folder whose own bits do not meet the mask, those of its first descendant
    // that does.
    UInt8 GetShownBits(long index, UInt8 mask) const;

private:
    std::unique_ptr<CListStructs> mItems;
};
