#include "filesystem/CFolderObject.h"

#include <algorithm>
#include <cstring>

#include "filesystem/CFileObject.h"
#include "filesystem/CFolderAccess.h"
#include "filesystem/ItemCalls.h"
#include "filesystem/UFile.h"

namespace {

constexpr SInt16 kMaxEntryIndex = 32767;

// Entry `index` of a folder, with its catalog name in `name`.
OSErr EntryAt(SInt16 vRefNum, SInt32 dirID, SInt16 index, CInfoPBRec* pb, StringPtr name)
{
    *pb = CInfoPBRec{};
    name[0] = 0;
    pb->hFileInfo.ioVRefNum = vRefNum;
    pb->hFileInfo.ioDirID = dirID;
    pb->hFileInfo.ioFDirIndex = index;
    pb->hFileInfo.ioNamePtr = name;
    const OSErr err = PBGetCatInfoSync(pb);
    pb->hFileInfo.ioNamePtr = nullptr;
    return err;
}

Boolean IsFolderRecord(const CInfoPBRec& pb)
{
    return (pb.hFileInfo.ioFlAttrib & kioFlAttribDirMask) != 0;
}

} // namespace

CFolderObject::CFolderObject(const FSSpec* spec) : mSpec(*spec)
{
}

CFolderObject::CFolderObject(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name)
    : mSpec(ItemCalls::ItemSpec(vRefNum, dirID, name))
{
}

Boolean CFolderObject::ExistsOnDisk()
{
    if (UFile::ExistsOnDisk(mSpec.vRefNum, mSpec.parID, mSpec.name))
        return true;
    if (!IsVolume())
        return false;
    Str255 volumeName{};
    HParamBlockRec pb{};
    pb.volumeParam.ioVRefNum = mSpec.vRefNum;
    pb.volumeParam.ioNamePtr = volumeName;
    return PBHGetVInfoSync(&pb) == noErr && volumeName[0] == mSpec.name[0] &&
           std::memcmp(volumeName + 1, mSpec.name + 1, volumeName[0]) == 0;
}

OSErr CFolderObject::GetFolderContentID(SInt32* dirID)
{
    *dirID = 0;
    CInfoPBRec pb;
    OSErr err = mSpec.name[0] == 0 ? OSErr(fnfErr) : UFile::GetFileInfos(mSpec.vRefNum, mSpec.parID, mSpec.name, &pb);
    if (err == noErr && !IsFolderRecord(pb))
        err = dirNFErr;
    if (err == noErr)
        *dirID = pb.dirInfo.ioDrDirID;
    return Result(err);
}

Boolean CFolderObject::IsFolderEmpty()
{
    SInt32 dirID = 0;
    return GetFolderContentID(&dirID) != noErr || IsEmpty(dirID);
}

Boolean CFolderObject::IsEmpty(SInt32 dirID)
{
    for (int index = 1; index <= kMaxEntryIndex; ++index) {
        CInfoPBRec pb;
        Str255 name;
        if (EntryAt(mSpec.vRefNum, dirID, SInt16(index), &pb, name) != noErr)
            return true;
        if (!IsFolderRecord(pb) || !IsEmpty(pb.dirInfo.ioDrDirID))
            return false;
    }
    return true;
}

OSErr CFolderObject::Delete()
{
    if (mSpec.name[0] == 0)
        return Result(fnfErr);
    // A volume's root folder can never go; all a deletion would do is erase the volume.
    if (IsVolume())
        return Result(fBsyErr);
    DeleteContent();
    OSErr err = FSpDelete(&mSpec);
    if (err != noErr) {
        CFolderAccess access(mSpec.vRefNum, mSpec.parID);
        access.SetAllAccess();
        err = FSpDelete(&mSpec);
    }
    if (err != noErr && ExistsOnDisk())
        err = CFileObject(&mSpec).MoveToTrash();
    return Result(err);
}

OSErr CFolderObject::DeleteContent()
{
    SInt32 dirID = 0;
    if (const OSErr err = GetFolderContentID(&dirID))
        return err;
    return DeleteFolderContent(dirID);
}

OSErr CFolderObject::DeleteFolderContent(SInt32 dirID)
{
    // An entry that is gone leaves its index to the next one.
    SInt16 index = 1;
    for (;;) {
        CInfoPBRec pb;
        Str255 name;
        const OSErr err = EntryAt(mSpec.vRefNum, dirID, index, &pb, name);
        if (err != noErr)
            return Result(err == fnfErr ? OSErr(noErr) : err);
        // The index read gives the entry's catalog name: no need to resolve it again.
        FSSpec entry{mSpec.vRefNum, dirID, {}};
        std::memcpy(entry.name, name, std::min<std::size_t>(name[0], sizeof entry.name - 1) + 1);
        CFileObject file(&entry);
        if (file.Delete() != noErr && file.ExistsOnDisk()) {
            if (index == kMaxEntryIndex)
                return Result(noErr);
            ++index;
        }
    }
}
