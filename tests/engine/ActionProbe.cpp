// Clones one folder into another without windows and prints the outcome, for the
// tests that run an action as another user.
// Usage: action_probe <source folder> <destination folder> <resources folder>

#include <cstdio>

#include "engine/CActionThread.h"
#include "engine/UActionRun.h"
#include "platform/Files.h"
#include "platform/Resources.h"

namespace {

bool SpecOf(const char* path, FSSpec* spec)
{
    FSRef ref{};
    return FSPathMakeRef(reinterpret_cast<const UInt8*>(path), &ref, nullptr) == noErr &&
           FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, spec, nullptr) == noErr;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    SetResourceFolderForTesting(argv[3]);
    ActionSettingsStruct settings;
    settings.actionKind = ActionSettingsStruct::kClone;
    settings.cloneAction = 1;
    if (!SpecOf(argv[1], &settings.source) || !SpecOf(argv[2], &settings.destination))
        return 3;
    auto* thread = new CActionThread(&settings);
    thread->mWriteReport = true;
    UActionRun::RunToEnd(thread, {}, [](CActionThread& finished) {
        std::printf("repair %d new %u errors %u\n", int(finished.mRepairPermissions), finished.mHeader.newFiles,
                    finished.mHeader.errors);
    });
    return 0;
}
