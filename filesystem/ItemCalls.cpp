#include "filesystem/ItemCalls.h"

#include <cstring>

namespace ItemCalls {

namespace {

// The calls take the name as input only; a copy keeps the caller's string untouched.
void CopyName(ConstStr255Param name, Str255 out)
{
    const UInt8 length = name ? name[0] : 0;
    out[0] = length;
    if (length)
        std::memcpy(out + 1, name + 1, length);
}

// The access record of an item; `own` holds the name for the call.
HParamBlockRec AccessRecord(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, Str255 own)
{
    CopyName(name, own);
    HParamBlockRec pb{};
    pb.accessParam.ioVRefNum = vRefNum;
    pb.accessParam.ioDirID = dirID;
    pb.accessParam.ioNamePtr = own;
    return pb;
}

} // namespace

OSErr MakeFileSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, FSSpec* spec)
{
    // The triple as given stands where the platform cannot fill the specification; a
    // name too long for it stays out rather than be cut into another item's name.
    Str255 own;
    CopyName(name, own);
    *spec = FSSpec{vRefNum, dirID, {}};
    if (own[0] < sizeof spec->name)
        std::memcpy(spec->name, own, own[0] + 1u);
    return FSMakeFSSpec(vRefNum, dirID, own, spec);
}

FSSpec ItemSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name)
{
    FSSpec spec{vRefNum, dirID, {}};
    if (name && name[0] != 0)
        MakeFileSpec(vRefNum, dirID, name, &spec);
    return spec;
}

OSErr GetFileInfos(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, CInfoPBRec* pb)
{
    Str255 own;
    CopyName(name, own);
    *pb = CInfoPBRec{};
    pb->hFileInfo.ioVRefNum = vRefNum;
    pb->hFileInfo.ioDirID = dirID;
    pb->hFileInfo.ioNamePtr = own;
    const OSErr err = own[0] == 0 ? OSErr(fnfErr) : PBGetCatInfoSync(pb);
    pb->hFileInfo.ioNamePtr = nullptr;
    return err;
}

OSErr SetFileInfos(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, CInfoPBRec* pb)
{
    Str255 own;
    CopyName(name, own);
    CInfoPBRec record = *pb;
    record.hFileInfo.ioVRefNum = vRefNum;
    record.hFileInfo.ioDirID = dirID;
    record.hFileInfo.ioNamePtr = own;
    return own[0] == 0 ? OSErr(fnfErr) : PBSetCatInfoSync(&record);
}

Boolean ExistsOnDisk(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name)
{
    CInfoPBRec pb;
    return GetFileInfos(vRefNum, dirID, name, &pb) == noErr;
}

UInt64 GetFileSize(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name)
{
    FSSpec spec;
    FSRef ref;
    FSCatalogInfo info;
    if (MakeFileSpec(vRefNum, dirID, name, &spec) != noErr || FSpMakeFSRef(&spec, &ref) != noErr ||
        FSGetCatalogInfo(&ref, kFSCatInfoNodeFlags | kFSCatInfoDataSizes | kFSCatInfoRsrcSizes, &info, nullptr, nullptr, nullptr) != noErr ||
        (info.nodeFlags & kFSNodeIsDirectoryMask))
        return 0;
    return info.dataLogicalSize + info.rsrcLogicalSize;
}

OSErr GetSizeInVolume(SInt16 vRefNum, UInt32* usedKB, UInt32* freeKB)
{
    XVolumeParam pb{};
    pb.ioVRefNum = vRefNum;
    const OSErr err = PBXGetVolInfoSync(&pb);
    const UInt64 freeK = err ? 0 : pb.ioVFreeBytes >> 10;
    if (freeKB)
        *freeKB = UInt32(freeK);
    if (usedKB)
        *usedKB = err ? 0 : UInt32((pb.ioVTotalBytes >> 10) - freeK);
    return err;
}

OSErr GetOwner(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, SInt32* owner, SInt32* group, SInt32* access)
{
    Str255 own;
    HParamBlockRec pb = AccessRecord(vRefNum, dirID, name, own);
    const OSErr err = PBHGetDirAccessSync(&pb);
    *owner = pb.accessParam.ioACOwnerID;
    *group = pb.accessParam.ioACGroupID;
    *access = pb.accessParam.ioACAccess;
    return err;
}

OSErr SetOwner(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, SInt32 owner, SInt32 group, SInt32 access)
{
    Str255 own;
    HParamBlockRec pb = AccessRecord(vRefNum, dirID, name, own);
    pb.accessParam.ioACOwnerID = owner;
    pb.accessParam.ioACGroupID = group;
    pb.accessParam.ioACAccess = access;
    return PBHSetDirAccessSync(&pb);
}

} // namespace ItemCalls
