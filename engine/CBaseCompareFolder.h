#pragma once
// The base of every thread that walks two folder hierarchies one level at a time.
// A level of the source (side 0) and of the destination (side 1) is read into ONE
// sorted list of CompFolderStruct records in which namesakes lie next to each other,
// the source's first; a consumer takes records from the front and pairs a record
// with the next one when NotEqualItems says they are namesakes.

#include <memory>

#include "engine/CBaseThread.h"
#include "platform/Files.h"

class CListStructs;

// One listed item. Lives only in memory, in host byte order, stored as bytes in a
// CListStructs whose records carry their own length in the first byte; the fields
// follow one another without gaps and `longName`, when present, follows `name`.
#pragma pack(push, 1)
struct CompFolderStruct {
    UInt8 recordLength; // 27 + name, or 28 + name + long name
    UInt8 side;         // 0 source, 1 destination
    UInt16 flags;
    SInt16 vRefNum;
    SInt32 parentID;
    UInt32 dirIDOrModDate; // a folder's own directory ID, a file's modification date
    UInt32 sizeKB;
    UInt32 creator;
    UInt32 fileType;
    Str255 name;
};
#pragma pack(pop)
static_assert(sizeof(CompFolderStruct) == 282);

enum : UInt16 {
    kCompAlias = 0x0001,
    kCompInvisible = 0x0002,
    kCompSystem = 0x0004,
    kCompFolder = 0x0008,
    kCompCompressed = 0x0010,
    kCompFolderIcon = 0x0020,
    kCompFile = 0x0040,
    kCompDocument = 0x0080,
    kCompDSStore = 0x0100,
    kCompApplication = 0x0200,
};

class CBaseCompareFolder : public CBaseThread {
public:
    static constexpr int kMaxLevels = 64;

    CBaseCompareFolder() = default;
    ~CBaseCompareFolder() override;

    // Folder (vRefNum1, dirID1) as side 0 and (vRefNum2, dirID2) as side 1; a side
    // with volume or folder 0 is not listed. Without an owner: no hooks, counters or
    // cancellation. The caller owns the list.
    static CListStructs* GetOneLevelList(CBaseCompareFolder* owner, SInt16 vRefNum1, SInt32 dirID1, SInt16 vRefNum2,
                                         SInt32 dirID2, SInt16 excludeMask);
    static ConstStringPtr GetLongName(const CompFolderStruct* record);
    // 0 when the names match, else the order of the long names.
    static int CompareItems(const CompFolderStruct* a, const CompFolderStruct* b);
    // True when the two records are NOT namesakes.
    static Boolean NotEqualItems(const CompFolderStruct* a, const CompFolderStruct* b);
    // Removes the first record of `list` into `first` and, when the next record is its
    // namesake from the other side, that one into `second`; true for such a pair.
    static Boolean TakeNextItems(CListStructs& list, CompFolderStruct* first, CompFolderStruct* second);
    // True when two modification dates count as different: a second of tolerance,
    // and whole hours up to 23 (time zones and summer time) count as the same.
    static Boolean NotEqualDates(UInt32 a, UInt32 b);

    // Listing hooks: false drops the record.
    virtual Boolean CheckFolder(CompFolderStruct&) { return true; }
    virtual Boolean CheckFile(CompFolderStruct&) { return true; }

    UInt32 mSourceFiles = 0;
    UInt32 mDestFiles = 0;
    UInt32 mSourceKB = 0;
    UInt32 mDestKB = 0;
    SInt32 mLevel = 0;
    SInt16 mSourceVRefNum = 0;
    SInt16 mDestVRefNum = 0;
    SInt32 mSourceDirID[kMaxLevels] = {};
    SInt32 mDestDirID[kMaxLevels] = {};
    std::unique_ptr<CListStructs> mLevelList[kMaxLevels];
};
