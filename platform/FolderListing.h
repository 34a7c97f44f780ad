#pragma once
// One folder's entries in a stable order, with lookups by on-disk, long and catalog
// name. Read once in byte order of the names ("." and ".." left out); the platform's
// own changes then update it in place: a removed entry leaves the listing without
// moving the others, an added one goes at the end, a renamed one keeps its place. So
// a loop over indexes that deletes as it goes costs O(1) per step.

#include <sys/stat.h>
#include <sys/types.h>
#include <time.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/MacTypes.h"

class FolderListing {
public:
    struct Entry {
        std::string name; // bytes on disk
        ino_t inode = 0;
        bool removed = false;
        std::optional<std::string> longName;
        std::string catalogName;
    };

    // The node ID that an entry's short catalog name carries.
    using NodeIDFunction = std::function<UInt32(const Entry&)>;

    // What the folder looked like when read; the listing holds while it is unchanged.
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        timespec modified{};
        timespec changed{};
        bool operator==(const Stamp& other) const;
    };

    // Whether a name on disk is its own catalog name whatever else the folder holds:
    // short printable ASCII without "#" that reads the same as a long name.
    static bool IsOwnCatalogName(const std::string& diskName);
    // The stamp of a folder with this status.
    static Stamp StampOf(const struct stat& folder);

    // The entries of the folder at `path`; an empty listing when `empty` (a mount point).
    static OSErr Read(const std::string& path, bool empty, std::unique_ptr<FolderListing>* out);

    Stamp& FolderStamp() { return mStamp; }
    std::size_t Count() const { return mEntries.size() - mRemoved; }

    // Entry `index` (1-based) among those present; null past the end.
    const Entry* At(std::size_t index);
    const Entry* Find(const std::string& diskName) const;
    // The entry whose catalog or long name is `macName`.
    const Entry* FindMacName(const std::string& macName, const NodeIDFunction& nodeID);
    // `entry` with its long and catalog names filled in.
    const Entry& Named(const Entry& entry, const NodeIDFunction& nodeID);

    void Add(const std::string& name, ino_t inode);
    void Remove(const std::string& name);
    void Rename(const std::string& from, const std::string& to);

private:
    void BuildNames(const NodeIDFunction& nodeID);
    void NameEntry(std::size_t position);
    void NameNewEntry(std::size_t position);
    void ForgetMacNames(std::size_t position);
    void Compact();

    Stamp mStamp;
    std::vector<Entry> mEntries;
    std::size_t mRemoved = 0;
    std::unordered_map<std::string, std::size_t> mByName;
    // Built on first need: catalog and long names of every entry.
    bool mNamed = false;
    NodeIDFunction mNodeID;
    std::unordered_map<std::string, std::size_t> mByMacName;
    std::unordered_map<std::string, std::size_t> mLongNameCount;
    // The last index read and its place: the number of entries present before
    // mCursorPosition is mCursorIndex - 1.
    std::size_t mCursorIndex = 1;
    std::size_t mCursorPosition = 0;
};
