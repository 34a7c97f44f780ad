// Lists and describes every item of flat folders of growing size and of a tree of
// 200 000 items through the platform's indexed catalog reads, beside `find -printf`
// over the same items. The cost per item must stay flat as folders grow.
//
// Usage: catalog_bench [work folder]   (default /tmp/varno-bench; made once, reused)

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Files.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void MakeFiles(const std::filesystem::path& folder, int count)
{
    std::filesystem::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        const std::string path = (folder / ("file " + std::to_string(i) + ".txt")).string();
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd >= 0)
            close(fd);
    }
}

// A folder of `count` files, made unless a finished one is there.
std::filesystem::path FlatFolder(const std::filesystem::path& work, int count)
{
    const std::filesystem::path folder = work / ("flat-" + std::to_string(count));
    if (!std::filesystem::exists(folder / ".done")) {
        MakeFiles(folder, count);
        MakeFiles(folder / ".done", 0);
    }
    return folder;
}

// 20 × 20 folders of 500 files: 200 000 files and 420 folders.
std::filesystem::path Tree(const std::filesystem::path& work)
{
    const std::filesystem::path tree = work / "tree";
    if (!std::filesystem::exists(work / "tree.done")) {
        for (int a = 0; a < 20; ++a)
            for (int b = 0; b < 20; ++b)
                MakeFiles(tree / ("a" + std::to_string(a)) / ("b" + std::to_string(b)), 500);
        std::filesystem::create_directories(work / "tree.done");
    }
    return tree;
}

SInt32 FolderID(const std::filesystem::path& path, SInt16* vRefNum)
{
    FSRef ref{};
    FSCatalogInfo info{};
    if (FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr) != noErr ||
        FSGetCatalogInfo(&ref, kFSCatInfoNodeID, &info, nullptr, nullptr, nullptr) != noErr) {
        std::fprintf(stderr, "cannot reach %s\n", path.c_str());
        std::exit(1);
    }
    *vRefNum = ref.vRefNum;
    return SInt32(info.nodeID);
}

// Reads every entry's classic record, as the engine's listings do, into subfolders too.
long Walk(SInt16 vRefNum, SInt32 dirID)
{
    long items = 0;
    for (SInt16 index = 1;; ++index) {
        Str255 name;
        CInfoPBRec pb{};
        pb.hFileInfo.ioVRefNum = vRefNum;
        pb.hFileInfo.ioDirID = dirID;
        pb.hFileInfo.ioFDirIndex = index;
        pb.hFileInfo.ioNamePtr = name;
        if (PBGetCatInfoSync(&pb) != noErr)
            break;
        ++items;
        if (pb.hFileInfo.ioFlAttrib & kioFlAttribDirMask)
            items += Walk(vRefNum, pb.dirInfo.ioDrDirID);
        if (index == 0x7FFF)
            break;
    }
    return items;
}

// The classic index is 16 bits: a folder beyond 32767 entries is read in bulk.
long WalkBulk(const std::filesystem::path& folder)
{
    FSRef ref{};
    FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.c_str()), &ref, nullptr);
    FSIterator iterator = nullptr;
    if (FSOpenIterator(&ref, kFSIterateFlat, &iterator) != noErr)
        return 0;
    long items = 0;
    static FSCatalogInfo infos[64];
    static FSSpec specs[64];
    for (;;) {
        ItemCount count = 0;
        const OSErr err = FSGetCatalogInfoBulk(iterator, 64, &count, nullptr, kFSCatInfoGettableInfo & ~kFSCatInfoPermissions,
                                               infos, nullptr, specs, nullptr);
        items += long(count);
        if (err != noErr)
            break;
    }
    FSCloseIterator(iterator);
    return items;
}

double FindSeconds(const std::filesystem::path& path)
{
    const std::string command = "find '" + path.string() + "' -printf '%p %s %T@ %m %u %y\\n' > /dev/null";
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "find failed\n");
    return Seconds(start);
}

void Report(const char* what, long items, double platform, double find)
{
    std::printf("%-28s %8ld items  platform %7.3f s (%6.2f us/item)  find %7.3f s (%6.2f us/item)\n", what, items,
                platform, platform * 1e6 / double(items), find, find * 1e6 / double(items));
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path work = argc > 1 ? argv[1] : "/tmp/varno-bench";
    std::filesystem::create_directories(work);

    for (int count : {500, 5000, 50000}) {
        const std::filesystem::path folder = FlatFolder(work, count);
        const double find = FindSeconds(folder);
        const auto start = Clock::now();
        const long items = count <= 0x7FFF ? [&] {
            SInt16 vRefNum = 0;
            const SInt32 dirID = FolderID(folder, &vRefNum);
            return Walk(vRefNum, dirID);
        }()
                                           : WalkBulk(folder);
        Report(("folder of " + std::to_string(count)).c_str(), items, Seconds(start), find);
    }

    const std::filesystem::path tree = Tree(work);
    const double find = FindSeconds(tree);
    SInt16 vRefNum = 0;
    const SInt32 dirID = FolderID(tree, &vRefNum);
    const auto start = Clock::now();
    const long items = Walk(vRefNum, dirID);
    Report("tree of 20 x 20 x 500", items, Seconds(start), find);
    return 0;
}
