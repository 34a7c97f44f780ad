#include "ui/CFileIconRef.h"

#include "filesystem/UFile.h"
#include "framework/Icons.h"
#include "toolkit/CStr255.h"

CFileIconRef::CFileIconRef(QWidget* widget) : LPane(widget)
{
    InterceptEvents(true, false);
}

void CFileIconRef::SetIconFSSpec(const FSSpec* item)
{
    const FSSpec none{};
    if (item == nullptr)
        item = &none;
    mVRefNum = item->vRefNum;
    mDirID = item->parID;
    CStr255::CopyPString(item->name, mName);
    Refresh();
}

void CFileIconRef::DrawSelf()
{
    IconRef icon = nullptr;
    const bool own = mVRefNum != 0 && UFile::GetFileIconRef(mVRefNum, mDirID, mName, &icon) == noErr;
    if (!own && UFile::GetGenericFolderIconRef(&icon) != noErr)
        return;
    Rect frame;
    CalcLocalFrameRect(frame);
    PlotIconRef(&frame, kAlignNone, kTransformNone, kIconServicesNormalUsageFlag, icon);
    ReleaseIconRef(icon);
}
