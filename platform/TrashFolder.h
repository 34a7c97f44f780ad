#pragma once
// The freedesktop trash of a volume: <mount point>/.Trash-<uid> with its files and
// info folders.

#include <string>

#include "platform/VolumeList.h"

namespace TrashFolder {

// The path of the trash's files folder on `volume`, made when `create` and missing.
OSErr FilesFolder(const VolumeEntry& volume, bool create, std::string* path);

// Whether `folderPath` is the files folder of the trash of `volume`.
bool IsFilesFolder(const VolumeEntry& volume, const std::string& folderPath);

// Writes the info record of an item just moved into the trash as `name`.
OSErr RecordItem(const VolumeEntry& volume, const std::string& name, const std::string& originalPath);

} // namespace TrashFolder
