#include "engine/CBaseFileThread.h"

#include <cstring>
#include <string_view>

#include "engine/CBaseThread.h"
#include "filesystem/CFileObject.h"
#include "filesystem/ItemCalls.h"
#include "filesystem/UFile.h"

namespace {

constexpr long kYieldPeriod = 12;

Boolean IsSpecialRootName(ConstStr255Param name)
{
    const std::string_view text(reinterpret_cast<const char*>(name + 1), name[0]);
    return text == ".vol" || text == "dev" || text == "automount";
}

} // namespace

CBaseFileThread::CBaseFileThread(SInt16 srcVRefNum, SInt32 srcDirID, ConstStr255Param name, SInt16 dstVRefNum,
                                 SInt32 dstDirID)
    : CBaseFileThread(srcVRefNum, srcDirID, name, dstVRefNum, dstDirID, 0)
{
    mSizeKB = GetFileSize();
}

CBaseFileThread::CBaseFileThread(SInt16 srcVRefNum, SInt32 srcDirID, ConstStr255Param name, SInt16 dstVRefNum,
                                 SInt32 dstDirID, UInt32 sizeKB)
    : mSrcVRefNum(srcVRefNum), mSrcDirID(srcDirID), mDstVRefNum(dstVRefNum), mDstDirID(dstDirID), mSizeKB(sizeKB)
{
    std::memcpy(mName, name, name[0] + 1u);
}

void CBaseFileThread::ExecuteAction(CBaseThread* parent, UInt32* progress, UInt32* counter)
{
    mError = noErr;
    mErrorClass = 0;
    mDeletedFiles = 0;
    mParent = parent;
    mProgress = progress;
    mCounter = counter;
    if (mProgress)
        mProgressBase = *mProgress;
    try {
        ExecuteActionSelf();
    } catch (...) {
        if (mError == noErr) {
            mError = ioErr;
            mErrorClass = 1;
        }
    }
    if (mError != noErr && TemporaryFileExists())
        CFileObject::Delete(mDstVRefNum, mDstDirID, kTemporaryFileName);
}

void CBaseFileThread::ExecuteActionSelf()
{
    if (CanExecuteAction())
        DoExecuteAction();
}

void CBaseFileThread::DoExecuteAction()
{
    DoFileAction();
    if (mError != noErr)
        DoIfError();
}

Boolean CBaseFileThread::YieldSelf()
{
    if (mProgress)
        *mProgress = UInt32(mProgressBase + (mDoneBytes + 1023) / 1024);
    if (!mParent)
        return false;
    mParent->YieldSelf(kYieldPeriod);
    return mParent->ThreadCancelled();
}

Boolean CBaseFileThread::CheckVolumeSize(StringPtr volumeNameOut)
{
    return mDstVRefNum == 0 || CheckDestVolumeSize(mDstVRefNum, volumeNameOut);
}

Boolean CBaseFileThread::CheckDestVolumeSize(SInt16 vRefNum, StringPtr volumeNameOut)
{
    if (volumeNameOut) {
        HParamBlockRec pb{};
        volumeNameOut[0] = 0;
        pb.volumeParam.ioVRefNum = vRefNum;
        pb.volumeParam.ioNamePtr = volumeNameOut;
        PBHGetVInfoSync(&pb);
    }
    const UInt32 freeKB = GetFreeSize(vRefNum);
    if (freeKB >= mSizeKB)
        return true;
    if (mNeededKB == 0)
        CalcDestFileSize();
    if (freeKB >= mNeededKB)
        return true;
    mError = dskFulErr;
    return false;
}

UInt32 CBaseFileThread::GetFileSize()
{
    // Both forks in 64 bits: a file over 4 GB must not pass the room check.
    UInt64 bytes = 0;
    UFile::GetFileU64Size(mSrcVRefNum, mSrcDirID, mName, &bytes);
    return UInt32((bytes + 1023) / 1024);
}

UInt32 CBaseFileThread::GetFreeSize(SInt16 vRefNum)
{
    unsigned long freeKB = 0;
    UFile::GetSizeInVolume(vRefNum, nullptr, &freeKB);
    return freeKB;
}

Boolean CBaseFileThread::CheckIfSpecialMacOSXSystemFile()
{
    // Without a destination there is nothing to make, and nowhere safe to make it.
    if (mDstVRefNum == 0 || mDstDirID == 0)
        return false;
    if ((mSrcDirID != fsRtDirID && mDstDirID != fsRtDirID) || !IsSpecialRootName(mName))
        return false;
    SInt32 createdID = 0;
    if (DirCreate(mDstVRefNum, mDstDirID, mName, &createdID) == noErr &&
        std::string_view(reinterpret_cast<const char*>(mName + 1), mName[0]) != "automount") {
        CInfoPBRec pb;
        if (UFile::GetFileInfos(mDstVRefNum, mDstDirID, mName, &pb) == noErr) {
            pb.dirInfo.ioDrUsrWds.frFlags |= kIsInvisible;
            UFile::SetFileInfos(mDstVRefNum, mDstDirID, mName, &pb);
        }
    }
    return true;
}

Boolean CBaseFileThread::TemporaryFileExists()
{
    return mDstVRefNum != 0 && mDstDirID != 0 && UFile::ExistsOnDisk(mDstVRefNum, mDstDirID, kTemporaryFileName);
}

Boolean CBaseFileThread::DeleteTemporaryFile()
{
    if (!TemporaryFileExists())
        return true;
    CFileObject::Delete(mDstVRefNum, mDstDirID, kTemporaryFileName);
    if (!TemporaryFileExists())
        return true;
    mError = fBsyErr;
    mErrorClass = 1;
    return false;
}
