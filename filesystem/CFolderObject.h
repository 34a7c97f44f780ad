#pragma once
// A folder, addressed by its FSSpec: whether it holds any file, and its
// deletion with all its content, down to the trash for what resists.

#include "platform/Files.h"

class CFolderObject {
public:
    explicit CFolderObject(const FSSpec* spec);
    // A long name is resolved; when that fails the triple stays as given.
    CFolderObject(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name);

    OSErr GetLastError() const { return mLastError; }

    Boolean ExistsOnDisk();
    // Parent ID 0 or 1.
    Boolean IsVolume() const { return mSpec.parID == 0 || mSpec.parID == fsRtParID; }
    // The folder's own directory ID.
    OSErr GetFolderContentID(SInt32* dirID);
    // True when the folder is missing or holds no file at any depth.
    Boolean IsFolderEmpty();
    Boolean IsEmpty(SInt32 dirID);

    // The folder with its content; a volume's root folder is refused (fBsyErr).
    OSErr Delete();
    OSErr DeleteContent();
    OSErr DeleteFolderContent(SInt32 dirID);

private:
    OSErr Result(OSErr err) { return mLastError = err; }

    FSSpec mSpec;
    OSErr mLastError = noErr;
};
