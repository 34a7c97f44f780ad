// The log of the action run, its report file, and the alert of a full destination.

#include <vector>

#include "engine/CActionThread.h"
#include "engine/CBaseFileThread.h"
#include "filesystem/CFileObject.h"
#include "filesystem/UFile.h"
#include "toolkit/CListStructs.h"
#include "toolkit/UDate.h"

namespace {

constexpr UInt32 kReportThrottle = 10;

} // namespace

void CActionThread::AddToLog(ConstStr255Param name, Boolean isFolder, SInt16 errorClass)
{
    if (!mWriteReport)
        return;
    // Folders entered without a failure inside go as soon as the walk logs at their level or above.
    while (mLog->GetCount() > 0) {
        const auto* last = reinterpret_cast<const LogEntryStruct*>(mLog->GetNthStructPtr(mLog->GetCount()));
        if (last->errorClass != 0 || last->level < mLevel)
            break;
        mLog->RemoveNthItem(mLog->GetCount());
    }
    const LogEntryStruct entry = UReportFile::MakeLogEntry(name, mLevel, isFolder, errorClass);
    mLog->AddStructToList(&entry, entry.length);

    const UInt64 now = UDate::Now();
    if (mNextReportWrite < now + kReportThrottle) {
        mNextReportWrite = UInt32(now + kReportThrottle);
        UpdateReportFile(mDestVRefNum, mDestDirID[0]);
    }
}

void CActionThread::UpdateReportFile(SInt16 vRefNum, SInt32 dirID)
{
    if (!mWriteReport || vRefNum == 0 || dirID == 0)
        return;
    mHeader.vRefNum = mSourceVRefNum;
    mHeader.filesHandled = mFilesHandled;
    mHeader.kilobytesHandled = mCopiedKB;
    const std::vector<UInt8> bytes = UReportFile::Encode(mHeader, *mLog);

    // The new report is written whole beside the old one and takes its name only when
    // complete, so a full disk or a failed write never leaves a cut report behind.
    const ConstStringPtr temporaryName = CBaseFileThread::kTemporaryFileName;
    // A folder of the report's name is the user's, never a report to replace.
    if (UFile::IsFolder(vRefNum, dirID, mReportName))
        return;
    CFileObject::Delete(vRefNum, dirID, temporaryName);
    CFileObject temporary(vRefNum, dirID, temporaryName);
    if (temporary.Create(UReportFile::kCreator, UReportFile::kFileType, true) != noErr)
        return;
    OSErr err = temporary.OpenDataFork(fsRdWrPerm);
    if (err == noErr)
        err = temporary.WriteBytes(bytes.data(), long(bytes.size()));
    temporary.Close();
    if (err != noErr || temporary.GetFileDataSize() != long(bytes.size())) {
        CFileObject::Delete(vRefNum, dirID, temporaryName);
        return;
    }
    CFileObject::Delete(vRefNum, dirID, mReportName);
    if (temporary.ChangeFileName(mReportName) != noErr)
        CFileObject::Delete(vRefNum, dirID, temporaryName);
}

void CActionThread::DisplayDiskFullAlert(ConstStr255Param volumeName, CBaseThread* thread)
{
    if (sDiskFullAlertHook)
        sDiskFullAlertHook(volumeName, thread);
    thread->CancelThread();
}
