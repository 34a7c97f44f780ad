#pragma once
// Action runs end to end: a source and a destination volume, settings aimed at
// them, and a run driven to its end without windows, whose results stay readable.

#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/CActionThread.h"
#include "engine/UActionRun.h"
#include "filesystem/UFile.h"
#include "platform/Resources.h"
#include "tests/filesystem/FileObjectTestSupport.h"
#include "toolkit/CListStructs.h"

namespace actionruntest {

using filestest::PString;

struct LogLine {
    int level;
    bool isFolder;
    int errorClass;
    std::string name;
    bool operator==(const LogLine&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const LogLine& line)
{
    return out << "{" << line.level << (line.isFolder ? " folder " : " file ") << line.errorClass << " " << line.name
               << "}";
}

inline std::vector<LogLine> LogLines(CListStructs& log)
{
    std::vector<LogLine> lines;
    for (long i = 1; i <= log.GetCount(); ++i) {
        const auto* entry = reinterpret_cast<const LogEntryStruct*>(log.GetNthStructPtr(i));
        lines.push_back({entry->level, entry->isFolder != 0, entry->errorClass, filestest::Text(entry->name)});
    }
    return lines;
}

// What a finished run leaves for its owner.
struct RunResult {
    ReportHeaderStruct header{};
    std::vector<LogLine> log;
    bool diskFull = false;
    bool threadCancelled = false;
    UInt32 filesExamined = 0;
    UInt32 filesHandled = 0;
    UInt32 copiedKB = 0;
};

inline const char* kReportName = "Varno Report";
inline const std::string kTemporaryName = "QOREVTemporaryFile1247853912Zx";

// Takes every free block of the volume, also those kept for root.
inline void FillVolume(const std::filesystem::path& file)
{
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    off_t size = 0;
    for (off_t step = 1024 * 1024; step >= 4096; step /= 4) {
        while (posix_fallocate(fd, size, step) == 0)
            size += step;
    }
    close(fd);
}

// A walker that runs `onYield` whenever a copy in progress yields through it.
class CopyWatchingThread : public CActionThread {
public:
    CopyWatchingThread(const ActionSettingsStruct* settings, std::function<void(CActionThread&)> onYield)
        : CActionThread(settings), mOnYield(std::move(onYield))
    {
    }
    void YieldSelf(long ticks) override
    {
        if (mCurrentAction && mActionKB > 0)
            mOnYield(*this);
        CActionThread::YieldSelf(ticks);
    }

private:
    std::function<void(CActionThread&)> mOnYield;
};


// Each test gets a fresh source and destination volume; without root they skip.
class ActionRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!testsupport::RunningAsRoot())
            GTEST_SKIP() << "loop volumes need root";
        SetResourceFolderForTesting((testsupport::PackagePath() / "Contents/Resources").string());
        mSource = NewVolume("S", SourceMegabytes());
        mVRefNum = filestest::VolumeOf(*mSource);
        mDest = NewVolume("D", DestMegabytes());
        mDestVRefNum = filestest::VolumeOf(*mDest);
    }
    void TearDown() override { SetResourceFolderForTesting(""); }
    virtual int SourceMegabytes() const { return 16; }
    virtual int DestMegabytes() const { return 16; }

    // Labels are unique per test process, so processes side by side never share one.
    static std::unique_ptr<testsupport::LoopVolume> NewVolume(const std::string& stem, int megabytes)
    {
        return std::make_unique<testsupport::LoopVolume>("V" + stem + std::to_string(getpid()),
                                                         testsupport::LoopVolume::Kind::Ext4, megabytes);
    }

    std::filesystem::path Source(const std::string& relative) const { return *mSource / relative; }
    std::filesystem::path Dest(const std::string& relative) const { return *mDest / relative; }

    static FSSpec VolumeSpec(SInt16 vRefNum)
    {
        FSSpec spec{};
        EXPECT_EQ(UFile::GetVolumeSpec(vRefNum, &spec), noErr);
        return spec;
    }

    // A clone of the source volume onto the destination volume.
    ActionSettingsStruct CloneSettings() const
    {
        ActionSettingsStruct settings;
        settings.actionKind = ActionSettingsStruct::kClone;
        settings.cloneAction = 1;
        settings.source = VolumeSpec(mVRefNum);
        settings.destination = VolumeSpec(mDestVRefNum);
        return settings;
    }

    // Runs an action with a report; `configure` sets the thread's flags before it starts.
    RunResult Run(const ActionSettingsStruct& settings, const std::function<void(CActionThread&)>& configure = {},
                  const std::function<void(CActionThread&)>& progress = {})
    {
        return RunThread(new CActionThread(&settings), configure, progress);
    }

    // The same with a thread made by the test; the run disposes of it.
    RunResult RunThread(CActionThread* thread, const std::function<void(CActionThread&)>& configure = {},
                        const std::function<void(CActionThread&)>& progress = {})
    {
        thread->mWriteReport = true;
        if (configure)
            configure(*thread);
        RunResult result;
        UActionRun::RunToEnd(thread, progress, [&](CActionThread& finished) {
            result.header = finished.mHeader;
            result.log = LogLines(*finished.mLog);
            result.diskFull = finished.mDiskFull;
            result.threadCancelled = finished.ThreadCancelled();
            result.filesExamined = finished.mFilesExamined;
            result.filesHandled = finished.mFilesHandled;
            result.copiedKB = finished.mCopiedKB;
        });
        return result;
    }

    static void Write(const std::filesystem::path& path, const std::string& text)
    {
        std::filesystem::create_directories(path.parent_path());
        fileobjecttest::WriteText(path, text);
    }

    static std::string Read(const std::filesystem::path& path) { return testsupport::ReadFile(path); }

    static ino_t Inode(const std::filesystem::path& path)
    {
        struct stat info {};
        return lstat(path.c_str(), &info) == 0 ? info.st_ino : 0;
    }

    static void SetModificationTime(const std::filesystem::path& path, time_t seconds)
    {
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
    }

    std::unique_ptr<testsupport::LoopVolume> mSource;
    SInt16 mVRefNum = 0;
    std::unique_ptr<testsupport::LoopVolume> mDest;
    SInt16 mDestVRefNum = 0;
};

} // namespace actionruntest
