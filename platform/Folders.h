#pragma once
// The Folder Manager: the trash of a volume and the user's preferences folder.
// The trash is the freedesktop trash of the volume, <mount point>/.Trash-<uid>/files,
// created when missing; every item moved into it through the platform gets its
// record in the trash's info folder. The preferences folder is $XDG_CONFIG_HOME,
// else ~/.config, of the real user; a set-uid run ignores the environment and takes
// the real user's home from the passwd database.

#include "platform/Files.h"

enum : OSType {
    kTrashFolderType = MakeOSType("trsh"),
    kPreferencesFolderType = MakeOSType("pref"),
};

enum : SInt16 {
    kOnSystemDisk = -32768,
};

constexpr Boolean kCreateFolder = true;
constexpr Boolean kDontCreateFolder = false;

OSErr FindFolder(SInt16 vRefNum, OSType folderType, Boolean createFolder, SInt16* foundVRefNum, SInt32* foundDirID);
