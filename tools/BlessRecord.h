#pragma once
// What `bless` records, where the launcher and the tests read it back: a volume's
// blessed folder and label in the file ".varno-bless" at the volume's mount point
// (lines "folder=PATH" relative to the mount point, and "label=TEXT"), and the volume
// that starts the machine next in /var/lib/varno/next-startup (its mount point).

#include <map>
#include <optional>
#include <string>

namespace BlessRecord {

constexpr const char* kVolumeRecordName = ".varno-bless";
constexpr const char* kNextStartupFile = "/var/lib/varno/next-startup";

// The mount point of the file system that holds `path`, or of its nearest existing
// ancestor; none when nothing on the way exists.
std::optional<std::string> MountPointOf(const std::string& path);

// The record of the volume mounted at `mountPoint`: key, value; empty when there is none.
std::map<std::string, std::string> Read(const std::string& mountPoint);
bool Write(const std::string& mountPoint, const std::map<std::string, std::string>& record);

} // namespace BlessRecord
