#include "platform/ListingCache.h"

#include <sys/stat.h>

#include "platform/PosixError.h"

OSErr ListingCache::Get(const Key& key, const std::string& path, const struct stat& folder, dev_t volumeDevice,
                        FolderListing** out)
{
    const FolderListing::Stamp now = FolderListing::StampOf(folder);
    const auto it = mSlots.find(key);
    if (it != mSlots.end() && it->second.listing->FolderStamp() == now) {
        mUse.splice(mUse.begin(), mUse, it->second.use);
        *out = it->second.listing.get();
        return noErr;
    }
    std::unique_ptr<FolderListing> listing;
    if (const OSErr err = FolderListing::Read(path, folder.st_dev != volumeDevice, &listing))
        return err;
    Forget(key);
    if (mSlots.size() >= kCapacity) {
        mSlots.erase(mUse.back());
        mUse.pop_back();
    }
    mUse.push_front(key);
    *out = listing.get();
    mSlots[key] = Slot{std::move(listing), mUse.begin()};
    return noErr;
}

FolderListing* ListingCache::Cached(const Key& key)
{
    const auto it = mSlots.find(key);
    return it == mSlots.end() ? nullptr : it->second.listing.get();
}

void ListingCache::Forget(const Key& key)
{
    const auto it = mSlots.find(key);
    if (it == mSlots.end())
        return;
    mUse.erase(it->second.use);
    mSlots.erase(it);
}
