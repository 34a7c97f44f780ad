#include "engine/CScanFolder.h"

#include <memory>

#include "filesystem/UFile.h"
#include "toolkit/CListStructs.h"
#include "toolkit/CStr255.h"

namespace {

constexpr long kListStep = 260;
constexpr SInt16 kLastIndex = 32767;
constexpr long kYieldPeriod = 12;
constexpr UInt8 kLongestName = 255 - CScanFolder::kNameOffset - 1;

} // namespace

CListStructs* CScanFolder::GetOneLevelList(SInt16 vRefNum, SInt32 dirID, long excludeMask)
{
    auto list = std::make_unique<CListStructs>(nullptr, CListStructs::kOwnLength8, kListStep);
    for (SInt16 index = 1; index <= kLastIndex; ++index) {
        Str255 catalogName{};
        CInfoPBRec pb;
        if (UFile::GetIndexedInfo(vRefNum, dirID, index, &pb, catalogName) != noErr)
            break;
        UInt8 record[256] = {};
        Str255 longName{};
        UFile::GetFileLongName(vRefNum, dirID, catalogName, longName);
        // A name too long for the record is kept as its catalog name, which reaches
        // the item as well: no record is ever truncated.
        ConstStr255Param name = longName[0] <= kLongestName ? longName : catalogName;
        const Boolean folder = (pb.hFileInfo.ioFlAttrib & kioFlAttribDirMask) != 0;
        const UInt16 finderFlags = folder ? pb.dirInfo.ioDrUsrWds.frFlags : pb.hFileInfo.ioFlFndrInfo.fdFlags;
        UInt8 flags = folder ? kScanFolder : 0;
        if (finderFlags & kIsAlias)
            flags |= kScanAlias;
        if (finderFlags & kIsInvisible)
            flags |= kScanInvisible;
        const Boolean companion = folder ? dirID == fsRtDirID && (flags & kScanInvisible) &&
                                               UFile::IsSystemCompanionFolder(longName)
                                         : UFile::IsSystemCompanionFile(pb.hFileInfo.ioFlFndrInfo.fdType,
                                                                        pb.hFileInfo.ioFlFndrInfo.fdCreator, longName);
        if (companion)
            flags |= kScanSystem;
        if (flags & UInt8(excludeMask))
            continue;
        record[0] = UInt8(name[0] + kNameOffset + 1);
        record[1] = folder ? 1 : 0;
        record[3] = flags;
        CStr255::CopyPString(name, record + kNameOffset);
        list->AddStructToList(record, record[0]);
    }
    return list.release();
}

void CScanFolder::StartScan(const FSSpec* item, long options, long excludeMask)
{
    mItem = *item;
    mOptions = UInt32(options);
    mExcludeMask = UInt32(excludeMask);
    mFolderCount = 0;
    mFileCount = 0;
    mScannedKB = 0;
    mDepth = 0;
    long folderID = 0;
    mDirID[0] = UFile::IsFolder(item->vRefNum, item->parID, item->name) && UFile::GetFolderContentID(item, &folderID)
                    ? SInt32(folderID)
                    : 0;
    Resume();
}

void CScanFolder::RunSelf()
{
    mDepth = 0;
    if (mDirID[0] != 0)
        return ScanFolder();
    CInfoPBRec pb;
    if (UFile::GetFileInfos(mItem.vRefNum, mItem.parID, mItem.name, &pb) == noErr && CheckFile(&pb.hFileInfo)) {
        ++mFileCount;
        mScannedKB += UInt32(UFile::GetFileSizeKB(mItem.vRefNum, mItem.parID, mItem.name));
    }
}

void CScanFolder::ScanFolder()
{
    const SInt32 folderID = mDirID[mDepth];
    const std::unique_ptr<CListStructs> list(GetOneLevelList(mItem.vRefNum, folderID, long(mExcludeMask)));
    for (long i = 1; i <= list->GetCount() && ThreadRunning(); ++i) {
        const ConstStringPtr name = reinterpret_cast<ConstStringPtr>(list->GetNthStructPtr(i)) + kNameOffset;
        Str255 itemName;
        CStr255::CopyPString(name, itemName);
        CInfoPBRec pb;
        if (UFile::GetFileInfos(mItem.vRefNum, folderID, itemName, &pb) != noErr)
            continue;
        if (pb.hFileInfo.ioFlAttrib & kioFlAttribDirMask) {
            if (mDepth < kMaxDepth - 1 && CheckFolder(&pb.dirInfo)) {
                ++mFolderCount;
                mDirID[++mDepth] = pb.dirInfo.ioDrDirID;
                ScanFolder();
                --mDepth;
                PostCheckFolder(&pb.dirInfo);
            }
        } else if (CheckFile(&pb.hFileInfo)) {
            ++mFileCount;
            mScannedKB += UInt32(UFile::GetFileSizeKB(mItem.vRefNum, folderID, itemName));
        }
        YieldSelf(kYieldPeriod);
    }
}
