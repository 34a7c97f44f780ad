// Clones flat folders of growing size with the action run, then runs again when
// nothing changed. The cost per item of either run shows whether the walk, its
// rules and its log grow with the folder.
//
// Usage: action_run_bench [work folder]   (default /tmp/varno-action-bench)

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/CActionThread.h"
#include "engine/UActionRun.h"
#include "platform/Files.h"
#include "platform/Resources.h"

namespace {

using Clock = std::chrono::steady_clock;

bool SpecOf(const std::filesystem::path& path, FSSpec* spec)
{
    FSRef ref{};
    return FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr) == noErr &&
           FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, spec, nullptr) == noErr;
}

// Seconds taken by one clone of `source` into `destination`.
double Clone(const ActionSettingsStruct& settings, UInt32* newFiles)
{
    const auto start = Clock::now();
    auto* thread = new CActionThread(&settings);
    thread->mWriteReport = true;
    UActionRun::RunToEnd(thread, {}, [&](CActionThread& finished) { *newFiles = finished.mHeader.newFiles; });
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    SetResourceFolderForTesting(VARNO_RESOURCES);
    const std::filesystem::path work = argc > 1 ? argv[1] : "/tmp/varno-action-bench";
    for (const int files : {1000, 2000, 4000, 8000}) {
        std::filesystem::remove_all(work);
        std::filesystem::create_directories(work / "source");
        std::filesystem::create_directories(work / "destination");
        for (int i = 0; i < files; ++i) {
            const int fd = open((work / "source" / ("file " + std::to_string(i))).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC,
                                0644);
            if (fd >= 0)
                close(fd);
        }
        ActionSettingsStruct settings;
        settings.actionKind = ActionSettingsStruct::kClone;
        settings.cloneAction = 1;
        if (!SpecOf(work / "source", &settings.source) || !SpecOf(work / "destination", &settings.destination))
            return 1;
        UInt32 copied = 0;
        UInt32 again = 0;
        const double first = Clone(settings, &copied);
        const double second = Clone(settings, &again);
        std::printf("%6d files  clone %7.3f s (%7.2f us/item, %u copied)  unchanged %7.3f s (%6.2f us/item, %u copied)\n",
                    files, first, first * 1e6 / files, copied, second, second * 1e6 / files, again);
    }
    std::filesystem::remove_all(work);
    return 0;
}
