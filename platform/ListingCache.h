#pragma once
// The folder listings most recently used, kept while their folders are unchanged.
// Bounded: a walk keeps its ancestors' listings, a whole volume's do not pile up.

#include <list>
#include <map>
#include <memory>
#include <string>

#include "platform/FolderListing.h"

class ListingCache {
public:
    struct Key {
        SInt16 vRefNum;
        SInt32 dirID;
        auto operator<=>(const Key&) const = default;
    };

    // The listing of folder `key` at `path`, whose status was just read, read afresh
    // when the folder changed; empty when the folder lies on another device (a mount
    // point).
    OSErr Get(const Key& key, const std::string& path, const struct stat& folder, dev_t volumeDevice,
              FolderListing** out);
    // The cached listing of `key`, or null; for updates in place.
    FolderListing* Cached(const Key& key);
    void Forget(const Key& key);

private:
    static constexpr std::size_t kCapacity = 1024;
    struct Slot {
        std::unique_ptr<FolderListing> listing;
        std::list<Key>::iterator use;
    };
    std::map<Key, Slot> mSlots;
    std::list<Key> mUse; // most recent first
};
