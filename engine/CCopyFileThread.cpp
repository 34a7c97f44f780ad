#include "engine/CCopyFileThread.h"

#include <algorithm>
#include <cstring>

#include "filesystem/CFileObject.h"
#include "filesystem/CFolderAccess.h"
#include "filesystem/UFile.h"
#include "platform/AccessWord.h"
#include "toolkit/UPtr.h"

namespace {

constexpr long kCopyBufferSize = 32768;
// What the kernel copies between two yields.
constexpr UInt64 kKernelChunk = 32 * 1024 * 1024;
constexpr long kSmallestBuffer = 512;
// A classic catalog record holds at most this size of a fork.
constexpr SInt32 kLargestClassicSize = 0x7FFFFFFF;
// Without the kernel's copy, holes are kept at the file system's block size: a zero
// block is never written.
constexpr UInt32 kZeroBlockSize = 4096;

Boolean IsZero(const UInt8* bytes, UInt32 count)
{
    return count == 0 || (bytes[0] == 0 && std::memcmp(bytes, bytes + 1, count - 1) == 0);
}

// Writes `count` bytes at `offset`, leaving out the blocks that hold only zeros, so
// a sparse source stays sparse; the fork's size is set once the copy is complete.
OSErr WriteSkippingZeros(SInt16 refNum, SInt64 offset, const UInt8* bytes, UInt32 count)
{
    UInt32 start = 0;
    while (start < count) {
        while (start < count && IsZero(bytes + start, std::min(kZeroBlockSize, count - start)))
            start += std::min(kZeroBlockSize, count - start);
        UInt32 end = start;
        while (end < count && !IsZero(bytes + end, std::min(kZeroBlockSize, count - end)))
            end += std::min(kZeroBlockSize, count - end);
        if (end > start) {
            UInt32 written = 0;
            if (const OSErr err = FSWriteFork(refNum, fsFromStart, offset + start, end - start, bytes + start, &written))
                return err;
        }
        start = end;
    }
    return noErr;
}

} // namespace

CCopyFileThread::CCopyFileThread(SInt16 srcVRefNum, SInt32 srcDirID, ConstStr255Param name, SInt16 dstVRefNum,
                                 SInt32 dstDirID)
    : CBaseFileThread(srcVRefNum, srcDirID, name, dstVRefNum, dstDirID)
{
}

CCopyFileThread::CCopyFileThread(SInt16 srcVRefNum, SInt32 srcDirID, ConstStr255Param name, SInt16 dstVRefNum,
                                 SInt32 dstDirID, UInt32 sizeKB)
    : CBaseFileThread(srcVRefNum, srcDirID, name, dstVRefNum, dstDirID, sizeKB)
{
}

Boolean CCopyFileThread::CanExecuteAction()
{
    mError = noErr;
    if (mSrcVRefNum == mDstVRefNum && mSrcDirID == mDstDirID)
        return false;
    if (UFile::IsSocketFile(mSrcVRefNum, mSrcDirID, mName))
        return false;
    if (CheckIfSpecialMacOSXSystemFile())
        return false;
    if (!DeleteTemporaryFile())
        return false;
    return CheckVolumeSize(nullptr);
}

void CCopyFileThread::CalcDestFileSize()
{
    FSCatalogInfo info{};
    if (UFile::GetMacOSXInfos(mSrcVRefNum, mSrcDirID, mName, &info, nullptr, UFile::kForkSizesInfo) != noErr) {
        mNeededKB = mSizeKB;
        return;
    }
    const UInt64 dataBytes = std::min(info.dataPhysicalSize, info.dataLogicalSize);
    mNeededKB = UInt32((dataBytes + info.rsrcLogicalSize + 1023) / 1024);
}

void CCopyFileThread::Fail(OSErr err, SInt16 errorClass)
{
    if (mError == noErr) {
        mError = err;
        mErrorClass = errorClass;
    }
}

void CCopyFileThread::DoFileAction()
{
    // Rights opened for the temporary file are put back whatever happens.
    CFolderAccess access(mDstVRefNum, mDstDirID);
    CFileObject source(mSrcVRefNum, mSrcDirID, mName);
    CInfoPBRec sourceInfo;
    if (const OSErr err = source.GetFileInfos(&sourceInfo))
        return Fail(err, kSourceClass);
    if (sourceInfo.hFileInfo.ioFlAttrib & kioFlAttribDirMask)
        return;
    const Boolean locked = (sourceInfo.hFileInfo.ioFlAttrib & kioFlAttribLockedMask) != 0;

    // The record's sizes are exact below 2 GB; a fork that reaches that is measured in
    // 64 bits. Unknown sizes would make an empty copy pass for a complete one.
    UInt64 dataSize = UInt64(sourceInfo.hFileInfo.ioFlLgLen);
    UInt64 resourceSize = UInt64(sourceInfo.hFileInfo.ioFlRLgLen);
    if (sourceInfo.hFileInfo.ioFlLgLen == kLargestClassicSize || sourceInfo.hFileInfo.ioFlRLgLen == kLargestClassicSize) {
        if (const OSErr err = UFile::GetFileU64ForkSizes(mSrcVRefNum, mSrcDirID, mName, &dataSize, &resourceSize))
            return Fail(err, kSourceClass);
    }
    mTotalBytes = dataSize + resourceSize;
    mDoneBytes = 0;

    UPtr buffer;
    if (buffer.SetMaxSize(kCopyBufferSize) < kSmallestBuffer)
        return Fail(memFullErr, 0);

    // The temporary name is its own catalog name: nothing to resolve.
    FSSpec temporarySpec{mDstVRefNum, mDstDirID, {}};
    std::memcpy(temporarySpec.name, kTemporaryFileName, kTemporaryFileName[0] + 1u);
    CFileObject temporary(&temporarySpec);
    OSErr err = temporary.Create(0, 0, false);
    if (err != noErr) {
        access.SetAllAccess();
        err = temporary.Create(0, 0, false);
    }
    if (err != noErr)
        return Fail(err, kTemporaryFileClass);

    if (dataSize != 0)
        CopyFork(source, temporary, false, dataSize, buffer.GetPtr(), buffer.GetSize());
    if (resourceSize != 0 && mError == noErr)
        CopyFork(source, temporary, true, resourceSize, buffer.GetPtr(), buffer.GetSize());
    source.Close();
    temporary.Close();
    if (mError != noErr) {
        CFileObject::Delete(mDstVRefNum, mDstDirID, kTemporaryFileName);
        return;
    }
    PutInPlace(source, temporary, locked, sourceInfo);
}

void CCopyFileThread::CopyFork(CFileObject& source, CFileObject& temporary, Boolean resource, UInt64 size,
                                  Ptr buffer, long bufferSize)
{
    if (const OSErr err = resource ? source.OpenResourceFork(fsRdPerm) : source.OpenDataFork(fsRdPerm))
        return Fail(err, kSourceClass);
    if (const OSErr err = resource ? temporary.OpenResourceFork(fsWrPerm) : temporary.OpenDataFork(fsWrPerm))
        return Fail(err, kOpenWriteClass);
    const SInt16 from = resource ? source.GetResourceForkRefNum() : source.GetDataForkRefNum();
    const SInt16 to = resource ? temporary.GetResourceForkRefNum() : temporary.GetDataForkRefNum();
    // A data fork is copied inside the kernel where the file systems allow it, which
    // also keeps the source's holes; else through the buffer. The 64-bit fork calls
    // serve every size, also forks of 2 GB and more.
    Boolean inKernel = !resource;
    for (UInt64 done = 0; done < size;) {
        const UInt32 chunk = UInt32(std::min<UInt64>(size - done, inKernel ? kKernelChunk : UInt64(bufferSize)));
        if (inKernel) {
            const OSErr err = FSCopyForkRange(from, to, SInt64(done), chunk);
            if (err == paramErr) {
                inKernel = false;
                continue;
            }
            if (err)
                return Fail(err, err == eofErr ? kReadClass : kWriteClass);
        } else {
            UInt32 read = 0;
            if (const OSErr err = FSReadFork(from, fsFromStart | noCacheMask, SInt64(done), chunk, buffer, &read))
                return Fail(err, kReadClass);
            UInt32 written = 0;
            const OSErr err = resource
                                  ? FSWriteFork(to, fsFromStart | noCacheMask, SInt64(done), read, buffer, &written)
                                  : WriteSkippingZeros(to, SInt64(done), reinterpret_cast<const UInt8*>(buffer), read);
            if (err)
                return Fail(err, kWriteClass);
        }
        done += chunk;
        mDoneBytes += chunk;
        if (YieldSelf())
            return Fail(kCancelledErr, 0);
    }
    // Skipped zero blocks at the end leave the file short until its size is set; a
    // file already whole is not truncated, which would cost the file system work.
    SInt64 written = 0;
    if (!resource && FSGetForkSize(to, &written) == noErr && written < SInt64(size)) {
        if (const OSErr err = FSSetForkSize(to, fsFromStart, SInt64(size)))
            return Fail(err, kWriteClass);
    }
}

void CCopyFileThread::PutInPlace(CFileObject& source, CFileObject& temporary, Boolean locked, CInfoPBRec& sourceInfo)
{
    const FSSpec sourceSpec = source.GetSpecifier();
    FSCatalogInfo info{};
    HFSUniStr255 unicodeName{};
    const OSErr infoErr = UFile::GetMacOSXInfos(&sourceSpec, &info, &unicodeName, UFile::kCopiedInfoWithPrivileges);
    // The owner, group and rights come with the record; asked for on their own only without it.
    long owner = long(info.permissions[0]);
    long group = long(info.permissions[1]);
    long accessWord = long(AccessWord::FromMode(mode_t(info.permissions[2])));
    const OSErr ownerErr = infoErr == noErr ? OSErr(noErr)
                                            : UFile::GetOwner(sourceSpec.vRefNum, sourceSpec.parID, sourceSpec.name,
                                                              &owner, &group, &accessWord);

    CFileObject::DeleteCopyOf(&sourceSpec, infoErr == noErr ? &unicodeName : nullptr, mDstVRefNum, mDstDirID);

    // The Unicode name is the item's exact name, whatever its length; a catalog name
    // may be a shortened "#" form that must never become a real name.
    OSErr err = noErr;
    if (infoErr == noErr) {
        const FSSpec temporarySpec = temporary.GetSpecifier();
        FSSpec copySpec = temporarySpec;
        err = UFile::SetMacOSXInfos(&temporarySpec, nullptr, &unicodeName, 0, &copySpec);
        temporary.SetSpecifier(copySpec);
    } else {
        err = temporary.ChangeFileName(sourceSpec.name);
    }
    if (UFile::ExistsOnDisk(mDstVRefNum, mDstDirID, kTemporaryFileName)) {
        CFileObject::Delete(mDstVRefNum, mDstDirID, kTemporaryFileName);
        return Fail(ioErr, kWriteClass);
    }
    if (err != noErr)
        return Fail(err, kWriteClass);

    // The mode before the Finder information: what the platform implies for an
    // executable program is then not stored as information of its own.
    const FSSpec copy = temporary.GetSpecifier();
    if (ownerErr == noErr) {
        if (const OSErr setErr = UFile::SetOwner(copy.vRefNum, copy.parID, copy.name, owner, group, accessWord))
            Fail(setErr, kWriteClass);
    }
    if (const OSErr setErr = temporary.SetFileInfos(&sourceInfo))
        Fail(setErr, kWriteClass);
    if (infoErr != noErr)
        Fail(infoErr, kWriteClass);
    else if (const OSErr setErr = UFile::SetMacOSXInfos(&copy, &info, nullptr, UFile::kCopiedInfo))
        Fail(setErr, kWriteClass);
    // The lock last: it forbids every later change.
    if (locked)
        UFile::SetLock(copy.vRefNum, copy.parID, copy.name, true);
}
