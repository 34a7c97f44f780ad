#pragma once
// The 32 bytes of Finder information as stored (user.com.apple.FinderInfo and the
// finderInfo/extFinderInfo fields of FSCatalogInfo): big-endian, a file's FInfo and
// FXInfo or a folder's DInfo and DXInfo, 16 bytes each.

#include <array>

#include "platform/Files.h"

using FinderInfoBytes = std::array<UInt8, kFinderInfoSize>;

namespace FinderInfo {

void Decode(const FinderInfoBytes& bytes, FInfo* info, FXInfo* extended);
void Decode(const FinderInfoBytes& bytes, DInfo* info, DXInfo* extended);
FinderInfoBytes Encode(const FInfo& info, const FXInfo& extended);
FinderInfoBytes Encode(const DInfo& info, const DXInfo& extended);

OSType Type(const FinderInfoBytes& bytes);
// The file type in the Finder information of a catalog record (FSCatalogInfo::finderInfo).
OSType Type(const UInt8 (&catalogFinderInfo)[16]);
OSType Creator(const FinderInfoBytes& bytes);
UInt16 Flags(const FinderInfoBytes& bytes);
void SetType(FinderInfoBytes& bytes, OSType type, OSType creator);
void SetFlags(FinderInfoBytes& bytes, UInt16 flags);

} // namespace FinderInfo
