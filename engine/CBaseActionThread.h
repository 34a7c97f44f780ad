#pragma once
// The base of the threads that walk two hierarchies and show their progress: the
// action run and the folder comparison. The owner's window reads the counters and
// texts between yields.

#include <memory>

#include "engine/CBaseCompareFolder.h"

class CBaseFileThread;
class CListStr255;

class CBaseActionThread : public CBaseCompareFolder {
public:
    CBaseActionThread();
    ~CBaseActionThread() override;

    // Keeps mPathList at mLevel entries, appends `name` when given, and rebuilds mPathText.
    void SetFolderName(ConstStr255Param name);

    UInt32 mStartDate = 0; // seconds since 1904 at construction
    UInt32 mTotalKB = 0;
    UInt32 mDoneKB = 0;
    UInt32 mCopiedKB = 0;
    UInt32 mActionKB = 0;
    UInt32 mTotalFiles = 0;
    UInt32 mFilesHandled = 0;
    UInt32 mFilesExamined = 0;
    // Names from the source root to the current folder, the source's own name first.
    std::unique_ptr<CListStr255> mPathList;
    Str255 mPathText{};
    Str255 mFileText{};
    SInt16 mActionKind = 0; // 1 when the last action made is a copy, 4 a deletion
    SInt16 mShownVolume = 0;
    CBaseFileThread* mCurrentAction = nullptr; // not owned: the run's action in progress
};
