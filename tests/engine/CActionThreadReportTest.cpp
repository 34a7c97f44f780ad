// The action run's log, its report file, a full destination and series backups.

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "engine/UReportFile.h"
#include "platform/DateTimeUtils.h"
#include "tests/engine/ActionRunTest.h"

using namespace actionruntest;
namespace fs = std::filesystem;

namespace {

class CActionThreadReportTest : public ActionRunTest {
protected:
    int SourceMegabytes() const override { return 64; }

    // The report file at `path`, decoded.
    static UReportFile::DecodeResult ReadReport(const fs::path& path, ReportHeaderStruct* header,
                                                std::vector<LogLine>* lines = nullptr)
    {
        const std::string bytes = Read(path);
        std::unique_ptr<CListStructs> log(UReportFile::NewLog());
        const auto result = UReportFile::Decode(
            std::span(reinterpret_cast<const UInt8*>(bytes.data()), bytes.size()), header, log.get());
        if (lines)
            *lines = LogLines(*log);
        return result;
    }

    // A thread that is never started, aimed at the destination root, for its log alone.
    std::unique_ptr<CActionThread> IdleThread()
    {
        const ActionSettingsStruct settings = CloneSettings();
        auto thread = std::make_unique<CActionThread>(&settings);
        thread->mWriteReport = true;
        thread->mSourceVRefNum = mVRefNum;
        thread->mDestVRefNum = mDestVRefNum;
        thread->mDestDirID[0] = fsRtDirID;
        return thread;
    }
};

} // namespace

TEST_F(CActionThreadReportTest, LogKeepsOnlyThePathsToFailures)
{
    // A locked destination folder refuses the new files copied into it.
    for (const char* path : {"a/b/c/bad", "a/x/bad1", "a/y/fine", "a/z/bad2", "later/fine"})
        Write(Source(path), "x");
    for (const char* path : {"a/b/c", "a/x", "a/z"}) {
        fs::create_directories(Dest(path));
        fileobjecttest::Lock(Dest(path));
    }
    const RunResult result = Run(CloneSettings());
    for (const char* path : {"a/b/c", "a/x", "a/z"})
        fileobjecttest::Lock(Dest(path), false);

    ASSERT_EQ(result.log.size(), 8u);
    const int errorClass = result.log[3].errorClass;
    EXPECT_NE(errorClass, 0);
    EXPECT_EQ(result.log, (std::vector<LogLine>{{0, true, 0, "a"},
                                                {1, true, 0, "b"},
                                                {2, true, 0, "c"},
                                                {3, false, errorClass, "bad"},
                                                {1, true, 0, "x"},
                                                {2, false, errorClass, "bad1"},
                                                {1, true, 0, "z"},
                                                {2, false, errorClass, "bad2"}}));
    EXPECT_EQ(result.header.errors, 3u);
    EXPECT_TRUE(fs::exists(Dest("a/y/fine")));
    EXPECT_TRUE(fs::exists(Dest("later/fine")));

    ReportHeaderStruct header;
    std::vector<LogLine> lines;
    ASSERT_EQ(ReadReport(Dest(kReportName), &header, &lines), UReportFile::DecodeResult::kOK);
    EXPECT_EQ(lines, result.log);
    EXPECT_EQ(header.errors, 3u);
    EXPECT_EQ(header.finished, 1);
}

TEST_F(CActionThreadReportTest, RunWithoutFailuresEndsWithAnEmptyLogAndAllCounts)
{
    Write(Source("a/b/new"), "x");
    Write(Source("a/changed"), "new");
    Write(Dest("a/changed"), "old");
    SetModificationTime(Dest("a/changed"), 1300000000);
    Write(Dest("a/gone"), "y");
    const RunResult result = Run(CloneSettings());
    EXPECT_TRUE(result.log.empty());
    ReportHeaderStruct header;
    std::vector<LogLine> lines;
    ASSERT_EQ(ReadReport(Dest(kReportName), &header, &lines), UReportFile::DecodeResult::kOK);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(header.vRefNum, mVRefNum);
    EXPECT_EQ(header.newFiles, 1u);
    EXPECT_EQ(header.replacedFiles, 1u);
    EXPECT_EQ(header.deletedFiles, 1u);
    EXPECT_EQ(header.filesHandled, 2u);
    EXPECT_EQ(header.kilobytesHandled, result.copiedKB);
    EXPECT_EQ(header.errors, 0u);
    EXPECT_EQ(header.finished, 1);
    EXPECT_EQ(header.cancelled, 0);
}

TEST_F(CActionThreadReportTest, EntriesWithinOneSecondRewriteTheReportOnce)
{
    SetDateTimeForTesting(3000000000u);
    auto thread = IdleThread();
    thread->UpdateReportFile(mDestVRefNum, fsRtDirID);
    // A write gives the report a new inode or a new change time.
    auto signature = [&] {
        struct stat info {};
        lstat(Dest(kReportName).c_str(), &info);
        return std::tuple(info.st_ino, info.st_ctim.tv_sec, info.st_ctim.tv_nsec);
    };
    auto last = signature();
    ASSERT_TRUE(fs::exists(Dest(kReportName)));
    int writes = 0;
    auto add = [&](const char* name) {
        thread->AddToLog(PString(name), false, 2);
        const auto now = signature();
        writes += now != last ? 1 : 0;
        last = now;
    };
    for (int i = 0; i < 20; ++i)
        add("same second");
    EXPECT_EQ(writes, 1);
    SetDateTimeForTesting(3000000001u);
    add("next second");
    add("next second again");
    EXPECT_EQ(writes, 2);
    SetDateTimeForTesting(std::nullopt);

    ReportHeaderStruct header;
    std::vector<LogLine> lines;
    ASSERT_EQ(ReadReport(Dest(kReportName), &header, &lines), UReportFile::DecodeResult::kOK);
    EXPECT_EQ(lines.size(), 21u) << "the file holds the log as it was at the last write";
}

TEST_F(CActionThreadReportTest, LogEntryKeepsTheLowEightBitsOfTheClass)
{
    auto thread = IdleThread();
    thread->mLevel = 2;
    thread->AddToLog(PString("file"), false, 0x0305);
    EXPECT_EQ(LogLines(*thread->mLog), (std::vector<LogLine>{{2, false, 5, "file"}}));
}

TEST_F(CActionThreadReportTest, ReportRewriteOnAFullDiskKeepsThePreviousReport)
{
    auto thread = IdleThread();
    thread->UpdateReportFile(mDestVRefNum, fsRtDirID);
    const std::string before = Read(Dest(kReportName));
    FillVolume(Dest("filler"));
    // A log that needs more room than the old report took.
    thread->mLevel = 1;
    const LogEntryStruct entry = UReportFile::MakeLogEntry(PString(std::string(200, 'n')), 1, false, 1);
    for (int i = 0; i < 100; ++i)
        thread->mLog->AddStructToList(&entry, entry.length);
    thread->UpdateReportFile(mDestVRefNum, fsRtDirID);
    EXPECT_EQ(Read(Dest(kReportName)), before);
    EXPECT_FALSE(fs::exists(Dest(kTemporaryName)));
}

TEST_F(CActionThreadReportTest, FolderOfTheReportsNameIsNeverReplaced)
{
    Write(Dest(std::string(kReportName) + "/kept"), "the user's own");
    auto thread = IdleThread();
    thread->UpdateReportFile(mDestVRefNum, fsRtDirID);
    EXPECT_EQ(Read(Dest(std::string(kReportName) + "/kept")), "the user's own");
    EXPECT_FALSE(fs::exists(Dest(kTemporaryName)));
}

TEST_F(CActionThreadReportTest, FullDestinationCancelsTheRunAndLosesNothing)
{
    struct Case {
        const char* name;
        bool withAlert;
    };
    for (const Case& c : {Case{"without an alert", false}, Case{"with the application's alert", true}}) {
        SCOPED_TRACE(c.name);
        Write(Source("a.txt"), "same");
        Write(Dest("a.txt"), "same");
        SetModificationTime(Source("a.txt"), 1300000000);
        SetModificationTime(Dest("a.txt"), 1300000000);
        Write(Source("big.bin"), std::string(20 * 1024 * 1024, 'b'));
        Write(Dest("big.bin"), "old");
        SetModificationTime(Dest("big.bin"), 1300000000);
        Write(Source("z.txt"), "after the big one");

        static std::vector<std::string> alerts;
        alerts.clear();
        void (*alert)(ConstStr255Param, CBaseThread*) = [](ConstStr255Param volume, CBaseThread*) {
            alerts.push_back(filestest::Text(volume));
        };
        CActionThread::sDiskFullAlertHook = c.withAlert ? alert : nullptr;
        const RunResult result = Run(CloneSettings());
        CActionThread::sDiskFullAlertHook = nullptr;

        EXPECT_TRUE(result.diskFull);
        EXPECT_EQ(result.header.cancelled, 1);
        EXPECT_EQ(result.header.finished, 1);
        EXPECT_EQ(alerts.size(), c.withAlert ? 1u : 0u);
        if (c.withAlert) {
            EXPECT_EQ(alerts.front(), mDest->MountPoint().filename().string());
        }
        EXPECT_EQ(Read(Dest("a.txt")), "same");
        EXPECT_EQ(Read(Dest("big.bin")), "old");
        EXPECT_FALSE(fs::exists(Dest("z.txt")));
        EXPECT_FALSE(fs::exists(Dest(kTemporaryName)));
        ReportHeaderStruct header;
        ASSERT_EQ(ReadReport(Dest(kReportName), &header), UReportFile::DecodeResult::kOK);
        EXPECT_EQ(header.cancelled, 1);
        EXPECT_EQ(header.finished, 1);
    }
}

TEST_F(CActionThreadReportTest, SeriesBackupGoesOnOnTheNextVolume)
{
    const std::string content(4608 * 1024, 's');
    for (const char* path : {"data/a", "data/b", "data/c"})
        Write(Source(path), content);
    const auto next = NewVolume("E", 16);
    const SInt16 nextVRefNum = filestest::VolumeOf(*next);
    ActionSettingsStruct settings = CloneSettings();
    settings.cloneAction = ActionSettingsStruct::kSeriesBackup;
    int waits = 0;
    const RunResult result = Run(settings, {}, [&](CActionThread& thread) {
        if (!thread.mWaitingForVolume)
            return;
        ++waits;
        thread.mSettings.destination = VolumeSpec(nextVRefNum);
        thread.mWaitingForVolume = false;
    });
    EXPECT_EQ(waits, 1);
    EXPECT_FALSE(result.diskFull);
    EXPECT_EQ(result.header.cancelled, 0);
    EXPECT_EQ(result.header.errors, 0u);
    EXPECT_EQ(result.header.newFiles, 3u);
    EXPECT_TRUE(fs::exists(Dest("data/a")));
    EXPECT_TRUE(fs::exists(Dest("data/b")));
    EXPECT_TRUE(Read(*next / "data/c") == content);
    EXPECT_FALSE(fs::exists(Dest("data/c")));
    ReportHeaderStruct header;
    ASSERT_EQ(ReadReport(*next / kReportName, &header), UReportFile::DecodeResult::kOK);
    EXPECT_EQ(header.finished, 1);
}

TEST_F(CActionThreadReportTest, SeriesBackupCancelledWhileWaitingStopsWithoutTheFullVolume)
{
    const std::string content(4608 * 1024, 's');
    for (const char* path : {"data/a", "data/b", "data/c"})
        Write(Source(path), content);
    ActionSettingsStruct settings = CloneSettings();
    settings.cloneAction = ActionSettingsStruct::kSeriesBackup;
    const RunResult result = Run(settings, {}, [&](CActionThread& thread) {
        if (thread.mWaitingForVolume)
            thread.CancelThread();
    });
    EXPECT_EQ(result.header.cancelled, 1);
    EXPECT_EQ(result.header.errors, 0u);
    EXPECT_TRUE(result.log.empty());
    EXPECT_TRUE(Read(Dest("data/a")) == content);
    EXPECT_FALSE(fs::exists(Dest("data/c")));
    EXPECT_FALSE(fs::exists(Dest(kTemporaryName)));
}
