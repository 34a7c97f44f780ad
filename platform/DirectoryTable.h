#pragma once
// The directory IDs of one volume. 2 is the root, 1 the parent of the root; other
// folders get IDs from 16 upward on first sight, keyed by device and inode, so a
// folder keeps its ID for the life of the process. Like the thread records of HFS+,
// each ID keeps its parent ID and name, so a folder's path is a walk up the table,
// checked against the folder's inode before it is used.

#include <sys/stat.h>
#include <sys/types.h>
#include <time.h>

#include <string>
#include <unordered_map>
#include <utility>

#include "platform/MacTypes.h"

// An item's status and birth time (zero where the file system keeps none), and
// whether it is immutable. With the device and inode, the birth tells a folder from a
// later one that reuses its inode.
int StatWithBirth(const std::string& path, bool follow, struct stat* info, timespec* birth, bool* immutable = nullptr);

class DirectoryTable {
public:
    struct Folder {
        SInt32 parentID;
        std::string name; // bytes on disk; empty for the root
        dev_t device;
        ino_t inode;
        timespec birth;
    };

    DirectoryTable(std::string rootPath, const struct stat& root, const timespec& birth);

    // The ID of the folder seen with `info` and `birth`, registered or brought up to
    // date with its parent and name as just seen. A new folder on the inode of a gone
    // one gets a new ID: the old ID stays "not found".
    SInt32 IDFor(const struct stat& info, const timespec& birth, SInt32 parentID, const std::string& name);
    const Folder* Find(SInt32 dirID) const;

    // The path of folder `dirID`: dirNFErr when the ID is unknown or the folder at
    // that path is no longer the one the ID stands for.
    OSErr PathOf(SInt32 dirID, std::string* path, struct stat* info, timespec* birth, bool* immutable) const;

    void Moved(SInt32 dirID, SInt32 newParentID, const std::string& newName);
    void Removed(SInt32 dirID);

private:
    struct InodeHash {
        std::size_t operator()(const std::pair<dev_t, ino_t>& key) const
        {
            return std::hash<UInt64>()(UInt64(key.first) * 1000003u ^ UInt64(key.second));
        }
    };

    std::string mRootPath;
    std::unordered_map<SInt32, Folder> mFolders;
    std::unordered_map<std::pair<dev_t, ino_t>, SInt32, InodeHash> mByInode;
    SInt32 mNextID = 16;
};
