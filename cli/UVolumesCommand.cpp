#include "cli/UVolumesCommand.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "cli/ExitStatus.h"
#include "cli/UText.h"
#include "filesystem/UFile.h"
#include "filesystem/UVolumeChoice.h"
#include "toolkit/CStr255.h"

namespace {

std::vector<std::string> VolumeRow(short vRefNum, ConstStr255Param name)
{
    char path[1025] = {};
    UFile::GetVolumePath(vRefNum, path);
    unsigned long usedKB = 0;
    unsigned long freeKB = 0;
    Str255 total = {0};
    Str255 used = {0};
    Str255 free = {0};
    Str255 files = {0};
    if (UFile::GetSizeInVolume(vRefNum, &usedKB, &freeKB) == noErr) {
        UVolumeChoice::GetSize(usedKB + freeKB, total);
        UVolumeChoice::GetSize(usedKB, used);
        UVolumeChoice::GetSize(freeKB, free);
        CStr255::ConvLongToString(long(UFile::GetNumFilesInVolume(vRefNum)), files, kFormatGroupThousands);
    }
    std::string marks;
    const auto mark = [&marks](bool set, const char* text) {
        if (set)
            marks += (marks.empty() ? "" : ",") + std::string(text);
    };
    mark(UFile::IsServer(vRefNum), "server");
    mark(UFile::IsVolumeLocked(vRefNum), "locked");
    mark(UFile::DoesVolumeIgnorePermissions(vRefNum), "ignores-ownership");
    return {UText::FromPString(name), path, UText::FromPString(total), UText::FromPString(used),
            UText::FromPString(free), UText::FromPString(files), marks.empty() ? "-" : marks};
}

} // namespace

int UVolumesCommand::Run(std::ostream& out)
{
    std::vector<std::vector<std::string>> rows = {{"NAME", "MOUNT POINT", "TOTAL", "USED", "FREE", "FILES", "MARKS"}};
    for (long n = 1; short vRefNum = UFile::GetNthVolumeVRefNum(n); ++n) {
        Str255 name;
        if (UFile::GetVolumeName(vRefNum, name) == noErr && UVolumeChoice::IsVolumeAccepted(name, false))
            rows.push_back(VolumeRow(vRefNum, name));
    }
    UText::PrintTable(out, rows, {false, false, true, true, true, true, false});
    return kExitFinished;
}
