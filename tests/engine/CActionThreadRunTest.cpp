// The action run's walk: where it copies, what it compares, how deep it goes, and
// how it stops.

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <gmock/gmock.h>

#include "engine/UReportFile.h"
#include "tests/engine/ActionRunTest.h"

using namespace actionruntest;
namespace fs = std::filesystem;

namespace {

FSSpec SpecOf(const fs::path& path)
{
    return fileobjecttest::SpecOf(path);
}

class CActionThreadRunTest : public ActionRunTest {
protected:
    int SourceMegabytes() const override { return 64; }
    int DestMegabytes() const override { return 64; }

    // Larger than one step of the copy, so that the copy yields before it ends.
    static std::string BigContent() { return std::string(48 * 1024 * 1024, 'b'); }
};

} // namespace

TEST_F(CActionThreadRunTest, DestinationInsideTheSourceIsNotCopiedIntoItself)
{
    Write(Source("file"), "x");
    Write(Source("sub/deep"), "y");
    fs::create_directory(Source("backup"));
    ActionSettingsStruct settings = CloneSettings();
    settings.destination = SpecOf(Source("backup"));
    EXPECT_EQ(Run(settings).header.errors, 0u);
    EXPECT_TRUE(fs::exists(Source("backup/file")));
    EXPECT_TRUE(fs::exists(Source("backup/sub/deep")));
    EXPECT_FALSE(fs::exists(Source("backup/backup")));
    EXPECT_TRUE(fs::exists(Source(std::string("backup/") + kReportName)));
}

TEST_F(CActionThreadRunTest, FolderNameCollectsTheCloneInAFolderThatLaterRunsReuse)
{
    Write(Source("file"), "x");
    ActionSettingsStruct settings = CloneSettings();
    std::memcpy(settings.folderName, "\x05" "Clone", 6);
    Run(settings);
    EXPECT_EQ(Read(Dest("Clone/file")), "x");
    EXPECT_TRUE(fs::exists(Dest(std::string("Clone/") + kReportName)));
    EXPECT_FALSE(fs::exists(Dest("file")));
    const ino_t folder = Inode(Dest("Clone"));
    const RunResult again = Run(settings);
    EXPECT_EQ(Inode(Dest("Clone")), folder);
    EXPECT_EQ(again.header.newFiles, 0u);

    // On the source's own volume the folder of that name is not copied into itself.
    settings.destination = VolumeSpec(mVRefNum);
    Write(Source("Clone/old"), "an earlier clone");
    Run(settings);
    EXPECT_EQ(Read(Source("Clone/file")), "x");
    EXPECT_FALSE(fs::exists(Source("Clone/Clone")));
}

TEST_F(CActionThreadRunTest, FolderNameThatCannotBeMadeEndsTheRunBeforeItTouchesTheDestination)
{
    Write(Source("file"), "x");
    Write(Dest("Clone"), "a file where the folder should be");
    Write(Dest("other"), "the destination's own");
    ActionSettingsStruct settings = CloneSettings();
    std::memcpy(settings.folderName, "\x05" "Clone", 6);
    const RunResult result = Run(settings);
    EXPECT_TRUE(result.threadCancelled);
    EXPECT_EQ(Read(Dest("Clone")), "a file where the folder should be");
    EXPECT_EQ(Read(Dest("other")), "the destination's own");
    EXPECT_FALSE(fs::exists(Dest("file")));
}

TEST_F(CActionThreadRunTest, OnlyModificationDatesDecideWhetherAPairedFileIsCopied)
{
    struct Case {
        const char* name;
        time_t difference;
        bool replaced;
    };
    const Case cases[] = {
        {"one second", 1, false},     {"two seconds", 2, true},     {"one hour", 3600, false},
        {"two hours", 7200, false},   {"an hour and a bit", 3605, true},
    };
    constexpr time_t kDestTime = 1400000000;
    for (const Case& c : cases) {
        Write(Source(c.name), "new, and longer than the old");
        SetModificationTime(Source(c.name), kDestTime + c.difference);
        Write(Dest(c.name), "old");
        SetModificationTime(Dest(c.name), kDestTime);
    }
    const RunResult result = Run(CloneSettings());
    UInt32 replaced = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(Read(Dest(c.name)) != "old", c.replaced) << c.name;
        replaced += c.replaced ? 1 : 0;
    }
    EXPECT_EQ(result.header.replacedFiles, replaced);
    EXPECT_EQ(result.filesExamined, std::size(cases));
}

TEST_F(CActionThreadRunTest, SourceFoldersReplaceDestinationFilesAndNewEmptyFoldersAreMade)
{
    Write(Source("item/inner.txt"), "inside");
    fs::create_directory(Source("empty"));
    fs::create_directory(Source("new empty"));
    Write(Dest("item"), "a file where the source has a folder");
    Write(Dest("empty"), "a file where the source has an empty folder");
    EXPECT_EQ(Run(CloneSettings()).header.errors, 0u);
    EXPECT_EQ(Read(Dest("item/inner.txt")), "inside");
    EXPECT_TRUE(fs::is_directory(Dest("empty")));
    EXPECT_TRUE(fs::is_directory(Dest("new empty")));
}

TEST_F(CActionThreadRunTest, FoldersBelowLevelSixtyThreeAreNotEntered)
{
    fs::path folder;
    for (int level = 0; level <= 65; ++level) {
        Write(Source((folder / "file").string()), std::to_string(level));
        folder /= "f";
    }
    EXPECT_EQ(Run(CloneSettings()).header.errors, 0u);
    fs::path deepest;
    for (int level = 0; level < 63; ++level)
        deepest /= "f";
    EXPECT_EQ(Read(Dest((deepest / "file").string())), "63");
    EXPECT_FALSE(fs::exists(Dest((deepest / "f").string())));
}

TEST_F(CActionThreadRunTest, CancellingDuringACopyKeepsTheOldFileAndLogsNoError)
{
    Write(Source("big.bin"), BigContent());
    Write(Dest("big.bin"), "old");
    SetModificationTime(Dest("big.bin"), 1300000000);
    const ActionSettingsStruct settings = CloneSettings();
    bool cancelled = false;
    const RunResult result = RunThread(new CopyWatchingThread(&settings, [&](CActionThread& thread) {
        thread.CancelThread();
        cancelled = true;
    }));
    ASSERT_TRUE(cancelled) << "the copy never yielded";
    EXPECT_EQ(result.header.cancelled, 1);
    EXPECT_EQ(result.header.finished, 1);
    EXPECT_EQ(result.header.errors, 0u);
    EXPECT_TRUE(result.log.empty());
    EXPECT_FALSE(result.diskFull);
    EXPECT_EQ(Read(Dest("big.bin")), "old");
    EXPECT_FALSE(fs::exists(Dest(kTemporaryName)));
}

TEST_F(CActionThreadRunTest, DriverShowsProgressAndDisposesOfTheFinishedThread)
{
    for (int i = 0; i < 40; ++i)
        Write(Source("file" + std::to_string(i)), std::string(100000, 'p'));
    const std::size_t threadsBefore = LThread::CountThreads();
    int progressCalls = 0;
    int finishedCalls = 0;
    const ActionSettingsStruct settings = CloneSettings();
    auto* thread = new CActionThread(&settings);
    thread->mPause = true; // half a second at each end: the driver shows progress meanwhile
    UActionRun::RunToEnd(
        thread, [&](CActionThread&) { ++progressCalls; },
        [&](CActionThread& finished) {
            ++finishedCalls;
            EXPECT_TRUE(finished.ThreadFinished());
            EXPECT_EQ(finished.mHeader.newFiles, 40u);
        });
    EXPECT_GE(progressCalls, 2);
    EXPECT_EQ(finishedCalls, 1);
    EXPECT_EQ(LThread::CountThreads(), threadsBefore);
}

TEST_F(CActionThreadRunTest, DiskFillingUpDuringACopyCancelsTheRunAndKeepsTheOldFile)
{
    Write(Source("big.bin"), BigContent());
    Write(Source("later.txt"), "after the big one");
    Write(Dest("big.bin"), "old");
    SetModificationTime(Dest("big.bin"), 1300000000);
    const ActionSettingsStruct settings = CloneSettings();
    bool filled = false;
    const RunResult result = RunThread(new CopyWatchingThread(&settings, [&](CActionThread&) {
        if (!filled)
            FillVolume(Dest("filler"));
        filled = true;
    }));
    ASSERT_TRUE(filled) << "the copy never yielded";
    EXPECT_TRUE(result.diskFull);
    EXPECT_EQ(result.header.cancelled, 1);
    EXPECT_EQ(result.header.errors, 1u);
    ASSERT_EQ(result.log.size(), 1u);
    EXPECT_EQ(result.log[0].name, "big.bin");
    EXPECT_EQ(Read(Dest("big.bin")), "old");
    EXPECT_FALSE(fs::exists(Dest("later.txt")));
    EXPECT_FALSE(fs::exists(Dest(kTemporaryName)));
}

TEST_F(CActionThreadRunTest, OwnersAreRepairedOnlyWithRootsRights)
{
    // Folders the user nobody owns, so that both runs can write.
    for (const fs::path& folder : {Source("src"), Dest("dst")}) {
        fs::create_directory(folder);
        ASSERT_EQ(chown(folder.c_str(), testsupport::kNobody, testsupport::kNogroup), 0);
    }
    Write(Source("src/file"), "x");
    ASSERT_EQ(chown(Source("src/file").c_str(), testsupport::kNobody, testsupport::kNogroup), 0);
    const std::string resources = (testsupport::PackagePath() / "Contents/Resources").string();
    const std::vector<std::string> probe = {ACTION_PROBE, Source("src").string(), Dest("dst").string(), resources};

    const testsupport::ProcessResult unprivileged = testsupport::RunProcess(testsupport::AsNobody(probe));
    EXPECT_EQ(unprivileged.exitStatus, 0) << unprivileged.output;
    // Sanitizer builds may add warnings of their own before the answer.
    EXPECT_THAT(unprivileged.output, testing::EndsWith("repair 0 new 1 errors 0\n"));
    EXPECT_EQ(Read(Dest("dst/file")), "x");

    const testsupport::ProcessResult root = testsupport::RunProcess(probe);
    EXPECT_THAT(root.output, testing::EndsWith("repair 1 new 0 errors 0\n"));
}
