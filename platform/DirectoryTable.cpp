#include "platform/DirectoryTable.h"

#include <sys/stat.h>

#include <vector>

#include "platform/Files.h"

namespace {
// Deeper than any real hierarchy; a cycle in a corrupt table ends here.
constexpr int kMaxDepth = 4096;
} // namespace

DirectoryTable::DirectoryTable(std::string rootPath, dev_t device, ino_t inode) : mRootPath(std::move(rootPath))
{
    mFolders[fsRtDirID] = Folder{fsRtParID, "", device, inode};
    mByInode[{device, inode}] = fsRtDirID;
}

SInt32 DirectoryTable::IDFor(dev_t device, ino_t inode, SInt32 parentID, const std::string& name)
{
    const auto known = mByInode.find({device, inode});
    if (known != mByInode.end()) {
        Folder& folder = mFolders[known->second];
        if (known->second != fsRtDirID) {
            folder.parentID = parentID;
            folder.name = name;
        }
        return known->second;
    }
    const SInt32 dirID = mNextID++;
    mFolders[dirID] = Folder{parentID, name, device, inode};
    mByInode[{device, inode}] = dirID;
    return dirID;
}

const DirectoryTable::Folder* DirectoryTable::Find(SInt32 dirID) const
{
    const auto it = mFolders.find(dirID);
    return it == mFolders.end() ? nullptr : &it->second;
}

OSErr DirectoryTable::PathOf(SInt32 dirID, std::string* path, struct stat* info) const
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
    const int status = dirID == fsRtDirID ? stat(result.c_str(), info) : lstat(result.c_str(), info);
    if (status != 0 || !S_ISDIR(info->st_mode) || info->st_dev != folder->device || info->st_ino != folder->inode)
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
