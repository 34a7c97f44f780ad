#pragma once
// Icon references: icons of the desktop's icon theme, Qt's own standing in where the
// theme has none. A reference is counted: Get and Acquire take one, Release gives one back.

#include <string>

#include "platform/MacTypes.h"

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

enum : SInt16 {
    kAlignNone = 0,
    kAlignAbsoluteCenter = 5,
};

enum : SInt16 {
    kTransformNone = 0,
    kTransformDisabled = 1,
    kTransformSelected = 0x4000,
};

enum : UInt32 {
    kIconServicesNormalUsageFlag = 0,
};

// A generic icon by its type; an unknown type gives the generic document icon.
OSErr GetIconRef(SInt16 vRefNum, OSType creator, OSType iconType, IconRef* outIcon);
// The icon of the item at the path: a folder's, or that of the file's content type.
OSErr GetIconRefFromPath(const std::string& path, IconRef* outIcon);
OSErr AcquireIconRef(IconRef icon);
OSErr ReleaseIconRef(IconRef icon);
// Into the current port (QuickDraw.h), fitted and centred in the rectangle.
OSErr PlotIconRef(const Rect* r, SInt16 alignment, SInt16 transform, UInt32 usage, IconRef icon);
