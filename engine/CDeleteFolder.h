#pragma once
// Deletes one item of the destination: a file, or a folder with all its content,
// file by file, with progress, counts and cancellation between files. A cancelled
// deletion leaves the folder with the rest of its content. Every single deletion
// goes through CFileObject::Delete (unlock, open the parent's rights, trash last).

#include "engine/CBaseFileThread.h"

class CDeleteFolder : public CBaseFileThread {
public:
    // The last argument is always false.
    CDeleteFolder(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, Boolean = false);

    // Counts in mDoneBytes (each file's forks + 1023), mDeletedFiles (files at every
    // depth) and the walker's files counter.
    void ExecuteActionSelf() override;
};
