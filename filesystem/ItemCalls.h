#pragma once
// The item calls the file objects need, straight over the File Manager, until the
// item utilities take them over. Names may be long names (up to 255 bytes).

#include "platform/Files.h"

namespace ItemCalls {

// UFile::MakeFileSpec once it lands
OSErr MakeFileSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, FSSpec* spec);
// The specification an item object keeps: resolved as MakeFileSpec does it, but an
// empty name stays empty, where the platform would name the folder itself and the
// object would act on its parent folder.
FSSpec ItemSpec(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name);
// UFile::GetFileInfos once it lands
OSErr GetFileInfos(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, CInfoPBRec* pb);
// UFile::SetFileInfos once it lands
OSErr SetFileInfos(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, CInfoPBRec* pb);
// UFile::ExistsOnDisk once it lands
Boolean ExistsOnDisk(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name);
// UFile::GetFileSize once it lands; both forks in 64 bits, as a file over 4 GB needs
UInt64 GetFileSize(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name);
// UFile::GetSizeInVolume once it lands
OSErr GetSizeInVolume(SInt16 vRefNum, UInt32* usedKB, UInt32* freeKB);
// UFile::GetOwner once it lands
OSErr GetOwner(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, SInt32* owner, SInt32* group, SInt32* access);
// UFile::SetOwner once it lands
OSErr SetOwner(SInt16 vRefNum, SInt32 dirID, ConstStr255Param name, SInt32 owner, SInt32 group, SInt32 access);

} // namespace ItemCalls
