#include "platform/LFileStream.h"

namespace {

OSErr OpenFork(const FSSpec& spec, bool resource, SInt16 permission, SInt16* refNum)
{
    if (*refNum != LFileStream::kClosed)
        return noErr;
    SInt16 opened = LFileStream::kClosed;
    const OSErr err = resource ? FSpOpenRF(&spec, SInt8(permission), &opened) : FSpOpenDF(&spec, SInt8(permission), &opened);
    if (err == noErr)
        *refNum = opened;
    return err;
}

void CloseFork(SInt16* refNum)
{
    if (*refNum != LFileStream::kClosed)
        FSCloseFork(*refNum);
    *refNum = LFileStream::kClosed;
}

} // namespace

LFileStream::~LFileStream()
{
    CloseDataFork();
    CloseResourceFork();
}

void LFileStream::SetSpecifier(const FSSpec& spec)
{
    CloseDataFork();
    CloseResourceFork();
    mMacFileSpec = spec;
}

OSErr LFileStream::OpenDataFork(SInt16 permission)
{
    return OpenFork(mMacFileSpec, false, permission, &mDataForkRefNum);
}

OSErr LFileStream::OpenResourceFork(SInt16 permission)
{
    return OpenFork(mMacFileSpec, true, permission, &mResourceForkRefNum);
}

void LFileStream::CloseDataFork()
{
    CloseFork(&mDataForkRefNum);
}

void LFileStream::CloseResourceFork()
{
    CloseFork(&mResourceForkRefNum);
}

OSErr LFileStream::ReadAtMark(SInt16 refNum, void* buffer, SInt32& count)
{
    UInt32 actual = 0;
    const OSErr err = count < 0 ? OSErr(paramErr) : FSReadFork(refNum, fsAtMark | noCacheMask, 0, UInt32(count), buffer, &actual);
    count = SInt32(actual);
    return err;
}

OSErr LFileStream::WriteAtMark(SInt16 refNum, const void* buffer, SInt32& count)
{
    UInt32 actual = 0;
    const OSErr err = count < 0 ? OSErr(paramErr) : FSWriteFork(refNum, fsAtMark | noCacheMask, 0, UInt32(count), buffer, &actual);
    count = SInt32(actual);
    return err;
}

OSErr LFileStream::GetBytes(void* buffer, SInt32& count)
{
    return ReadAtMark(mDataForkRefNum, buffer, count);
}

OSErr LFileStream::PutBytes(const void* buffer, SInt32& count)
{
    return WriteAtMark(mDataForkRefNum, buffer, count);
}

OSErr LFileStream::SetMarker(SInt64 offset, UInt16 mode)
{
    return FSSetForkPosition(mDataForkRefNum, mode, offset);
}

SInt64 LFileStream::GetMarker() const
{
    SInt64 position = 0;
    return FSGetForkPosition(mDataForkRefNum, &position) == noErr ? position : 0;
}

SInt64 LFileStream::GetLength() const
{
    SInt64 size = 0;
    return FSGetForkSize(mDataForkRefNum, &size) == noErr ? size : 0;
}

OSErr LFileStream::SetLength(SInt64 length)
{
    return FSSetForkSize(mDataForkRefNum, fsFromStart, length);
}
