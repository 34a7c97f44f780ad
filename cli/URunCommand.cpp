#include "cli/URunCommand.h"

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <set>

#include "cli/CCommandLine.h"
#include "cli/CEndPoint.h"
#include "cli/CProgressLine.h"
#include "cli/ExitStatus.h"
#include "cli/StInterruptHandler.h"
#include "cli/UQuestion.h"
#include "cli/UReportText.h"
#include "cli/UText.h"
#include "engine/CActionThread.h"
#include "engine/UActionRun.h"
#include "engine/URootFolders.h"
#include "filesystem/UFile.h"
#include "platform/MacRoman.h"
#include "platform/Resources.h"
#include "toolkit/CStr255.h"

namespace {

constexpr ResIDT kVolumeStrings = 130;
constexpr ResIDT kApplicationStrings = 128;
constexpr short kSkipFolderIndex = 8;
constexpr short kReportNameIndex = 11;

std::string IndexedString(ResIDT list, short index)
{
    Str255 text;
    GetIndString(text, list, index);
    return UText::FromPString(text);
}

int Refuse(const std::string& reason)
{
    std::cerr << "varno-cli: " << reason << "\n";
    return kExitRefused;
}

int BadUsage(const std::string& reason)
{
    std::cerr << "varno-cli: " << reason << "\n";
    return kExitBadUsage;
}

bool IsStartupVolume(short vRefNum)
{
    return vRefNum == UFile::GetNthVolumeVRefNum(1);
}

std::string VolumeName(short vRefNum)
{
    Str255 name = {0};
    UFile::GetVolumeName(vRefNum, name);
    return UText::FromPString(name);
}

// Whether the folder holds anything that takes part in a run: the report file, the
// folder the application never copies and an empty "lost+found" do not.
bool HoldsItems(const std::string& path)
{
    static const std::set<std::string> kNotTakingPart = {IndexedString(kApplicationStrings, kReportNameIndex),
                                                         IndexedString(kApplicationStrings, kSkipFolderIndex)};
    std::error_code failure;
    for (const auto& item : std::filesystem::directory_iterator(path, failure)) {
        const std::string name = item.path().filename().string();
        if (kNotTakingPart.count(name))
            continue;
        if (name == "lost+found" && std::filesystem::is_empty(item.path(), failure))
            continue;
        return true;
    }
    return false;
}

// What a run needs beyond its settings.
struct RunRequest {
    ActionSettingsStruct settings;
    CEndPoint source;
    CEndPoint destination;
    bool languageFilter = false;
    bool bless = false;
};

std::string Within(const std::string& folder, const std::string& name)
{
    return (folder == "/" ? "" : folder) + "/" + name;
}

// The folder the run writes into: the destination, or the folder made there by --into.
std::string DestinationPath(const RunRequest& run)
{
    if (run.settings.folderName[0] == 0)
        return run.destination.mPath;
    return Within(run.destination.mPath, UText::FromPString(run.settings.folderName));
}

// The checks no window makes: a run that would delete everything at the destination.
int CheckDeletions(const RunRequest& run, bool yes)
{
    if (run.settings.noDeletions)
        return kExitFinished;
    CEndPoint destinationFolder = run.destination;
    destinationFolder.mPath = DestinationPath(run);
    const std::string& destination = destinationFolder.mPath;
    if (destinationFolder.Contains(run.source) &&
        !UQuestion::Confirm("the source \"" + run.source.mPath + "\" lies inside the destination \"" + destination +
                                "\": the run would delete it there while copying it.",
                            yes))
        return kExitRefused;
    const bool rootKept = run.settings.keepDestinationRoot && run.destination.mIsVolume;
    if (!rootKept && !HoldsItems(run.source.mPath) && HoldsItems(destination) &&
        !UQuestion::Confirm("the source \"" + run.source.mPath + "\" is empty and the destination \"" + destination +
                                "\" is not: the run would delete everything at the destination.",
                            yes))
        return kExitRefused;
    return kExitFinished;
}

// The window's checks of a destination that is written to.
int CheckWritable(const CEndPoint& destination, bool startupAllowed)
{
    if (UFile::IsServer(destination.mVRefNum))
        return Refuse("\"" + destination.mPath + "\" is on a server volume, which cannot be a destination");
    if (UFile::IsVolumeLocked(destination.mVRefNum))
        return Refuse("the volume \"" + VolumeName(destination.mVRefNum) + "\" is locked");
    if (destination.mIsVolume && !startupAllowed && IsStartupVolume(destination.mVRefNum))
        return Refuse("the startup volume cannot be the destination of a clone");
    return kExitFinished;
}

// The room check: the source volume's used size against the destination's capacity.
int CheckRoom(short sourceVRefNum, short destinationVRefNum)
{
    unsigned long sourceUsed = 0;
    unsigned long sourceFree = 0;
    unsigned long destinationUsed = 0;
    unsigned long destinationFree = 0;
    if (UFile::GetSizeInVolume(sourceVRefNum, &sourceUsed, &sourceFree) != noErr ||
        UFile::GetSizeInVolume(destinationVRefNum, &destinationUsed, &destinationFree) != noErr)
        return kExitFinished;
    if (sourceUsed > destinationUsed + destinationFree)
        return Refuse("not enough room: \"" + VolumeName(sourceVRefNum) + "\" uses more than \"" +
                      VolumeName(destinationVRefNum) + "\" can hold");
    return kExitFinished;
}

int CheckOwnership(const CEndPoint& destination, bool yes)
{
    if (!UFile::DoesVolumeIgnorePermissions(destination.mVRefNum))
        return kExitFinished;
    const std::string warning = IndexedString(kVolumeStrings, 6);
    return UQuestion::Confirm("\"" + VolumeName(destination.mVRefNum) + "\": " + warning, yes) ? kExitFinished
                                                                                               : kExitRefused;
}

void ReportDiskFull(ConstStr255Param volumeName, CBaseThread* thread)
{
    std::cerr << "\nvarno-cli: not enough room on \"" << UText::FromPString(volumeName) << "\": the run stops\n";
    thread->CancelThread();
}

// Waits for a system command started by UFile; false when it could not run or failed.
bool WaitForCommand(long pid)
{
    int status = 0;
    return pid > 0 && waitpid(pid_t(pid), &status, 0) == pid_t(pid) && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

int Execute(RunRequest& run)
{
    Str255 title;
    GetIndString(title, kVolumeStrings, 12);
    Str255 sourceName;
    TextToStr255(MacRomanFromText(run.source.mShownName), sourceName);
    CStr255::Replace0InPString(sourceName, title);
    if (title[0] > 63)
        title[0] = 63;

    auto* thread = new CActionThread(&run.settings);
    thread->mWriteReport = true;
    thread->mLanguageFilter = run.languageFilter;
    CStr255::CopyPString(title, thread->mHeader.title, 63);
    CActionThread::sDiskFullAlertHook = ReportDiskFull;

    const std::string reportPath = Within(DestinationPath(run), UText::FromPString(thread->mReportName));

    CProgressLine progress(std::cout, isatty(STDOUT_FILENO) != 0);
    ReportHeaderStruct header;
    {
        StInterruptHandler interrupts;
        UActionRun::RunToEnd(
            thread,
            [&progress](CActionThread& running) {
                if (StInterruptHandler::Interrupted())
                    running.CancelThread();
                progress.Show(running);
            },
            [&](CActionThread& finished) {
                progress.End(finished);
                header = finished.mHeader;
                std::cout << "\n";
                UReportText::Print(std::cout, finished.mHeader, *finished.mLog);
                std::cout << "\nReport: " << reportPath << "\n";
            });
    }
    if (header.cancelled)
        return kExitRefused;
    if (run.bless) {
        if (!WaitForCommand(UFile::BlessVolume(run.destination.mVRefNum)))
            std::cerr << "varno-cli: the destination could not be blessed\n";
        if (!WaitForCommand(UFile::Update_kextcache(run.destination.mVRefNum)))
            std::cerr << "varno-cli: the kernel cache of the destination could not be rebuilt\n";
    }
    return header.errors != 0 ? kExitErrors : kExitFinished;
}

bool SetFolderName(const std::string& name, StringPtr folderName, std::string* error)
{
    const std::string macName = MacRomanFromText(name);
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == ".." || macName.size() > 31) {
        *error = "\"" + name + "\" cannot be a folder's name (at most 31 characters, no \"/\")";
        return false;
    }
    TextToStr255(macName, folderName);
    return true;
}

} // namespace

int URunCommand::Clone(const CCommandLine& line)
{
    const bool yes = line.Has("yes");
    RunRequest run;
    std::string error;
    if (!run.source.Resolve(line.mOperands[0], &error) || !run.destination.Resolve(line.mOperands[1], &error))
        return BadUsage(error);
    if (line.Has("keep-root-items") && line.Has("into"))
        return BadUsage("--keep-root-items and --into exclude each other");
    if (line.Has("bless") && (line.Has("into") || !run.destination.mIsVolume))
        return BadUsage("--bless needs a whole volume as destination, without --into");

    ActionSettingsStruct& settings = run.settings;
    settings.actionKind = ActionSettingsStruct::kClone;
    settings.cloneAction = line.Has("into") ? 4 : line.Has("keep-root-items") ? 3 : 1;
    settings.userFolders = line.Has("skip-user-folders") ? 1 : 0;
    settings.keepDestinationRoot = settings.cloneAction == 3;
    settings.languageFilter = line.Has("only-languages");
    settings.source = run.source.mSpec;
    settings.destination = run.destination.mSpec;
    if (line.Has("into") && !SetFolderName(line.Value("into"), settings.folderName, &error))
        return BadUsage(error);
    run.languageFilter = settings.languageFilter;
    run.bless = line.Has("bless");

    if (settings.cloneAction != 4 && run.source.SameItem(run.destination))
        return Refuse("the source and the destination are the same");
    if (const int refused = CheckWritable(run.destination, settings.cloneAction == 4))
        return refused;
    if (const int refused = CheckDeletions(run, yes))
        return refused;
    if (settings.cloneAction == 1) {
        Str255 folders;
        URootFolders::GetFoldersOnlyAtDestination(run.source.mVRefNum, run.source.mDirID, run.destination.mVRefNum,
                                                  run.destination.mDirID, folders);
        if (folders[0] != 0 &&
            !UQuestion::Confirm("these folders exist only at the root of \"" + run.destination.mShownName +
                                    "\" and would be deleted: " + UText::FromPString(folders) + ".",
                                yes))
            return kExitRefused;
    }
    if (run.source.mIsVolume && !settings.userFolders)
        if (const int refused = CheckRoom(run.source.mVRefNum, run.destination.mVRefNum))
            return refused;
    if (const int refused = CheckOwnership(run.destination, yes))
        return refused;
    return Execute(run);
}

int URunCommand::Restore(const CCommandLine& line)
{
    const bool yes = line.Has("yes");
    RunRequest run;
    std::string error;
    CEndPoint backup;
    if (!backup.Resolve(line.mOperands[0], &error) || !run.destination.Resolve(line.mOperands[1], &error))
        return BadUsage(error);
    run.source = backup;
    if (line.Has("from-folder") && !run.source.ResolveChild(line.Value("from-folder"), &error))
        return BadUsage(error);

    ActionSettingsStruct& settings = run.settings;
    settings.actionKind = ActionSettingsStruct::kRestore;
    settings.restoreAction = line.Has("from-folder") ? 2 : 1;
    settings.userFolders = line.Has("skip-user-folders") ? 1 : 0;
    settings.noDeletions = line.Has("no-deletions");
    settings.source = run.source.mSpec;
    settings.destination = run.destination.mSpec;

    if (run.source.SameItem(run.destination))
        return Refuse("the backup and the target are the same");
    if (const int refused = CheckWritable(run.destination, true))
        return refused;
    if (const int refused = CheckDeletions(run, yes))
        return refused;
    if (backup.mIsVolume && !settings.userFolders)
        if (const int refused = CheckRoom(backup.mVRefNum, run.destination.mVRefNum))
            return refused;
    if (!UQuestion::Confirm("the items of \"" + run.destination.mShownName + "\" will be replaced by those of \"" +
                                run.source.mShownName + "\".",
                            yes))
        return kExitRefused;
    if (const int refused = CheckOwnership(run.destination, yes))
        return refused;
    return Execute(run);
}
