// The File Manager's volume calls over the volume list.

#include <fcntl.h>
#include <linux/cdrom.h>
#include <linux/loop.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cstring>

#include "platform/Catalog.h"
#include "platform/Files.h"
#include "platform/MacDates.h"
#include "platform/MacNames.h"
#include "platform/PosixError.h"

namespace {

const VolumeEntry* FindVolume(SInt16 index, SInt16 vRefNum, ConstStr255Param name)
{
    VolumeList& volumes = VolumeList::Shared();
    // A remount changes a volume's locks: read the table afresh when it changed.
    if (index <= 0)
        volumes.RefreshIfChanged();
    if (index > 0)
        return volumes.ByIndex(index);
    if (index == 0)
        return volumes.ByRefNum(vRefNum);
    std::string wanted = MacNames::FromPascal(name);
    // A volume name may come as a path: "Name:".
    if (wanted.ends_with(':'))
        wanted.pop_back();
    for (int n = 1; const VolumeEntry* volume = volumes.ByIndex(n); ++n) {
        if (Catalog::RootName(*volume) == wanted)
            return volume;
    }
    return nullptr;
}

struct VolumeFacts {
    UInt64 totalBytes = 0;
    UInt64 freeBytes = 0;
    SInt32 fileCount = 0;
    SInt16 attributes = 0;
};

OSErr ReadFacts(const VolumeEntry& volume, VolumeFacts* facts)
{
    struct statfs info;
    if (statfs(volume.mountPoint.c_str(), &info) != 0)
        return OSErrFromErrno(errno);
    facts->totalBytes = UInt64(info.f_blocks) * UInt64(info.f_frsize);
    facts->freeBytes = UInt64(info.f_bavail) * UInt64(info.f_frsize);
    facts->fileCount = info.f_files > info.f_ffree ? SInt32(std::min<UInt64>(info.f_files - info.f_ffree, 0x7FFFFFFF)) : 0;
    facts->attributes = SInt16((volume.readOnly ? kSoftwareLockMask : 0) | (volume.hardwareLock ? kHardwareLockMask : 0));
    return noErr;
}

void ReturnName(const VolumeEntry& volume, StringPtr name)
{
    if (name)
        MacNames::ToPascal(Catalog::RootName(volume), name);
}

} // namespace

OSErr PBHGetVInfoSync(HParamBlockRec* pb)
{
    if (!pb)
        return paramErr;
    HVolumeParam& param = pb->volumeParam;
    const VolumeEntry* volume = FindVolume(param.ioVolIndex, param.ioVRefNum, param.ioNamePtr);
    VolumeFacts facts;
    OSErr err = volume ? ReadFacts(*volume, &facts) : OSErr(nsvErr);
    if (!err) {
        ReturnName(*volume, param.ioNamePtr);
        param.ioVRefNum = volume->vRefNum;
        struct statx root {};
        statx(AT_FDCWD, volume->mountPoint.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &root);
        const auto created = (root.stx_mask & STATX_BTIME) ? root.stx_btime : root.stx_mtime;
        param.ioVCrDate = MacDates::LocalSecondsFromTime(time_t(created.tv_sec));
        param.ioVLsMod = MacDates::LocalSecondsFromTime(time_t(root.stx_mtime.tv_sec));
        param.ioVAtrb = facts.attributes;
        param.ioVNmFls = 0;
        // The classic record counts in 16 bits: the block size grows until it fits.
        UInt64 blockSize = 512;
        while (facts.totalBytes / blockSize > 0xFFFF)
            blockSize *= 2;
        param.ioVNmAlBlks = UInt16(facts.totalBytes / blockSize);
        param.ioVAlBlkSiz = SInt32(blockSize);
        param.ioVFrBlk = UInt16(facts.freeBytes / blockSize);
        param.ioVDRefNum = 0;
        param.ioVFSID = 0;
        param.ioVBkUp = 0;
        param.ioVFilCnt = facts.fileCount;
        param.ioVDirCnt = 0;
    }
    param.ioResult = err;
    return err;
}

OSErr PBXGetVolInfoSync(XVolumeParam* pb)
{
    if (!pb)
        return paramErr;
    const VolumeEntry* volume = FindVolume(pb->ioVolIndex, pb->ioVRefNum, pb->ioNamePtr);
    VolumeFacts facts;
    OSErr err = volume ? ReadFacts(*volume, &facts) : OSErr(nsvErr);
    if (!err) {
        ReturnName(*volume, pb->ioNamePtr);
        pb->ioVRefNum = volume->vRefNum;
        pb->ioVAtrb = facts.attributes;
        pb->ioVFilCnt = facts.fileCount;
        pb->ioVTotalBytes = facts.totalBytes;
        pb->ioVFreeBytes = facts.freeBytes;
    }
    pb->ioResult = err;
    return err;
}

// Mount information exists for server volumes only: the server's address.
OSErr PBHGetVolMountInfoSize(HParamBlockRec* pb)
{
    MountInfoParam& param = pb->mountInfoParam;
    const VolumeEntry* volume = VolumeList::Shared().ByRefNum(param.ioVRefNum);
    OSErr err = !volume ? OSErr(nsvErr) : !volume->server ? OSErr(paramErr) : OSErr(noErr);
    if (!err) {
        const SInt16 size = SInt16(std::min<std::size_t>(volume->source.size() + 1, 0x7FFF));
        std::memcpy(param.ioBuffer, &size, sizeof size);
    }
    param.ioResult = err;
    return err;
}

OSErr PBHGetVolMountInfo(HParamBlockRec* pb)
{
    MountInfoParam& param = pb->mountInfoParam;
    const VolumeEntry* volume = VolumeList::Shared().ByRefNum(param.ioVRefNum);
    OSErr err = !volume ? OSErr(nsvErr) : !volume->server ? OSErr(paramErr) : OSErr(noErr);
    if (!err)
        std::memcpy(param.ioBuffer, volume->source.c_str(), volume->source.size() + 1);
    param.ioResult = err;
    return err;
}

OSErr PBUnmountVol(SInt16 vRefNum)
{
    const VolumeEntry* volume = VolumeList::Shared().ByRefNum(vRefNum);
    if (!volume)
        return nsvErr;
    if (volume->vRefNum == kStartupVolumeRefNum)
        return fBsyErr;
    const std::string source = volume->source;
    if (umount2(volume->mountPoint.c_str(), 0) != 0)
        return OSErrFromErrno(errno);
    // A loop device mounted without auto-clear stays attached: detach it. An optical
    // disc comes out of its drive.
    if (source.starts_with("/dev/loop") || source.starts_with("/dev/sr")) {
        const int fd = open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            ioctl(fd, source.starts_with("/dev/loop") ? LOOP_CLR_FD : CDROMEJECT, 0);
            close(fd);
        }
    }
    VolumeList::Shared().Refresh();
    return noErr;
}

OSErr FlushVol(ConstStr63Param volName, SInt16 vRefNum)
{
    const VolumeEntry* volume = FindVolume(volName && volName[0] ? -1 : 0, vRefNum, volName);
    if (!volume)
        return nsvErr;
    const int fd = open(volume->mountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return OSErrFromErrno(errno);
    const int status = syncfs(fd);
    const int error = errno;
    close(fd);
    return status == 0 ? OSErr(noErr) : OSErrFromErrno(error);
}

OSErr GetMountFlags(const char* path, UInt32* flags)
{
    if (!path)
        return paramErr;
    VolumeList::Shared().Refresh();
    const VolumeEntry* volume = VolumeList::Shared().ByPath(path);
    if (!volume)
        return nsvErr;
    *flags = (volume->readOnly ? UInt32(MNT_RDONLY) : 0u) | (volume->ignoresOwnership ? UInt32(MNT_IGNORE_OWNERSHIP) : 0u);
    return noErr;
}
