#include "platform/FolderListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/MacNames.h"
#include "platform/PosixError.h"

namespace {

bool SameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool PlainShortName(const std::string& name)
{
    return name.size() <= MacNames::kCatalogNameLimit &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

} // namespace

bool FolderListing::IsOwnCatalogName(const std::string& diskName)
{
    if (!PlainShortName(diskName) || diskName.find('#') != std::string::npos)
        return false;
    const auto longName = MacNames::LongNameFromDisk(diskName);
    return longName && *longName == diskName;
}

FolderListing::Stamp FolderListing::StampOf(const struct stat& folder)
{
    return Stamp{folder.st_dev, folder.st_ino, folder.st_mtim, folder.st_ctim};
}

bool FolderListing::Stamp::operator==(const Stamp& other) const
{
    return device == other.device && inode == other.inode && SameTime(modified, other.modified) &&
           SameTime(changed, other.changed);
}

OSErr FolderListing::Read(const std::string& path, bool empty, std::unique_ptr<FolderListing>* out)
{
    auto listing = std::make_unique<FolderListing>();
    DIR* folder = opendir(path.c_str());
    if (!folder)
        return OSErrFromErrno(errno);
    struct stat info;
    if (fstat(dirfd(folder), &info) != 0) {
        const int error = errno;
        closedir(folder);
        return OSErrFromErrno(error);
    }
    listing->mStamp = StampOf(info);
    errno = 0;
    while (!empty) {
        errno = 0;
        const dirent* entry = readdir(folder);
        if (!entry)
            break;
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            listing->mEntries.push_back(Entry{name, entry->d_ino, false, std::nullopt, {}});
    }
    const int error = errno;
    closedir(folder);
    if (error != 0)
        return OSErrFromErrno(error);
    std::sort(listing->mEntries.begin(), listing->mEntries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    for (std::size_t i = 0; i < listing->mEntries.size(); ++i)
        listing->mByName.emplace(listing->mEntries[i].name, i);
    *out = std::move(listing);
    return noErr;
}

const FolderListing::Entry* FolderListing::At(std::size_t index)
{
    if (index == 0)
        return nullptr;
    if (index < mCursorIndex) {
        mCursorIndex = 1;
        mCursorPosition = 0;
    }
    while (mCursorPosition < mEntries.size()) {
        if (!mEntries[mCursorPosition].removed) {
            if (mCursorIndex == index)
                return &mEntries[mCursorPosition];
            ++mCursorIndex;
        }
        ++mCursorPosition;
    }
    return nullptr;
}

const FolderListing::Entry* FolderListing::Find(const std::string& diskName) const
{
    const auto it = mByName.find(diskName);
    return it == mByName.end() ? nullptr : &mEntries[it->second];
}

const FolderListing::Entry* FolderListing::FindMacName(const std::string& macName, const NodeIDFunction& nodeID)
{
    BuildNames(nodeID);
    const auto it = mByMacName.find(macName);
    return it == mByMacName.end() ? nullptr : &mEntries[it->second];
}

const FolderListing::Entry& FolderListing::Named(const Entry& entry, const NodeIDFunction& nodeID)
{
    // A short printable ASCII name is its own catalog name and cannot collide with
    // another entry's long name: no need to name the whole folder for it.
    if (entry.catalogName.empty() && IsOwnCatalogName(entry.name)) {
        Entry& named = mEntries[mByName.at(entry.name)];
        named.longName = entry.name;
        named.catalogName = entry.name;
    }
    if (entry.catalogName.empty())
        BuildNames(nodeID);
    return entry;
}

void FolderListing::BuildNames(const NodeIDFunction& nodeID)
{
    if (mNamed)
        return;
    mNamed = true;
    mNodeID = nodeID;
    for (Entry& entry : mEntries) {
        if (!entry.removed) {
            entry.longName = MacNames::LongNameFromDisk(entry.name);
            if (entry.longName)
                ++mLongNameCount[*entry.longName];
        }
    }
    for (std::size_t i = 0; i < mEntries.size(); ++i) {
        if (!mEntries[i].removed)
            NameEntry(i);
    }
}

// Two names that differ on disk but share a long name (NFC and NFD twins) both
// take the short form, so neither name leads to the other item.
void FolderListing::NameEntry(std::size_t position)
{
    Entry& entry = mEntries[position];
    const bool unique = entry.longName && mLongNameCount[*entry.longName] == 1;
    if (unique && entry.longName->size() <= MacNames::kCatalogNameLimit)
        entry.catalogName = *entry.longName;
    else
        entry.catalogName = MacNames::ShortCatalogName(entry.longName, entry.name, mNodeID(entry));
    // A real name can look like another item's short form: the later one then takes
    // a form no other entry holds, so no catalog name leads to two items.
    for (int variant = 1; mByMacName.contains(entry.catalogName); ++variant) {
        entry.catalogName = MacNames::ShortCatalogName(std::nullopt, "", mNodeID(entry));
        entry.catalogName += "~" + std::to_string(variant);
    }
    mByMacName.emplace(entry.catalogName, position);
    if (unique)
        mByMacName.emplace(*entry.longName, position);
    if (entry.catalogName != entry.longName) {
        if (const auto text = MacNames::UnicodeFromDisk(entry.name))
            MacNames::RememberMadeName(entry.catalogName, *text);
    }
}

void FolderListing::NameNewEntry(std::size_t position)
{
    Entry& entry = mEntries[position];
    entry.longName = MacNames::LongNameFromDisk(entry.name);
    if (entry.longName)
        ++mLongNameCount[*entry.longName];
    NameEntry(position);
}

void FolderListing::Add(const std::string& name, ino_t inode)
{
    // An item put in place of another of the same name keeps that one's place.
    if (const auto it = mByName.find(name); it != mByName.end()) {
        mEntries[it->second].inode = inode;
        return;
    }
    mEntries.push_back(Entry{name, inode, false, std::nullopt, {}});
    const std::size_t position = mEntries.size() - 1;
    mByName[name] = position;
    if (mNamed)
        NameNewEntry(position);
}

void FolderListing::Remove(const std::string& name)
{
    const auto it = mByName.find(name);
    if (it == mByName.end())
        return;
    const std::size_t position = it->second;
    mByName.erase(it);
    ForgetMacNames(position);
    mEntries[position].removed = true;
    ++mRemoved;
    if (position < mCursorPosition)
        --mCursorIndex;
    if (mRemoved > 64 && mRemoved * 2 > mEntries.size())
        Compact();
}

void FolderListing::Rename(const std::string& from, const std::string& to)
{
    const auto it = mByName.find(from);
    if (it == mByName.end() || from == to)
        return;
    const std::size_t position = it->second;
    mByName.erase(it);
    if (Find(to))
        Remove(to);
    ForgetMacNames(position);
    Entry& entry = mEntries[position];
    entry.name = to;
    entry.longName.reset();
    entry.catalogName.clear();
    mByName[to] = position;
    if (mNamed)
        NameNewEntry(position);
}

void FolderListing::ForgetMacNames(std::size_t position)
{
    const Entry& entry = mEntries[position];
    if (!mNamed)
        return;
    for (const std::string* name : {&entry.catalogName, entry.longName ? &*entry.longName : nullptr}) {
        const auto it = name ? mByMacName.find(*name) : mByMacName.end();
        if (it != mByMacName.end() && it->second == position)
            mByMacName.erase(it);
    }
    if (entry.longName)
        --mLongNameCount[*entry.longName];
}

void FolderListing::Compact()
{
    // Keep the cursor on the same entry through the compaction.
    std::size_t cursorPosition = 0;
    for (std::size_t i = 0; i < mCursorPosition && i < mEntries.size(); ++i)
        cursorPosition += mEntries[i].removed ? 0 : 1;
    std::erase_if(mEntries, [](const Entry& entry) { return entry.removed; });
    mRemoved = 0;
    mCursorPosition = cursorPosition;
    mByName.clear();
    for (std::size_t i = 0; i < mEntries.size(); ++i)
        mByName.emplace(mEntries[i].name, i);
    if (mNamed) {
        mNamed = false;
        mByMacName.clear();
        mLongNameCount.clear();
        BuildNames(mNodeID);
    }
}
