// UFile: the mounted volumes.

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "filesystem/UFile.h"
#include "platform/Gestalt.h"
#include "toolkit/CStr255.h"

namespace UFile {

namespace {

constexpr SInt16 kMaxMountInfoSize = 8192;
constexpr long kPathSize = 1024;

long SystemVersion()
{
    long version = 0;
    return Gestalt(gestaltSystemVersion, &version) == noErr ? version : 0;
}

OSErr MountInfoCall(OSErr (*call)(HParamBlockRec*), ConstStr255Param name, short vRefNum, void* buffer)
{
    HParamBlockRec pb{};
    pb.mountInfoParam.ioNamePtr = const_cast<StringPtr>(name);
    pb.mountInfoParam.ioVRefNum = vRefNum;
    pb.mountInfoParam.ioBuffer = static_cast<Ptr>(buffer);
    return call(&pb);
}

} // namespace

short GetNthVolumeVRefNum(long n)
{
    HParamBlockRec pb{};
    pb.volumeParam.ioVolIndex = SInt16(n);
    return n > 0 && n <= 0x7FFF && PBHGetVInfoSync(&pb) == noErr ? pb.volumeParam.ioVRefNum : 0;
}

OSErr GetVolumeInfo(short vRefNum, HVolumeParam* pb, StringPtr nameOut)
{
    if (!pb)
        return paramErr;
    HParamBlockRec block{};
    block.volumeParam.ioVRefNum = vRefNum;
    block.volumeParam.ioNamePtr = nameOut;
    const OSErr err = PBHGetVInfoSync(&block);
    *pb = block.volumeParam;
    return err;
}

OSErr GetVolumeInfoX(short vRefNum, StringPtr nameOut, short* vRefNumOut, UInt64* freeBytes, UInt64* totalBytes)
{
    XVolumeParam pb{};
    pb.ioVRefNum = vRefNum;
    pb.ioNamePtr = nameOut;
    const OSErr err = PBXGetVolInfoSync(&pb);
    if (!err) {
        if (vRefNumOut)
            *vRefNumOut = pb.ioVRefNum;
        if (freeBytes)
            *freeBytes = pb.ioVFreeBytes;
        if (totalBytes)
            *totalBytes = pb.ioVTotalBytes;
    }
    return err;
}

OSErr GetVolumeName(short vRefNum, StringPtr name)
{
    HVolumeParam pb;
    return GetVolumeInfo(vRefNum, &pb, name);
}

short GetMountedVolume(ConstStr255Param name, Boolean last)
{
    short found = 0;
    for (long n = 1;; ++n) {
        Str255 volumeName{};
        HParamBlockRec pb{};
        pb.volumeParam.ioVolIndex = SInt16(n);
        pb.volumeParam.ioNamePtr = volumeName;
        if (PBHGetVInfoSync(&pb) != noErr)
            break;
        if (std::memcmp(volumeName, name, name[0] + 1u) == 0) {
            found = pb.volumeParam.ioVRefNum;
            if (!last)
                break;
        }
    }
    return found;
}

OSErr GetVolumeSpec(short vRefNum, FSSpec* out)
{
    Str255 name{};
    const OSErr err = GetVolumeName(vRefNum, name);
    return err ? err : MakeFileSpec(vRefNum, fsRtParID, name, out);
}

OSErr GetSizeInVolume(short vRefNum, unsigned long* usedKB, unsigned long* freeKB)
{
    UInt64 freeBytes = 0;
    UInt64 totalBytes = 0;
    const OSErr err = GetVolumeInfoX(vRefNum, nullptr, nullptr, &freeBytes, &totalBytes);
    // Both counts drop their partial kilobyte before the used space is taken.
    const UInt64 freeKilobytes = freeBytes >> 10;
    if (freeKB)
        *freeKB = err ? 0 : (unsigned long)freeKilobytes;
    if (usedKB)
        *usedKB = err ? 0 : (unsigned long)((totalBytes >> 10) - freeKilobytes);
    return err;
}

unsigned long GetVolumeSizeKB(short vRefNum)
{
    unsigned long used = 0;
    unsigned long free = 0;
    GetSizeInVolume(vRefNum, &used, &free);
    return used + free;
}

unsigned long GetNumFilesInVolume(short vRefNum)
{
    HVolumeParam pb;
    return GetVolumeInfo(vRefNum, &pb, nullptr) == noErr ? (unsigned long)pb.ioVFilCnt : 0;
}

OSErr DetermineVRefNum(short vRefNum, short* out)
{
    HVolumeParam pb;
    const OSErr err = GetVolumeInfo(vRefNum, &pb, nullptr);
    *out = err ? vRefNum : pb.ioVRefNum;
    return err;
}

Boolean IsVolume(short vRefNum, long dirID, ConstStr255Param name)
{
    Str255 volumeName{};
    return (dirID == 0 || dirID == fsRtParID) && name && GetVolumeName(vRefNum, volumeName) == noErr &&
           std::memcmp(volumeName, name, name[0] + 1u) == 0;
}

Boolean IsServer(short vRefNum)
{
    SInt16 size = 0;
    if (GetVolumeMountInfoSize(nullptr, vRefNum, &size) != noErr || size <= 0 || size > kMaxMountInfoSize)
        return false;
    char buffer[kMaxMountInfoSize];
    return GetVolumeMountInfo(nullptr, vRefNum, buffer) == noErr;
}

Boolean IsVolumeLocked(short vRefNum)
{
    HVolumeParam pb;
    return GetVolumeInfo(vRefNum, &pb, nullptr) != noErr || (pb.ioVAtrb & (kHardwareLockMask | kSoftwareLockMask));
}

OSErr UnmountAndEjectVolume(short vRefNum)
{
    return vRefNum == 0 ? OSErr(noErr) : PBUnmountVol(vRefNum);
}

OSErr GetVolumeMountInfoSize(ConstStr255Param name, short vRefNum, short* size)
{
    return MountInfoCall(PBHGetVolMountInfoSize, name, vRefNum, size);
}

OSErr GetVolumeMountInfo(ConstStr255Param name, short vRefNum, void* buffer)
{
    return MountInfoCall(PBHGetVolMountInfo, name, vRefNum, buffer);
}

OSErr GetVolumePath(short vRefNum, char* path)
{
    path[0] = 0;
    FSSpec root{};
    FSRef ref;
    OSErr err = GetVolumeSpec(vRefNum, &root);
    if (!err)
        err = FSpMakeFSRef(&root, &ref);
    if (!err)
        err = FSRefMakePath(&ref, reinterpret_cast<UInt8*>(path), kPathSize);
    return err;
}

OSErr SetVolumePermissions(short vRefNum, long mode)
{
    char path[kPathSize];
    const OSErr err = GetVolumePath(vRefNum, path);
    if (!err)
        chmod(path, mode_t(mode));
    return err;
}

OSErr SetVolumeOwner(short vRefNum, long uid, long gid)
{
    char path[kPathSize];
    const OSErr err = GetVolumePath(vRefNum, path);
    if (!err)
        [[maybe_unused]] const int ignored = chown(path, uid_t(uid), gid_t(gid));
    return err;
}

Boolean DoesVolumeIgnorePermissions(const char* path)
{
    UInt32 flags = 0;
    return path && GetMountFlags(path, &flags) == noErr && (flags & MNT_IGNORE_OWNERSHIP);
}

Boolean DoesVolumeIgnorePermissions(short vRefNum)
{
    char path[kPathSize];
    return GetVolumePath(vRefNum, path) == noErr && DoesVolumeIgnorePermissions(path);
}

Boolean IsMacOS_X_orHigher()
{
    return SystemVersion() >= 0x1000;
}

Boolean IsMacOS_9_orHigher()
{
    return SystemVersion() > 0x08FF;
}

} // namespace UFile
