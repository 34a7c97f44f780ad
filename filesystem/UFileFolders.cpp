// UFile: sizes, and folders created or re-created like their sources.

#include <cstring>
#include <vector>

#include "filesystem/UFile.h"

#include "filesystem/CFolderAccess.h"
#include "toolkit/CStr255.h"

namespace UFile {

namespace {

constexpr short kLastCatalogIndex = 32767;
constexpr std::size_t kMaxFolderLevels = 64;

// The classic record of folder `dirID` itself.
OSErr FolderInfo(short vol, long dirID, CInfoPBRec* pb)
{
    std::memset(pb, 0, sizeof *pb);
    Str255 name{};
    pb->dirInfo.ioVRefNum = vol;
    pb->dirInfo.ioDrDirID = SInt32(dirID);
    pb->dirInfo.ioFDirIndex = -1;
    pb->dirInfo.ioNamePtr = name;
    const OSErr err = PBGetCatInfoSync(pb);
    pb->dirInfo.ioNamePtr = nullptr;
    return err;
}

// Creates the folder named by the Unicode name in `parent`, or finds the folder there;
// dupFNErr when a file holds the name.
OSErr CreateUnicodeFolder(short dstVol, long dstParentID, const FSRef& parent, const HFSUniStr255& name, long* newID)
{
    UInt32 createdID = 0;
    OSErr err = FSCreateDirectoryUnicode(&parent, name.length, name.unicode, kFSCatInfoNone, nullptr, nullptr, nullptr,
                                         &createdID);
    if (err && err != dupFNErr) {
        CFolderAccess access{SInt16(dstVol), SInt32(dstParentID)};
        access.SetAllAccess();
        err = FSCreateDirectoryUnicode(&parent, name.length, name.unicode, kFSCatInfoNone, nullptr, nullptr, nullptr,
                                       &createdID);
    }
    if (err == dupFNErr) {
        FSRef existing;
        FSCatalogInfo info{};
        if (FSMakeFSRefUnicode(&parent, name.length, name.unicode, kTextEncodingUnknown, &existing) == noErr &&
            FSGetCatalogInfo(&existing, kFSCatInfoNodeFlags | kFSCatInfoNodeID, &info, nullptr, nullptr, nullptr) ==
                noErr &&
            (info.nodeFlags & kFSNodeIsDirectoryMask)) {
            createdID = info.nodeID;
            err = noErr;
        }
    }
    if (!err)
        *newID = long(createdID);
    return err;
}

} // namespace

unsigned long GetFileSize(short vol, long dir, ConstStr255Param name)
{
    CInfoPBRec pb;
    if (GetFileInfos(vol, dir, name, &pb) != noErr)
        return 0;
    return UInt32(pb.hFileInfo.ioFlLgLen) + UInt32(pb.hFileInfo.ioFlRLgLen);
}

OSErr GetFileU64ForkSizes(short vol, long dir, ConstStr255Param name, UInt64* data, UInt64* rsrc)
{
    FSCatalogInfo info{};
    const OSErr err = GetMacOSXInfos(vol, dir, name, &info, nullptr, kForkSizesInfo);
    *data = err ? 0 : info.dataLogicalSize;
    *rsrc = err ? 0 : info.rsrcLogicalSize;
    return err;
}

OSErr GetFileU64Size(short vol, long dir, ConstStr255Param name, UInt64* total)
{
    UInt64 data = 0;
    UInt64 rsrc = 0;
    const OSErr err = GetFileU64ForkSizes(vol, dir, name, &data, &rsrc);
    *total = data + rsrc;
    return err;
}

unsigned long GetFileSizeKB(short vol, long dir, ConstStr255Param name)
{
    long dirID = 0;
    Str255 folderName;
    CStr255::CopyPString(name, folderName);
    if (IsFolder(vol, dir, name) && GetFolderContentID(vol, dir, folderName, &dirID))
        return GetFolderSizeKB(vol, dirID, false);
    UInt64 total = 0;
    GetFileU64Size(vol, dir, name, &total);
    return UInt32((total + 1023) / 1024);
}

unsigned long GetFolderSizeKB(short vol, long dirID, Boolean topLevelOnly)
{
    unsigned long kilobytes = 0;
    for (short index = 1; index <= kLastCatalogIndex; ++index) {
        CInfoPBRec pb{};
        Str255 name{};
        pb.hFileInfo.ioVRefNum = vol;
        pb.hFileInfo.ioDirID = SInt32(dirID);
        pb.hFileInfo.ioFDirIndex = index;
        pb.hFileInfo.ioNamePtr = name;
        if (PBGetCatInfoSync(&pb) != noErr)
            break;
        if (!(pb.hFileInfo.ioFlAttrib & kioFlAttribDirMask))
            kilobytes += GetFileSizeKB(vol, dirID, name);
        else if (!topLevelOnly)
            kilobytes += GetFolderSizeKB(vol, pb.dirInfo.ioDrDirID, false);
    }
    return kilobytes;
}

OSErr DuplicateFolderHierarchy(short vol, long dirID, long stopDirID, short dstVol, long* dstDirID, Boolean skipTop,
                               Boolean full)
{
    if (dirID == stopDirID)
        return noErr;
    // The chain from dirID upwards, deepest first, is known whole before anything is made.
    std::vector<FSSpec> chain;
    for (long folder = dirID;;) {
        FSSpec entry{};
        if (GetParentID(vol, folder, &entry) != noErr)
            break;
        if (chain.size() == kMaxFolderLevels)
            return fnfErr;
        chain.push_back(entry);
        if (entry.parID == stopDirID || folder == fsRtDirID)
            break;
        folder = entry.parID;
    }
    if (skipTop && !chain.empty())
        chain.pop_back();
    OSErr err = noErr;
    for (auto entry = chain.rbegin(); entry != chain.rend() && !err; ++entry)
        err = DuplicateFolder(vol, entry->parID, entry->name, dstVol, *dstDirID, dstDirID, full);
    return err;
}

OSErr DuplicateFolder(short vol, long parentID, ConstStr255Param name, short dstVol, long dstParentID, long* newID,
                      Boolean full)
{
    long sourceID = 0;
    Str255 sourceName;
    CStr255::CopyPString(name, sourceName);
    if (parentID != fsRtParID && GetFolderContentID(vol, parentID, sourceName, &sourceID)) {
        FSSpec source{};
        FSSpec destination{};
        FSRef sourceRef;
        FSRef destinationRef;
        HFSUniStr255 unicode{};
        OSErr err = MakeFileSpec(vol, parentID, name, &source);
        if (!err)
            err = ConvertFSSpecToFSRef(&source, &sourceRef);
        if (!err)
            err = GetParentID(dstVol, dstParentID, &destination);
        if (!err)
            err = ConvertFSSpecToFSRef(&destination, &destinationRef);
        if (!err)
            err = FSGetCatalogInfo(&sourceRef, kFSCatInfoNone, nullptr, &unicode, nullptr, nullptr);
        if (!err)
            err = CreateUnicodeFolder(dstVol, dstParentID, destinationRef, unicode, newID);
        if (err)
            return err;
        CopyFolderInfo(vol, sourceID, dstVol, *newID);
        FSSpec created{};
        err = GetParentID(dstVol, *newID, &created);
        return err ? err : CopyMacOSXInfos(&source, &created, full);
    }
    Str255 destinationName;
    CStr255::CopyPString(name, destinationName);
    if (GetFolderContentID(dstVol, dstParentID, destinationName, newID))
        return noErr;
    CInfoPBRec pb;
    const bool haveInfo = parentID != fsRtParID && GetFileInfos(vol, parentID, name, &pb) == noErr;
    return CreateOrGetFolder(dstVol, dstParentID, name, newID, haveInfo ? &pb.dirInfo : nullptr);
}

OSErr CreateOrGetFolder(short vol, long dir, ConstStr255Param name, long* newID, const DirInfo* info)
{
    FSSpec spec{};
    const bool existed = MakeFileSpec(vol, dir, name, &spec) == noErr;
    SInt32 createdID = 0;
    OSErr err = DirCreate(vol, SInt32(dir), name, &createdID);
    if (err) {
        Str255 folderName;
        CStr255::CopyPString(name, folderName);
        long existingID = 0;
        if (GetFolderContentID(vol, dir, folderName, &existingID)) {
            createdID = SInt32(existingID);
            err = noErr;
        } else {
            CFolderAccess access{SInt16(vol), SInt32(dir)};
            access.SetAllAccess();
            err = DirCreate(vol, SInt32(dir), name, &createdID);
        }
    }
    *newID = createdID;
    if (!err && info)
        err = CopyFolderInfo(vol, dir, name, info);
    // A folder the set-uid application makes belongs to the user, not to root.
    if (!existed && !err && ThisApplicationSetuidBit()) {
        long owner = 0;
        long group = 0;
        long access = 0;
        long userID = 0;
        Str255 user{};
        if (GetOwner(vol, dir, name, &owner, &group, &access) == noErr && GetCurrentUser(user) == 0 &&
            GetOwnerID(vol, user, &userID) == noErr && owner != userID)
            SetOwner(vol, dir, name, userID, group, access);
    }
    return err;
}

OSErr CopyFolderInfo(short vol, long dir, ConstStr255Param name, const DirInfo* from)
{
    CInfoPBRec pb;
    if (vol == 0 || dir == 0 || !from || IsVolume(vol, dir, name) || GetFileInfos(vol, dir, name, &pb) != noErr ||
        !(pb.dirInfo.ioFlAttrib & kioFlAttribDirMask))
        return noErr;
    pb.dirInfo.ioFlAttrib = from->ioFlAttrib;
    pb.dirInfo.ioDrUsrWds = from->ioDrUsrWds;
    pb.dirInfo.ioDrCrDat = from->ioDrCrDat;
    pb.dirInfo.ioDrMdDat = from->ioDrMdDat;
    pb.dirInfo.ioDrBkDat = from->ioDrBkDat;
    pb.dirInfo.ioDrFndrInfo.frScroll = from->ioDrFndrInfo.frScroll;
    return SetFileInfos(vol, dir, name, &pb);
}

OSErr CopyFolderInfo(short srcVol, long srcDirID, short dstVol, long dstDirID)
{
    if (!srcVol || !srcDirID || !dstVol || !dstDirID || srcDirID == fsRtDirID || dstDirID == fsRtDirID)
        return noErr;
    CInfoPBRec source;
    FSSpec destination{};
    OSErr err = FolderInfo(srcVol, srcDirID, &source);
    if (!err)
        err = GetParentID(dstVol, dstDirID, &destination);
    return err ? err : CopyFolderInfo(destination.vRefNum, destination.parID, destination.name, &source.dirInfo);
}

} // namespace UFile
