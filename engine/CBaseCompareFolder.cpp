#include "engine/CBaseCompareFolder.h"

#include <cstring>

#include "engine/CComparatorCompFolder.h"
#include "filesystem/UFile.h"
#include "toolkit/CListStructs.h"
#include "toolkit/CStr255.h"

namespace {

constexpr long kListStep = 282;
constexpr SInt16 kLastIndex = 32767;
constexpr long kYieldPeriod = 12;
constexpr UInt8 kFixedBytes = 27; // the fields before the names, and the name's length byte
constexpr short kNotClassified = 9;
constexpr unsigned char kDSStoreName[] = "\x09.DS_Store";
constexpr unsigned char kFolderIconName[] = "\x05Icon\r";

Boolean SameName(ConstStr255Param a, ConstStr255Param b)
{
    return CStr255::EqualPStrings(a, b);
}

// The names as the record keeps them: `name` always reaches the item. A long name
// that the folder does not resolve goes beside the catalog name when both fit.
// A long name over 228 bytes cannot fit a record at all: the record then keeps the
// catalog name alone, which reaches the item, so nothing is truncated; such an item
// pairs only by its catalog name and is copied anew rather than ever lost.
void FillNames(CompFolderStruct& record, SInt16 vRefNum, SInt32 dirID, ConstStr255Param catalogName)
{
    Str255 longName{};
    UFile::GetFileLongName(vRefNum, dirID, catalogName, longName);
    FSSpec spec{};
    const Boolean differs = !SameName(longName, catalogName);
    const Boolean unreachable = differs && UFile::MakeFileSpec(vRefNum, dirID, longName, &spec) != noErr;
    const Boolean fitsAlone = kFixedBytes + longName[0] <= 255;
    if (unreachable && kFixedBytes + 1 + longName[0] + catalogName[0] <= 255) {
        CStr255::CopyPString(catalogName, record.name);
        std::memcpy(record.name + catalogName[0] + 1, longName, longName[0] + 1u);
        record.recordLength = UInt8(kFixedBytes + 1 + catalogName[0] + longName[0]);
        return;
    }
    ConstStr255Param kept = (unreachable || !fitsAlone) ? catalogName : longName;
    CStr255::CopyPString(kept, record.name);
    record.recordLength = UInt8(kFixedBytes + kept[0]);
}

void ClassifyFolder(CompFolderStruct& record, const DirInfo& dir, SInt32 parentID)
{
    const ConstStringPtr name = CBaseCompareFolder::GetLongName(&record);
    const Boolean atRoot = parentID == fsRtDirID;
    const Boolean invisible = (record.flags & kCompInvisible) != 0;
    record.flags |= kCompFolder;
    if (atRoot && invisible && UFile::IsSystemCompanionFolder(name))
        record.flags |= kCompSystem;
    if (!(atRoot && invisible) && UFile::IsMacOSXApplicationFolder(name))
        record.flags |= kCompApplication;
    record.dirIDOrModDate = UInt32(dir.ioDrDirID);
}

UInt32 FileSizeKB(const HFileInfo& file, SInt16 vRefNum, SInt32 dirID, ConstStr255Param catalogName)
{
    // The classic lengths stop at 2 GB; beyond, the 64-bit sizes are asked for.
    if (file.ioFlLgLen < 0x7FFFFFFF && file.ioFlRLgLen < 0x7FFFFFFF)
        return UInt32((UInt64(file.ioFlLgLen) + UInt64(file.ioFlRLgLen) + 1023) / 1024);
    return UInt32(UFile::GetFileSizeKB(vRefNum, dirID, catalogName));
}

void ClassifyFile(CompFolderStruct& record, const HFileInfo& file, SInt16 vRefNum, SInt32 dirID,
                  ConstStr255Param catalogName)
{
    const ConstStringPtr name = CBaseCompareFolder::GetLongName(&record);
    record.flags |= kCompFile;
    record.fileType = file.ioFlFndrInfo.fdType;
    record.creator = file.ioFlFndrInfo.fdCreator;
    record.dirIDOrModDate = file.ioFlMdDat;
    record.sizeKB = FileSizeKB(file, vRefNum, dirID, catalogName);
    if (UFile::IsSystemCompanionFile(record.fileType, record.creator, name))
        record.flags |= kCompSystem;
    if ((record.flags & kCompInvisible) && SameName(name, kFolderIconName))
        record.flags |= kCompFolderIcon;
    if (!(record.flags & kCompSystem) && UFile::GetFileType(record.fileType, record.creator) != kNotClassified)
        record.flags |= UFile::IsDocument(record.fileType) ? kCompDocument : kCompApplication;
    if (UFile::IsCompressedFile(record.fileType, record.creator))
        record.flags |= kCompCompressed;
    if (SameName(name, kDSStoreName))
        record.flags |= kCompDSStore;
}

// Folders that cannot be found list as nothing, on both sides.
Boolean FolderMissing(SInt16 vRefNum, SInt32 dirID)
{
    FSSpec folder{};
    return vRefNum != 0 && dirID != 0 && dirID != fsRtDirID && UFile::GetParentID(vRefNum, dirID, &folder) != noErr;
}

} // namespace

CBaseCompareFolder::~CBaseCompareFolder() = default;

CListStructs* CBaseCompareFolder::GetOneLevelList(CBaseCompareFolder* owner, SInt16 vRefNum1, SInt32 dirID1,
                                                  SInt16 vRefNum2, SInt32 dirID2, SInt16 excludeMask)
{
    auto list = std::make_unique<CListStructs>(new CComparatorCompFolder, CListStructs::kOwnLength8, kListStep);
    // A folder is never compared with itself, and a destination inside the source is
    // never listed as one of the source's folders.
    if (vRefNum1 == vRefNum2 && (dirID1 == dirID2 || (owner && dirID1 == owner->mDestDirID[0])))
        return list.release();
    if (FolderMissing(vRefNum1, dirID1) || FolderMissing(vRefNum2, dirID2))
        return list.release();

    UInt8 side = (vRefNum1 == 0 || dirID1 == 0) ? 1 : 0;
    SInt16 index = 1;
    while (index < kLastIndex + 1 && (!owner || owner->ThreadRunning())) {
        const SInt16 vRefNum = side == 0 ? vRefNum1 : vRefNum2;
        const SInt32 dirID = side == 0 ? dirID1 : dirID2;
        CompFolderStruct record{};
        Str255 catalogName{};
        CInfoPBRec pb;
        const OSErr err = dirID == 0 ? OSErr(fnfErr) : UFile::GetIndexedInfo(vRefNum, dirID, index, &pb, catalogName);
        if (err != noErr) {
            if (side == 1 || vRefNum2 == 0 || dirID2 == 0) {
                if (owner)
                    owner->YieldSelf(kYieldPeriod);
                break;
            }
            side = 1;
            index = 1;
        } else {
            ++index;
            FillNames(record, vRefNum, dirID, catalogName);
            record.side = side;
            const Boolean folder = (pb.hFileInfo.ioFlAttrib & kioFlAttribDirMask) != 0;
            const UInt16 finderFlags = folder ? pb.dirInfo.ioDrUsrWds.frFlags : pb.hFileInfo.ioFlFndrInfo.fdFlags;
            if (finderFlags & kIsAlias)
                record.flags |= kCompAlias;
            if (finderFlags & kIsInvisible)
                record.flags |= kCompInvisible;
            Boolean keep = false;
            if (folder) {
                ClassifyFolder(record, pb.dirInfo, dirID);
                keep = !(record.flags & excludeMask) && (!owner || owner->CheckFolder(record));
            } else {
                ClassifyFile(record, pb.hFileInfo, vRefNum, dirID, catalogName);
                // An invisible ".DS_Store" is not excluded for being invisible.
                const UInt16 mask = (record.flags & kCompDSStore) ? UInt16(excludeMask & ~kCompInvisible)
                                                                  : UInt16(excludeMask);
                keep = !(record.flags & mask);
                if (keep && owner) {
                    (side == 0 ? owner->mSourceFiles : owner->mDestFiles) += 1;
                    (side == 0 ? owner->mSourceKB : owner->mDestKB) += record.sizeKB;
                    keep = owner->CheckFile(record);
                }
            }
            if (keep) {
                record.vRefNum = vRefNum;
                record.parentID = dirID;
                list->AddStructToList(&record, record.recordLength);
            }
        }
        if (owner)
            owner->YieldSelf(kYieldPeriod);
    }
    return list.release();
}

ConstStringPtr CBaseCompareFolder::GetLongName(const CompFolderStruct* record)
{
    if (record->recordLength > kFixedBytes + record->name[0])
        return record->name + record->name[0] + 1;
    return record->name;
}

int CBaseCompareFolder::CompareItems(const CompFolderStruct* a, const CompFolderStruct* b)
{
    if (CStr255::EqualPStrings(a->name, b->name))
        return 0;
    return CStr255::CompareAccentedPStrings(GetLongName(a), GetLongName(b));
}

Boolean CBaseCompareFolder::TakeNextItems(CListStructs& list, CompFolderStruct* first, CompFolderStruct* second)
{
    list.GetNthStruct(1, first, sizeof *first);
    list.RemoveNthItem(1);
    if (list.GetCount() == 0)
        return false;
    list.GetNthStruct(1, second, sizeof *second);
    if (second->side == first->side || NotEqualItems(first, second))
        return false;
    list.RemoveNthItem(1);
    return true;
}

Boolean CBaseCompareFolder::NotEqualItems(const CompFolderStruct* a, const CompFolderStruct* b)
{
    const Boolean anyLongName = GetLongName(a) != a->name || GetLongName(b) != b->name;
    if (!anyLongName && a->recordLength != b->recordLength)
        return true;
    return CompareItems(a, b) != 0;
}

Boolean CBaseCompareFolder::NotEqualDates(UInt32 a, UInt32 b)
{
    constexpr UInt32 kHour = 3600;
    constexpr UInt32 kLastHour = 23;
    const UInt32 difference = a > b ? a - b : b - a;
    if (difference < 2)
        return false;
    const UInt32 even = difference & ~UInt32(1);
    return !(even % kHour == 0 && even / kHour <= kLastHour);
}
