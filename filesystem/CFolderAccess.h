#pragma once
// Opens a folder's access rights for one operation that they would otherwise forbid
// (creating or deleting an item in it) and puts the old rights back at the end of
// the scope. Does nothing, and restores nothing, when the folder cannot be looked up
// or its rights cannot be read.

#include "platform/Files.h"

class CFolderAccess {
public:
    CFolderAccess(SInt16 vRefNum, SInt32 folderDirID);
    ~CFolderAccess() { RestoreAccess(); }
    CFolderAccess(const CFolderAccess&) = delete;
    CFolderAccess& operator=(const CFolderAccess&) = delete;

    // All three rights for owner, group and everyone; the platform's result.
    OSErr SetAllAccess();
    // The saved rights back, when SetAllAccess changed them.
    void RestoreAccess();

private:
    OSErr mStatus = dirNFErr; // until the folder was looked up
    FSSpec mFolder;
    long mOwner = 0;
    long mGroup = 0;
    long mAccess = 0;
};
