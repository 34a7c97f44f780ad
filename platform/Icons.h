#pragma once
// Icon Services without drawing: an icon reference names an icon of the desktop's
// icon theme (freedesktop icon naming), which the window toolkit draws. A reference
// is counted: Get and Acquire take one, Release gives one back.

#include <string>

#include "platform/Files.h"

struct OpaqueIconRef;
using IconRef = OpaqueIconRef*;

enum : OSType {
    kSystemIconsCreator = MakeOSType("macs"),
    kGenericFolderIcon = MakeOSType("fldr"),
    kGenericDocumentIcon = MakeOSType("docu"),
    kGenericApplicationIcon = MakeOSType("APPL"),
    kGenericHardDiskIcon = MakeOSType("hdsk"),
    kGenericCDROMIcon = MakeOSType("cddr"),
    kGenericRemovableMediaIcon = MakeOSType("rmov"),
    kGenericFileServerIcon = MakeOSType("srvr"),
    kTrashIcon = MakeOSType("trsh"),
};

// A generic icon by its type; an unknown type gives the generic document icon.
OSErr GetIconRef(SInt16 vRefNum, OSType creator, OSType iconType, IconRef* icon);
// The item's icon: a volume's drive, a folder, an application, or a document.
OSErr GetIconRefFromFile(const FSSpec* spec, IconRef* icon, SInt16* label);
OSErr GetIconRefFromFileInfo(const FSRef* ref, UniCharCount nameLength, const UniChar* name,
                             FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* info, UInt32 usageFlags,
                             IconRef* icon, SInt16* label);
OSErr AcquireIconRef(IconRef icon);
OSErr ReleaseIconRef(IconRef icon);

// The theme's name of the icon, for the window toolkit.
std::string IconRefThemeName(IconRef icon);
