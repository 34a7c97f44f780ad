#include "platform/Catalog.h"

#include <dirent.h>

#include <algorithm>
#include <cstring>

#include "platform/Files.h"
#include "platform/MacNames.h"
#include "platform/PosixError.h"

namespace {

std::string ChildPath(const std::string& folder, const std::string& name)
{
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool NeedsListing(const std::string& macName)
{
    return macName.size() > MacNames::kCatalogNameLimit || macName.find('#') != std::string::npos ||
           std::any_of(macName.begin(), macName.end(), [](char c) { return UInt8(c) >= 0x80; });
}

} // namespace

std::string Catalog::RootName(const VolumeEntry& volume)
{
    const auto longName = MacNames::LongNameFromDisk(volume.name);
    if (longName && longName->size() <= MacNames::kCatalogNameLimit)
        return *longName;
    return MacNames::ShortCatalogName(longName, volume.name, fsRtDirID);
}

Catalog& Catalog::Shared()
{
    static Catalog catalog;
    return catalog;
}

DirectoryTable* Catalog::Table(const VolumeEntry& volume)
{
    auto& table = mTables[volume.vRefNum];
    if (!table) {
        struct stat info;
        timespec birth;
        if (StatWithBirth(volume.mountPoint, true, &info, &birth) != 0)
            return nullptr;
        table = std::make_unique<DirectoryTable>(volume.mountPoint, info, birth);
    }
    return table.get();
}

OSErr Catalog::Folder(SInt16 vRefNum, SInt32 dirID, CatalogItem* item)
{
    // The folder's own check (its device and inode) shows an unmounted volume too;
    // only then is the volume checked, for the error code.
    const VolumeEntry* volume = VolumeList::Shared().Known(vRefNum);
    if (!volume)
        return nsvErr;
    DirectoryTable* table = Table(*volume);
    if (!table)
        return nsvErr;
    const DirectoryTable::Folder* folder = table->Find(dirID);
    if (!folder)
        return dirNFErr;
    CatalogItem result;
    result.volume = volume;
    result.parentID = folder->parentID;
    result.name = folder->name;
    if (const OSErr err = table->PathOf(dirID, &result.path, &result.info, &result.birth, &result.immutable))
        return VolumeList::Shared().ByRefNum(vRefNum) ? err : OSErr(nsvErr);
    *item = std::move(result);
    return noErr;
}

OSErr Catalog::Child(const CatalogItem& folder, SInt32 dirID, const std::string& diskName, CatalogItem* item)
{
    item->volume = folder.volume;
    item->parentID = dirID;
    item->name = diskName;
    item->path.clear();
    if (diskName.empty() || diskName.find('/') != std::string::npos || diskName == "." || diskName == "..")
        return bdNamErr;
    // A mount point inside the volume is an empty folder, and nothing is made in it
    // (without a path, a missing item cannot be created).
    if (folder.info.st_dev != folder.volume->device)
        return fnfErr;
    item->path = ChildPath(folder.path, diskName);
    if (!item->Restat())
        return errno == ENOTDIR ? OSErr(dirNFErr) : OSErrFromErrno(errno);
    if (item->IsFolder())
        Table(*folder.volume)->IDFor(item->info, item->birth, dirID, diskName);
    return noErr;
}

OSErr Catalog::Lookup(SInt16 vRefNum, SInt32 dirID, const std::string& macName, CatalogItem* item)
{
    if (dirID == fsRtParID) {
        const VolumeEntry* volume = VolumeList::Shared().ByRefNum(vRefNum);
        if (!volume)
            return nsvErr;
        if (!macName.empty() && macName != RootName(*volume) && MacNames::LongNameFromDisk(volume->name) != macName)
            return fnfErr;
        return Folder(vRefNum, fsRtDirID, item);
    }
    CatalogItem folder;
    if (const OSErr err = Folder(vRefNum, dirID, &folder))
        return err;
    if (macName.empty()) {
        *item = std::move(folder);
        return noErr;
    }
    // A name with "#" may be another item's short form: the folder's names decide.
    const bool shortForm = macName.find('#') != std::string::npos;
    if (shortForm && FindByMacName(folder, dirID, macName, item) == noErr)
        return noErr;
    const std::u16string unicode = MacNames::UnicodeFromMacName(macName);
    const auto diskName = MacNames::DiskFromUnicode(unicode);
    OSErr err = diskName ? Child(folder, dirID, *diskName, item) : OSErr(bdNamErr);
    if (err == fnfErr) {
        // Names written by macOS arrive decomposed.
        const auto decomposed = MacNames::DiskFromUnicode(MacNames::NormalizedNFD(unicode));
        CatalogItem other;
        if (decomposed && decomposed != diskName && Child(folder, dirID, *decomposed, &other) == noErr) {
            *item = std::move(other);
            return noErr;
        }
    }
    if ((err == fnfErr || err == bdNamErr) && !shortForm && NeedsListing(macName)) {
        CatalogItem found;
        if (FindByMacName(folder, dirID, macName, &found) == noErr) {
            *item = std::move(found);
            return noErr;
        }
    }
    return err;
}

OSErr Catalog::FindByMacName(const CatalogItem& folder, SInt32 dirID, const std::string& macName, CatalogItem* item)
{
    FolderListing* listing = nullptr;
    if (const OSErr err = Listing(folder, dirID, &listing))
        return err;
    const FolderListing::Entry* entry = listing->FindMacName(macName, NodeIDs(folder, dirID));
    if (!entry)
        return fnfErr;
    const std::string name = entry->name;
    return Child(folder, dirID, name, item);
}

OSErr Catalog::LookupDisk(SInt16 vRefNum, SInt32 dirID, const std::string& diskName, CatalogItem* item)
{
    CatalogItem folder;
    if (dirID == fsRtParID)
        return diskName.empty() ? Folder(vRefNum, fsRtDirID, item) : OSErr(fnfErr);
    if (const OSErr err = Folder(vRefNum, dirID, &folder))
        return err;
    if (diskName.empty()) {
        *item = std::move(folder);
        return noErr;
    }
    return Child(folder, dirID, diskName, item);
}

OSErr Catalog::LookupIndex(SInt16 vRefNum, SInt32 dirID, std::size_t index, CatalogItem* item)
{
    CatalogItem folder;
    if (const OSErr err = Folder(vRefNum, dirID, &folder))
        return err;
    for (int attempt = 0; attempt < 2; ++attempt) {
        FolderListing* listing = nullptr;
        if (const OSErr err = Listing(folder, dirID, &listing))
            return err;
        const FolderListing::Entry* entry = listing->At(index);
        if (!entry)
            return fnfErr;
        const OSErr err = Child(folder, dirID, entry->name, item);
        if (err == noErr)
            item->catalogName = listing->Named(*entry, NodeIDs(folder, dirID)).catalogName;
        if (err != fnfErr)
            return err;
        // Gone behind the listing's back within the same instant: read the folder again.
        mListings.Forget({vRefNum, dirID});
    }
    return fnfErr;
}

OSErr Catalog::Listing(const CatalogItem& folder, SInt32 dirID, FolderListing** listing)
{
    return mListings.Get({folder.volume->vRefNum, dirID}, folder.path, folder.info, folder.volume->device, listing);
}

FolderListing::NodeIDFunction Catalog::NodeIDs(const CatalogItem& folder, SInt32 dirID)
{
    const SInt16 vRefNum = folder.volume->vRefNum;
    const std::string path = folder.path;
    return [this, vRefNum, dirID, path](const FolderListing::Entry& entry) -> UInt32 {
        struct stat info;
        timespec birth;
        const auto table = mTables.find(vRefNum);
        if (table == mTables.end() || StatWithBirth(ChildPath(path, entry.name), false, &info, &birth) != 0)
            return UInt32(entry.inode);
        if (S_ISDIR(info.st_mode))
            return UInt32(table->second->IDFor(info, birth, dirID, entry.name));
        return UInt32(info.st_ino);
    };
}

UInt32 Catalog::NodeID(const CatalogItem& item)
{
    if (item.IsRoot())
        return fsRtDirID;
    if (item.IsFolder())
        return UInt32(Table(*item.volume)->IDFor(item.info, item.birth, item.parentID, item.name));
    return UInt32(item.info.st_ino);
}

std::string Catalog::CatalogName(const CatalogItem& item)
{
    if (item.IsRoot())
        return RootName(*item.volume);
    if (!item.catalogName.empty())
        return item.catalogName;
    if (FolderListing::IsOwnCatalogName(item.name))
        return item.name;
    CatalogItem folder;
    FolderListing* listing = nullptr;
    if (Folder(item.volume->vRefNum, item.parentID, &folder) == noErr && Listing(folder, item.parentID, &listing) == noErr) {
        if (const FolderListing::Entry* entry = listing->Find(item.name))
            return listing->Named(*entry, NodeIDs(folder, item.parentID)).catalogName;
    }
    const auto longName = MacNames::LongNameFromDisk(item.name);
    if (longName && longName->size() <= MacNames::kCatalogNameLimit)
        return *longName;
    std::string shortForm = MacNames::ShortCatalogName(longName, item.name, NodeID(item));
    if (const auto text = MacNames::UnicodeFromDisk(item.name))
        MacNames::RememberMadeName(shortForm, *text);
    return shortForm;
}

UInt32 Catalog::Valence(const CatalogItem& folder)
{
    // Counted without caching the listing: a walk reads every subfolder's count, and
    // caching them all would push its own ancestors' listings out. The count alone is
    // kept, so a folder being filled is not read again for every item.
    if (folder.info.st_dev != folder.volume->device)
        return 0;
    const ListingCache::Key key{folder.volume->vRefNum, SInt32(NodeID(folder))};
    const FolderListing::Stamp now = FolderListing::StampOf(folder.info);
    if (const auto known = mValences.find(key); known != mValences.end() && known->second.stamp == now)
        return known->second.valence;
    DIR* entries = opendir(folder.path.c_str());
    if (!entries)
        return 0;
    UInt32 count = 0;
    while (const dirent* entry = readdir(entries)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            ++count;
    }
    closedir(entries);
    if (mValences.size() >= kValenceCapacity)
        mValences.clear();
    mValences[key] = Count{now, count};
    return count;
}

// A change made through the platform in folder `key`: its cached listing and count
// follow it, and take the folder's new state as their own.
void Catalog::Changed(const ListingCache::Key& key, int delta, const std::function<void(FolderListing&)>& edit)
{
    FolderListing* listing = mListings.Cached(key);
    const auto count = mValences.find(key);
    if (!listing && count == mValences.end())
        return;
    if (listing)
        edit(*listing);
    CatalogItem folder;
    const bool found = Folder(key.vRefNum, key.dirID, &folder) == noErr;
    if (listing && found)
        listing->FolderStamp() = FolderListing::StampOf(folder.info);
    if (count != mValences.end() && found)
        count->second = Count{FolderListing::StampOf(folder.info), UInt32(SInt64(count->second.valence) + delta)};
    else if (count != mValences.end())
        mValences.erase(count);
}

void Catalog::Added(const CatalogItem& item)
{
    Changed({item.volume->vRefNum, item.parentID}, 1,
            [&](FolderListing& listing) { listing.Add(item.name, item.info.st_ino); });
    NodeID(item);
}

void Catalog::Removed(const CatalogItem& item)
{
    const SInt16 vRefNum = item.volume->vRefNum;
    Changed({vRefNum, item.parentID}, -1, [&](FolderListing& listing) { listing.Remove(item.name); });
    if (item.IsFolder()) {
        const SInt32 dirID = SInt32(NodeID(item));
        mListings.Forget({vRefNum, dirID});
        mValences.erase({vRefNum, dirID});
        Table(*item.volume)->Removed(dirID);
    }
}

void Catalog::Renamed(const CatalogItem& item, const std::string& newName)
{
    Changed({item.volume->vRefNum, item.parentID}, 0,
            [&](FolderListing& listing) { listing.Rename(item.name, newName); });
    if (item.IsFolder())
        Table(*item.volume)->Moved(SInt32(NodeID(item)), item.parentID, newName);
}

void Catalog::Moved(const CatalogItem& item, SInt32 newParentID)
{
    const SInt16 vRefNum = item.volume->vRefNum;
    Changed({vRefNum, item.parentID}, -1, [&](FolderListing& listing) { listing.Remove(item.name); });
    Changed({vRefNum, newParentID}, 1, [&](FolderListing& listing) { listing.Add(item.name, item.info.st_ino); });
    if (item.IsFolder())
        Table(*item.volume)->Moved(SInt32(NodeID(item)), newParentID, item.name);
}
