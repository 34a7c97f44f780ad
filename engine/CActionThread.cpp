#include "engine/CActionThread.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "engine/CCopyFileThread.h"
#include "engine/CDeleteFolder.h"
#include "engine/CScanFolder.h"
#include "filesystem/CFileObject.h"
#include "filesystem/UFile.h"
#include "platform/DateTimeUtils.h"
#include "platform/Resources.h"
#include "toolkit/CListStr255.h"
#include "toolkit/CListStructs.h"
#include "toolkit/CStr255.h"

namespace {

constexpr long kYieldPeriod = 12;
constexpr long kPauseTicks = 30;
constexpr ResIDT kStringsID = 128;
constexpr SInt16 kSkipFolderIndex = 8;
constexpr SInt16 kReportNameIndex = 11;
constexpr int kLastLevel = CBaseCompareFolder::kMaxLevels - 1;
// Owner and group 0 with standard rights: the three rights bytes keep only their
// high bits before the standard ones are added.
constexpr long kRootAccessMask = 0x78F8F8F8;
constexpr long kRootFolderAccess = 0x00030307;
constexpr long kRootFileAccess = 0x00030707;
constexpr std::size_t kFileTextNameLimit = 50;
constexpr UInt32 kMegabyteDisplay = 10000;
constexpr unsigned char kSizeOpening[] = "\x02 (";

constexpr unsigned char kUsersName[] = "\x05Users";
constexpr unsigned char kNetworkName[] = "\x07Network";

Boolean IsFolderRecord(const CompFolderStruct& record)
{
    return (record.flags & kCompFolder) != 0;
}

// The string of a string list, cut to fit a Str31.
void GetIndString31(unsigned char* out, ResIDT listID, SInt16 index)
{
    Str255 text;
    GetIndString(text, listID, index);
    CStr255::CopyPString(text, out, 31);
}

SInt32 FolderID(const FSSpec& spec)
{
    long id = 0;
    return UFile::GetFolderContentID(&spec, &id) ? SInt32(id) : 0;
}

// Whether the running process may change owners: its effective user is root, as in a
// root-owned set-uid application or a process that root started. The executable's own
// owner and set-uid bit are not enough: a set-uid run that gave its rights up for a user
// who is no administrator holds none.
Boolean ProcessHasRootPrivileges()
{
    return geteuid() == 0;
}

} // namespace

unsigned char CActionThread::sLprojFolderName[kLanguageSlots][32] = {};
void (*CActionThread::sDiskFullAlertHook)(ConstStr255Param, CBaseThread*) = nullptr;

CActionThread::CActionThread(const ActionSettingsStruct* settings) : mSettings(*settings), mLog(UReportFile::NewLog())
{
    mHeader.startDate = mStartDate;
    mNextReportWrite = mStartDate;
    GetIndString31(mSkipFolderName, kStringsID, kSkipFolderIndex);
    GetIndString31(mReportName, kStringsID, kReportNameIndex);
}

CActionThread::~CActionThread()
{
    if (mOwnsRestrictionList)
        delete mRestrictionList;
}

Boolean CActionThread::GetOriginDest(FSSpec* source, FSSpec* destination)
{
    while ((mSettings.destination.vRefNum == 0 || mWaitingForVolume) && ThreadRunning())
        YieldSelf(kYieldPeriod);
    // A run stopped while waiting for the next volume must not go on with the full one.
    if (mSettings.destination.vRefNum == 0 || mWaitingForVolume)
        return false;

    FSSpec target = mSettings.destination;
    if (mSettings.actionKind == ActionSettingsStruct::kClone && mSettings.folderName[0] != 0) {
        // Without its folder the clone would land in, and delete from, the folder around it.
        long folderID = 0;
        const SInt32 parentID = FolderID(target);
        if (UFile::CreateOrGetFolder(target.vRefNum, parentID, mSettings.folderName, &folderID, nullptr) != noErr ||
            folderID == 0 || UFile::MakeFileSpec(target.vRefNum, parentID, mSettings.folderName, &target) != noErr) {
            CancelThread();
            return false;
        }
    }
    if (source)
        *source = mSettings.source;
    if (destination)
        *destination = target;

    mSourceVRefNum = mSettings.source.vRefNum;
    mDestVRefNum = target.vRefNum;
    UpdateReportFile(target.vRefNum, FolderID(target));
    mRepairPermissions = ProcessHasRootPrivileges() && !UFile::IsServer(mDestVRefNum) &&
                         !UFile::DoesVolumeIgnorePermissions(mDestVRefNum);
    return true;
}

void CActionThread::ComputeTotals(const FSSpec& source)
{
    if (UFile::IsVolume(source.vRefNum, source.parID, source.name)) {
        unsigned long usedKB = 0;
        UFile::GetSizeInVolume(source.vRefNum, &usedKB, nullptr);
        mTotalKB = UInt32(usedKB);
        mTotalFiles = UInt32(UFile::GetNumFilesInVolume(source.vRefNum));
        return;
    }
    auto* scanner = new CScanFolder;
    scanner->StartScan(&source, 0, kCompSystem);
    while (!scanner->ThreadFinished()) {
        Yield();
        if (ThreadCancelled())
            scanner->CancelThread();
        mTotalFiles = scanner->mFileCount;
    }
    mTotalFiles = scanner->mFileCount;
    mTotalKB = scanner->mScannedKB;
    // The scanner leaves its run and the scheduler disposes of it.
    scanner->Resume();
}

void CActionThread::RunSelf()
{
    if (mPause)
        WaitTicks(kPauseTicks);
    FSSpec source{};
    FSSpec destination{};
    if (!GetOriginDest(&source, &destination))
        return;
    ComputeTotals(source);

    mDoneKB = 0;
    mLevel = 0;
    SetFolderName(source.name);
    mDestDirID[0] = FolderID(destination);
    mSourceDirID[0] = FolderID(source);

    while (ThreadRunning()) {
        CListStructs* list = mLevelList[mLevel].get();
        if (!list) {
            GetCurrentLevelList(mSourceVRefNum, mDestVRefNum, kCompSystem);
        } else if (list->GetCount() == 0) {
            mLevelList[mLevel].reset();
            if (mLevel == 0)
                break;
            FinishFolder();
        } else {
            CompFolderStruct first{};
            CompFolderStruct second{};
            Boolean paired = TakeNextItems(*list, &first, &second);
            const SInt16 srcVRefNum = mSourceVRefNum;
            const SInt32 srcDirID = mSourceDirID[mLevel];
            const SInt16 dstVRefNum = mDestVRefNum;
            const SInt32 dstDirID = mDestDirID[mLevel];
            CBaseFileThread* action = nullptr;
            SInt16 enter = 0;
            Boolean create = false;
            if (!paired) {
                if (IsFolderRecord(first)) {
                    action = GetFolderAction(srcVRefNum, srcDirID, dstVRefNum, dstDirID, first, &enter);
                    create = enter != 0;
                } else if (first.side == 1) {
                    action = GetFileAction2(srcVRefNum, srcDirID, dstVRefNum, dstDirID, first);
                } else {
                    ++mFilesExamined;
                    action = GetFileAction1(srcVRefNum, srcDirID, dstVRefNum, dstDirID, first);
                }
            } else if (IsFolderRecord(first) && IsFolderRecord(second)) {
                enter = 1;
                if (mRepairPermissions)
                    UpdatePermissions(srcVRefNum, srcDirID, dstVRefNum, dstDirID, first, second);
            } else if (!IsFolderRecord(first) && !IsFolderRecord(second)) {
                ++mFilesExamined;
                if (NotEqualDates(first.dirIDOrModDate, second.dirIDOrModDate))
                    action = GetFileAction(srcVRefNum, srcDirID, dstVRefNum, dstDirID, first, second);
                else if (mRepairPermissions)
                    UpdatePermissions(srcVRefNum, srcDirID, dstVRefNum, dstDirID, first, second);
            } else if (!IsFolderRecord(first)) {
                action = GetFileAction(srcVRefNum, srcDirID, dstVRefNum, dstDirID, first, second);
            } else {
                CFileObject::Delete(dstVRefNum, dstDirID, second.name);
                // The folder replaces the file even when it stays empty.
                enter = 1;
                create = true;
                paired = false;
            }

            if (action)
                DisplayFile(&first);
            if (action && !MakeRoomFor(action)) {
                delete action;
                action = nullptr;
            }
            RunAction(action, first);
            mShownVolume = mDestVRefNum;
            if (enter && mLevel < kLastLevel)
                EnterFolder(&first, paired ? &second : nullptr, create);
        }
        YieldSelf(kYieldPeriod);
    }

    for (auto& levelList : mLevelList)
        levelList.reset();
    if (ThreadRunning()) {
        mDoneKB = mTotalKB;
        mPathText[0] = 0;
    } else if (ThreadCancelled()) {
        mHeader.cancelled = 1;
    }
    mHeader.finished = 1;
    if (mWriteReport) {
        while (mLog->GetCount() > 0 &&
               reinterpret_cast<const LogEntryStruct*>(mLog->GetNthStructPtr(mLog->GetCount()))->errorClass == 0)
            mLog->RemoveNthItem(mLog->GetCount());
        UpdateReportFile(mDestVRefNum, mDestDirID[0]);
    }
    if (mPause)
        WaitTicks(kPauseTicks);
}

Boolean CActionThread::MakeRoomFor(CBaseFileThread* action)
{
    Str255 volumeName{};
    if (action->CheckVolumeSize(volumeName))
        return true;
    if (mSettings.cloneAction != ActionSettingsStruct::kSeriesBackup) {
        DisplayDiskFullAlert(volumeName, this);
        mDiskFull = true;
        return false;
    }
    mWaitingForVolume = true;
    FSSpec destination{};
    if (!GetOriginDest(nullptr, &destination)) {
        CancelThread();
        return false;
    }
    std::fill(std::begin(mDestDirID), std::end(mDestDirID), 0);
    mDestDirID[0] = FolderID(destination);
    // The records listed from the full volume name its folders: taken on the next
    // volume, their names and folder IDs would pair with, or delete, other items.
    for (SInt32 level = 0; level <= mLevel; ++level) {
        CListStructs* list = mLevelList[level].get();
        for (long i = list ? list->GetCount() : 0; i >= 1; --i) {
            if (reinterpret_cast<const CompFolderStruct*>(list->GetNthStructPtr(i))->side == 1)
                list->RemoveNthItem(i);
        }
    }
    long folder = mDestDirID[0];
    if (UFile::DuplicateFolderHierarchy(mSourceVRefNum, mSourceDirID[mLevel], mSourceDirID[0], mDestVRefNum, &folder,
                                        false, true) == noErr)
        mDestDirID[mLevel] = SInt32(folder);
    action->SetDestination(mDestVRefNum, mDestDirID[mLevel]);
    return true;
}

void CActionThread::RunAction(CBaseFileThread* action, const CompFolderStruct& first)
{
    mActionKB = 0;
    const UInt32 doneBefore = mDoneKB;
    mCurrentAction = action;
    if (action) {
        DisplayFile(&first);
        action->ExecuteAction(this, &mActionKB, &mFilesHandled);
        if (mSetRootOwner && mActionKind == kCopyAction)
            GiveToRoot(mDestVRefNum, action->GetDestinationDirID(), first.name, kRootFileAccess);
        const UInt32 kilobytes = UInt32((action->mDoneBytes + 1023) / 1024);
        mCopiedKB += kilobytes;
        mDoneKB = doneBefore + kilobytes;
        mActionKB = 0;
        if (mActionKind == kDeleteAction)
            mHeader.deletedFiles += action->mDeletedFiles;
        if (action->mError != noErr && action->mError != CBaseFileThread::kCancelledErr) {
            AddToLog(GetLongName(&first), false, action->mErrorClass);
            ++mHeader.errors;
        }
        // A copy that found the disk full half way is the full disk the room check
        // looks for: going on would only fail again on every item.
        if (action->mError == dskFulErr && mSettings.cloneAction != ActionSettingsStruct::kSeriesBackup &&
            ThreadRunning()) {
            Str255 volumeName{};
            UFile::GetVolumeName(mDestVRefNum, volumeName);
            DisplayDiskFullAlert(volumeName, this);
            mDiskFull = true;
        }
        delete action;
    }
    mCurrentAction = nullptr;
    mDoneKB = doneBefore + (IsFolderRecord(first) ? 0 : first.sizeKB);
}

void CActionThread::EnterFolder(const CompFolderStruct* first, const CompFolderStruct* second, Boolean create)
{
    AddToLog(GetLongName(first), true, 0);
    if (mLevel == 0 && CStr255::EqualPStrings(first->name, kUsersName))
        mInUsers = true;
    ++mLevel;
    SetFolderName(GetLongName(first));
    mSourceDirID[mLevel] = 0;
    mDestDirID[mLevel] = 0;
    for (const CompFolderStruct* record : {first, second}) {
        if (record && IsFolderRecord(*record))
            (record->side == 0 ? mSourceDirID : mDestDirID)[mLevel] = SInt32(record->dirIDOrModDate);
    }
    if (create && mDestDirID[mLevel] == 0) {
        long folder = mDestDirID[0];
        if (UFile::DuplicateFolderHierarchy(mSourceVRefNum, mSourceDirID[mLevel], mSourceDirID[0], mDestVRefNum,
                                            &folder, false, true) == noErr &&
            folder != mDestDirID[0])
            mDestDirID[mLevel] = SInt32(folder);
    }
    mLevelList[mLevel].reset();
}

void CActionThread::FinishFolder()
{
    UFile::CopyFolderInfo(mSourceVRefNum, mSourceDirID[mLevel], mDestVRefNum, mDestDirID[mLevel]);
    if (mSetRootOwner && mDestDirID[mLevel] != 0) {
        FSSpec folder{};
        if (UFile::GetParentID(mDestVRefNum, mDestDirID[mLevel], &folder) == noErr)
            GiveToRoot(folder.vRefNum, folder.parID, folder.name, kRootFolderAccess);
    }
    SetFolderName(nullptr);
    --mLevel;
    if (mLevel == 0)
        mInUsers = false;
}

void CActionThread::GiveToRoot(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, long accessBits)
{
    long owner = 0;
    long group = 0;
    long access = 0;
    if (UFile::GetOwner(vRefNum, dirID, name, &owner, &group, &access) == noErr)
        UFile::SetOwner(vRefNum, dirID, name, 0, 0, (access & kRootAccessMask) | accessBits);
}

void CActionThread::GetCurrentLevelList(SInt16 srcVRefNum, SInt16 dstVRefNum, SInt16 excludeMask)
{
    mLevelList[mLevel].reset(
        GetOneLevelList(this, srcVRefNum, mSourceDirID[mLevel], dstVRefNum, mDestDirID[mLevel], excludeMask));
    CListStructs& list = *mLevelList[mLevel];
    Str255 userName{};
    const Boolean inUsers = mLevel == 1 && mInUsers && UFile::GetCurrentUser(userName) == noErr;
    for (long i = list.GetCount(); i >= 1; --i) {
        const auto* record = reinterpret_cast<const CompFolderStruct*>(list.GetNthStructPtr(i));
        // A destination inside the source is not a source folder: entering it would
        // make an empty copy of it inside itself.
        const Boolean destinationItself = IsFolderRecord(*record) && record->side == 0 &&
                                          srcVRefNum == dstVRefNum && SInt32(record->dirIDOrModDate) == mDestDirID[0];
        const Boolean leftOut = !IsFolderRecord(*record) &&
                                ((mLevel == 0 && CStr255::EqualPStrings(record->name, kNetworkName)) ||
                                 (inUsers && CStr255::EqualPStrings(record->name, userName)));
        if (destinationItself || leftOut)
            list.RemoveNthItem(i);
    }
    if (mRestrictionList && list.GetCount() > 0)
        FilterByRestrictionList(list);
}

void CActionThread::DisplayFile(const CompFolderStruct* record)
{
    const ConstStringPtr name = GetLongName(record);
    CStr255::CopyPString(name, mFileText, kFileTextNameLimit);
    CStr255::ConcatPStrings(mFileText, kSizeOpening);
    if (record->sizeKB >= kMegabyteDisplay) {
        CStr255::ConcatPStrings(mFileText, long(record->sizeKB / 1024));
        CStr255::AddCharToPString(mFileText, 'M');
    } else {
        CStr255::ConcatPStrings(mFileText, long(record->sizeKB));
        CStr255::AddCharToPString(mFileText, 'K');
    }
    CStr255::AddCharToPString(mFileText, ')');
}
