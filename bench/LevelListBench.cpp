// Lists flat folders of growing size into a level list (CBaseCompareFolder) and
// consumes it from the front as the action run does, then deletes each folder with
// CDeleteFolder, which walks the same kind of list. The cost per item shows whether
// the sorted insertion, the removal of record 1 or the deletion grow with the folder.
//
// Usage: level_list_bench [work folder]   (default /tmp/varno-level-bench)

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/CBaseCompareFolder.h"
#include "engine/CDeleteFolder.h"
#include "toolkit/CListStructs.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// The volume and directory ID of a folder; 0 when it cannot be found.
SInt32 FolderID(const std::filesystem::path& folder, SInt16* vRefNum)
{
    FSRef ref{};
    FSCatalogInfo info{};
    if (FSPathMakeRef(reinterpret_cast<const UInt8*>(folder.c_str()), &ref, nullptr) != noErr ||
        FSGetCatalogInfo(&ref, kFSCatInfoNodeID, &info, nullptr, nullptr, nullptr) != noErr)
        return 0;
    *vRefNum = ref.vRefNum;
    return SInt32(info.nodeID);
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path work = argc > 1 ? argv[1] : "/tmp/varno-level-bench";
    const std::filesystem::path flat = work / "flat";
    for (const int files : {1000, 4000, 16000, 32000}) {
        std::filesystem::remove_all(work);
        std::filesystem::create_directories(flat);
        for (int i = 0; i < files; ++i) {
            const int fd = open((flat / ("file " + std::to_string(i * 7919 % files))).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            if (fd >= 0)
                close(fd);
        }
        SInt16 vRefNum = 0;
        const SInt32 folderID = FolderID(flat, &vRefNum);
        const SInt32 workID = FolderID(work, &vRefNum);
        if (folderID == 0 || workID == 0)
            return 1;
        auto start = Clock::now();
        std::unique_ptr<CListStructs> list(CBaseCompareFolder::GetOneLevelList(nullptr, vRefNum, folderID, 0, 0, 0));
        const double listing = Seconds(start);
        start = Clock::now();
        while (list->GetCount() > 0)
            list->RemoveNthStruct(1);
        const double consuming = Seconds(start);
        start = Clock::now();
        CDeleteFolder deletion(vRefNum, workID, reinterpret_cast<ConstStr255Param>("\004flat"));
        deletion.ExecuteAction(nullptr, nullptr, nullptr);
        const double deleting = Seconds(start);
        if (std::filesystem::exists(flat))
            return 1;
        std::printf("%6d files  listing %7.3f s (%6.2f us/item)  consuming %7.3f s (%6.2f us/item)  deleting %7.3f s "
                    "(%6.2f us/item)\n",
                    files, listing, listing * 1e6 / files, consuming, consuming * 1e6 / files, deleting,
                    deleting * 1e6 / files);
    }
    std::filesystem::remove_all(work);
    return 0;
}
