// UFile: naming, FSSpecs and catalog information.

#include "filesystem/UFile.h"

#include "filesystem/CFileObject.h"

#include <pwd.h>
#include <unistd.h>

#include <cstring>

#include "platform/MacRoman.h"
#include "platform/TextEncodings.h"
#include "toolkit/CStr255.h"

namespace UFile {

namespace {

constexpr short kLastCatalogIndex = 32767;

Boolean IsASCII(ConstStr255Param name)
{
    return CStr255::IsASCII7BitsString(name);
}

// The classic record of entry `index` of folder (vol, dir); its catalog name in `name`.
OSErr IndexedInfo(short vol, long dir, short index, CInfoPBRec* pb, StringPtr name)
{
    std::memset(pb, 0, sizeof *pb);
    pb->hFileInfo.ioVRefNum = vol;
    pb->hFileInfo.ioDirID = SInt32(dir);
    pb->hFileInfo.ioFDirIndex = index;
    pb->hFileInfo.ioNamePtr = name;
    return PBGetCatInfoSync(pb);
}

OSErr ConvertWith(TextEncoding encoding, const HFSUniStr255* unicode, StringPtr out)
{
    UnicodeToTextInfo info = nullptr;
    OSErr err = OSErr(CreateUnicodeToTextInfoByEncoding(CreateTextEncoding(encoding, kTextEncodingDefaultVariant,
                                                                                  kTextEncodingDefaultFormat),
                                                               &info));
    if (!err) {
        err = OSErr(ConvertFromUnicodeToPString(info, unicode->length * sizeof(UniChar), unicode->unicode, out));
        DisposeUnicodeToTextInfo(&info);
    }
    return err;
}

OSErr ConvertFrom(TextEncoding encoding, ConstStr255Param text, HFSUniStr255* out)
{
    TextToUnicodeInfo info = nullptr;
    OSErr err = OSErr(CreateTextToUnicodeInfoByEncoding(CreateTextEncoding(encoding, kTextEncodingDefaultVariant,
                                                                                  kTextEncodingDefaultFormat),
                                                               &info));
    if (!err) {
        ByteCount length = 0;
        err = OSErr(ConvertFromPStringToUnicode(info, text, sizeof out->unicode, &length, out->unicode));
        out->length = UInt16(length / sizeof(UniChar));
        DisposeTextToUnicodeInfo(&info);
    }
    return err;
}

// The item's FSSpec name and its own name as `name` gives it, short or long.
OSErr FindByLongName(short vol, long dir, ConstStr255Param name, FSSpec* out)
{
    for (short index = 1; index <= kLastCatalogIndex; ++index) {
        CInfoPBRec pb;
        Str255 catalogName{};
        if (IndexedInfo(vol, dir, index, &pb, catalogName) != noErr)
            break;
        Str255 longName{};
        GetFileLongName(vol, dir, catalogName, longName);
        if (CStr255::EqualPStrings(longName, name))
            return MakeFileSpec(vol, dir, catalogName, out);
    }
    return fnfErr;
}

// Owner calls take catalog names: a longer name is first resolved to its short form.
void ShortNameFor(short vol, long dir, ConstStr255Param name, Str255 out)
{
    CStr255::CopyPString(name, out);
    FSSpec spec{};
    if (name && name[0] >= 32 && MakeFileSpec(vol, dir, name, &spec) == noErr)
        CStr255::CopyPString(spec.name, out);
}

// The FSSpec a call passes on to the platform, which looks the item up itself: a
// short ASCII name is its own catalog name, so only other names are resolved first.
OSErr SpecFor(short vol, long dir, ConstStr255Param name, FSSpec* out)
{
    if ((vol == 0 && dir == 0) || !name || name[0] == 0 || name[0] >= 32 || !IsASCII(name))
        return MakeFileSpec(vol, dir, name, out);
    out->vRefNum = vol;
    out->parID = SInt32(dir);
    CStr255::CopyPString(name, out->name);
    return noErr;
}

AccessParam AccessFor(short vol, long dir, StringPtr name)
{
    AccessParam param{};
    param.ioVRefNum = vol;
    param.ioDirID = SInt32(dir);
    param.ioNamePtr = name;
    return param;
}

OSErr MapID(short vol, SInt16 kind, long id, StringPtr out)
{
    HParamBlockRec pb{};
    pb.objParam.ioVRefNum = vol;
    pb.objParam.ioObjType = kind;
    pb.objParam.ioObjNamePtr = out;
    pb.objParam.ioObjID = SInt32(id);
    return PBHMapIDSync(&pb);
}

} // namespace

long sThisApplicationOwner = kOwnerNotRead;
Boolean sThisApplicationSetuidBit = false;

OSErr MakeFileSpec(short vol, long dir, ConstStr255Param name, FSSpec* out)
{
    if (vol == 0 && dir == 0) {
        FSSpec package{};
        if (const OSErr err = GetThisAppPackageFSSpec(&package))
            return err;
        vol = package.vRefNum;
        dir = package.parID;
    }
    if (name && name[0] >= 32) {
        HFSUniStr255 unicode{};
        OSErr err = ConvertStr255ToUnicode(name, &unicode);
        if (!err)
            err = MakeFileSpecFromUnicode(vol, dir, &unicode, out);
        if (err && !IsASCII(name))
            err = FindByLongName(vol, dir, name, out);
        return err;
    }
    OSErr err = FSMakeFSSpec(vol, SInt32(dir), name, out);
    if (err && name && !IsASCII(name)) {
        out->vRefNum = vol;
        out->parID = SInt32(dir);
        CStr255::CopyPString(name, out->name);
        FSRef ref;
        err = ScanFSSpecToFSRef(out, &ref, out);
    }
    return err;
}

OSErr MakeFileSpecFromUnicode(short vol, long dir, const HFSUniStr255* name, FSSpec* out)
{
    FSSpec folder{};
    FSRef folderRef;
    FSRef ref;
    OSErr err = GetParentID(vol, dir, &folder);
    if (!err)
        err = FSpMakeFSRef(&folder, &folderRef);
    if (!err)
        err = FSMakeFSRefUnicode(&folderRef, name->length, name->unicode, kTextEncodingUnknown, &ref);
    if (!err)
        err = ConvertFSRefToFSSpec(&ref, out);
    return err;
}

OSErr GetFileLongName(short vol, long dir, ConstStr255Param name, StringPtr longName)
{
    CStr255::CopyPString(name, longName);
    if (vol == 0 || dir == 0 || CStr255::IsInPString('#', name) == 0)
        return noErr;
    FSSpec spec{};
    HFSUniStr255 unicode{};
    Str255 converted{};
    spec.vRefNum = vol;
    spec.parID = SInt32(dir);
    CStr255::CopyPString(name, spec.name, 63);
    OSErr err = GetMacOSXInfos(&spec, nullptr, &unicode, kFSCatInfoNone);
    if (!err)
        err = ConvertUnicodeToStr255(&unicode, converted);
    if (!err)
        CStr255::CopyPString(converted, longName);
    return err;
}

OSErr ConvertUnicodeToStr255(const HFSUniStr255* unicode, StringPtr out)
{
    const OSErr err = ConvertWith(kTextEncodingMacRoman, unicode, out);
    if (err != kTECUsedFallbacksStatus)
        return err;
    // A name in another script: Mac Japanese, accepted even with fallbacks of its own.
    const OSErr japanese = ConvertWith(kTextEncodingMacJapanese, unicode, out);
    return japanese == kTECUsedFallbacksStatus ? OSErr(noErr) : japanese;
}

OSErr ConvertStr255ToUnicode(ConstStr255Param text, HFSUniStr255* out)
{
    const OSErr err = ConvertFrom(kTextEncodingMacRoman, text, out);
    return err == kTECUsedFallbacksStatus ? ConvertFrom(kTextEncodingMacJapanese, text, out) : err;
}

OSErr ConvertFSSpecToFSRef(const FSSpec* spec, FSRef* ref)
{
    OSErr err = FSpMakeFSRef(spec, ref);
    if (err && !IsASCII(spec->name)) {
        FSSpec found;
        err = ScanFSSpecToFSRef(spec, ref, &found);
    }
    return err;
}

OSErr ScanFSSpecToFSRef(const FSSpec* spec, FSRef* out, FSSpec* outSpec)
{
    FSSpec folder{};
    FSRef folderRef;
    FSIterator iterator = nullptr;
    OSErr err = GetParentID(spec->vRefNum, spec->parID, &folder);
    if (!err)
        err = FSpMakeFSRef(&folder, &folderRef);
    if (!err)
        err = FSOpenIterator(&folderRef, kFSIterateFlat, &iterator);
    if (err)
        return err;
    const FSSpec wanted = *spec; // `outSpec` may be `spec` itself
    err = fnfErr;
    for (;;) {
        ItemCount count = 0;
        FSRef ref;
        FSSpec found;
        if (FSGetCatalogInfoBulk(iterator, 1, &count, nullptr, kFSCatInfoNone, nullptr, &ref, &found, nullptr) || !count)
            break;
        if (std::memcmp(found.name, wanted.name, wanted.name[0] + 1u) == 0) {
            *out = ref;
            *outSpec = found;
            err = noErr;
            break;
        }
    }
    FSCloseIterator(iterator);
    return err;
}

OSErr ConvertFSRefToFSSpec(const FSRef* ref, FSSpec* spec)
{
    return FSGetCatalogInfo(ref, kFSCatInfoNone, nullptr, nullptr, spec, nullptr);
}

Boolean CreatePathFromFSSpec(const FSSpec* spec, char* path, long maxLength)
{
    FSRef ref;
    if (!path || maxLength <= 0 || ConvertFSSpecToFSRef(spec, &ref) != noErr)
        return false;
    return FSRefMakePath(&ref, reinterpret_cast<UInt8*>(path), UInt32(maxLength)) == noErr;
}

Boolean CreateBundleFromFSSpec(const FSSpec* spec, CFBundleRef* out)
{
    char path[1024];
    if (!out || !CreatePathFromFSSpec(spec, path, sizeof path))
        return false;
    *out = CFBundleCreate(path);
    return *out != nullptr;
}

std::unique_ptr<CListStr255> GetCompletePathNameAsList(short vol, long dir, ConstStr255Param name)
{
    auto list = std::make_unique<CListStr255>();
    Str255 longName{};
    if (name && name[0]) {
        FSSpec folder{};
        if (!ExistsOnDisk(vol, dir, name) && GetParentID(vol, dir, &folder) != noErr)
            return list;
        GetFileLongName(vol, dir, name, longName);
        list->AddStr255ToList(longName);
    }
    // Up the folders; the root's parent (1) ends the walk after the volume's name.
    for (long folder = dir; folder != fsRtParID && folder != 0;) {
        FSSpec spec{};
        if (GetParentID(vol, folder, &spec) != noErr)
            break;
        GetFileLongName(vol, spec.parID, spec.name, longName);
        list->AddStr255ToList(longName);
        folder = spec.parID;
    }
    return list;
}

OSErr GetParentID(short vol, long dirID, FSSpec* out)
{
    if (vol == 0)
        DetermineVRefNum(0, &vol);
    CInfoPBRec pb;
    Str255 name{};
    const OSErr err = IndexedInfo(vol, dirID, -1, &pb, name);
    if (!err) {
        out->vRefNum = vol;
        out->parID = pb.dirInfo.ioDrParID;
        CStr255::CopyPString(name, out->name, 63);
    }
    return err;
}

Boolean GetFolderContentID(short vol, long dir, StringPtr name, long* id)
{
    *id = 0;
    FSSpec spec{};
    if (vol == 0 && dir == 0) {
        if (MakeFileSpec(0, 0, name, &spec) != noErr)
            return false;
        CStr255::CopyPString(spec.name, name);
        vol = spec.vRefNum;
        dir = spec.parID;
    }
    if (dir == 0) {
        if (MakeFileSpec(vol, 0, name, &spec) != noErr)
            return false;
        *id = spec.parID;
        return true;
    }
    CInfoPBRec pb;
    if (GetFileInfos(vol, dir, name, &pb) != noErr || !(pb.hFileInfo.ioFlAttrib & kioFlAttribDirMask))
        return false;
    *id = pb.dirInfo.ioDrDirID;
    return true;
}

Boolean GetFolderContentID(const FSSpec* spec, long* id)
{
    Str255 name;
    CStr255::CopyPString(spec->name, name);
    return GetFolderContentID(spec->vRefNum, spec->parID, name, id);
}

OSErr GetIndexedInfo(short vol, long dir, short index, CInfoPBRec* pb, StringPtr name)
{
    return IndexedInfo(vol, dir, index, pb, name);
}

OSErr GetFileInfos(short vol, long dir, ConstStr255Param name, CInfoPBRec* pb)
{
    FSSpec spec{};
    if (SpecFor(vol, dir, name, &spec) == noErr) {
        std::memset(pb, 0, sizeof *pb);
        pb->hFileInfo.ioVRefNum = spec.vRefNum;
        pb->hFileInfo.ioDirID = spec.parID;
        pb->hFileInfo.ioNamePtr = spec.name;
        const OSErr err = PBGetCatInfoSync(pb);
        pb->hFileInfo.ioNamePtr = nullptr;
        if (!err)
            return noErr;
    }
    if (name && !IsASCII(name)) {
        for (short index = 1; index <= kLastCatalogIndex; ++index) {
            Str255 catalogName{};
            if (IndexedInfo(vol, dir, index, pb, catalogName) != noErr)
                break;
            pb->hFileInfo.ioNamePtr = nullptr;
            if (CStr255::EqualPStrings(catalogName, name))
                return noErr;
        }
    }
    return fnfErr;
}

OSErr SetFileInfos(short vol, long dir, ConstStr255Param name, CInfoPBRec* pb)
{
    Str255 catalogName{};
    CStr255::CopyPString(name, catalogName);
    pb->hFileInfo.ioVRefNum = vol;
    pb->hFileInfo.ioDirID = SInt32(dir);
    pb->hFileInfo.ioNamePtr = catalogName;
    pb->hFileInfo.ioFDirIndex = 0;
    const OSErr err = PBSetCatInfoSync(pb);
    pb->hFileInfo.ioNamePtr = nullptr;
    return err;
}

OSErr GetMacOSXInfos(short vol, long dir, ConstStr255Param name, FSCatalogInfo* info, HFSUniStr255* outName,
                     FSCatalogInfoBitmap bitmap)
{
    if (vol == 0 || dir == 0)
        return fnfErr;
    FSSpec spec{};
    const OSErr err = SpecFor(vol, dir, name, &spec);
    return err ? err : GetMacOSXInfos(&spec, info, outName, bitmap);
}

OSErr GetMacOSXInfos(const FSSpec* spec, FSCatalogInfo* info, HFSUniStr255* outName, FSCatalogInfoBitmap bitmap)
{
    // One lookup by the FSSpec; a name in another script may need the folder scanned.
    const OSErr err = FSGetCatalogInfo(spec, bitmap, info, outName);
    if (err == noErr || IsASCII(spec->name))
        return err;
    FSRef ref;
    const OSErr found = ConvertFSSpecToFSRef(spec, &ref);
    return found ? found : FSGetCatalogInfo(&ref, bitmap, info, outName, nullptr, nullptr);
}

OSErr SetMacOSXInfos(short vol, long dir, ConstStr255Param name, const FSCatalogInfo* info,
                     const HFSUniStr255* newName, FSCatalogInfoBitmap bitmap)
{
    FSSpec spec{};
    const OSErr err = SpecFor(vol, dir, name, &spec);
    return err ? err : SetMacOSXInfos(&spec, info, newName, bitmap);
}

OSErr SetMacOSXInfos(const FSSpec* spec, const FSCatalogInfo* info, const HFSUniStr255* newName,
                     FSCatalogInfoBitmap bitmap)
{
    return SetMacOSXInfos(spec, info, newName, bitmap, nullptr);
}

OSErr SetMacOSXInfos(const FSSpec* spec, const FSCatalogInfo* info, const HFSUniStr255* newName,
                     FSCatalogInfoBitmap bitmap, FSSpec* renamed)
{
    // Without a rename, one lookup by the FSSpec; a name in another script may need
    // the folder scanned.
    if (!newName && bitmap) {
        const OSErr err = FSSetCatalogInfo(spec, bitmap, info);
        if ((err != fnfErr && err != bdNamErr) || IsASCII(spec->name))
            return err;
    }
    FSRef ref;
    if (const OSErr err = ConvertFSSpecToFSRef(spec, &ref))
        return err;
    OSErr err = bitmap ? FSSetCatalogInfo(&ref, bitmap, info) : OSErr(noErr);
    if (!newName)
        return err;
    const TextEncoding hint = info ? info->textEncodingHint : kTextEncodingUnknown;
    FSRef newRef;
    OSErr renameErr = FSRenameUnicode(&ref, newName->length, newName->unicode, hint, &newRef);
    if (renameErr == dupFNErr) {
        // Another item holds the new name: it goes, unless it is this item itself.
        Str255 pascal{};
        FSSpec holder{};
        FSSpec self{};
        if (ConvertUnicodeToStr255(newName, pascal) == noErr &&
            MakeFileSpec(spec->vRefNum, spec->parID, pascal, &holder) == noErr &&
            ConvertFSRefToFSSpec(&ref, &self) == noErr && !CStr255::EqualPStrings(holder.name, self.name)) {
            CFileObject::Delete(&holder);
            renameErr = FSRenameUnicode(&ref, newName->length, newName->unicode, hint, &newRef);
        }
    }
    FSSpec found{};
    if (renameErr == noErr) {
        if (renamed && ConvertFSRefToFSSpec(&newRef, &found) == noErr)
            *renamed = found;
        return noErr;
    }
    Str255 pascal{};
    ConvertUnicodeToStr255(newName, pascal);
    renameErr = FSpRename(spec, pascal);
    if (renameErr == noErr && renamed && MakeFileSpecFromUnicode(spec->vRefNum, spec->parID, newName, &found) == noErr)
        *renamed = found;
    return renameErr;
}

OSErr CopyMacOSXInfos(short srcVol, long srcDir, ConstStr255Param srcName, short dstVol, long dstDir,
                      ConstStr255Param dstName, Boolean full)
{
    FSSpec source{};
    FSSpec destination{};
    OSErr err = SpecFor(srcVol, srcDir, srcName, &source);
    if (!err)
        err = SpecFor(dstVol, dstDir, dstName, &destination);
    return err ? err : CopyMacOSXInfos(&source, &destination, full);
}

OSErr CopyMacOSXInfos(const FSSpec* source, const FSSpec* destination, Boolean full)
{
    if (full) {
        long owner = 0;
        long group = 0;
        long access = 0;
        if (GetOwner(source->vRefNum, source->parID, source->name, &owner, &group, &access) == noErr)
            SetOwner(destination->vRefNum, destination->parID, destination->name, owner, group, access);
    }
    FSCatalogInfo info{};
    HFSUniStr255 name{};
    const OSErr err = GetMacOSXInfos(source, &info, &name, kCopiedInfoWithPrivileges);
    return err ? err : SetMacOSXInfos(destination, &info, &name, full ? kCopiedInfo : kFSCatInfoNone);
}

OSErr MakeFileExecutable(short vol, long dir, ConstStr255Param name)
{
    constexpr UInt32 kExecutableBits = 0755;
    FSCatalogInfo info{};
    const OSErr err = GetMacOSXInfos(vol, dir, name, &info, nullptr, kPermissionsInfo);
    if (err || (info.permissions[2] & kExecutableBits) == kExecutableBits)
        return err;
    info.permissions[2] |= kExecutableBits;
    return SetMacOSXInfos(vol, dir, name, &info, nullptr, kPermissionsInfo);
}

Boolean IsSocketFile(short vol, long dir, ConstStr255Param name)
{
    // The mode comes with every record; asking for the permissions would also read
    // every extended attribute.
    FSCatalogInfo info{};
    return GetMacOSXInfos(vol, dir, name, &info, nullptr, kFSCatInfoNone) == noErr &&
           (info.permissions[2] & 0xF000) == 0xC000;
}

unsigned long GetFileModificationDate(short vol, long dir, ConstStr255Param name)
{
    CInfoPBRec pb;
    return GetFileInfos(vol, dir, name, &pb) == noErr ? pb.hFileInfo.ioFlMdDat : 0;
}

OSErr SetInvisible(short vol, long dir, ConstStr255Param name, Boolean invisible)
{
    CInfoPBRec pb;
    OSErr err = GetFileInfos(vol, dir, name, &pb);
    if (err || Boolean(pb.hFileInfo.ioFlFndrInfo.fdFlags & kIsInvisible) == invisible)
        return err;
    pb.hFileInfo.ioFlFndrInfo.fdFlags ^= kIsInvisible;
    return SetFileInfos(vol, dir, name, &pb);
}

Boolean IsInvisible(short vol, long dir, ConstStr255Param name)
{
    CInfoPBRec pb;
    return GetFileInfos(vol, dir, name, &pb) == noErr && (pb.hFileInfo.ioFlFndrInfo.fdFlags & kIsInvisible);
}

OSErr SetLock(short vol, long dir, ConstStr255Param name, Boolean locked)
{
    CInfoPBRec pb;
    FSSpec spec{};
    OSErr err = GetFileInfos(vol, dir, name, &pb);
    if (err || Boolean(pb.hFileInfo.ioFlAttrib & kioFlAttribLockedMask) == locked)
        return err;
    err = SpecFor(vol, dir, name, &spec);
    if (!err)
        err = locked ? FSpSetFLock(&spec) : FSpRstFLock(&spec);
    if (!err)
        FlushVol(nullptr, vol);
    return err;
}

Boolean IsLocked(short vol, long dir, ConstStr255Param name)
{
    CInfoPBRec pb;
    return GetFileInfos(vol, dir, name, &pb) == noErr && (pb.hFileInfo.ioFlAttrib & kioFlAttribLockedMask);
}

Boolean ExistsOnDisk(short vol, long dir, ConstStr255Param name)
{
    CInfoPBRec pb;
    return name && name[0] && GetFileInfos(vol, dir, name, &pb) == noErr;
}

Boolean IsFolder(short vol, long dir, ConstStr255Param name)
{
    CInfoPBRec pb;
    return GetFileInfos(vol, dir, name, &pb) == noErr && (pb.hFileInfo.ioFlAttrib & kioFlAttribDirMask);
}

OSErr GetOwner(short vol, long dir, ConstStr255Param name, long* owner, long* group, long* access)
{
    Str255 catalogName;
    ShortNameFor(vol, dir, name, catalogName);
    HParamBlockRec pb{};
    pb.accessParam = AccessFor(vol, dir, catalogName);
    if (PBHGetDirAccessSync(&pb) == noErr) {
        *owner = pb.accessParam.ioACOwnerID;
        *group = pb.accessParam.ioACGroupID;
        *access = pb.accessParam.ioACAccess;
        return noErr;
    }
    FSCatalogInfo info{};
    const OSErr err = GetMacOSXInfos(vol, dir, name, &info, nullptr, kCopiedInfoWithPrivileges);
    *owner = long(info.permissions[0]);
    *group = long(info.permissions[1]);
    *access = 0x00070707;
    return err;
}

OSErr SetOwner(short vol, long dir, ConstStr255Param name, long owner, long group, long access)
{
    Str255 catalogName;
    ShortNameFor(vol, dir, name, catalogName);
    HParamBlockRec pb{};
    pb.accessParam = AccessFor(vol, dir, catalogName);
    pb.accessParam.ioACOwnerID = SInt32(owner);
    pb.accessParam.ioACGroupID = SInt32(group);
    pb.accessParam.ioACAccess = SInt32(access);
    return PBHSetDirAccessSync(&pb);
}

OSErr GetOwnerName(short vol, long id, StringPtr out)
{
    return MapID(vol, 1, id, out);
}

OSErr GetGroupName(short vol, long id, StringPtr out)
{
    return MapID(vol, 2, id, out);
}

OSErr GetOwnerID(short vol, ConstStr255Param userName, long* id)
{
    Str255 name;
    CStr255::CopyPString(userName, name);
    HParamBlockRec pb{};
    pb.objParam.ioVRefNum = vol;
    pb.objParam.ioObjType = 3;
    pb.objParam.ioObjNamePtr = name;
    const OSErr err = PBHMapNameSync(&pb);
    if (!err)
        *id = pb.objParam.ioObjID;
    return err;
}

OSErr GetCurrentUser(StringPtr out)
{
    out[0] = 0;
    // The real user: a set-uid application still names the one who started it.
    if (const passwd* user = getpwuid(getuid()))
        TextToStr255(MacRomanFromText(user->pw_name), out);
    return out[0] ? 0 : 1;
}

OSErr GetThisApplicationOwner(long* owner)
{
    if (sThisApplicationOwner == kOwnerNotRead) {
        FSSpec app{};
        FSCatalogInfo info{};
        if (GetThisApplicationFSSpec(&app) == noErr && GetMacOSXInfos(&app, &info, nullptr, kPermissionsInfo) == noErr) {
            sThisApplicationOwner = long(info.permissions[0]);
            sThisApplicationSetuidBit = (info.permissions[2] & 04000) != 0;
        } else {
            sThisApplicationOwner = kOwnerUnreadable;
        }
    }
    *owner = sThisApplicationOwner;
    return sThisApplicationOwner == kOwnerUnreadable ? OSErr(fnfErr) : OSErr(noErr);
}

Boolean ThisApplicationSetuidBit()
{
    long owner;
    GetThisApplicationOwner(&owner);
    return sThisApplicationSetuidBit;
}

} // namespace UFile
