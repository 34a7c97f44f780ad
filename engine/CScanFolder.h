#pragma once
// Walks a folder tree once and counts it: folders, files and the files' size in
// kilobytes, for the progress of a copy. Its one-level listing, one side, in catalog
// order, also serves the folder deletion.
//
// A thread of the copy engine, so it lives beside the other threads here rather than
// with the file objects, which the engine builds on. No name filter is used in this
// system, so none is kept.

#include "engine/CBaseThread.h"
#include "platform/Files.h"

class CListStructs;

class CScanFolder : public CBaseThread {
public:
    static constexpr int kMaxDepth = 64;

    // Scan record flags.
    enum : UInt8 {
        kScanAlias = 1,
        kScanInvisible = 2,
        kScanSystem = 4, // a system companion file, or companion folder at a volume root
        kScanFolder = 8,
    };
    // A scan record: length (name + 5), 1 for a folder, 0, flags, the long name.
    static constexpr long kNameOffset = 4;

    CScanFolder() = default;

    // Counts from scratch and starts the thread. The action run uses excludeMask 4.
    virtual void StartScan(const FSSpec* item, long options, long excludeMask);
    // Items whose flags share a bit with the low byte of excludeMask are left out.
    // The caller owns the list.
    static CListStructs* GetOneLevelList(SInt16 vRefNum, SInt32 dirID, long excludeMask);

    // Hooks: every item is accepted here.
    virtual void PostCheckFolder(DirInfo*) {}
    virtual Boolean CheckFolder(DirInfo*) { return true; }
    virtual Boolean CheckFile(HFileInfo*) { return true; }

    void RunSelf() override;

    UInt32 mOptions = 0;
    UInt32 mExcludeMask = 0;
    FSSpec mItem{};
    UInt32 mFolderCount = 0;
    UInt32 mFileCount = 0;
    UInt32 mScannedKB = 0;
    SInt32 mDepth = 0;
    SInt32 mDirID[kMaxDepth] = {};

protected:
    virtual void ScanFolder();
};
