// Copies one large file and a tree of small files with CCopyFileThread, beside
// `cp -a` of the same items on the same volume, and prints both throughputs. The
// large file must reach at least 90% of `cp -a`.
//
// Usage: copy_bench [work folder] [large file MB]   (default /tmp/varno-copy-bench, 2048)

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/CCopyFileThread.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void Fail(const std::string& what)
{
    std::fprintf(stderr, "%s\n", what.c_str());
    std::exit(1);
}

void WriteFile(const std::filesystem::path& path, long long bytes)
{
    std::vector<char> block(1 << 20);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = char(i * 7 + 1);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        Fail("cannot create " + path.string());
    for (long long done = 0; done < bytes;) {
        const long long chunk = std::min<long long>(bytes - done, (long long)block.size());
        if (write(fd, block.data(), std::size_t(chunk)) != chunk)
            Fail("cannot write " + path.string());
        done += chunk;
    }
    close(fd);
}

// The volume and directory ID of a folder.
FSSpec FolderOf(const std::filesystem::path& folder)
{
    FSRef ref{};
    FSCatalogInfo info{};
    if (FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.c_str()), &ref, nullptr) != noErr ||
        FSGetCatalogInfo(&ref, kFSCatInfoNodeID, &info, nullptr, nullptr, nullptr) != noErr)
        Fail("cannot find " + folder.string());
    return FSSpec{ref.vRefNum, SInt32(info.nodeID), {}};
}

void CopyOne(const std::filesystem::path& file, const std::filesystem::path& destination)
{
    const FSSpec from = FolderOf(file.parent_path());
    const FSSpec to = FolderOf(destination);
    const std::string name = file.filename().string();
    Str255 pascal{UInt8(name.size())};
    name.copy(reinterpret_cast<char*>(pascal + 1), name.size());
    CCopyFileThread copy(from.vRefNum, from.parID, pascal, to.vRefNum, to.parID);
    copy.ExecuteAction(nullptr, nullptr, nullptr);
    if (copy.mError != noErr)
        Fail("copy of " + file.string() + " failed: " + std::to_string(copy.mError));
}

// Copies every file of `tree` into the same place under `destination`.
void CopyTree(const std::filesystem::path& tree, const std::filesystem::path& destination)
{
    std::filesystem::create_directories(destination);
    for (const auto& entry : std::filesystem::directory_iterator(tree)) {
        if (entry.is_directory())
            CopyTree(entry.path(), destination / entry.path().filename());
        else
            CopyOne(entry.path(), destination);
    }
}

void Compare(const char* what, double bytes, double ours, double theirs)
{
    std::printf("%-18s CCopyFileThread %7.3f s (%7.1f MB/s)  cp -a %7.3f s (%7.1f MB/s)  ratio %5.1f%%\n", what, ours,
                bytes / ours / 1e6, theirs, bytes / theirs / 1e6, 100.0 * theirs / ours);
}

// The time of `copy` until its data is on the disk.
// Both start from a cold cache (as root), so neither reads what the other left cached.
template <typename Copy>
double Timed(Copy copy)
{
    std::system("sync; echo 3 > /proc/sys/vm/drop_caches 2>/dev/null");
    const auto start = Clock::now();
    copy();
    std::system("sync");
    return Seconds(start);
}

void RunCp(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (std::system(("cp -a '" + from.string() + "' '" + to.string() + "'").c_str()) != 0)
        Fail("cp -a failed");
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path work = argc > 1 ? argv[1] : "/tmp/varno-copy-bench";
    const long long megabytes = argc > 2 ? std::atoll(argv[2]) : 2048;
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work / "source");
    std::filesystem::create_directories(work / "ours");
    std::filesystem::create_directories(work / "theirs");

    const double largeBytes = double(megabytes) * 1024 * 1024;
    WriteFile(work / "source/large", (long long)largeBytes);
    // Twice in turns, so that neither always finds the caches as the other left them.
    double ours = 0;
    double theirs = 0;
    for (int round = 0; round < 2; ++round) {
        theirs += Timed([&] { RunCp(work / "source/large", work / "theirs/large"); });
        ours += Timed([&] { CopyOne(work / "source/large", work / "ours"); });
        std::filesystem::remove(work / "theirs/large");
        std::filesystem::remove(work / "ours/large");
    }
    Compare("one large file", largeBytes, ours / 2, theirs / 2);

    constexpr int kFolders = 20;
    constexpr int kFiles = 250;
    double treeBytes = 0;
    for (int f = 0; f < kFolders; ++f) {
        const auto folder = work / "tree" / ("folder " + std::to_string(f));
        std::filesystem::create_directories(folder);
        for (int i = 0; i < kFiles; ++i) {
            const long long size = 1024 + (i % 8) * 1024;
            WriteFile(folder / ("file " + std::to_string(i)), size);
            treeBytes += double(size);
        }
    }
    theirs = Timed([&] { RunCp(work / "tree", work / "theirs/tree"); });
    ours = Timed([&] { CopyTree(work / "tree", work / "ours/tree"); });
    Compare("small files", treeBytes, ours, theirs);

    std::filesystem::remove_all(work);
    return 0;
}
