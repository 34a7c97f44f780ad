#include "engine/CCompareThread.h"

#include "engine/CCompareList.h"
#include "filesystem/UFile.h"
#include "toolkit/CListStructs.h"

namespace {

constexpr UInt32 kSetUIDBit = 04000;
constexpr long kYieldTicks = 12;

Boolean IsFolderRecord(const CompFolderStruct& record)
{
    return (record.flags & kCompFolder) != 0;
}

} // namespace

CCompareThread::CCompareThread(SInt16 firstVRefNum, SInt32 firstDirID, SInt16 secondVRefNum, SInt32 secondDirID,
                               CCompareSink* sink)
    : mSink(sink)
{
    mSourceVRefNum = firstVRefNum;
    mDestVRefNum = secondVRefNum;
    mSourceDirID[0] = firstDirID;
    mDestDirID[0] = secondDirID;
}

void CCompareThread::AddItem(ConstStr255Param name, UInt8 differences, Boolean isFolder)
{
    CompareStruct record{};
    record.level = UInt8(mLevel);
    record.isFolder = isFolder ? 1 : 0;
    record.differences = differences;
    std::copy(name, name + name[0] + 1, record.name);
    mSink->AddItem(record);
}

Boolean CCompareThread::OwnersDiffer(const CompFolderStruct& first, const CompFolderStruct& second)
{
    long owners[2][3] = {};
    FSCatalogInfo infos[2] = {};
    const CompFolderStruct* records[2] = {&first, &second};
    for (int side = 0; side < 2; ++side) {
        const CompFolderStruct& record = *records[side];
        UFile::GetOwner(record.vRefNum, record.parentID, record.name, &owners[side][0], &owners[side][1],
                        &owners[side][2]);
        UFile::GetMacOSXInfos(record.vRefNum, record.parentID, record.name, &infos[side], nullptr,
                              kFSCatInfoPermissions);
    }
    if (owners[0][0] != owners[1][0] || owners[0][1] != owners[1][1] || owners[0][2] != owners[1][2])
        return true;
    return (infos[0].permissions[2] & kSetUIDBit) != (infos[1].permissions[2] & kSetUIDBit);
}

void CCompareThread::ComparePair(const CompFolderStruct& first, const CompFolderStruct& second)
{
    if (IsFolderRecord(first) != IsFolderRecord(second)) {
        // Only a folder on the first side is walked: the row's content is the first's.
        AddItem(first.name, kFileAndFolder, true);
        Descend(first, nullptr);
        return;
    }
    if (IsFolderRecord(first)) {
        AddItem(first.name, OwnersDiffer(first, second) ? kFolderOwnerDiffers : 0, true);
        Descend(first, &second);
        return;
    }
    ++mFilesExamined;
    UInt8 differences = 0;
    if (first.sizeKB != second.sizeKB ||
        UFile::GetFileSize(first.vRefNum, first.parentID, first.name) !=
            UFile::GetFileSize(second.vRefNum, second.parentID, second.name))
        differences |= kSizeDiffers;
    if (first.dirIDOrModDate != second.dirIDOrModDate)
        differences |= kDateDiffers;
    if (OwnersDiffer(first, second))
        differences |= kFileOwnerDiffers;
    if (differences != 0)
        AddItem(first.name, differences, false);
    ++mComparedFiles;
}

void CCompareThread::Descend(const CompFolderStruct& first, const CompFolderStruct* second)
{
    if (mLevel >= kMaxLevels - 1)
        return;
    ++mLevel;
    mSourceDirID[mLevel] = 0;
    mDestDirID[mLevel] = 0;
    if (IsFolderRecord(first))
        (first.side == 0 ? mSourceDirID : mDestDirID)[mLevel] = SInt32(first.dirIDOrModDate);
    if (second)
        mDestDirID[mLevel] = SInt32(second->dirIDOrModDate);
    mLevelList[mLevel].reset();
}

void CCompareThread::RunSelf()
{
    mLevel = 0;
    mTotalFiles = UInt32(UFile::GetNumFilesInVolume(mSourceVRefNum));
    while (ThreadRunning()) {
        CListStructs* list = mLevelList[mLevel].get();
        if (!list) {
            mLevelList[mLevel].reset(GetOneLevelList(this, mSourceVRefNum, mSourceDirID[mLevel], mDestVRefNum,
                                                     mDestDirID[mLevel], 0));
        } else if (list->GetCount() == 0) {
            mLevelList[mLevel].reset();
            if (mLevel == 0)
                break;
            --mLevel;
        } else {
            CompFolderStruct first{};
            CompFolderStruct second{};
            if (!TakeNextItems(*list, &first, &second)) {
                const Boolean folder = IsFolderRecord(first);
                AddItem(first.name, first.side == 1 ? kOnlyOnSecond : kOnlyOnFirst, folder);
                if (folder) {
                    Descend(first, nullptr);
                } else if (first.side == 0) {
                    ++mComparedFiles;
                    ++mFilesExamined;
                }
            } else {
                ComparePair(first, second);
            }
        }
        YieldSelf(kYieldTicks);
    }
    for (auto& level : mLevelList)
        level.reset();
    if (!ThreadCancelled())
        mComparedFiles = mTotalFiles;
}
