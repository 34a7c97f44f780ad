#pragma once
// The base of the actions on one item (copy one file, delete one folder). Not a
// thread: the walking thread creates it, runs it with ExecuteAction, and the action
// runs to its end on that thread, yielding through it and stopping when it is
// cancelled. No exception leaves an action.

#include "platform/Files.h"

class CBaseThread;

class CBaseFileThread {
public:
    // Every copy writes into this file of the destination folder before it takes
    // its final name.
    static constexpr unsigned char kTemporaryFileName[] = "\x1EQOREVTemporaryFile1247853912Zx";
    // The action stopped because the walk was cancelled; never reported as an error.
    static constexpr OSErr kCancelledErr = 0x5A5A;

    CBaseFileThread(SInt16 srcVRefNum, SInt32 srcDirID, ConstStr255Param name, SInt16 dstVRefNum, SInt32 dstDirID);
    // With the item's size in kilobytes as its listed record gives it.
    CBaseFileThread(SInt16 srcVRefNum, SInt32 srcDirID, ConstStr255Param name, SInt16 dstVRefNum, SInt32 dstDirID,
                    UInt32 sizeKB);
    virtual ~CBaseFileThread() = default;
    CBaseFileThread(const CBaseFileThread&) = delete;
    CBaseFileThread& operator=(const CBaseFileThread&) = delete;

    // The walker reads mError, mErrorClass, mDoneBytes and mDeletedFiles afterwards.
    virtual void ExecuteAction(CBaseThread* parent, UInt32* progress, UInt32* counter);
    virtual Boolean CanExecuteAction() { return true; }
    virtual void DoExecuteAction();
    virtual void DoFileAction() {}
    virtual void DoIfError() {}
    virtual Boolean CheckVolumeSize(StringPtr volumeNameOut);
    // Whether the volume has room for the item; mError dskFulErr when not.
    virtual Boolean CheckDestVolumeSize(SInt16 vRefNum, StringPtr volumeNameOut);
    // The item's size in kilobytes, rounded up.
    virtual UInt32 GetFileSize();
    virtual void CalcDestFileSize() { mNeededKB = mSizeKB; }
    virtual UInt32 GetFreeSize(SInt16 vRefNum);
    // ".vol", "dev" and "automount" at a volume root are made as empty folders
    // instead of copied; true when the item was such an entry.
    virtual Boolean CheckIfSpecialMacOSXSystemFile();
    virtual void ExecuteActionSelf();

    // A series backup moves a pending copy to the next volume.
    void SetDestination(SInt16 vRefNum, SInt32 dirID)
    {
        mDstVRefNum = vRefNum;
        mDstDirID = dirID;
    }
    SInt32 GetDestinationDirID() const { return mDstDirID; }

    // Publishes the progress and yields through the walker; true when the action must stop.
    Boolean YieldSelf();
    // Removes a leftover temporary file of the destination folder; false (fBsyErr,
    // class 1) when it stays.
    Boolean DeleteTemporaryFile();

    OSErr mError = noErr;
    SInt16 mErrorClass = 0;
    UInt64 mTotalBytes = 0;
    UInt64 mDoneBytes = 0;
    UInt32 mDeletedFiles = 0;

protected:
    Boolean TemporaryFileExists();

    CBaseThread* mParent = nullptr;
    UInt32* mProgress = nullptr;
    UInt32* mCounter = nullptr;
    UInt32 mProgressBase = 0;
    SInt16 mSrcVRefNum;
    SInt32 mSrcDirID;
    SInt16 mDstVRefNum;
    SInt32 mDstDirID;
    UInt32 mSizeKB = 0;
    UInt32 mNeededKB = 0;
    Str255 mName;
    Boolean mKeepFullInfo = true;
};
