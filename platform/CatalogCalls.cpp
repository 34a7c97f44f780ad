// The File Manager's catalog calls over the catalog and the catalog records.

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "platform/AccessWord.h"
#include "platform/CatalogRecord.h"
#include "platform/Files.h"
#include "platform/MacDates.h"
#include "platform/MacNames.h"
#include "platform/PosixError.h"
#include "platform/TrashFolder.h"

namespace {

Catalog& TheCatalog()
{
    return Catalog::Shared();
}

OSErr Result(OSErr err, OSErr* ioResult)
{
    *ioResult = err;
    return err;
}

SInt32 DirectoryOrRoot(SInt32 dirID)
{
    return dirID == 0 ? SInt32(fsRtDirID) : dirID;
}

OSErr ItemFromSpec(const FSSpec* spec, CatalogItem* item)
{
    if (!spec)
        return paramErr;
    return TheCatalog().Lookup(spec->vRefNum, DirectoryOrRoot(spec->parID), MacNames::FromPascal(spec->name), item);
}

OSErr ItemFromRef(const FSRef* ref, CatalogItem* item)
{
    if (!ref || ref->vRefNum == 0)
        return paramErr;
    return TheCatalog().LookupDisk(ref->vRefNum, ref->parID, std::string(ref->name, ref->nameLength), item);
}

void MakeRef(const CatalogItem& item, FSRef* ref)
{
    if (!ref)
        return;
    ref->vRefNum = item.volume->vRefNum;
    ref->parID = item.parentID;
    ref->nameLength = UInt8(item.name.size());
    std::memcpy(ref->name, item.name.data(), item.name.size());
}

void MakeSpec(const CatalogItem& item, FSSpec* spec)
{
    if (!spec)
        return;
    spec->vRefNum = item.volume->vRefNum;
    spec->parID = item.parentID;
    MacNames::ToPascal(TheCatalog().CatalogName(item), spec->name);
}

// The folder named by a reference, with its directory ID.
OSErr FolderFromRef(const FSRef* ref, CatalogItem* folder, SInt32* dirID)
{
    if (const OSErr err = ItemFromRef(ref, folder))
        return err;
    if (!folder->IsFolder())
        return dirNFErr;
    *dirID = SInt32(TheCatalog().NodeID(*folder));
    return noErr;
}

OSErr DiskName(UniCharCount length, const UniChar* name, std::string* diskName)
{
    if (!name || length == 0 || length > MacNames::kUnicodeNameLimit)
        return bdNamErr;
    const auto bytes = MacNames::DiskFromUnicode(std::u16string_view(reinterpret_cast<const char16_t*>(name), length));
    if (!bytes || bytes->size() > 255)
        return bdNamErr;
    *diskName = *bytes;
    return noErr;
}

OSErr DiskNameFromMac(ConstStr255Param name, std::string* diskName)
{
    const auto bytes = MacNames::DiskFromUnicode(MacNames::UnicodeFromMacName(MacNames::FromPascal(name)));
    if (!bytes || bytes->size() > 255)
        return bdNamErr;
    *diskName = *bytes;
    return noErr;
}

// The item `make` creates where `item` would be; dupFNErr when something is there.
template <typename Make>
OSErr Create(CatalogItem& item, OSErr lookup, Make make)
{
    if (lookup == noErr)
        return dupFNErr;
    if (lookup != fnfErr)
        return lookup;
    if (make(item.path.c_str()) != 0)
        return OSErrFromErrno(errno);
    if (!item.Restat())
        return OSErrFromErrno(errno);
    TheCatalog().Added(item);
    return noErr;
}

int MakeFile(const char* path)
{
    const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    return fd < 0 ? -1 : close(fd);
}

int MakeFolder(const char* path)
{
    return mkdir(path, 0777);
}

OSErr Delete(const CatalogItem& item)
{
    if (item.IsRoot())
        return fBsyErr;
    const int status = item.IsFolder() ? rmdir(item.path.c_str()) : unlink(item.path.c_str());
    if (status != 0)
        return CatalogRecord::LockedAware(item, errno == EEXIST ? OSErr(fBsyErr) : OSErrFromErrno(errno));
    TheCatalog().Removed(item);
    return noErr;
}

// Renames or moves without ever replacing an item that is there.
OSErr Move(const CatalogItem& item, const std::string& newPath)
{
    if (item.IsRoot())
        return paramErr;
    if (renameat2(AT_FDCWD, item.path.c_str(), AT_FDCWD, newPath.c_str(), RENAME_NOREPLACE) != 0)
        return CatalogRecord::LockedAware(item, errno == EINVAL ? OSErr(badMovErr) : OSErrFromErrno(errno));
    return noErr;
}

OSErr Rename(CatalogItem& item, const std::string& newName, FSRef* newRef)
{
    if (item.IsRoot())
        return paramErr;
    if (newName != item.name) {
        const std::string newPath = item.path.substr(0, item.path.size() - item.name.size()) + newName;
        if (const OSErr err = Move(item, newPath))
            return err;
        TheCatalog().Renamed(item, newName);
        item.name = newName;
        item.path = newPath;
        item.catalogName.clear();
    }
    MakeRef(item, newRef);
    return noErr;
}

OSErr MoveInto(CatalogItem& item, const CatalogItem& folder, FSRef* newRef)
{
    if (!folder.IsFolder())
        return dirNFErr;
    if (folder.volume != item.volume)
        return badMovErr;
    const SInt32 folderID = SInt32(TheCatalog().NodeID(folder));
    if (folderID != item.parentID) {
        const std::string originalPath = item.path;
        if (const OSErr err = Move(item, folder.path + "/" + item.name))
            return err;
        TheCatalog().Moved(item, folderID);
        item.parentID = folderID;
        item.path = folder.path + "/" + item.name;
        item.catalogName.clear();
        // The item is in the trash either way; a missing record only loses where it came from.
        if (TrashFolder::IsFilesFolder(*item.volume, folder.path))
            TrashFolder::RecordItem(*item.volume, item.name, originalPath);
    }
    MakeRef(item, newRef);
    return noErr;
}

UInt32 CallerRights(const struct stat& info)
{
    const uid_t user = geteuid();
    if (user == 0)
        return AccessWord::kRead | AccessWord::kWrite | AccessWord::kExecute;
    const UInt32 word = AccessWord::FromMode(info.st_mode);
    if (user == info.st_uid)
        return word & 0xFF;
    if (getegid() == info.st_gid)
        return (word >> 8) & 0xFF;
    return (word >> 16) & 0xFF;
}

} // namespace

OSErr FSMakeFSSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, FSSpec* spec)
{
    if (!spec)
        return paramErr;
    const std::string macName = MacNames::FromPascal(name);
    CatalogItem item;
    const OSErr err = TheCatalog().Lookup(vRefNum, DirectoryOrRoot(dirID), macName, &item);
    if (err == noErr) {
        MakeSpec(item, spec);
        return noErr;
    }
    // An item that does not exist yet still gets its FSSpec, to create it by;
    // a name the FSSpec cannot hold is refused rather than cut.
    if (err == fnfErr && item.volume) {
        if (macName.size() >= sizeof(spec->name))
            return bdNamErr;
        spec->vRefNum = item.volume->vRefNum;
        spec->parID = DirectoryOrRoot(dirID);
        MacNames::ToPascal(macName, spec->name);
    }
    return err;
}

OSErr FSpMakeFSRef(const FSSpec* spec, FSRef* ref)
{
    CatalogItem item;
    if (const OSErr err = ItemFromSpec(spec, &item))
        return err;
    MakeRef(item, ref);
    return noErr;
}

OSErr FSMakeFSRefUnicode(const FSRef* parent, UniCharCount nameLength, const UniChar* name, TextEncoding,
                         FSRef* newRef)
{
    CatalogItem folder;
    SInt32 dirID = 0;
    std::string diskName;
    if (OSErr err = FolderFromRef(parent, &folder, &dirID); err || (err = DiskName(nameLength, name, &diskName)))
        return err;
    CatalogItem item;
    OSErr err = TheCatalog().LookupDisk(folder.volume->vRefNum, dirID, diskName, &item);
    if (err == fnfErr) {
        // The same text composed or decomposed names the same item.
        const std::u16string text(reinterpret_cast<const char16_t*>(name), nameLength);
        for (const auto& form : {MacNames::NormalizedNFC(text), MacNames::NormalizedNFD(text)}) {
            const auto bytes = MacNames::DiskFromUnicode(form);
            if (err == fnfErr && bytes && *bytes != diskName)
                err = TheCatalog().LookupDisk(folder.volume->vRefNum, dirID, *bytes, &item);
        }
    }
    if (!err)
        MakeRef(item, newRef);
    return err;
}

OSErr FSCompareFSRefs(const FSRef* a, const FSRef* b)
{
    CatalogItem first, second;
    if (OSErr err = ItemFromRef(a, &first); err || (err = ItemFromRef(b, &second)))
        return err;
    const bool same = first.info.st_dev == second.info.st_dev && first.info.st_ino == second.info.st_ino;
    return same ? OSErr(noErr) : OSErr(errFSRefsDifferent);
}

OSErr FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize)
{
    CatalogItem item;
    if (const OSErr err = ItemFromRef(ref, &item))
        return err;
    if (!path || item.path.size() + 1 > maxPathSize)
        return paramErr;
    std::memcpy(path, item.path.c_str(), item.path.size() + 1);
    return noErr;
}

OSErr FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory)
{
    if (!path)
        return paramErr;
    const std::filesystem::path given(reinterpret_cast<const char*>(path));
    std::error_code error;
    // Links on the way are followed, the last component is not.
    const std::filesystem::path folder = std::filesystem::canonical(given.parent_path().empty() ? "." : given.parent_path(), error);
    if (error)
        return fnfErr;
    const std::string leaf = given.filename().string();
    std::filesystem::path full = leaf.empty() || leaf == "." ? folder : folder / leaf;
    if (leaf == "..")
        full = folder.parent_path();
    // A mount point belongs to the volume mounted there, a link to its folder's.
    struct stat leafInfo;
    const bool link = lstat(full.c_str(), &leafInfo) == 0 && S_ISLNK(leafInfo.st_mode);
    const VolumeEntry* volume = VolumeList::Shared().ByPath(link ? folder.string() : full.string());
    if (!volume)
        return link ? OSErr(nsvErr) : OSErr(fnfErr);
    const std::filesystem::path relative = full.lexically_relative(volume->mountPoint);
    CatalogItem item;
    OSErr err = TheCatalog().Folder(volume->vRefNum, fsRtDirID, &item);
    for (const auto& component : relative) {
        if (err || component == ".")
            continue;
        if (component == ".." || !item.IsFolder())
            return fnfErr;
        const SInt32 dirID = SInt32(TheCatalog().NodeID(item));
        CatalogItem child;
        err = TheCatalog().LookupDisk(volume->vRefNum, dirID, component.string(), &child);
        item = std::move(child);
    }
    if (err)
        return err;
    MakeRef(item, ref);
    if (isDirectory)
        *isDirectory = item.IsFolder();
    return noErr;
}

OSErr PBGetCatInfoSync(CInfoPBRec* pb)
{
    if (!pb)
        return paramErr;
    HFileInfo& param = pb->hFileInfo;
    CatalogItem item;
    OSErr err;
    if (param.ioFDirIndex > 0)
        err = TheCatalog().LookupIndex(param.ioVRefNum, DirectoryOrRoot(param.ioDirID), std::size_t(param.ioFDirIndex), &item);
    else if (param.ioFDirIndex < 0)
        err = TheCatalog().Folder(param.ioVRefNum, DirectoryOrRoot(param.ioDirID), &item);
    else
        err = TheCatalog().Lookup(param.ioVRefNum, DirectoryOrRoot(param.ioDirID), MacNames::FromPascal(param.ioNamePtr), &item);
    if (!err)
        err = CatalogRecord::GetClassic(item, pb);
    if (!err && param.ioFDirIndex != 0 && param.ioNamePtr)
        MacNames::ToPascal(TheCatalog().CatalogName(item), param.ioNamePtr);
    return Result(err, &param.ioResult);
}

OSErr PBSetCatInfoSync(CInfoPBRec* pb)
{
    if (!pb)
        return paramErr;
    HFileInfo& param = pb->hFileInfo;
    CatalogItem item;
    OSErr err = TheCatalog().Lookup(param.ioVRefNum, DirectoryOrRoot(param.ioDirID), MacNames::FromPascal(param.ioNamePtr), &item);
    if (!err)
        err = CatalogRecord::SetClassic(item, *pb);
    return Result(err, &param.ioResult);
}

static void ReturnUnicodeName(const CatalogItem& item, HFSUniStr255* outName)
{
    if (!outName)
        return;
    const auto unicode = MacNames::UnicodeFromDisk(item.IsRoot() ? item.volume->name : item.name);
    outName->length = unicode ? UInt16(unicode->size()) : 0;
    if (unicode)
        std::copy(unicode->begin(), unicode->end(), outName->unicode);
}

static OSErr GetCatalogInfo(const CatalogItem& item, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* info,
                            HFSUniStr255* outName, FSSpec* spec, FSRef* parentRef)
{
    if (info) {
        if (const OSErr err = CatalogRecord::GetFull(item, whichInfo, info))
            return err;
    }
    ReturnUnicodeName(item, outName);
    MakeSpec(item, spec);
    if (parentRef) {
        CatalogItem parent;
        if (item.IsRoot()) {
            *parentRef = FSRef{};
        } else if (const OSErr err = TheCatalog().Folder(item.volume->vRefNum, item.parentID, &parent)) {
            return err;
        } else {
            MakeRef(parent, parentRef);
        }
    }
    return noErr;
}

OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* info, HFSUniStr255* outName,
                       FSSpec* spec, FSRef* parentRef)
{
    CatalogItem item;
    if (const OSErr err = ItemFromRef(ref, &item))
        return err;
    return GetCatalogInfo(item, whichInfo, info, outName, spec, parentRef);
}

OSErr FSGetCatalogInfo(const FSSpec* spec, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* info, HFSUniStr255* outName)
{
    CatalogItem item;
    if (const OSErr err = ItemFromSpec(spec, &item))
        return err;
    return GetCatalogInfo(item, whichInfo, info, outName, nullptr, nullptr);
}

OSErr FSSetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* info)
{
    CatalogItem item;
    if (!info)
        return paramErr;
    if (const OSErr err = ItemFromRef(ref, &item))
        return err;
    return CatalogRecord::SetFull(item, whichInfo, *info);
}

OSErr FSSetCatalogInfo(const FSSpec* spec, FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* info)
{
    CatalogItem item;
    if (!info)
        return paramErr;
    if (const OSErr err = ItemFromSpec(spec, &item))
        return err;
    return CatalogRecord::SetFull(item, whichInfo, *info);
}

OSErr PBHGetDirAccessSync(HParamBlockRec* pb)
{
    AccessParam& param = pb->accessParam;
    CatalogItem item;
    OSErr err = TheCatalog().Lookup(param.ioVRefNum, DirectoryOrRoot(param.ioDirID), MacNames::FromPascal(param.ioNamePtr), &item);
    if (!err) {
        param.ioACOwnerID = SInt32(item.info.st_uid);
        param.ioACGroupID = SInt32(item.info.st_gid);
        param.ioACAccess = SInt32(AccessWord::FromMode(item.info.st_mode) | (CallerRights(item.info) << 24));
    }
    return Result(err, &param.ioResult);
}

OSErr PBHSetDirAccessSync(HParamBlockRec* pb)
{
    AccessParam& param = pb->accessParam;
    CatalogItem item;
    OSErr err = TheCatalog().Lookup(param.ioVRefNum, DirectoryOrRoot(param.ioDirID), MacNames::FromPascal(param.ioNamePtr), &item);
    if (!err) {
        // The word replaces the nine permission bits; set-uid, set-gid and sticky stay.
        const mode_t mode = (item.info.st_mode & 07000) | AccessWord::ToMode(UInt32(param.ioACAccess));
        err = CatalogRecord::SetOwnerAndMode(item, uid_t(param.ioACOwnerID), gid_t(param.ioACGroupID), mode);
    }
    return Result(err, &param.ioResult);
}

OSErr PBHMapIDSync(HParamBlockRec* pb)
{
    ObjParam& param = pb->objParam;
    const char* name = nullptr;
    if (param.ioObjType == 1) {
        if (const passwd* user = getpwuid(uid_t(param.ioObjID)))
            name = user->pw_name;
    } else if (param.ioObjType == 2) {
        if (const group* entry = getgrgid(gid_t(param.ioObjID)))
            name = entry->gr_name;
    } else {
        return Result(paramErr, &param.ioResult);
    }
    if (name && param.ioObjNamePtr)
        MacNames::ToPascal(name, param.ioObjNamePtr);
    return Result(name ? OSErr(noErr) : OSErr(fnfErr), &param.ioResult);
}

OSErr PBHMapNameSync(HParamBlockRec* pb)
{
    ObjParam& param = pb->objParam;
    const std::string name = MacNames::FromPascal(param.ioObjNamePtr);
    bool found = false;
    if (param.ioObjType == 3) {
        if (const passwd* user = getpwnam(name.c_str())) {
            param.ioObjID = SInt32(user->pw_uid);
            found = true;
        }
    } else if (param.ioObjType == 4) {
        if (const group* entry = getgrnam(name.c_str())) {
            param.ioObjID = SInt32(entry->gr_gid);
            found = true;
        }
    } else {
        return Result(paramErr, &param.ioResult);
    }
    return Result(found ? OSErr(noErr) : OSErr(fnfErr), &param.ioResult);
}

OSErr FSpSetFLock(const FSSpec* spec)
{
    CatalogItem item;
    const OSErr err = ItemFromSpec(spec, &item);
    return err ? err : CatalogRecord::SetLocked(item, true);
}

OSErr FSpRstFLock(const FSSpec* spec)
{
    CatalogItem item;
    const OSErr err = ItemFromSpec(spec, &item);
    return err ? err : CatalogRecord::SetLocked(item, false);
}

OSErr FSpCreate(const FSSpec* spec, OSType creator, OSType fileType, SInt16)
{
    CatalogItem item;
    OSErr err = Create(item, ItemFromSpec(spec, &item), MakeFile);
    if (!err && (creator || fileType)) {
        CInfoPBRec pb{};
        pb.hFileInfo.ioFlFndrInfo.fdType = fileType;
        pb.hFileInfo.ioFlFndrInfo.fdCreator = creator;
        pb.hFileInfo.ioFlMdDat = MacDates::LocalSecondsFromTime(item.info.st_mtim.tv_sec);
        err = CatalogRecord::SetClassic(item, pb);
    }
    return err;
}

OSErr FSpDirCreate(const FSSpec* spec, SInt16, SInt32* createdDirID)
{
    CatalogItem item;
    const OSErr err = Create(item, ItemFromSpec(spec, &item), MakeFolder);
    if (!err && createdDirID)
        *createdDirID = SInt32(TheCatalog().NodeID(item));
    return err;
}

OSErr DirCreate(SInt16 vRefNum, SInt32 parentDirID, ConstStr255Param name, SInt32* createdDirID)
{
    FSSpec spec{};
    const OSErr err = FSMakeFSSpec(vRefNum, parentDirID, name, &spec);
    if (err != fnfErr)
        return err == noErr ? OSErr(dupFNErr) : err;
    return FSpDirCreate(&spec, 0, createdDirID);
}

template <typename Make>
static OSErr CreateUnicode(const FSRef* parent, UniCharCount nameLength, const UniChar* name,
                           FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* info, Make make, CatalogItem* item)
{
    CatalogItem folder;
    SInt32 dirID = 0;
    std::string diskName;
    if (OSErr err = FolderFromRef(parent, &folder, &dirID); err || (err = DiskName(nameLength, name, &diskName)))
        return err;
    OSErr err = Create(*item, TheCatalog().LookupDisk(folder.volume->vRefNum, dirID, diskName, item), make);
    if (!err && info && whichInfo)
        err = CatalogRecord::SetFull(*item, whichInfo, *info);
    return err;
}

OSErr FSCreateFileUnicode(const FSRef* parent, UniCharCount nameLength, const UniChar* name,
                          FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* info, FSRef* newRef, FSSpec* newSpec)
{
    CatalogItem item;
    const OSErr err = CreateUnicode(parent, nameLength, name, whichInfo, info, MakeFile, &item);
    if (item.volume && !item.name.empty() && item.Restat()) {
        MakeRef(item, newRef);
        MakeSpec(item, newSpec);
    }
    return err;
}

OSErr FSCreateDirectoryUnicode(const FSRef* parent, UniCharCount nameLength, const UniChar* name,
                               FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* info, FSRef* newRef,
                               FSSpec* newSpec, UInt32* newDirID)
{
    CatalogItem item;
    const OSErr err = CreateUnicode(parent, nameLength, name, whichInfo, info, MakeFolder, &item);
    if (item.volume && !item.name.empty() && item.Restat()) {
        MakeRef(item, newRef);
        MakeSpec(item, newSpec);
        if (newDirID && item.IsFolder())
            *newDirID = TheCatalog().NodeID(item);
    }
    return err;
}

OSErr FSpDelete(const FSSpec* spec)
{
    CatalogItem item;
    const OSErr err = ItemFromSpec(spec, &item);
    return err ? err : Delete(item);
}

OSErr FSDeleteObject(const FSRef* ref)
{
    CatalogItem item;
    const OSErr err = ItemFromRef(ref, &item);
    return err ? err : Delete(item);
}

OSErr FSpRename(const FSSpec* spec, ConstStr255Param newName)
{
    CatalogItem item;
    std::string diskName;
    if (OSErr err = ItemFromSpec(spec, &item); err || (err = DiskNameFromMac(newName, &diskName)))
        return err;
    return Rename(item, diskName, nullptr);
}

OSErr FSRenameUnicode(const FSRef* ref, UniCharCount nameLength, const UniChar* name, TextEncoding, FSRef* newRef)
{
    CatalogItem item;
    std::string diskName;
    if (OSErr err = ItemFromRef(ref, &item); err || (err = DiskName(nameLength, name, &diskName)))
        return err;
    return Rename(item, diskName, newRef);
}

OSErr FSpCatMove(const FSSpec* source, const FSSpec* destinationFolder)
{
    CatalogItem item, folder;
    if (OSErr err = ItemFromSpec(source, &item); err || (err = ItemFromSpec(destinationFolder, &folder)))
        return err;
    return MoveInto(item, folder, nullptr);
}

OSErr FSMoveObject(const FSRef* ref, const FSRef* destinationFolder, FSRef* newRef)
{
    CatalogItem item, folder;
    if (OSErr err = ItemFromRef(ref, &item); err || (err = ItemFromRef(destinationFolder, &folder)))
        return err;
    return MoveInto(item, folder, newRef);
}

// The bulk iterator walks a folder by index, like the indexed catalog reads.
struct OpaqueFSIterator {
    SInt16 vRefNum;
    SInt32 dirID;
    std::size_t next;
};

OSErr FSOpenIterator(const FSRef* container, UInt32 iteratorFlags, FSIterator* iterator)
{
    if (!iterator || iteratorFlags != kFSIterateFlat)
        return paramErr;
    CatalogItem folder;
    SInt32 dirID = 0;
    if (const OSErr err = FolderFromRef(container, &folder, &dirID))
        return err;
    *iterator = new OpaqueFSIterator{folder.volume->vRefNum, dirID, 1};
    return noErr;
}

OSErr FSCloseIterator(FSIterator iterator)
{
    delete iterator;
    return noErr;
}

OSErr FSGetCatalogInfoBulk(FSIterator iterator, ItemCount maximumObjects, ItemCount* actualObjects,
                           Boolean* containerChanged, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfos,
                           FSRef* refs, FSSpec* specs, HFSUniStr255* names)
{
    if (!iterator || !actualObjects)
        return paramErr;
    if (containerChanged)
        *containerChanged = false;
    *actualObjects = 0;
    while (*actualObjects < maximumObjects) {
        CatalogItem item;
        OSErr err = TheCatalog().LookupIndex(iterator->vRefNum, iterator->dirID, iterator->next, &item);
        if (err == fnfErr)
            return *actualObjects ? OSErr(noErr) : OSErr(errFSNoMoreItems);
        const std::size_t at = *actualObjects;
        if (!err && catalogInfos)
            err = CatalogRecord::GetFull(item, whichInfo, &catalogInfos[at]);
        if (err)
            return err;
        MakeRef(item, refs ? &refs[at] : nullptr);
        MakeSpec(item, specs ? &specs[at] : nullptr);
        ReturnUnicodeName(item, names ? &names[at] : nullptr);
        ++iterator->next;
        ++*actualObjects;
    }
    return noErr;
}
