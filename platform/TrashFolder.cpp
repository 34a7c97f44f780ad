#include "platform/TrashFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include "platform/Files.h"
#include "platform/PercentEncoding.h"
#include "platform/PosixError.h"

namespace TrashFolder {

namespace {

std::string TrashPath(const VolumeEntry& volume)
{
    const std::string root = volume.mountPoint == "/" ? "" : volume.mountPoint;
    return root + "/.Trash-" + std::to_string(getuid());
}

OSErr MakeFolder(const std::string& path)
{
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return OSErrFromErrno(errno);
    return noErr;
}

} // namespace

OSErr FilesFolder(const VolumeEntry& volume, bool create, std::string* path)
{
    const std::string trash = TrashPath(volume);
    *path = trash + "/files";
    struct stat info;
    if (stat(path->c_str(), &info) == 0)
        return S_ISDIR(info.st_mode) ? OSErr(noErr) : OSErr(dupFNErr);
    if (!create)
        return fnfErr;
    for (const std::string& folder : {trash, trash + "/files", trash + "/info"}) {
        if (const OSErr err = MakeFolder(folder))
            return err;
    }
    return noErr;
}

bool IsFilesFolder(const VolumeEntry& volume, const std::string& folderPath)
{
    return folderPath == TrashPath(volume) + "/files";
}

OSErr RecordItem(const VolumeEntry& volume, const std::string& name, const std::string& originalPath)
{
    const std::string infoFolder = TrashPath(volume) + "/info";
    if (const OSErr err = MakeFolder(infoFolder))
        return err;
    char date[32];
    const time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    const std::string record = "[Trash Info]\nPath=" + PercentEncodedPath(originalPath) + "\nDeletionDate=" + date + "\n";
    const std::string path = infoFolder + "/" + name + ".trashinfo";
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return OSErrFromErrno(errno);
    const bool written = write(fd, record.data(), record.size()) == ssize_t(record.size());
    close(fd);
    return written ? OSErr(noErr) : OSErr(ioErr);
}

} // namespace TrashFolder
