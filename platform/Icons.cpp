#include "platform/Icons.h"

#include "platform/FinderInfo.h"

#include <array>

struct OpaqueIconRef {
    std::string themeName;
    int references = 1;
};

namespace {

struct GenericIcon {
    OSType type;
    const char* themeName;
};

constexpr std::array kGenericIcons = {
    GenericIcon{kGenericDocumentIcon, "text-x-generic"},
    GenericIcon{kGenericFolderIcon, "folder"},
    GenericIcon{kGenericApplicationIcon, "application-x-executable"},
    GenericIcon{kGenericHardDiskIcon, "drive-harddisk"},
    GenericIcon{kGenericCDROMIcon, "media-optical"},
    GenericIcon{kGenericRemovableMediaIcon, "drive-removable-media"},
    GenericIcon{kGenericFileServerIcon, "network-server"},
    GenericIcon{kTrashIcon, "user-trash"},
};

OSErr Generic(OSType type, IconRef* icon)
{
    if (!icon)
        return paramErr;
    const char* name = kGenericIcons[0].themeName;
    for (const GenericIcon& generic : kGenericIcons) {
        if (generic.type == type)
            name = generic.themeName;
    }
    *icon = new OpaqueIconRef{name};
    return noErr;
}

// The icon of an item from what its catalog record says of it.
OSType IconType(const FSRef& ref, const FSCatalogInfo& info)
{
    if (ref.parID == fsRtParID)
        return kGenericHardDiskIcon;
    if (info.nodeFlags & kFSNodeIsDirectoryMask)
        return kGenericFolderIcon;
    const OSType fileType = FinderInfo::Type(info.finderInfo);
    return fileType == kGenericApplicationIcon ? kGenericApplicationIcon : kGenericDocumentIcon;
}

} // namespace

OSErr GetIconRef(SInt16, OSType, OSType iconType, IconRef* icon)
{
    return Generic(iconType, icon);
}

OSErr GetIconRefFromFile(const FSSpec* spec, IconRef* icon, SInt16* label)
{
    FSRef ref;
    FSCatalogInfo info{};
    OSErr err = FSpMakeFSRef(spec, &ref);
    if (!err)
        err = FSGetCatalogInfo(&ref, kFSCatInfoNodeFlags | kFSCatInfoFinderInfo, &info, nullptr, nullptr, nullptr);
    if (err)
        return err;
    if (label)
        *label = 0;
    return Generic(IconType(ref, info), icon);
}

OSErr GetIconRefFromFileInfo(const FSRef* ref, UniCharCount, const UniChar*, FSCatalogInfoBitmap whichInfo,
                             const FSCatalogInfo* info, UInt32, IconRef* icon, SInt16* label)
{
    FSCatalogInfo read{};
    if (!ref)
        return paramErr;
    if (!info || (whichInfo & (kFSCatInfoNodeFlags | kFSCatInfoFinderInfo)) !=
                     (kFSCatInfoNodeFlags | kFSCatInfoFinderInfo)) {
        if (const OSErr err =
                FSGetCatalogInfo(ref, kFSCatInfoNodeFlags | kFSCatInfoFinderInfo, &read, nullptr, nullptr, nullptr))
            return err;
        info = &read;
    }
    if (label)
        *label = 0;
    return Generic(IconType(*ref, *info), icon);
}

OSErr AcquireIconRef(IconRef icon)
{
    if (!icon)
        return paramErr;
    ++icon->references;
    return noErr;
}

OSErr ReleaseIconRef(IconRef icon)
{
    if (!icon)
        return paramErr;
    if (--icon->references == 0)
        delete icon;
    return noErr;
}

std::string IconRefThemeName(IconRef icon)
{
    return icon ? icon->themeName : std::string();
}
