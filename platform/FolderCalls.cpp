// The Folder Manager's FindFolder over the trash and the preferences folder.

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/Catalog.h"
#include "platform/Folders.h"
#include "platform/PosixError.h"
#include "platform/TrashFolder.h"

namespace {

// The real user's configuration folder, also when running set-uid. A set-uid run
// takes no folder from the environment: the user could point root's writes anywhere.
std::string PreferencesPath()
{
    const bool setUID = geteuid() != getuid();
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/' && !setUID)
        return config;
    if (const passwd* user = getpwuid(getuid()))
        return std::string(user->pw_dir) + "/.config";
    const char* home = setUID ? nullptr : std::getenv("HOME");
    return std::string(home ? home : "/") + "/.config";
}

OSErr FolderOfPath(const std::string& path, SInt16* vRefNum, SInt32* dirID)
{
    FSRef ref{};
    Boolean isFolder = false;
    if (const OSErr err = FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, &isFolder))
        return err;
    if (!isFolder)
        return dupFNErr;
    FSCatalogInfo info{};
    if (const OSErr err = FSGetCatalogInfo(&ref, kFSCatInfoNodeID, &info, nullptr, nullptr, nullptr))
        return err;
    *vRefNum = ref.vRefNum;
    *dirID = SInt32(info.nodeID);
    return noErr;
}

} // namespace

OSErr FindFolder(SInt16 vRefNum, OSType folderType, Boolean createFolder, SInt16* foundVRefNum, SInt32* foundDirID)
{
    if (!foundVRefNum || !foundDirID)
        return paramErr;
    std::string path;
    if (folderType == kTrashFolderType) {
        const VolumeEntry* volume = VolumeList::Shared().ByRefNum(vRefNum == kOnSystemDisk ? 0 : vRefNum);
        if (!volume)
            return nsvErr;
        if (const OSErr err = TrashFolder::FilesFolder(*volume, createFolder, &path))
            return err;
    } else if (folderType == kPreferencesFolderType) {
        path = PreferencesPath();
        std::error_code error;
        if (createFolder && !std::filesystem::exists(path, error) && !std::filesystem::create_directories(path, error))
            return OSErrFromErrno(error.value());
    } else {
        return fnfErr;
    }
    return FolderOfPath(path, foundVRefNum, foundDirID);
}
