#include "platform/ListingCache.h"

#include <sys/stat.h>

#include "platform/PosixError.h"

OSErr ListingCache::Get(const Key& key, const std::string& path, dev_t volumeDevice, FolderListing** out)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return OSErrFromErrno(errno);
    const FolderListing::Stamp now{info.st_dev, info.st_ino, info.st_mtim, info.st_ctim};
    const auto it = mSlots.find(key);
    if (it != mSlots.end() && it->second.listing->FolderStamp() == now) {
        mUse.splice(mUse.begin(), mUse, it->second.use);
        *out = it->second.listing.get();
        return noErr;
    }
    std::unique_ptr<FolderListing> listing;
    if (const OSErr err = FolderListing::Read(path, info.st_dev != volumeDevice, &listing))
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

void ListingCache::Restamp(const Key& key, const std::string& path)
{
    FolderListing* listing = Cached(key);
    struct stat info;
    if (listing && stat(path.c_str(), &info) == 0)
        listing->FolderStamp() = FolderListing::Stamp{info.st_dev, info.st_ino, info.st_mtim, info.st_ctim};
}
