// varno-cli, run as a program on real folders and loop-mounted volumes.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/CBaseFileThread.h"
#include "engine/UReportFile.h"
#include "platform/MacRoman.h"
#include "tests/support/LoopVolume.h"
#include "tests/support/TestSupport.h"
#include "toolkit/CListStructs.h"

namespace fs = std::filesystem;
using testsupport::LoopVolume;
using testsupport::ProcessResult;
using testsupport::TempFolder;

namespace {

constexpr int kFinished = 0;
constexpr int kErrors = 1;
constexpr int kRefused = 2;
constexpr int kBadUsage = 64;

const char kReportName[] = "Varno Report";

std::string CliPath()
{
    return (testsupport::PackagePath() / "Contents/MacOS/varno-cli").string();
}

ProcessResult Cli(std::vector<std::string> arguments, const std::string& input = {})
{
    arguments.insert(arguments.begin(), CliPath());
    return testsupport::RunProcess(arguments, input);
}

// Volume names unique to this process and test, short enough for ext4 and vfat labels.
std::string UniqueLabel()
{
    static int count = 0;
    return "C" + std::to_string(getpid()) + "N" + std::to_string(++count);
}

void Write(const fs::path& path, const std::string& content)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// Every item below `folder`, as relative paths, sorted.
std::vector<std::string> Items(const fs::path& folder)
{
    std::vector<std::string> items;
    for (const auto& item : fs::recursive_directory_iterator(folder))
        items.push_back(fs::relative(item.path(), folder).string());
    std::sort(items.begin(), items.end());
    return items;
}

std::vector<std::string> ItemsTakingPart(const fs::path& folder)
{
    std::vector<std::string> items = Items(folder);
    std::erase_if(items, [](const std::string& item) { return item == kReportName || item.starts_with("lost+found"); });
    return items;
}

void MakeSampleTree(const fs::path& root)
{
    Write(root / "a/b/deep.txt", "deep");
    Write(root / "a/one.txt", "one");
    Write(root / "two.bin", std::string(300000, 'x'));
    fs::create_directories(root / "empty");
    fs::create_symlink("a/one.txt", root / "link");
}

std::string Output(const ProcessResult& result)
{
    return "exit " + std::to_string(result.exitStatus) + ":\n" + result.output;
}

TEST(VarnoCliTest, BadUsageExitsWith64AndWritesNothing)
{
    TempFolder folder;
    const std::string source = (folder / "source").string();
    const std::string destination = (folder / "destination").string();
    MakeSampleTree(source);
    fs::create_directories(destination);
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"bogus"},
        {"volumes", "extra"},
        {"clone", source},
        {"clone", source, destination, "--frobnicate"},
        {"clone", source, destination, "--into"},
        {"clone", source, destination, "--yes", "--yes"},
        {"clone", source, destination, "--into", "x", "--keep-root-items"},
        {"clone", source, destination, "--into", "a/b"},
        {"clone", source, destination, "--into", std::string(32, 'n')},
        {"clone", source, destination, "--bless"},
        {"clone", source, destination, "--yes=1"},
        {"clone", (folder / "missing").string(), destination},
        {"clone", source, (folder / "source/two.bin").string()},
        {"restore", source, destination, "--from-folder", "missing"},
        {"report"},
        {"report", "a", "--xml"},
    };
    for (const auto& arguments : cases) {
        std::string line;
        for (const auto& word : arguments)
            line += word + " ";
        const ProcessResult result = Cli(arguments);
        EXPECT_EQ(result.exitStatus, kBadUsage) << line << Output(result);
        EXPECT_EQ(result.output.rfind("varno-cli: ", 0), 0u) << line << Output(result);
    }
    EXPECT_TRUE(fs::is_empty(destination));
    EXPECT_EQ(Cli({"--help"}).exitStatus, kFinished);
}

// The volume's line of `varno-cli volumes`, empty when it is not listed.
std::string VolumeLine(const std::string& label)
{
    const ProcessResult result = Cli({"volumes"});
    EXPECT_EQ(result.exitStatus, kFinished) << Output(result);
    std::size_t start = result.output.find("\n" + label + " ");
    if (start == std::string::npos)
        return {};
    ++start;
    return result.output.substr(start, result.output.find('\n', start) - start);
}

TEST(VarnoCliTest, VolumesShowSizesFilesAndMarks)
{
    ASSERT_TRUE(testsupport::RunningAsRoot());
    const std::string plainLabel = UniqueLabel();
    const std::string lockedLabel = UniqueLabel();
    auto plain = std::make_unique<LoopVolume>(plainLabel, LoopVolume::Kind::Ext4, 16);
    LoopVolume locked(lockedLabel, LoopVolume::Kind::Ext4, 16, {}, "ro");
    Write(*plain / "file", "x");

    const std::string plainLine = VolumeLine(plainLabel);
    EXPECT_NE(plainLine.find(plain->MountPoint().string()), std::string::npos) << plainLine;
    EXPECT_NE(plainLine.find(" MB "), std::string::npos) << plainLine;
    EXPECT_EQ(plainLine.substr(plainLine.size() - 3), "  -") << plainLine;
    EXPECT_NE(VolumeLine(lockedLabel).find("locked"), std::string::npos) << VolumeLine(lockedLabel);
    if (LoopVolume::Supported(LoopVolume::Kind::Vfat)) {
        const std::string vfatLabel = UniqueLabel();
        LoopVolume vfat(vfatLabel, LoopVolume::Kind::Vfat, 16);
        EXPECT_NE(VolumeLine(vfatLabel).find("ignores-ownership"), std::string::npos) << VolumeLine(vfatLabel);
    }
    plain.reset();
    EXPECT_EQ(VolumeLine(plainLabel), "");
}

std::string Json(const fs::path& report)
{
    const ProcessResult result = Cli({"report", report.string(), "--json"});
    EXPECT_EQ(result.exitStatus, kFinished) << Output(result);
    return result.output;
}

TEST(VarnoCliTest, ClonesAVolumeByNameThenUpdatesIt)
{
    ASSERT_TRUE(testsupport::RunningAsRoot());
    const std::string destinationLabel = UniqueLabel();
    LoopVolume source(UniqueLabel(), LoopVolume::Kind::Ext4, 24);
    LoopVolume destination(destinationLabel, LoopVolume::Kind::Ext4, 24);
    MakeSampleTree(source.MountPoint());

    ProcessResult result = Cli({"clone", source.MountPoint().string(), destinationLabel});
    ASSERT_EQ(result.exitStatus, kFinished) << Output(result);
    EXPECT_EQ(ItemsTakingPart(destination.MountPoint()), ItemsTakingPart(source.MountPoint()));
    EXPECT_EQ(fs::read_symlink(destination / "link"), "a/one.txt");
    EXPECT_EQ(testsupport::ReadFile(destination / "two.bin"), std::string(300000, 'x'));
    EXPECT_NE(result.output.find("Report: " + (destination / kReportName).string()), std::string::npos)
        << Output(result);
    EXPECT_NE(Json(destination / kReportName).find("\"newFiles\": 4,"), std::string::npos);

    Write(source / "a/one.txt", "one, changed");
    fs::last_write_time(source / "a/one.txt", fs::last_write_time(source / "a/one.txt") + std::chrono::seconds(30));
    fs::remove(source / "two.bin");
    result = Cli({"clone", source.MountPoint().string(), destinationLabel});
    ASSERT_EQ(result.exitStatus, kFinished) << Output(result);
    EXPECT_EQ(testsupport::ReadFile(destination / "a/one.txt"), "one, changed");
    EXPECT_FALSE(fs::exists(destination / "two.bin"));
    const std::string json = Json(destination / kReportName);
    EXPECT_NE(json.find("\"replacedFiles\": 1,"), std::string::npos) << json;
    EXPECT_NE(json.find("\"deletedFiles\": 1,"), std::string::npos) << json;
    EXPECT_NE(json.find("\"finished\": true,"), std::string::npos) << json;
}

TEST(VarnoCliTest, BlessesTheClonedVolumeWhenAsked)
{
    ASSERT_TRUE(testsupport::RunningAsRoot());
    LoopVolume source(UniqueLabel(), LoopVolume::Kind::Ext4, 24);
    LoopVolume destination(UniqueLabel(), LoopVolume::Kind::Ext4, 24);
    Write(source / "System/Library/CoreServices/boot.efi", "boot");
    const ProcessResult result =
        Cli({"clone", source.MountPoint().string(), destination.MountPoint().string(), "--bless"});
    ASSERT_EQ(result.exitStatus, kFinished) << Output(result);
    EXPECT_EQ(result.output.find("could not be blessed"), std::string::npos) << Output(result);
    EXPECT_NE(testsupport::ReadFile(destination / ".varno-bless").find("folder=/System/Library/CoreServices\n"),
              std::string::npos);
}

TEST(VarnoCliTest, ClonesIntoANamedFolderOfTheSameVolume)
{
    ASSERT_TRUE(testsupport::RunningAsRoot());
    LoopVolume volume(UniqueLabel(), LoopVolume::Kind::Ext4, 24);
    MakeSampleTree(volume.MountPoint());
    const ProcessResult result = Cli({"clone", volume.MountPoint().string(), volume.MountPoint().string(),
                                      "--into", "Backup"});
    ASSERT_EQ(result.exitStatus, kFinished) << Output(result);
    EXPECT_EQ(testsupport::ReadFile(volume / "Backup/a/b/deep.txt"), "deep");
    EXPECT_FALSE(fs::exists(volume / "Backup/Backup"));
    EXPECT_TRUE(fs::exists(volume / "Backup" / kReportName));
}

TEST(VarnoCliTest, RestoresFromAFolderWithoutDeletingAfterConfirmation)
{
    ASSERT_TRUE(testsupport::RunningAsRoot());
    LoopVolume backup(UniqueLabel(), LoopVolume::Kind::Ext4, 24);
    LoopVolume target(UniqueLabel(), LoopVolume::Kind::Ext4, 24);
    MakeSampleTree(backup / "Saved");
    Write(target / "keep.txt", "mine");
    const std::vector<std::string> restore = {"restore", backup.MountPoint().string(), target.MountPoint().string(),
                                              "--from-folder", "Saved", "--no-deletions"};

    // Without a terminal and without --yes, the question is answered no.
    ProcessResult result = Cli(restore, "y\n");
    EXPECT_EQ(result.exitStatus, kRefused) << Output(result);
    EXPECT_NE(result.output.find("--yes"), std::string::npos) << Output(result);
    EXPECT_FALSE(fs::exists(target / "a"));

    std::vector<std::string> confirmed = restore;
    confirmed.push_back("--yes");
    result = Cli(confirmed);
    ASSERT_EQ(result.exitStatus, kFinished) << Output(result);
    EXPECT_EQ(testsupport::ReadFile(target / "a/b/deep.txt"), "deep");
    EXPECT_EQ(testsupport::ReadFile(target / "keep.txt"), "mine");
}

// The immutable flag on a folder while it lives: nothing can be created in it, even by root.
class StImmutable {
public:
    explicit StImmutable(const fs::path& path) : mPath(path.string())
    {
        mSet = testsupport::RunProcess({"chattr", "+i", mPath}).exitStatus == 0;
    }
    ~StImmutable() { testsupport::RunProcess({"chattr", "-i", mPath}); }
    StImmutable(const StImmutable&) = delete;
    StImmutable& operator=(const StImmutable&) = delete;

    bool mSet = false;

private:
    std::string mPath;
};

TEST(VarnoCliTest, ARunWithFailuresEndsWithStatus1AndTheirOutline)
{
    ASSERT_TRUE(testsupport::RunningAsRoot());
    TempFolder folder;
    Write(folder / "source/sub/a", "a");
    Write(folder / "source/sub/b", "b");
    fs::create_directories(folder / "destination/sub");
    const StImmutable locked(folder / "destination/sub");
    if (!locked.mSet)
        GTEST_SKIP() << "the file system of /tmp has no immutable flag";
    const ProcessResult result = Cli({"clone", (folder / "source").string(), (folder / "destination").string()});
    EXPECT_EQ(result.exitStatus, kErrors) << Output(result);
    EXPECT_NE(result.output.find("2 errors\n"), std::string::npos) << Output(result);
    EXPECT_NE(result.output.find("Failures:\n  sub/\n    a  [Creating the temporary copy failed]\n    b  ["),
              std::string::npos)
        << Output(result);
    EXPECT_NE(Json(folder / "destination" / kReportName).find("\"errors\": 2,"), std::string::npos);
}

struct RefusedCase {
    const char* name;
    std::vector<std::string> extra; // options after the two ends
    const char* message;
    bool deletesWithYes;           // --yes lets the run go on, deleting "old.txt"
};

// Folders: "source" (empty unless the case fills it) and "destination" holding old.txt.
TEST(VarnoCliTest, RunsThatWouldDeleteEverythingAreRefusedUnlessConfirmed)
{
    const std::vector<RefusedCase> cases = {
        {"empty source", {}, "is empty", true},
        {"source inside the destination", {}, "lies inside the destination", false},
        {"same folder", {}, "are the same", false},
    };
    for (const RefusedCase& c : cases) {
        TempFolder folder;
        fs::path source = folder / "source";
        fs::path destination = folder / "destination";
        fs::create_directories(source);
        Write(destination / "old.txt", "old");
        const std::string name = c.name;
        if (name == "source inside the destination") {
            source = destination / "inner";
            Write(source / "new.txt", "new");
        } else if (name == "same folder") {
            source = destination;
        }
        std::vector<std::string> arguments = {"clone", source.string(), destination.string()};
        arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
        const ProcessResult refused = Cli(arguments);
        EXPECT_EQ(refused.exitStatus, kRefused) << name << Output(refused);
        EXPECT_NE(refused.output.find(c.message), std::string::npos) << name << Output(refused);
        EXPECT_EQ(testsupport::ReadFile(destination / "old.txt"), "old") << name;
        EXPECT_FALSE(fs::exists(destination / kReportName)) << name;
        if (c.deletesWithYes) {
            arguments.push_back("--yes");
            const ProcessResult confirmed = Cli(arguments);
            EXPECT_EQ(confirmed.exitStatus, kFinished) << name << Output(confirmed);
            EXPECT_FALSE(fs::exists(destination / "old.txt")) << name;
        }
    }
}

TEST(VarnoCliTest, NoDeletionsNeedsNoGuard)
{
    TempFolder folder;
    fs::create_directories(folder / "backup");
    Write(folder / "target/old.txt", "old");
    const ProcessResult result =
        Cli({"restore", (folder / "backup").string(), (folder / "target").string(), "--no-deletions", "--yes"});
    EXPECT_EQ(result.exitStatus, kFinished) << Output(result);
    EXPECT_EQ(testsupport::ReadFile(folder / "target/old.txt"), "old");
}

TEST(VarnoCliTest, TheWindowsChecksRefuseAVolumeClone)
{
    ASSERT_TRUE(testsupport::RunningAsRoot());
    LoopVolume source(UniqueLabel(), LoopVolume::Kind::Ext4, 64);
    Write(source / "big.bin", std::string(40 << 20, 'b'));
    const std::string sourcePath = source.MountPoint().string();

    {
        LoopVolume small(UniqueLabel(), LoopVolume::Kind::Ext4, 16);
        const ProcessResult result = Cli({"clone", sourcePath, small.MountPoint().string(), "--yes"});
        EXPECT_EQ(result.exitStatus, kRefused) << Output(result);
        EXPECT_NE(result.output.find("not enough room"), std::string::npos) << Output(result);
    }
    {
        LoopVolume locked(UniqueLabel(), LoopVolume::Kind::Ext4, 64, {}, "ro");
        const ProcessResult result = Cli({"clone", sourcePath, locked.MountPoint().string(), "--yes"});
        EXPECT_EQ(result.exitStatus, kRefused) << Output(result);
        EXPECT_NE(result.output.find("is locked"), std::string::npos) << Output(result);
    }
    {
        LoopVolume destination(UniqueLabel(), LoopVolume::Kind::Ext4, 64);
        Write(destination / "Only Here/file", "kept");
        Write(destination / ".hidden/file", "hidden");
        const ProcessResult result = Cli({"clone", sourcePath, destination.MountPoint().string()});
        EXPECT_EQ(result.exitStatus, kRefused) << Output(result);
        EXPECT_NE(result.output.find("would be deleted: Only Here."), std::string::npos) << Output(result);
        EXPECT_TRUE(fs::exists(destination / "Only Here/file"));
        const ProcessResult kept = Cli({"clone", sourcePath, destination.MountPoint().string(), "--keep-root-items"});
        EXPECT_EQ(kept.exitStatus, kFinished) << Output(kept);
        EXPECT_TRUE(fs::exists(destination / "Only Here/file"));
    }
    if (LoopVolume::Supported(LoopVolume::Kind::Vfat)) {
        LoopVolume vfat(UniqueLabel(), LoopVolume::Kind::Vfat, 64);
        const ProcessResult result = Cli({"clone", sourcePath, vfat.MountPoint().string()});
        EXPECT_EQ(result.exitStatus, kRefused) << Output(result);
        EXPECT_NE(result.output.find("ownership"), std::string::npos) << Output(result);
        EXPECT_FALSE(fs::exists(vfat / "big.bin"));
    }
}

// The comparison's output from its legend on, after any warning of a sanitizer build.
std::string FromLegend(const std::string& output)
{
    const std::size_t legend = output.find("> only in ");
    return legend == std::string::npos ? output : output.substr(legend);
}

TEST(VarnoCliTest, CompareShowsTheAskedDifferencesAsAnOutline)
{
    TempFolder folder;
    const fs::path first = folder / "first";
    const fs::path second = folder / "second";
    Write(first / "same/sub/equal", "x");
    Write(second / "same/sub/equal", "x");
    fs::last_write_time(second / "same/sub/equal", fs::last_write_time(first / "same/sub/equal"));
    fs::permissions(first / "same/sub/equal", fs::perms::owner_read | fs::perms::owner_write);
    Write(first / "same/size", "1");
    Write(second / "same/size", "22");
    fs::last_write_time(second / "same/size", fs::last_write_time(first / "same/size") + std::chrono::seconds(1));
    Write(first / "only first/inside/f", "q");
    Write(second / "only second/g", "q");
    Write(first / "file then folder", "f");
    Write(second / "file then folder/inner", "z");
    Write(first / "folder then file/kid", "y");
    Write(second / "folder then file", "f");
    const std::string legend = "> only in " + second.string() + ", < only in " + first.string() +
                               ", s size, d date, o owner or permissions\n";
    const std::string always = "> < file then folder/\n"
                               "> < folder then file/\n"
                               "  <   kid\n"
                               "  < only first/\n"
                               "  <   inside/\n"
                               "  <     f\n"
                               ">   only second/\n"
                               ">     g\n";
    struct Case {
        std::vector<std::string> options;
        std::string shown;
    };
    for (const Case& c : {Case{{}, always + "8 differences\n"},
                          Case{{"--dates"}, always + "    same/\nsd    size\n9 differences\n"},
                          Case{{"--file-owners"}, always + "    same/\n      sub/\n  o     equal\n9 differences\n"},
                          Case{{"--sizes", "--dates", "--file-owners", "--folder-owners"},
                               always + "    same/\nsd    size\n      sub/\n  o     equal\n10 differences\n"}}) {
        std::vector<std::string> arguments = {"compare", first.string(), second.string()};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const ProcessResult result = Cli(arguments);
        EXPECT_EQ(result.exitStatus, kFinished) << Output(result);
        EXPECT_EQ(FromLegend(result.output), legend + c.shown) << c.options.size();
    }
    const ProcessResult itself = Cli({"compare", first.string(), first.string()});
    const std::string shown = FromLegend(itself.output);
    EXPECT_EQ(shown.substr(shown.find('\n') + 1), "0 differences\n");
}

// A report file of a run with one failure three levels down and a trailing folder.
fs::path WriteReport(const TempFolder& folder, UInt8 cancelled, UInt8 finished)
{
    ReportHeaderStruct header;
    header.startDate = 3900000000u;
    header.filesHandled = 1234;
    header.kilobytesHandled = 2048;
    header.newFiles = 3;
    header.replacedFiles = 2;
    header.deletedFiles = 1;
    header.errors = 1;
    header.cancelled = cancelled;
    header.finished = finished;
    Str255 title;
    TextToStr255("Nightly \"backup\"", title);
    std::memcpy(header.title, title, std::size_t(title[0]) + 1);
    const std::unique_ptr<CListStructs> log(UReportFile::NewLog());
    const auto add = [&log](const char* name, SInt32 level, Boolean isFolder, SInt16 errorClass) {
        Str255 pascal;
        TextToStr255(name, pascal);
        const LogEntryStruct entry = UReportFile::MakeLogEntry(pascal, level, isFolder, errorClass);
        log->AddStructToList(&entry, entry.length);
    };
    add("Users", 0, true, 0);
    add("anna", 1, true, 0);
    add("broken.doc", 2, false, 4);
    add("Library", 0, true, 0);
    const std::vector<UInt8> bytes = UReportFile::Encode(header, *log);
    const fs::path path = folder / "report";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

TEST(VarnoCliTest, ReportShowsSummaryAndFailuresOutline)
{
    TempFolder folder;
    const fs::path report = WriteReport(folder, 0, 1);
    const ProcessResult text = Cli({"report", report.string()});
    ASSERT_EQ(text.exitStatus, kFinished) << Output(text);
    EXPECT_NE(text.output.find("Nightly \"backup\"\n"), std::string::npos) << text.output;
    EXPECT_NE(text.output.find("1 234 files, 2,00 MB\n"), std::string::npos) << text.output;
    EXPECT_NE(text.output.find("3 new, 2 replaced, 1 deleted, 1 errors\n"), std::string::npos) << text.output;
    EXPECT_NE(text.output.find("\n  Users/\n    anna/\n      broken.doc  [Reading the original failed]\n"),
              std::string::npos)
        << text.output;
    EXPECT_EQ(text.output.find("Library"), std::string::npos) << text.output;
    EXPECT_EQ(text.output.find("Cancelled"), std::string::npos) << text.output;

    const std::string json = Json(report);
    EXPECT_NE(json.find("\"title\": \"Nightly \\\"backup\\\"\","), std::string::npos) << json;
    EXPECT_NE(json.find("{\"level\": 2, \"kind\": \"file\", \"errorClass\": 4, \"error\": \"Reading the original "
                        "failed\", \"name\": \"broken.doc\"}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"level\": 0, \"kind\": \"folder\", \"errorClass\": 0, \"name\": \"Library\"}"),
              std::string::npos)
        << json;

    struct State {
        UInt8 cancelled, finished;
        const char* shown;
    };
    for (const State& state : {State{1, 1, "Cancelled"}, State{1, 0, "Did not finish"}, State{0, 0, "Did not finish"}}) {
        const ProcessResult shown = Cli({"report", WriteReport(folder, state.cancelled, state.finished).string()});
        EXPECT_NE(shown.output.find(std::string("\n") + state.shown + "\n"), std::string::npos) << shown.output;
    }
}

TEST(VarnoCliTest, WhatIsNotAReportGetsAClearError)
{
    TempFolder folder;
    const std::string real = testsupport::ReadFile(WriteReport(folder, 0, 1));
    const fs::path text = folder.WriteFile("notes.txt", "Dear diary, nothing to report.");
    const fs::path cut = folder.WriteFile("cut", real.substr(0, 100));
    const fs::path trailing = folder.WriteFile("trailing", real + "more");
    struct Case {
        fs::path path;
        const char* message;
    };
    for (const Case& c : {Case{text, "is not a report file"}, Case{cut, "ends inside its header"},
                          Case{trailing, "cannot be read"}, Case{folder / "missing", "cannot read"},
                          Case{folder.Path(), "cannot read"}}) {
        for (const char* json : {"", "--json"}) {
            std::vector<std::string> arguments = {"report", c.path.string()};
            if (json[0])
                arguments.push_back(json);
            const ProcessResult result = Cli(arguments);
            EXPECT_EQ(result.exitStatus, kErrors) << c.path << Output(result);
            EXPECT_NE(result.output.find(c.message), std::string::npos) << c.path << Output(result);
            EXPECT_EQ(result.output.find('{'), std::string::npos) << c.path << Output(result);
        }
    }
}

// varno-cli started without waiting; its output read as it comes.
class RunningCli {
public:
    explicit RunningCli(const std::vector<std::string>& arguments)
    {
        int pipeEnds[2];
        if (pipe2(pipeEnds, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe failed");
        std::vector<std::string> words = arguments;
        words.insert(words.begin(), CliPath());
        std::vector<char*> argv;
        for (auto& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
        if (posix_spawn(&mPid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            throw std::runtime_error("spawn failed");
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        mOutput = pipeEnds[0];
    }
    ~RunningCli()
    {
        if (mPid > 0) {
            kill(mPid, SIGKILL);
            waitpid(mPid, nullptr, 0);
        }
        close(mOutput);
    }
    RunningCli(const RunningCli&) = delete;
    RunningCli& operator=(const RunningCli&) = delete;

    // Reads until `text` has come, or the output ends, or `seconds` pass.
    bool WaitFor(const std::string& text, int seconds)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (mText.find(text) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            pollfd ready{mOutput, POLLIN, 0};
            if (poll(&ready, 1, 100) <= 0)
                continue;
            char buffer[4096];
            const ssize_t count = read(mOutput, buffer, sizeof buffer);
            if (count <= 0)
                break;
            mText.append(buffer, std::size_t(count));
        }
        return mText.find(text) != std::string::npos;
    }

    int Interrupt()
    {
        kill(mPid, SIGINT);
        WaitFor("\x01never", 60);
        int status = 0;
        waitpid(mPid, &status, 0);
        mPid = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    const std::string& Text() const { return mText; }

private:
    pid_t mPid = 0;
    int mOutput = -1;
    std::string mText;
};

TEST(VarnoCliTest, InterruptCancelsTheRunAndLeavesACancelledReport)
{
    ASSERT_TRUE(testsupport::RunningAsRoot());
    LoopVolume source(UniqueLabel(), LoopVolume::Kind::Ext4, 256);
    LoopVolume destination(UniqueLabel(), LoopVolume::Kind::Ext4, 256);
    for (int n = 0; n < 4000; ++n)
        Write(source / ("folder" + std::to_string(n / 200)) / ("file" + std::to_string(n)), std::string(n % 3000, 'f'));
    Write(source / "zz/large.bin", std::string(150 << 20, 'L'));

    RunningCli run({"clone", source.MountPoint().string(), destination.MountPoint().string()});
    ASSERT_TRUE(run.WaitFor("% ", 60)) << run.Text();
    EXPECT_EQ(run.Interrupt(), kRefused) << run.Text();
    EXPECT_NE(run.Text().find("\nCancelled\n"), std::string::npos) << run.Text();

    const std::string json = Json(destination / kReportName);
    EXPECT_NE(json.find("\"cancelled\": true,"), std::string::npos) << json;
    EXPECT_NE(json.find("\"finished\": true,"), std::string::npos) << json;
    const std::string temporary(reinterpret_cast<const char*>(CBaseFileThread::kTemporaryFileName + 1),
                                CBaseFileThread::kTemporaryFileName[0]);
    for (const std::string& item : Items(destination.MountPoint()))
        EXPECT_NE(fs::path(item).filename().string(), temporary) << "temporary file left: " << item;
    EXPECT_FALSE(fs::exists(destination / "zz/large.bin") &&
                 fs::file_size(destination / "zz/large.bin") != fs::file_size(source / "zz/large.bin"));
}

} // namespace
