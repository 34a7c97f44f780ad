#pragma once
// The folders a clone of whole volumes would delete at the destination's root: the
// visible folders there that have no namesake at the source's root. Asked before
// such a clone starts, so the user can confirm the deletion.

#include "platform/MacTypes.h"

class URootFolders {
public:
    // Their names joined with ", " into `list` (cut at 255 bytes); empty when none.
    static void GetFoldersOnlyAtDestination(SInt16 srcVRefNum, SInt32 srcDirID, SInt16 dstVRefNum, SInt32 dstDirID,
                                            StringPtr list);
};
