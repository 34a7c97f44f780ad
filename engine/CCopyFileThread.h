#pragma once
// Copies one file into a destination folder, replacing the item of the same name
// there. Both forks go into the temporary file first; only a complete copy takes
// the final name, after the old item was removed, and then receives the source's
// catalog information, owner, permissions, extended attributes and lock. A copy that
// fails or is cancelled leaves the old item untouched and no temporary file.
//
// Links, FIFOs and device nodes need nothing of their own here: the platform gives a
// link's target as its data fork and turns the finished file into the same link or
// node when the source's information is written onto it.

#include "engine/CBaseFileThread.h"

class CFileObject;

class CCopyFileThread : public CBaseFileThread {
public:
    // Where a copy failed (mErrorClass).
    enum : SInt16 {
        kTemporaryFileClass = 1, // the temporary file could not be created
        kSourceClass = 2,        // source information unreadable or a source fork would not open
        kOpenWriteClass = 3,     // a fork of the temporary file would not open for writing
        kReadClass = 4,
        kWriteClass = 5,         // writing, or putting the finished copy in place
    };

    CCopyFileThread(SInt16 srcVRefNum, SInt32 srcDirID, ConstStr255Param name, SInt16 dstVRefNum, SInt32 dstDirID);
    // With the source's size in kilobytes as its listed record gives it.
    CCopyFileThread(SInt16 srcVRefNum, SInt32 srcDirID, ConstStr255Param name, SInt16 dstVRefNum, SInt32 dstDirID,
                    UInt32 sizeKB);

    Boolean CanExecuteAction() override;
    void DoFileAction() override;
    // A sparse file needs only its allocated blocks at the destination.
    void CalcDestFileSize() override;

private:
    void Fail(OSErr err, SInt16 errorClass);
    // One fork into the temporary file; mError tells when it failed.
    void CopyFork(CFileObject& source, CFileObject& temporary, Boolean resource, UInt64 size, Ptr buffer,
                     long bufferSize);
    // The temporary file takes the source's name and information.
    void PutInPlace(CFileObject& source, CFileObject& temporary, Boolean locked, CInfoPBRec& sourceInfo);
};
