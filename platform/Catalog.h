#pragma once
// The catalog of the mounted volumes: turns (volume, directory ID, name) into the
// item on disk and back, through each volume's directory table and the cached
// folder listings, and keeps both current for the changes made through the platform.
// A volume's catalog never crosses into another mounted file system: a mount point
// inside it is an empty folder.

#include <sys/stat.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/DirectoryTable.h"
#include "platform/Files.h"
#include "platform/ListingCache.h"
#include "platform/VolumeList.h"

// One item found in the catalog.
struct CatalogItem {
    const VolumeEntry* volume = nullptr;
    SInt32 parentID = 0; // fsRtParID for a volume's root
    std::string name;    // bytes on disk; empty for a volume's root
    std::string path;
    struct stat info {};
    timespec birth{};
    bool immutable = false; // the lock, read with the status
    std::string catalogName; // when the lookup already knew it

    bool IsRoot() const { return parentID == fsRtParID; }
    bool IsFolder() const { return S_ISDIR(info.st_mode); }
    // Reads the item's status afresh (a root's mount point followed, nothing else).
    bool Restat() { return StatWithBirth(path, IsRoot(), &info, &birth, &immutable) == 0; }
};

class Catalog {
public:
    static Catalog& Shared();

    // The folder `dirID` itself (2: the volume's root); dirNFErr when it is gone.
    OSErr Folder(SInt16 vRefNum, SInt32 dirID, CatalogItem* item);
    // The item of folder `dirID` named `macName`: its catalog name, long name or short
    // form; an empty name is the folder itself, and (vol, 1, volume name) the root.
    // fnfErr when it does not exist, with `item` holding the name it would have.
    OSErr Lookup(SInt16 vRefNum, SInt32 dirID, const std::string& macName, CatalogItem* item);
    // The item of folder `dirID` whose bytes on disk are `diskName`.
    OSErr LookupDisk(SInt16 vRefNum, SInt32 dirID, const std::string& diskName, CatalogItem* item);
    // Entry `index` (1-based) of folder `dirID`; fnfErr past the end.
    OSErr LookupIndex(SInt16 vRefNum, SInt32 dirID, std::size_t index, CatalogItem* item);

    // The name of a volume's root folder as the catalog shows it.
    static std::string RootName(const VolumeEntry& volume);

    // The item's directory ID (a folder) or node ID (a file).
    UInt32 NodeID(const CatalogItem& item);
    // The item's catalog name (at most 31 bytes).
    std::string CatalogName(const CatalogItem& item);
    // Files and folders directly in `folder`.
    UInt32 Valence(const CatalogItem& folder);

    // Changes made through the platform, kept in the table and the listings.
    void Added(const CatalogItem& item);
    void Removed(const CatalogItem& item);
    void Renamed(const CatalogItem& item, const std::string& newName);
    void Moved(const CatalogItem& item, SInt32 newParentID);

private:
    Catalog() = default;
    DirectoryTable* Table(const VolumeEntry& volume);
    OSErr Listing(const CatalogItem& folder, SInt32 dirID, FolderListing** listing);
    OSErr Child(const CatalogItem& folder, SInt32 dirID, const std::string& diskName, CatalogItem* item);
    OSErr FindByMacName(const CatalogItem& folder, SInt32 dirID, const std::string& macName, CatalogItem* item);
    FolderListing::NodeIDFunction NodeIDs(const CatalogItem& folder, SInt32 dirID);
    void Changed(const ListingCache::Key& key, int delta, const std::function<void(FolderListing&)>& edit);

    // A folder's number of entries, valid while the folder has this stamp.
    struct Count {
        FolderListing::Stamp stamp;
        UInt32 valence;
    };
    static constexpr std::size_t kValenceCapacity = 65536;

    std::map<SInt16, std::unique_ptr<DirectoryTable>> mTables;
    ListingCache mListings;
    std::map<ListingCache::Key, Count> mValences;
};
