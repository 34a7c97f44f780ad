#pragma once
// The File Manager over real Linux mounts: volumes, the catalog, catalog information
// and forks. Records that live only in memory are in host byte order.
//
// Choices where the original platform has no Linux counterpart:
// - Volumes are the mounted file systems that hold data (VolumeList.h).
// - Directory IDs come from a per-volume table keyed by device, inode and birth time
//   (DirectoryTable.h); a folder moved or removed behind the platform's back is
//   "not found", never another item. A file's node ID is its inode number.
// - Names: Unicode, long and catalog names as MacNames.h describes them; a name that
//   cannot be represented is bdNamErr, never a shortened or different name.
// - Special files the HFS+ way (CatalogRecord.h); forks as ForkTable.h describes.
// - UTCDateTime holds UTC seconds since 1904 with a 1/65536 fraction; the classic
//   records' dates are local seconds since 1904.
// - Writing Finder information or extended attributes onto a file system that cannot
//   store them (vfat) is skipped without error, as a copy onto such a volume would; a
//   resource fork there is refused (extFSErr), since it is data.
// - Owners are not written on a volume that ignores ownership.
// - Locking through PBSetCatInfoSync is ignored, as on the original platform: the
//   lock calls (FSpSetFLock, FSpRstFLock) and the node flags of FSSetCatalogInfo lock.

#include <sys/types.h>
#include <time.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/MacTypes.h"

using TextEncoding = UInt32;
using FSCatalogInfoBitmap = UInt32;
using FSVolumeRefNum = SInt16;


// The platform's own codes beyond the common ones of MacTypes.h.
enum : OSErr {
    volOffLinErr = -53,
    errFSForkNotFound = -1409,
    errFSRefsDifferent = -1420,
    notAFileErr = -1302,
    badMovErr = -122,
    fsDataTooBigErr = -1310,
    errFSNoMoreItems = -1417,
    kTECUsedFallbacksStatus = -8783,
};

enum : SInt32 {
    fsRtParID = 1,
    fsRtDirID = 2,
};

enum : SInt16 {
    kStartupVolumeRefNum = -100,
};

// Finder information of a file (16 bytes) and its extension (16 bytes).
struct FInfo {
    OSType fdType;
    OSType fdCreator;
    UInt16 fdFlags;
    Point fdLocation;
    SInt16 fdFldr;
};

struct FXInfo {
    SInt16 fdIconID;
    SInt16 fdReserved[3];
    SInt8 fdScript;
    SInt8 fdXFlags;
    SInt16 fdComment;
    SInt32 fdPutAway;
};

// Finder information of a folder and its extension.
struct DInfo {
    Rect frRect;
    UInt16 frFlags;
    Point frLocation;
    SInt16 frView;
};

struct DXInfo {
    Point frScroll;
    SInt32 frOpenChain;
    SInt8 frScript;
    SInt8 frXFlags;
    SInt16 frComment;
    SInt32 frPutAway;
};

enum : UInt16 {
    kIsInvisible = 0x4000,
    kIsAlias = 0x8000,
};

// The 32 bytes of the extended attribute user.com.apple.FinderInfo, big-endian.
constexpr std::size_t kFinderInfoSize = 32;

// Classic catalog record: files fill hFileInfo, folders dirInfo. ioDirID of a file
// returns its node ID, ioDrDirID of a folder its directory ID; ioFlParID and
// ioDrParID share their place.
struct HFileInfo {
    void* ioCompletion;
    OSErr ioResult;
    StringPtr ioNamePtr;
    SInt16 ioVRefNum;
    SInt16 ioFRefNum;
    SInt16 ioFDirIndex;
    SInt8 ioFlAttrib;
    SInt8 ioACUser;
    FInfo ioFlFndrInfo;
    SInt32 ioDirID;
    UInt16 ioFlStBlk;
    SInt32 ioFlLgLen;
    SInt32 ioFlPyLen;
    UInt16 ioFlRStBlk;
    SInt32 ioFlRLgLen;
    SInt32 ioFlRPyLen;
    UInt32 ioFlCrDat;
    UInt32 ioFlMdDat;
    UInt32 ioFlBkDat;
    FXInfo ioFlXFndrInfo;
    SInt32 ioFlParID;
    SInt32 ioFlClpSiz;
};

struct DirInfo {
    void* ioCompletion;
    OSErr ioResult;
    StringPtr ioNamePtr;
    SInt16 ioVRefNum;
    SInt16 ioFRefNum;
    SInt16 ioFDirIndex;
    SInt8 ioFlAttrib;
    SInt8 ioACUser;
    DInfo ioDrUsrWds;
    SInt32 ioDrDirID;
    UInt16 ioDrNmFls;
    SInt16 filler3[11];
    UInt32 ioDrCrDat;
    UInt32 ioDrMdDat;
    UInt32 ioDrBkDat;
    DXInfo ioDrFndrInfo;
    SInt32 ioDrParID;
};

union CInfoPBRec {
    HFileInfo hFileInfo;
    DirInfo dirInfo;
};
using CInfoPBPtr = CInfoPBRec*;

enum : SInt8 {
    kioFlAttribLockedMask = 0x01,
    kioFlAttribDirMask = 0x10,
};

// Volume record of PBHGetVInfoSync: by index (ioVolIndex > 0), by reference number
// (ioVolIndex 0) or by name (ioVolIndex < 0).
struct HVolumeParam {
    void* ioCompletion;
    OSErr ioResult;
    StringPtr ioNamePtr;
    SInt16 ioVRefNum;
    SInt16 ioVolIndex;
    UInt32 ioVCrDate;
    UInt32 ioVLsMod;
    SInt16 ioVAtrb;
    UInt16 ioVNmFls;
    UInt16 ioVNmAlBlks;
    SInt32 ioVAlBlkSiz;
    UInt16 ioVFrBlk;
    SInt16 ioVDRefNum;
    SInt16 ioVFSID;
    UInt32 ioVBkUp;
    SInt32 ioVFilCnt;
    SInt32 ioVDirCnt;
};

// The 64-bit volume record of PBXGetVolInfoSync; the rest as HVolumeParam.
struct XVolumeParam {
    void* ioCompletion;
    OSErr ioResult;
    StringPtr ioNamePtr;
    SInt16 ioVRefNum;
    SInt16 ioVolIndex;
    SInt16 ioVAtrb;
    SInt32 ioVFilCnt;
    UInt64 ioVTotalBytes;
    UInt64 ioVFreeBytes;
};

enum : UInt16 {
    kHardwareLockMask = 0x0080,
    kSoftwareLockMask = 0x8000,
};

// PBHGetDirAccessSync / PBHSetDirAccessSync: an item's owner, group and access word.
struct AccessParam {
    void* ioCompletion;
    OSErr ioResult;
    StringPtr ioNamePtr;
    SInt16 ioVRefNum;
    SInt32 ioACOwnerID;
    SInt32 ioACGroupID;
    SInt32 ioACAccess;
    SInt32 ioDirID;
};

// PBHMapIDSync (ioObjType 1 user, 2 group) and PBHMapNameSync (3 user, 4 group).
struct ObjParam {
    void* ioCompletion;
    OSErr ioResult;
    StringPtr ioNamePtr;
    SInt16 ioVRefNum;
    SInt16 ioObjType;
    StringPtr ioObjNamePtr;
    SInt32 ioObjID;
};

// PBHGetVolMountInfoSize / PBHGetVolMountInfo: server volumes only.
struct MountInfoParam {
    void* ioCompletion;
    OSErr ioResult;
    StringPtr ioNamePtr;
    SInt16 ioVRefNum;
    Ptr ioBuffer;
};

union HParamBlockRec {
    HVolumeParam volumeParam;
    AccessParam accessParam;
    ObjParam objParam;
    MountInfoParam mountInfoParam;
};
using HParmBlkPtr = HParamBlockRec*;

// An item of the platform: volume, parent directory ID and the name's bytes on
// disk. A volume's root folder is (volume, 1, empty name).
struct FSRef {
    SInt16 vRefNum;
    SInt32 parID;
    UInt8 nameLength;
    char name[255];
};

struct HFSUniStr255 {
    UInt16 length;
    UniChar unicode[255];
};

struct UTCDateTime {
    UInt16 highSeconds;
    UInt32 lowSeconds;
    UInt16 fraction;
};

// An extended attribute carried by a full catalog record (ACLs included).
struct ExtendedAttribute {
    std::string name;
    std::string value;
    bool operator==(const ExtendedAttribute&) const = default;
};

struct FSCatalogInfo {
    UInt16 nodeFlags;
    FSVolumeRefNum volume;
    UInt32 parentDirID;
    UInt32 nodeID;
    UInt8 sharingFlags;
    UInt8 userPrivileges;
    UTCDateTime createDate;
    UTCDateTime contentModDate;
    UTCDateTime attributeModDate;
    UTCDateTime accessDate;
    UTCDateTime backupDate;
    // Owner ID, group ID, mode with node type, device number: filled whatever the bitmap.
    UInt32 permissions[4];
    UInt8 finderInfo[16];
    UInt8 extFinderInfo[16];
    UInt64 dataLogicalSize;
    UInt64 dataPhysicalSize;
    UInt64 rsrcLogicalSize;
    UInt64 rsrcPhysicalSize;
    UInt32 valence;
    TextEncoding textEncodingHint;

    // Linux: the exact times, read with the dates and written with them while the
    // dates still say the same second, so a copy's times match to the nanosecond.
    timespec exactAccessTime{};
    timespec exactModificationTime{};
    // Linux: every extended attribute but the Finder information and the resource
    // fork, ACLs among them; read and written with kFSCatInfoPermissions. Written only
    // when they were read, so a record made from scratch never clears an item's.
    std::vector<ExtendedAttribute> extendedAttributes;
    bool extendedAttributesRead = false;
};

enum : FSCatalogInfoBitmap {
    kFSCatInfoNone = 0,
    kFSCatInfoTextEncoding = 0x00000001,
    kFSCatInfoNodeFlags = 0x00000002,
    kFSCatInfoVolume = 0x00000004,
    kFSCatInfoParentDirID = 0x00000008,
    kFSCatInfoNodeID = 0x00000010,
    kFSCatInfoCreateDate = 0x00000020,
    kFSCatInfoContentMod = 0x00000040,
    kFSCatInfoAttrMod = 0x00000080,
    kFSCatInfoAccessDate = 0x00000100,
    kFSCatInfoBackupDate = 0x00000200,
    kFSCatInfoPermissions = 0x00000400,
    kFSCatInfoFinderInfo = 0x00000800,
    kFSCatInfoFinderXInfo = 0x00001000,
    kFSCatInfoValence = 0x00002000,
    kFSCatInfoDataSizes = 0x00004000,
    kFSCatInfoRsrcSizes = 0x00008000,
    kFSCatInfoSharingFlags = 0x00010000,
    kFSCatInfoUserPrivs = 0x00020000,
    kFSCatInfoGettableInfo = 0x0003FFFF,
};

enum : UInt16 {
    kFSNodeLockedMask = 0x0001,
    kFSNodeIsDirectoryMask = 0x0010,
};

enum : TextEncoding {
    kTextEncodingMacRoman = 0,
    kTextEncodingMacJapanese = 1,
    kTextEncodingUnknown = 0xFFFF,
};

// Fork access and positioning.
enum : SInt8 {
    fsCurPerm = 0,
    fsRdPerm = 1,
    fsWrPerm = 2,
    fsRdWrPerm = 3,
};

enum : UInt16 {
    fsAtMark = 0,
    fsFromStart = 1,
    fsFromLEOF = 2,
    fsFromMark = 3,
    noCacheMask = 0x0020,
};

// Volumes.
OSErr PBHGetVInfoSync(HParamBlockRec* pb);
OSErr PBXGetVolInfoSync(XVolumeParam* pb);
OSErr PBHGetVolMountInfoSize(HParamBlockRec* pb); // ioBuffer receives an SInt16
OSErr PBHGetVolMountInfo(HParamBlockRec* pb);
OSErr PBUnmountVol(SInt16 vRefNum);
// Writes the volume's pending data to its device.
OSErr FlushVol(ConstStr63Param volName, SInt16 vRefNum);
// The mount flags of the volume holding `path`, in the original platform's bits.
enum : UInt32 {
    MNT_RDONLY = 0x00000001,
    MNT_IGNORE_OWNERSHIP = 0x00200000,
};
OSErr GetMountFlags(const char* path, UInt32* flags);

// FSSpec records and FSRef references.
OSErr FSMakeFSSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, FSSpec* spec);
OSErr FSpMakeFSRef(const FSSpec* spec, FSRef* ref);
OSErr FSMakeFSRefUnicode(const FSRef* parent, UniCharCount nameLength, const UniChar* name,
                         TextEncoding hint, FSRef* newRef);
OSErr FSCompareFSRefs(const FSRef* a, const FSRef* b);
OSErr FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize);
OSErr FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory);

// Catalog information.
OSErr PBGetCatInfoSync(CInfoPBRec* pb);
OSErr PBSetCatInfoSync(CInfoPBRec* pb);
OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* info,
                       HFSUniStr255* outName, FSSpec* spec, FSRef* parentRef);
OSErr FSSetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* info);
// The same for an item named by its FSSpec, found with one lookup instead of two.
OSErr FSGetCatalogInfo(const FSSpec* spec, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* info, HFSUniStr255* outName);
OSErr FSSetCatalogInfo(const FSSpec* spec, FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* info);
OSErr PBHGetDirAccessSync(HParamBlockRec* pb);
OSErr PBHSetDirAccessSync(HParamBlockRec* pb);
OSErr PBHMapIDSync(HParamBlockRec* pb);
OSErr PBHMapNameSync(HParamBlockRec* pb);
OSErr FSpSetFLock(const FSSpec* spec);
OSErr FSpRstFLock(const FSSpec* spec);

// The bulk catalog iterator: a folder's items in the order of the indexed reads.
using FSIterator = struct OpaqueFSIterator*;
using ItemCount = unsigned long;
enum : UInt32 {
    kFSIterateFlat = 0,
};
OSErr FSOpenIterator(const FSRef* container, UInt32 iteratorFlags, FSIterator* iterator);
OSErr FSCloseIterator(FSIterator iterator);
OSErr FSGetCatalogInfoBulk(FSIterator iterator, ItemCount maximumObjects, ItemCount* actualObjects,
                           Boolean* containerChanged, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfos,
                           FSRef* refs, FSSpec* specs, HFSUniStr255* names);

// Creating, renaming, moving and deleting.
OSErr FSpCreate(const FSSpec* spec, OSType creator, OSType fileType, SInt16 scriptTag);
OSErr FSpDirCreate(const FSSpec* spec, SInt16 scriptTag, SInt32* createdDirID);
OSErr DirCreate(SInt16 vRefNum, SInt32 parentDirID, ConstStr255Param name, SInt32* createdDirID);
OSErr FSCreateFileUnicode(const FSRef* parent, UniCharCount nameLength, const UniChar* name,
                          FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* info, FSRef* newRef,
                          FSSpec* newSpec);
OSErr FSCreateDirectoryUnicode(const FSRef* parent, UniCharCount nameLength, const UniChar* name,
                               FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* info,
                               FSRef* newRef, FSSpec* newSpec, UInt32* newDirID);
OSErr FSpDelete(const FSSpec* spec);
OSErr FSDeleteObject(const FSRef* ref);
OSErr FSpRename(const FSSpec* spec, ConstStr255Param newName);
OSErr FSRenameUnicode(const FSRef* ref, UniCharCount nameLength, const UniChar* name,
                      TextEncoding hint, FSRef* newRef);
OSErr FSpCatMove(const FSSpec* source, const FSSpec* destinationFolder);
OSErr FSMoveObject(const FSRef* ref, const FSRef* destinationFolder, FSRef* newRef);

// Forks: the data fork is the file's content (a symbolic link's is its target), the
// resource fork the extended attribute user.com.apple.ResourceFork.
OSErr FSGetDataForkName(HFSUniStr255* name);
OSErr FSGetResourceForkName(HFSUniStr255* name);
OSErr FSOpenFork(const FSRef* ref, UniCharCount forkNameLength, const UniChar* forkName,
                 SInt8 permissions, SInt16* forkRefNum);
OSErr FSReadFork(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset, UInt32 requestCount,
                 void* buffer, UInt32* actualCount);
OSErr FSWriteFork(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset, UInt32 requestCount,
                  const void* buffer, UInt32* actualCount);
OSErr FSGetForkSize(SInt16 forkRefNum, SInt64* forkSize);
OSErr FSSetForkSize(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset);
OSErr FSGetForkPosition(SInt16 forkRefNum, SInt64* position);
OSErr FSSetForkPosition(SInt16 forkRefNum, UInt16 positionMode, SInt64 positionOffset);
OSErr FSCloseFork(SInt16 forkRefNum);
// Linux: `count` bytes of an open data fork into another open data fork at the same
// offsets, copied inside the kernel; holes of the source stay holes (the written
// fork's size is then left short of them). paramErr where the two forks cannot be
// copied this way (resource forks, another kind of file system): read and write.
OSErr FSCopyForkRange(SInt16 fromRefNum, SInt16 toRefNum, SInt64 offset, UInt32 count);
OSErr FSpOpenDF(const FSSpec* spec, SInt8 permission, SInt16* refNum);
OSErr FSpOpenRF(const FSSpec* spec, SInt8 permission, SInt16* refNum);
// The classic calls on an open fork, at its mark, in 32 bits.
OSErr FSRead(SInt16 refNum, SInt32* count, void* buffer);
OSErr FSWrite(SInt16 refNum, SInt32* count, const void* buffer);
OSErr GetEOF(SInt16 refNum, SInt32* logicalEOF);
OSErr SetEOF(SInt16 refNum, SInt32 logicalEOF);
OSErr GetFPos(SInt16 refNum, SInt32* position);
OSErr SetFPos(SInt16 refNum, SInt16 positionMode, SInt32 offset);
OSErr FSClose(SInt16 refNum);
