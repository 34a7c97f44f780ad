#include "filesystem/CFolderAccess.h"

#include "filesystem/ItemCalls.h"
#include "filesystem/UFile.h"

namespace {

constexpr SInt32 kAllRights = 0x00070707;

} // namespace

CFolderAccess::CFolderAccess(SInt16 vRefNum, SInt32 folderDirID) : mFolder{vRefNum, folderDirID, {}}
{
}

OSErr CFolderAccess::SetAllAccess()
{
    // The empty name stands for the folder itself.
    if (mStatus == dirNFErr)
        mStatus = UFile::GetOwner(mFolder.vRefNum, mFolder.parID, mFolder.name, &mOwner, &mGroup, &mAccess);
    if (mStatus != noErr)
        return mStatus;
    return UFile::SetOwner(mFolder.vRefNum, mFolder.parID, mFolder.name, mOwner, mGroup, mAccess | kAllRights);
}

void CFolderAccess::RestoreAccess()
{
    if (mStatus == noErr)
        UFile::SetOwner(mFolder.vRefNum, mFolder.parID, mFolder.name, mOwner, mGroup, mAccess);
}
