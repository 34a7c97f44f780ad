#include "platform/DirectoryTable.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <vector>

#include "platform/Files.h"

namespace {

// Deeper than any real hierarchy; a cycle in a corrupt table ends here.
constexpr int kMaxDepth = 4096;

bool SameBirth(const timespec& a, const timespec& b)
{
    const bool unknown = (a.tv_sec == 0 && a.tv_nsec == 0) || (b.tv_sec == 0 && b.tv_nsec == 0);
    return unknown || (a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec);
}

} // namespace

int StatWithBirth(const std::string& path, bool follow, struct stat* info, timespec* birth, bool* immutable)
{
    struct statx status;
    if (statx(AT_FDCWD, path.c_str(), follow ? 0 : AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &status) != 0)
        return -1;
    *info = {};
    info->st_dev = makedev(status.stx_dev_major, status.stx_dev_minor);
    info->st_ino = status.stx_ino;
    info->st_mode = status.stx_mode;
    info->st_nlink = status.stx_nlink;
    info->st_uid = status.stx_uid;
    info->st_gid = status.stx_gid;
    info->st_rdev = makedev(status.stx_rdev_major, status.stx_rdev_minor);
    info->st_size = off_t(status.stx_size);
    info->st_blksize = blksize_t(status.stx_blksize);
    info->st_blocks = blkcnt_t(status.stx_blocks);
    info->st_atim = timespec{status.stx_atime.tv_sec, status.stx_atime.tv_nsec};
    info->st_mtim = timespec{status.stx_mtime.tv_sec, status.stx_mtime.tv_nsec};
    info->st_ctim = timespec{status.stx_ctime.tv_sec, status.stx_ctime.tv_nsec};
    *birth = (status.stx_mask & STATX_BTIME) ? timespec{status.stx_btime.tv_sec, status.stx_btime.tv_nsec} : timespec{};
    if (immutable)
        *immutable = (status.stx_attributes_mask & STATX_ATTR_IMMUTABLE) && (status.stx_attributes & STATX_ATTR_IMMUTABLE);
    return 0;
}

DirectoryTable::DirectoryTable(std::string rootPath, const struct stat& root, const timespec& birth)
    : mRootPath(std::move(rootPath))
{
    mFolders[fsRtDirID] = Folder{fsRtParID, "", root.st_dev, root.st_ino, birth};
    mByInode[{root.st_dev, root.st_ino}] = fsRtDirID;
}

SInt32 DirectoryTable::IDFor(const struct stat& info, const timespec& birth, SInt32 parentID, const std::string& name)
{
    const auto known = mByInode.find({info.st_dev, info.st_ino});
    if (known != mByInode.end()) {
        Folder& folder = mFolders[known->second];
        if (known->second == fsRtDirID)
            return fsRtDirID;
        if (SameBirth(folder.birth, birth)) {
            folder.parentID = parentID;
            folder.name = name;
            return known->second;
        }
        Removed(known->second);
    }
    const SInt32 dirID = mNextID++;
    mFolders[dirID] = Folder{parentID, name, info.st_dev, info.st_ino, birth};
    mByInode[{info.st_dev, info.st_ino}] = dirID;
    return dirID;
}

const DirectoryTable::Folder* DirectoryTable::Find(SInt32 dirID) const
{
    const auto it = mFolders.find(dirID);
    return it == mFolders.end() ? nullptr : &it->second;
}

OSErr DirectoryTable::PathOf(SInt32 dirID, std::string* path, struct stat* info, timespec* birth, bool* immutable) const
{
    const Folder* folder = Find(dirID);
    if (!folder)
        return dirNFErr;
    std::vector<const std::string*> names;
    for (SInt32 id = dirID; id != fsRtDirID;) {
        const Folder* step = Find(id);
        if (!step || names.size() > kMaxDepth)
            return dirNFErr;
        names.push_back(&step->name);
        id = step->parentID;
    }
    std::string result = mRootPath;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        if (result.back() != '/')
            result += '/';
        result += **it;
    }
    // The root is its mount point, followed; below it nothing is followed.
    if (StatWithBirth(result, dirID == fsRtDirID, info, birth, immutable) != 0 || !S_ISDIR(info->st_mode) ||
        info->st_dev != folder->device || info->st_ino != folder->inode || !SameBirth(*birth, folder->birth))
        return dirNFErr;
    *path = std::move(result);
    return noErr;
}

void DirectoryTable::Moved(SInt32 dirID, SInt32 newParentID, const std::string& newName)
{
    const auto it = mFolders.find(dirID);
    if (it != mFolders.end() && dirID != fsRtDirID) {
        it->second.parentID = newParentID;
        it->second.name = newName;
    }
}

void DirectoryTable::Removed(SInt32 dirID)
{
    const auto it = mFolders.find(dirID);
    if (it == mFolders.end() || dirID == fsRtDirID)
        return;
    mByInode.erase({it->second.device, it->second.inode});
    mFolders.erase(it);
}
