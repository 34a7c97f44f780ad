// bless: makes a copied volume the one to start from, the Linux way of recording it.
//   bless -folder FOLDER               the volume holding FOLDER is blessed with it
//   bless -mount PATH -label LABEL     the volume holding PATH gets the label
//   bless -mount PATH -setBoot         the volume holding PATH starts the machine next
// Exit status 0 on success, 1 for a command line it does not know, 2 when the record
// cannot be written.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/BlessRecord.h"

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: bless -folder FOLDER | -mount PATH (-label LABEL | -setBoot)\n");
    return 1;
}

// FOLDER relative to the mount point, with a single leading slash.
std::string RelativeFolder(const std::string& folder, const std::string& mountPoint)
{
    const std::filesystem::path relative =
        std::filesystem::path(folder).lexically_normal().lexically_relative(mountPoint);
    return "/" + (relative == "." ? std::string() : relative.string());
}

int Update(const std::string& path, const std::string& key, const std::string& value)
{
    const auto mountPoint = BlessRecord::MountPointOf(path);
    if (!mountPoint)
        return 2;
    auto record = BlessRecord::Read(*mountPoint);
    record[key] = key == "folder" ? RelativeFolder(value, *mountPoint) : value;
    return BlessRecord::Write(*mountPoint, record) ? 0 : 2;
}

int SetBoot(const std::string& path)
{
    const auto mountPoint = BlessRecord::MountPointOf(path);
    if (!mountPoint)
        return 2;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(BlessRecord::kNextStartupFile).parent_path(), error);
    std::ofstream file(BlessRecord::kNextStartupFile, std::ios::trunc);
    file << *mountPoint << '\n';
    return file.flush() ? 0 : 2;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::string option = argc > 1 ? argv[1] : "";
    if (argc == 3 && option == "-folder")
        return Update(argv[2], "folder", argv[2]);
    if (argc == 5 && option == "-mount" && std::string(argv[3]) == "-label")
        return Update(argv[2], "label", argv[4]);
    if (argc == 4 && option == "-mount" && std::string(argv[3]) == "-setBoot")
        return SetBoot(argv[2]);
    return Usage();
}
