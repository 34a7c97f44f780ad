#include "engine/CDeleteFolder.h"

#include <memory>

#include "engine/CScanFolder.h"
#include "filesystem/CFileObject.h"
#include "filesystem/CFolderObject.h"
#include "filesystem/UFile.h"
#include "toolkit/CListStructs.h"
#include "toolkit/CStr255.h"

CDeleteFolder::CDeleteFolder(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, Boolean)
    : CBaseFileThread(vRefNum, dirID, name, 0, 0)
{
}

void CDeleteFolder::ExecuteActionSelf()
{
    long folderID = 0;
    Str255 name;
    CStr255::CopyPString(mName, name);
    if (mSrcVRefNum == 0 || mSrcDirID == 0 || mName[0] == 0 || !UFile::IsFolder(mSrcVRefNum, mSrcDirID, mName) ||
        !UFile::GetFolderContentID(mSrcVRefNum, mSrcDirID, name, &folderID)) {
        mDoneBytes += 1;
        CFileObject::Delete(mSrcVRefNum, mSrcDirID, mName);
        return;
    }
    const std::unique_ptr<CListStructs> list(CScanFolder::GetOneLevelList(mSrcVRefNum, SInt32(folderID), 0));
    while (list->GetCount() > 0) {
        UInt8 record[256] = {};
        list->GetNthStruct(1, record, sizeof record);
        list->RemoveNthStruct(1);
        const ConstStringPtr itemName = record + CScanFolder::kNameOffset;
        if (record[1] == 1) {
            CDeleteFolder child(mSrcVRefNum, SInt32(folderID), itemName);
            // Without a counter of the walker's, the child's files count straight into ours.
            child.ExecuteAction(mParent, mProgress, mCounter ? mCounter : &mDeletedFiles);
            if (mCounter)
                mDeletedFiles += child.mDeletedFiles;
            mDoneBytes += child.mDoneBytes;
        } else {
            UInt64 dataSize = 0;
            UInt64 resourceSize = 0;
            UFile::GetFileU64ForkSizes(mSrcVRefNum, SInt32(folderID), itemName, &dataSize, &resourceSize);
            mDoneBytes += dataSize + resourceSize + 1023;
            // A file that resisted even the trash is still there: it is not counted.
            if (CFileObject::Delete(mSrcVRefNum, SInt32(folderID), itemName)) {
                if (mCounter)
                    ++*mCounter;
                ++mDeletedFiles;
            }
        }
        if (YieldSelf())
            break;
    }
    if (CFolderObject(mSrcVRefNum, mSrcDirID, mName).IsFolderEmpty())
        CFileObject::Delete(mSrcVRefNum, mSrcDirID, mName);
}
