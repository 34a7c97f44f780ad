#include "tools/BlessRecord.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace BlessRecord {

std::optional<std::string> MountPointOf(const std::string& path)
{
    std::filesystem::path current = std::filesystem::path(path).lexically_normal();
    struct stat info;
    while (stat(current.c_str(), &info) != 0) {
        if (!current.has_relative_path())
            return std::nullopt;
        current = current.parent_path();
    }
    // Up while the parent is on the same device; "/" is its own parent.
    current = std::filesystem::weakly_canonical(current);
    for (;;) {
        const std::filesystem::path parent = current.parent_path();
        struct stat parentInfo;
        if (parent == current || stat(parent.c_str(), &parentInfo) != 0 || parentInfo.st_dev != info.st_dev)
            return current.string();
        current = parent;
    }
}

std::map<std::string, std::string> Read(const std::string& mountPoint)
{
    std::map<std::string, std::string> record;
    std::ifstream file(std::filesystem::path(mountPoint) / kVolumeRecordName);
    for (std::string line; std::getline(file, line);) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos)
            record[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return record;
}

bool Write(const std::string& mountPoint, const std::map<std::string, std::string>& record)
{
    // Written beside and renamed over the old one, so a reader never sees half a record.
    const std::filesystem::path target = std::filesystem::path(mountPoint) / kVolumeRecordName;
    const std::filesystem::path temporary = target.string() + ".new";
    {
        std::ofstream file(temporary, std::ios::trunc);
        for (const auto& [key, value] : record)
            file << key << '=' << value << '\n';
        file.flush();
        if (!file)
            return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    return !error;
}

} // namespace BlessRecord
