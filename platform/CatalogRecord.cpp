#include "platform/CatalogRecord.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/ExtendedAttributes.h"
#include "platform/MacDates.h"
#include "platform/PosixError.h"

namespace CatalogRecord {

namespace {

constexpr OSType kSymbolicLinkType = MakeOSType("slnk");
constexpr OSType kSymbolicLinkCreator = MakeOSType("rhap");
constexpr OSType kApplicationType = MakeOSType("APPL");

// The records report the status that the lookup of the item has just read.
timespec Birth(const CatalogItem& item)
{
    return item.birth.tv_sec != 0 || item.birth.tv_nsec != 0 ? item.birth : item.info.st_mtim;
}

bool IsElfProgram(const CatalogItem& item)
{
    if (!S_ISREG(item.info.st_mode) || !(item.info.st_mode & 0111))
        return false;
    const int fd = open(item.path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    char magic[4] = {};
    const bool elf = read(fd, magic, sizeof magic) == 4 && std::memcmp(magic, "\x7F" "ELF", 4) == 0;
    close(fd);
    return elf;
}

// What the item reports without stored Finder information.
FinderInfoBytes ImpliedFinderInfo(const CatalogItem& item)
{
    FinderInfoBytes bytes{};
    if (S_ISLNK(item.info.st_mode))
        FinderInfo::SetType(bytes, kSymbolicLinkType, kSymbolicLinkCreator);
    else if (IsElfProgram(item))
        FinderInfo::SetType(bytes, kApplicationType, 0);
    if (item.name.starts_with("."))
        FinderInfo::SetFlags(bytes, kIsInvisible);
    return bytes;
}

OSErr StatAgain(CatalogItem& item)
{
    if (!item.Restat())
        return OSErrFromErrno(errno);
    return noErr;
}

// Puts a new node made by `make` at a temporary name in place of the item, so the
// item is never missing: rename replaces it in one step.
template <typename Make>
OSErr ReplaceWithNode(CatalogItem& item, Make make)
{
    // A short name beside the item: the item's own name may already use all 255 bytes.
    const std::string folder = item.path.substr(0, item.path.size() - item.name.size());
    const std::string temporary = folder + ".varno-node-" + std::to_string(getpid());
    if (make(temporary.c_str()) != 0)
        return OSErrFromErrno(errno);
    if (rename(temporary.c_str(), item.path.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return OSErrFromErrno(error);
    }
    if (const OSErr err = StatAgain(item))
        return err;
    Catalog::Shared().Added(item);
    return noErr;
}

OSErr MakeSymbolicLink(CatalogItem& item)
{
    if (S_ISLNK(item.info.st_mode))
        return noErr;
    if (!S_ISREG(item.info.st_mode) || item.info.st_size <= 0 || item.info.st_size >= PATH_MAX)
        return paramErr;
    std::string target(std::size_t(item.info.st_size), '\0');
    const int fd = open(item.path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return OSErrFromErrno(errno);
    const ssize_t length = read(fd, target.data(), target.size());
    close(fd);
    if (length != ssize_t(target.size()) || target.find('\0') != std::string::npos)
        return paramErr;
    return ReplaceWithNode(item, [&](const char* path) { return symlink(target.c_str(), path); });
}

OSErr MakeNode(CatalogItem& item, mode_t mode, UInt32 deviceWord)
{
    const mode_t type = mode & S_IFMT;
    if (type == 0 || type == (item.info.st_mode & S_IFMT))
        return noErr;
    if (type != S_IFIFO && type != S_IFCHR && type != S_IFBLK)
        return type == S_IFSOCK ? OSErr(paramErr) : OSErr(noErr);
    if (!S_ISREG(item.info.st_mode) || item.info.st_size != 0)
        return paramErr;
    return ReplaceWithNode(item, [&](const char* path) {
        return mknod(path, type | (mode & 07777), DeviceFromWord(deviceWord));
    });
}

OSErr WriteFinderInfo(CatalogItem& item, const FinderInfoBytes& bytes)
{
    if (S_ISREG(item.info.st_mode) && FinderInfo::Type(bytes) == kSymbolicLinkType &&
        FinderInfo::Creator(bytes) == kSymbolicLinkCreator)
        return MakeSymbolicLink(item);
    // Links and nodes cannot hold user attributes; what they report is implied.
    if (!S_ISREG(item.info.st_mode) && !S_ISDIR(item.info.st_mode))
        return noErr;
    std::optional<std::string> stored;
    if (const OSErr err = ExtendedAttributes::Get(item.path, ExtendedAttributes::kFinderInfo, &stored))
        return err;
    // What the item implies anyway is not stored, so no attribute appears needlessly.
    const bool implied = bytes == ImpliedFinderInfo(item);
    if (implied && !stored)
        return noErr;
    const auto value = implied ? std::nullopt : std::optional<std::string>(std::string(bytes.begin(), bytes.end()));
    const OSErr err = ExtendedAttributes::Set(item.path, ExtendedAttributes::kFinderInfo, value);
    // A volume without extended attributes (vfat) keeps no Finder information, as a
    // copy onto such a volume expects; a resource fork, which is data, is refused there.
    return err == extFSErr ? OSErr(noErr) : err;
}

// Sets the access and modification times; UTIME_OMIT leaves one as it is.
OSErr WriteTimes(const CatalogItem& item, const timespec& access, const timespec& modification)
{
    const timespec times[2] = {access, modification};
    if (utimensat(AT_FDCWD, item.path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        return OSErrFromErrno(errno);
    return noErr;
}

// The exact time when `date` still says it, else the date itself.
timespec ChosenTime(const UTCDateTime& date, const timespec& exact)
{
    return MacDates::SameDate(date, MacDates::UTCDateTimeFromTimespec(exact)) ? exact
                                                                              : MacDates::TimespecFromUTCDateTime(date);
}

// The Finder information as reported: stored, or implied by the item (a link's
// type, an ELF program's 'APPL', the invisible flag of a name starting with ".").
OSErr ReadFinderInfo(const CatalogItem& item, FinderInfoBytes* bytes)
{
    std::optional<std::string> stored;
    if (S_ISREG(item.info.st_mode) || S_ISDIR(item.info.st_mode)) {
        if (const OSErr err = ExtendedAttributes::Get(item.path, ExtendedAttributes::kFinderInfo, &stored))
            return err;
    }
    if (stored && stored->size() == kFinderInfoSize) {
        std::copy(stored->begin(), stored->end(), bytes->begin());
        if (item.name.starts_with("."))
            FinderInfo::SetFlags(*bytes, FinderInfo::Flags(*bytes) | kIsInvisible);
    } else {
        *bytes = ImpliedFinderInfo(item);
    }
    return noErr;
}

OSErr IsLocked(const CatalogItem& item, bool* locked)
{
    CatalogItem now = item;
    if (!now.Restat())
        return OSErrFromErrno(errno);
    *locked = now.immutable;
    return noErr;
}

// A mount point inside a volume shows as an empty folder of that volume; its
// information belongs to the file system mounted there and is not changed.
bool AnotherFileSystem(const CatalogItem& item)
{
    return item.info.st_dev != item.volume->device;
}

SInt32 Clamped(UInt64 size)
{
    return SInt32(std::min<UInt64>(size, 0x7FFFFFFF));
}

} // namespace

UInt32 DeviceWord(dev_t device)
{
    return (UInt32(major(device)) << 20) | (UInt32(minor(device)) & 0xFFFFF);
}

dev_t DeviceFromWord(UInt32 word)
{
    return makedev(word >> 20, word & 0xFFFFF);
}

OSErr LockedAware(const CatalogItem& item, OSErr err)
{
    bool locked = false;
    if ((err == permErr || err == afpAccessDenied) && IsLocked(item, &locked) == noErr && locked)
        return fLckdErr;
    return err;
}

OSErr SetLocked(const CatalogItem& item, bool locked)
{
    if (AnotherFileSystem(item))
        return permErr;
    if (!S_ISREG(item.info.st_mode) && !S_ISDIR(item.info.st_mode))
        return paramErr;
    const int fd = open(item.path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return OSErrFromErrno(errno);
    int flags = 0;
    int status = ioctl(fd, FS_IOC_GETFLAGS, &flags);
    if (status == 0 && bool(flags & FS_IMMUTABLE_FL) != locked) {
        flags = locked ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        status = ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    const int error = errno;
    close(fd);
    if (status != 0)
        return error == ENOTTY || error == EOPNOTSUPP ? OSErr(paramErr) : OSErrFromErrno(error);
    return noErr;
}

OSErr GetClassic(const CatalogItem& item, CInfoPBRec* pb)
{
    FinderInfoBytes finderInfo;
    if (const OSErr err = ReadFinderInfo(item, &finderInfo))
        return err;
    Catalog& catalog = Catalog::Shared();
    const UInt32 created = MacDates::LocalSecondsFromTime(Birth(item).tv_sec);
    const UInt32 modified = MacDates::LocalSecondsFromTime(item.info.st_mtim.tv_sec);
    const SInt8 locked = item.immutable ? kioFlAttribLockedMask : 0;
    if (item.IsFolder()) {
        DirInfo& dir = pb->dirInfo;
        dir.ioFlAttrib = SInt8(kioFlAttribDirMask | locked);
        dir.ioACUser = 0;
        FinderInfo::Decode(finderInfo, &dir.ioDrUsrWds, &dir.ioDrFndrInfo);
        dir.ioDrDirID = SInt32(catalog.NodeID(item));
        dir.ioDrNmFls = UInt16(std::min<UInt32>(catalog.Valence(item), 0xFFFF));
        dir.ioDrCrDat = created;
        dir.ioDrMdDat = modified;
        dir.ioDrBkDat = 0;
        dir.ioDrParID = item.parentID;
        return noErr;
    }
    HFileInfo& file = pb->hFileInfo;
    file.ioFlAttrib = locked;
    file.ioACUser = 0;
    FinderInfo::Decode(finderInfo, &file.ioFlFndrInfo, &file.ioFlXFndrInfo);
    file.ioDirID = SInt32(catalog.NodeID(item));
    file.ioFlStBlk = 0;
    const bool hasData = S_ISREG(item.info.st_mode) || S_ISLNK(item.info.st_mode);
    file.ioFlLgLen = hasData ? Clamped(UInt64(item.info.st_size)) : 0;
    file.ioFlPyLen = hasData ? Clamped(UInt64(item.info.st_blocks) * 512) : 0;
    file.ioFlRStBlk = 0;
    const UInt64 resourceSize = ExtendedAttributes::SizeOf(item.path, ExtendedAttributes::kResourceFork);
    file.ioFlRLgLen = Clamped(resourceSize);
    file.ioFlRPyLen = Clamped(resourceSize);
    file.ioFlCrDat = created;
    file.ioFlMdDat = modified;
    file.ioFlBkDat = 0;
    file.ioFlParID = item.parentID;
    file.ioFlClpSiz = 0;
    return noErr;
}

OSErr SetClassic(CatalogItem& item, const CInfoPBRec& pb)
{
    if (AnotherFileSystem(item))
        return permErr;
    const FinderInfoBytes bytes = item.IsFolder() ? FinderInfo::Encode(pb.dirInfo.ioDrUsrWds, pb.dirInfo.ioDrFndrInfo)
                                                  : FinderInfo::Encode(pb.hFileInfo.ioFlFndrInfo, pb.hFileInfo.ioFlXFndrInfo);
    if (const OSErr err = WriteFinderInfo(item, bytes))
        return LockedAware(item, err);
    const UInt32 modified = item.IsFolder() ? pb.dirInfo.ioDrMdDat : pb.hFileInfo.ioFlMdDat;
    // The same second keeps its nanoseconds.
    if (modified == MacDates::LocalSecondsFromTime(item.info.st_mtim.tv_sec))
        return noErr;
    const timespec omit{0, UTIME_OMIT};
    return LockedAware(item, WriteTimes(item, omit, timespec{MacDates::TimeFromLocalSeconds(modified), 0}));
}

OSErr GetFull(const CatalogItem& item, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* info)
{
    Catalog& catalog = Catalog::Shared();
    info->nodeFlags = UInt16((item.IsFolder() ? kFSNodeIsDirectoryMask : 0) | (item.immutable ? kFSNodeLockedMask : 0));
    info->volume = item.volume->vRefNum;
    info->parentDirID = UInt32(item.parentID);
    info->nodeID = catalog.NodeID(item);
    info->sharingFlags = 0;
    info->userPrivileges = 0;
    info->exactAccessTime = item.info.st_atim;
    info->exactModificationTime = item.info.st_mtim;
    info->createDate = MacDates::UTCDateTimeFromTimespec(Birth(item));
    info->contentModDate = MacDates::UTCDateTimeFromTimespec(info->exactModificationTime);
    info->attributeModDate = MacDates::UTCDateTimeFromTimespec(item.info.st_ctim);
    info->accessDate = MacDates::UTCDateTimeFromTimespec(info->exactAccessTime);
    info->backupDate = UTCDateTime{};
    info->permissions[0] = item.info.st_uid;
    info->permissions[1] = item.info.st_gid;
    info->permissions[2] = item.info.st_mode;
    const bool device = S_ISCHR(item.info.st_mode) || S_ISBLK(item.info.st_mode);
    info->permissions[3] = device ? DeviceWord(item.info.st_rdev) : 0;
    if (whichInfo & (kFSCatInfoFinderInfo | kFSCatInfoFinderXInfo)) {
        FinderInfoBytes bytes;
        if (const OSErr err = ReadFinderInfo(item, &bytes))
            return err;
        std::copy(bytes.begin(), bytes.begin() + 16, info->finderInfo);
        std::copy(bytes.begin() + 16, bytes.end(), info->extFinderInfo);
    }
    info->valence = item.IsFolder() && (whichInfo & kFSCatInfoValence) ? catalog.Valence(item) : 0;
    const bool hasData = S_ISREG(item.info.st_mode) || S_ISLNK(item.info.st_mode);
    info->dataLogicalSize = hasData ? UInt64(item.info.st_size) : 0;
    info->dataPhysicalSize = hasData ? UInt64(item.info.st_blocks) * 512 : 0;
    const bool resource = !item.IsFolder() && (whichInfo & kFSCatInfoRsrcSizes);
    info->rsrcLogicalSize = resource ? ExtendedAttributes::SizeOf(item.path, ExtendedAttributes::kResourceFork) : 0;
    info->rsrcPhysicalSize = info->rsrcLogicalSize;
    info->textEncodingHint = kTextEncodingMacRoman;
    info->extendedAttributes.clear();
    info->extendedAttributesRead = false;
    if (!(whichInfo & kFSCatInfoPermissions))
        return noErr;
    const OSErr err = ExtendedAttributes::ReadOthers(item.path, &info->extendedAttributes);
    info->extendedAttributesRead = err == noErr;
    return err;
}

OSErr SetOwnerAndMode(const CatalogItem& item, uid_t owner, gid_t group, mode_t mode)
{
    if (AnotherFileSystem(item))
        return permErr;
    OSErr err = noErr;
    const bool ownerChanges = item.info.st_uid != owner || item.info.st_gid != group;
    if (ownerChanges && !item.volume->ignoresOwnership && lchown(item.path.c_str(), owner, group) != 0) {
        err = LockedAware(item, OSErrFromErrno(errno));
        // Set-uid and set-gid never go to an item whose owner could not be given.
        mode &= ~mode_t(S_ISUID | S_ISGID);
    }
    // Links have no mode of their own; a volume without owners may refuse modes.
    if (S_ISLNK(item.info.st_mode) || (!ownerChanges && (item.info.st_mode & 07777) == (mode & 07777)))
        return err;
    if (chmod(item.path.c_str(), mode & 07777) != 0 && !(item.volume->ignoresOwnership && errno == EPERM) && !err)
        err = LockedAware(item, OSErrFromErrno(errno));
    return err;
}

OSErr SetFull(CatalogItem& item, FSCatalogInfoBitmap whichInfo, const FSCatalogInfo& info)
{
    if (AnotherFileSystem(item))
        return permErr;
    // The node first: everything after applies to the node that stays.
    if (whichInfo & kFSCatInfoPermissions) {
        if (const OSErr err = MakeNode(item, mode_t(info.permissions[2]), info.permissions[3]))
            return err;
    }
    // Every later step is tried; the first failure is the answer.
    OSErr result = noErr;
    const auto keep = [&result](OSErr err) {
        if (!result)
            result = err;
    };
    if (whichInfo & kFSCatInfoFinderInfo) {
        FinderInfoBytes bytes;
        std::copy(info.finderInfo, info.finderInfo + 16, bytes.begin());
        std::copy(info.extFinderInfo, info.extFinderInfo + 16, bytes.begin() + 16);
        keep(LockedAware(item, WriteFinderInfo(item, bytes)));
    }
    // Owner before mode before the other attributes (a change of owner drops the
    // capabilities), ACLs after the mode they refine.
    if (whichInfo & kFSCatInfoPermissions) {
        keep(SetOwnerAndMode(item, uid_t(info.permissions[0]), gid_t(info.permissions[1]), mode_t(info.permissions[2])));
        if (info.extendedAttributesRead)
            keep(LockedAware(item, ExtendedAttributes::WriteOthers(item.path, info.extendedAttributes)));
    }
    // The times after everything that could change them.
    if (whichInfo & (kFSCatInfoContentMod | kFSCatInfoAccessDate)) {
        const timespec omit{0, UTIME_OMIT};
        const timespec access = (whichInfo & kFSCatInfoAccessDate) ? ChosenTime(info.accessDate, info.exactAccessTime) : omit;
        const timespec modification = (whichInfo & kFSCatInfoContentMod)
                                          ? ChosenTime(info.contentModDate, info.exactModificationTime)
                                          : omit;
        keep(LockedAware(item, WriteTimes(item, access, modification)));
    }
    // The lock last of all: it forbids every later change, even to root.
    if ((whichInfo & kFSCatInfoNodeFlags) && (S_ISREG(item.info.st_mode) || S_ISDIR(item.info.st_mode)))
        keep(SetLocked(item, info.nodeFlags & kFSNodeLockedMask));
    return result;
}

} // namespace CatalogRecord
