#pragma once
// The action run of a clone, a restore, a tools run or a disc's copy: finds the two
// ends, walks both hierarchies one level at a time, decides for every item what to
// do, executes copies and deletions one at a time, repairs owners and rights of
// unchanged items, and keeps a log and a report file at the destination.
//
// Created suspended on a settings record; the owner sets the flags and the header's
// title, then resumes it. Seeing ThreadFinished(), the owner reads mHeader, mLog and
// mDiskFull (it may take mLog), then resumes it once so that it ends.

#include <memory>

#include "engine/ActionSettingsStruct.h"
#include "engine/CBaseActionThread.h"
#include "engine/UReportFile.h"

class CListStructs;

class CActionThread : public CBaseActionThread {
public:
    enum : SInt16 { kCopyAction = 1, kDeleteAction = 4 };
    static constexpr int kLanguageSlots = 8;

    explicit CActionThread(const ActionSettingsStruct* settings);
    ~CActionThread() override;

    void RunSelf() override;

    // Waits for the destination and resolves both ends; either pointer may be null.
    // False when the run ended while waiting.
    Boolean GetOriginDest(FSSpec* source, FSSpec* destination);
    void GetCurrentLevelList(SInt16 srcVRefNum, SInt16 dstVRefNum, SInt16 excludeMask);
    void DisplayFile(const CompFolderStruct* record);

    // Listing hooks: which items take part at all, on both sides.
    Boolean CheckFolder(CompFolderStruct& record) override;
    Boolean CheckFile(CompFolderStruct& record) override;
    Boolean CheckLanguageFolder(ConstStr255Param name);

    // The decisions; each action object returned is the caller's. `enter` is 1 when
    // the walk must enter the folder.
    CBaseFileThread* GetFolderAction(SInt16 srcVRefNum, SInt32 srcDirID, SInt16 dstVRefNum, SInt32 dstDirID,
                                     CompFolderStruct& record, SInt16* enter);
    CBaseFileThread* GetFileAction(SInt16 srcVRefNum, SInt32 srcDirID, SInt16 dstVRefNum, SInt32 dstDirID,
                                   CompFolderStruct& source, CompFolderStruct& destination);
    CBaseFileThread* GetFileAction1(SInt16 srcVRefNum, SInt32 srcDirID, SInt16 dstVRefNum, SInt32 dstDirID,
                                    CompFolderStruct& source);
    CBaseFileThread* GetFileAction2(SInt16 srcVRefNum, SInt32 srcDirID, SInt16 dstVRefNum, SInt32 dstDirID,
                                    CompFolderStruct& destination);
    CBaseFileThread* DoDeleteItem(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, Boolean isFolder);
    // Brings owner, group and rights of an unchanged destination item in line with the source.
    void UpdatePermissions(SInt16 srcVRefNum, SInt32 srcDirID, SInt16 dstVRefNum, SInt32 dstDirID,
                           CompFolderStruct& source, CompFolderStruct& destination);

    // The log and the report file (only with mWriteReport).
    void AddToLog(ConstStr255Param name, Boolean isFolder, SInt16 errorClass);
    void UpdateReportFile(SInt16 vRefNum, SInt32 dirID);

    // A full destination: the application's alert when installed, and the thread is
    // cancelled either way, as the alert ends it.
    static void DisplayDiskFullAlert(ConstStr255Param volumeName, CBaseThread* thread);
    // Installed by the application; shows the alert about `volumeName` until the user
    // dismisses it or it times out.
    static void (*sDiskFullAlertHook)(ConstStr255Param volumeName, CBaseThread* thread);

    // The language folders copied with mLanguageFilter, filled once from string list 140.
    static unsigned char sLprojFolderName[kLanguageSlots][32];

    ActionSettingsStruct mSettings;
    ReportHeaderStruct mHeader;
    UInt32 mNextReportWrite = 0;
    // Optional tree of names that limits what is copied; owned with mOwnsRestrictionList.
    CListStructs* mRestrictionList = nullptr;
    std::unique_ptr<CListStructs> mLog;
    Str31 mSkipFolderName{};
    Str31 mReportName{};
    Boolean mOwnsRestrictionList = false;
    Boolean mSetRootOwner = false;
    Boolean mWaitingForVolume = false;
    Boolean mDiskFull = false;
    Boolean mSkipDeveloperFiles = false;
    Boolean mLanguageFilter = false;
    Boolean mWriteReport = false;
    Boolean mRepairPermissions = false;
    Boolean mAllowLocalized = false;
    Boolean mInUsers = false;
    Boolean mPause = false;

private:
    void ComputeTotals(const FSSpec& source);
    void FilterByRestrictionList(CListStructs& list);
    // Executes one action of the walk with its accounting and logging; takes it.
    void RunAction(CBaseFileThread* action, const CompFolderStruct& first);
    // The room check before an action; false when the run cannot go on with it.
    Boolean MakeRoomFor(CBaseFileThread* action);
    void FinishFolder();
    void EnterFolder(const CompFolderStruct* first, const CompFolderStruct* second, Boolean create);
    static void GiveToRoot(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, long accessBits);
};
