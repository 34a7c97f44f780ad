// Deletes flat folders of growing size and a tree through CFolderObject::Delete,
// beside `rm -rf` over a copy of the same items. The cost per item must stay flat as
// folders grow: the deletion reads entry 1 again after every item it removes.
//
// Usage: folder_delete_bench [work folder]   (default /tmp/varno-delete-bench)

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "filesystem/CFolderObject.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// `folders` folders of `files` files each under `top`; answers the item count.
long MakeTree(const std::filesystem::path& top, int folders, int files)
{
    long items = 0;
    for (int f = 0; f < folders; ++f) {
        const auto folder = folders == 1 ? top : top / ("folder " + std::to_string(f));
        std::filesystem::create_directories(folder);
        for (int i = 0; i < files; ++i) {
            const std::string path = (folder / ("file " + std::to_string(i) + ".txt")).string();
            const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            if (fd >= 0)
                close(fd);
            ++items;
        }
    }
    return items;
}

bool DeleteThroughPlatform(const std::filesystem::path& folder)
{
    FSRef ref{};
    FSSpec spec{};
    if (FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.c_str()), &ref, nullptr) != noErr ||
        FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr) != noErr)
        return false;
    return CFolderObject(&spec).Delete() == noErr;
}

void Measure(const std::filesystem::path& work, const char* what, int folders, int files)
{
    const auto ours = work / "ours";
    const auto theirs = work / "theirs";
    const long items = MakeTree(ours, folders, files);
    MakeTree(theirs, folders, files);

    const auto start = Clock::now();
    if (!DeleteThroughPlatform(ours) || std::filesystem::exists(ours)) {
        std::fprintf(stderr, "deletion of %s failed\n", ours.c_str());
        std::exit(1);
    }
    const double platform = Seconds(start);
    const auto rmStart = Clock::now();
    const std::string command = "rm -rf '" + theirs.string() + "'";
    if (std::system(command.c_str()) != 0)
        std::exit(1);
    const double rm = Seconds(rmStart);
    std::printf("%-24s %7ld items  CFolderObject %7.3f s (%6.2f us/item)  rm -rf %7.3f s (%6.2f us/item)\n", what,
                items, platform, platform * 1e6 / double(items), rm, rm * 1e6 / double(items));
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path work = argc > 1 ? argv[1] : "/tmp/varno-delete-bench";
    std::filesystem::create_directories(work);
    for (const int count : {1000, 4000, 16000})
        Measure(work, ("flat " + std::to_string(count)).c_str(), 1, count);
    Measure(work, "tree 40 x 500", 40, 500);
    return 0;
}
