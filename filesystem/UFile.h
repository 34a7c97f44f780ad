#pragma once
// UFile: how the application addresses files, folders and volumes, and what it asks
// of the system beyond the file system. A thin layer over the platform's calls with a
// few rules of its own: long names, lookups in another script, folder duplication,
// the item that blocks a rename, system companions.
//
// On Linux the Unicode catalog interface is always there and the system is always
// "Mac OS X or later", so the paths the original took without them do not exist here.
// Results are the platform's 16-bit codes unchanged; questions answer false on error.

#include <memory>

#include "platform/AppleEvents.h"
#include "platform/CFBundle.h"
#include "platform/Files.h"
#include "platform/Icons.h"
#include "platform/Processes.h"
#include "platform/Resources.h"
#include "toolkit/CListStr255.h"

namespace UFile {

// Owner of the running executable and its set-uid bit, read together on first use.
constexpr long kOwnerNotRead = long(MakeOSType("notR"));
constexpr long kOwnerUnreadable = long(MakeOSType("erro"));
extern long sThisApplicationOwner;
extern Boolean sThisApplicationSetuidBit;

// Full-record bitmaps the Parts use.
constexpr FSCatalogInfoBitmap kPermissionsInfo = 0x400;
constexpr FSCatalogInfoBitmap kForkSizesInfo = 0xC002;
constexpr FSCatalogInfoBitmap kCopiedInfo = 0x7E1;
constexpr FSCatalogInfoBitmap kCopiedInfoWithPrivileges = 0x307E1;

// Naming and FSSpecs.
OSErr MakeFileSpec(short vol, long dir, ConstStr255Param name, FSSpec* out);
OSErr MakeFileSpecFromUnicode(short vol, long dir, const HFSUniStr255* name, FSSpec* out);
OSErr GetFileLongName(short vol, long dir, ConstStr255Param name, StringPtr longName);
OSErr ConvertUnicodeToStr255(const HFSUniStr255* unicode, StringPtr out);
OSErr ConvertStr255ToUnicode(ConstStr255Param text, HFSUniStr255* out);
OSErr ConvertFSSpecToFSRef(const FSSpec* spec, FSRef* ref);
OSErr ScanFSSpecToFSRef(const FSSpec* spec, FSRef* out, FSSpec* outSpec);
OSErr ConvertFSRefToFSSpec(const FSRef* ref, FSSpec* spec);
Boolean CreatePathFromFSSpec(const FSSpec* spec, char* path, long maxLength);
Boolean CreateBundleFromFSSpec(const FSSpec* spec, CFBundleRef* out);
// Long names from the item up to its volume, item first; the caller owns the list.
std::unique_ptr<CListStr255> GetCompletePathNameAsList(short vol, long dir, ConstStr255Param name);
OSErr GetParentID(short vol, long dirID, FSSpec* out);
// `name` receives the resolved name when vol and dir are 0.
Boolean GetFolderContentID(short vol, long dir, StringPtr name, long* id);
Boolean GetFolderContentID(const FSSpec* spec, long* id);

// Catalog information.
// Entry `index` (from 1) of folder (vol, dir); its catalog name in `name`.
OSErr GetIndexedInfo(short vol, long dir, short index, CInfoPBRec* pb, StringPtr name);
OSErr GetFileInfos(short vol, long dir, ConstStr255Param name, CInfoPBRec* pb);
OSErr SetFileInfos(short vol, long dir, ConstStr255Param name, CInfoPBRec* pb);
OSErr GetMacOSXInfos(short vol, long dir, ConstStr255Param name, FSCatalogInfo* info, HFSUniStr255* outName,
                     FSCatalogInfoBitmap bitmap);
OSErr GetMacOSXInfos(const FSSpec* spec, FSCatalogInfo* info, HFSUniStr255* outName, FSCatalogInfoBitmap bitmap);
OSErr SetMacOSXInfos(short vol, long dir, ConstStr255Param name, const FSCatalogInfo* info,
                     const HFSUniStr255* newName, FSCatalogInfoBitmap bitmap);
OSErr SetMacOSXInfos(const FSSpec* spec, const FSCatalogInfo* info, const HFSUniStr255* newName,
                     FSCatalogInfoBitmap bitmap);
// With a new name, `renamed` receives the renamed item's FSSpec; it stays as it is
// when the item cannot be found.
OSErr SetMacOSXInfos(const FSSpec* spec, const FSCatalogInfo* info, const HFSUniStr255* newName,
                     FSCatalogInfoBitmap bitmap, FSSpec* renamed);
OSErr CopyMacOSXInfos(short srcVol, long srcDir, ConstStr255Param srcName, short dstVol, long dstDir,
                      ConstStr255Param dstName, Boolean full);
OSErr CopyMacOSXInfos(const FSSpec* source, const FSSpec* destination, Boolean full);
OSErr MakeFileExecutable(short vol, long dir, ConstStr255Param name);
Boolean IsSocketFile(short vol, long dir, ConstStr255Param name);
unsigned long GetFileModificationDate(short vol, long dir, ConstStr255Param name);
OSErr SetInvisible(short vol, long dir, ConstStr255Param name, Boolean invisible);
Boolean IsInvisible(short vol, long dir, ConstStr255Param name);
OSErr SetLock(short vol, long dir, ConstStr255Param name, Boolean locked);
Boolean IsLocked(short vol, long dir, ConstStr255Param name);
Boolean ExistsOnDisk(short vol, long dir, ConstStr255Param name);
Boolean IsFolder(short vol, long dir, ConstStr255Param name);

// Owners and users.
OSErr GetOwner(short vol, long dir, ConstStr255Param name, long* owner, long* group, long* access);
OSErr SetOwner(short vol, long dir, ConstStr255Param name, long owner, long group, long access);
OSErr GetOwnerName(short vol, long id, StringPtr out);
OSErr GetGroupName(short vol, long id, StringPtr out);
OSErr GetOwnerID(short vol, ConstStr255Param userName, long* id);
// 0 when a name was found, 1 when `out` stays empty.
OSErr GetCurrentUser(StringPtr out);
OSErr GetThisApplicationOwner(long* owner);
Boolean ThisApplicationSetuidBit();

// Sizes.
unsigned long GetFileSize(short vol, long dir, ConstStr255Param name);
OSErr GetFileU64ForkSizes(short vol, long dir, ConstStr255Param name, UInt64* data, UInt64* rsrc);
OSErr GetFileU64Size(short vol, long dir, ConstStr255Param name, UInt64* total);
unsigned long GetFileSizeKB(short vol, long dir, ConstStr255Param name);
unsigned long GetFolderSizeKB(short vol, long dirID, Boolean topLevelOnly);

// Folders.
OSErr DuplicateFolderHierarchy(short vol, long dirID, long stopDirID, short dstVol, long* dstDirID, Boolean skipTop,
                               Boolean full);
OSErr DuplicateFolder(short vol, long parentID, ConstStr255Param name, short dstVol, long dstParentID, long* newID,
                      Boolean full);
OSErr CreateOrGetFolder(short vol, long dir, ConstStr255Param name, long* newID, const DirInfo* info);
OSErr CopyFolderInfo(short vol, long dir, ConstStr255Param name, const DirInfo* from);
OSErr CopyFolderInfo(short srcVol, long srcDirID, short dstVol, long dstDirID);

// Icons: references to theme icons, drawn by the window toolkit.
OSErr GetGenericIconRef(OSType type, IconRef* icon);
OSErr GetGenericFolderIconRef(IconRef* icon);
OSErr GetFileIconRef(short vol, long dir, ConstStr255Param name, IconRef* icon);

// Classification by type and creator.
short GetFileType(OSType type, OSType creator);
Boolean IsAppliCDEVOrInit(OSType type);
Boolean IsDocument(OSType type);
Boolean IsMacOSXApplicationFolder(ConstStr255Param name);
Boolean IsCompressedFile(OSType type, OSType creator);
Boolean IsSystemCompanionFile(OSType type, OSType creator, ConstStr255Param name);
Boolean IsSystemCompanionFolder(ConstStr255Param name);
short GetPictureType(OSType type, OSType creator, ConstStr255Param name);

// Volumes.
short GetNthVolumeVRefNum(long n);
OSErr GetVolumeInfo(short vRefNum, HVolumeParam* pb, StringPtr nameOut);
OSErr GetVolumeInfoX(short vRefNum, StringPtr nameOut, short* vRefNumOut, UInt64* freeBytes, UInt64* totalBytes);
OSErr GetVolumeName(short vRefNum, StringPtr name);
short GetMountedVolume(ConstStr255Param name, Boolean last);
OSErr GetVolumeSpec(short vRefNum, FSSpec* out);
OSErr GetSizeInVolume(short vRefNum, unsigned long* usedKB, unsigned long* freeKB);
unsigned long GetVolumeSizeKB(short vRefNum);
unsigned long GetNumFilesInVolume(short vRefNum);
OSErr DetermineVRefNum(short vRefNum, short* out);
Boolean IsVolume(short vRefNum, long dirID, ConstStr255Param name);
Boolean IsServer(short vRefNum);
Boolean IsVolumeLocked(short vRefNum);
OSErr UnmountAndEjectVolume(short vRefNum);
OSErr GetVolumeMountInfoSize(ConstStr255Param name, short vRefNum, short* size);
OSErr GetVolumeMountInfo(ConstStr255Param name, short vRefNum, void* buffer);
// The volume's real mount point, as a C string of at most 1024 bytes.
OSErr GetVolumePath(short vRefNum, char* path);
OSErr SetVolumePermissions(short vRefNum, long mode);
OSErr SetVolumeOwner(short vRefNum, long uid, long gid);
Boolean DoesVolumeIgnorePermissions(const char* path);
Boolean DoesVolumeIgnorePermissions(short vRefNum);
Boolean IsMacOS_X_orHigher();
Boolean IsMacOS_9_orHigher();

// System commands: started without waiting; the child's process ID, or the error of
// building the volume's path.
long BlessVolume(short vRefNum);
long BlessLabel(short vRefNum, ConstStr255Param label);
long Update_kextcache(short vRefNum);

// The desktop's file manager and the processes.
OSErr SendOpenFileOrFolderEvent(short vRefNum, long dirID, ConstStr255Param name, Boolean reveal);
OSErr NewSendActivateFinderAppleEvent();
OSErr NewSendOpenFileAppleEvent(const FSSpec* specs, long count);
OSErr NewSendRevealFileAppleEvent(const FSSpec* specs, long count);
Boolean CreateFinderAppleEvent(AppleEvent* event, AEEventID eventID, Boolean interact);
Boolean AddFileToAppleEvent(AppleEvent* event, const FSSpec* spec, AEKeyword key);
OSErr SendFileEvent(short vRefNum, long dirID, ConstStr255Param name, AEEventID eventID, Boolean interact);
OSErr FindAProcess(OSType type, OSType creator, ProcessSerialNumber* psn, ProcessInfoRec* info);
Boolean IsFrontProcess();
OSErr SetMeFrontProcess();

// Compiled scripts: true when the script ran and failed.
Boolean RunAppleScript(const FSSpec* scriptFile, ConstStr255Param text);
OSErr ExecuteCompiledAppleScriptEvent(const AEDesc* script, const AppleEvent* event, AEDesc* resultText);

// The application itself.
OSErr GetThisApplicationFSSpec(FSSpec* spec);
OSErr GetPackageOfApplication(const FSSpec* app, FSSpec* package);
OSErr GetThisAppPackageFSSpec(FSSpec* package);
Boolean GetThisAppResourceFolderFSSpec(short* vRefNum, long* dirID);
Boolean GetVersionRecord(VersRec* version);
void GetShortVersion(StringPtr out);

// The dialog that asks for one file, with the invisible files too when asked; with
// types, only files of the non-zero ones among them. True when a file was chosen.
// Defined in ui/UFileChooseFile.cpp: the dialog is the window toolkit's, and this
// layer stays free of it, so only programs with windows may call these.
Boolean ChooseFile(FSSpec* out, Boolean showInvisible);
Boolean ChooseFile(FSSpec* out, Boolean showInvisible, OSType t1, OSType t2 = 0, OSType t3 = 0, OSType t4 = 0);

} // namespace UFile
