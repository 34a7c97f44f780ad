// UFile: the command lines of bless and kextcache, run against a recording stand-in
// placed where the platform finds our programs.

#include "filesystem/UFile.h"

#include <sys/wait.h>

#include <cstdlib>

#include "platform/Gestalt.h"
#include "platform/MacRoman.h"
#include "tests/platform/FilesTestSupport.h"

using filestest::PString;

namespace {

// Each stand-in writes its arguments, one a line, and its TMPDIR into `<name>.log`.
class UFileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"bless", "kextcache"}) {
            mResources.WriteFile(tool, "#!/bin/sh\nlog=\"$(dirname \"$0\")/$(basename \"$0\").log\"\n"
                                       "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$log\"\n"
                                       "printf 'TMPDIR=%s\\n' \"$TMPDIR\" >> \"$log\"\n",
                                 0755);
        }
        SetResourceFolderForTesting(mResources.Path().string());
        const char* tmpdir = std::getenv("TMPDIR");
        mTMPDIR = tmpdir ? std::optional<std::string>(tmpdir) : std::nullopt;
        setenv("TMPDIR", Before().c_str(), 1);
    }
    void TearDown() override
    {
        SetResourceFolderForTesting("");
        SetSystemVersionForTesting(0);
        if (mTMPDIR)
            setenv("TMPDIR", mTMPDIR->c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

    // TMPDIR before a command: a folder that exists, as the test support wants one.
    std::string Before() const { return mResources.Path().string(); }

    // The stand-in's log once the started child has ended.
    std::string LogOf(long child, const char* tool)
    {
        int status = -1;
        EXPECT_GT(child, 0);
        EXPECT_EQ(waitpid(pid_t(child), &status, 0), pid_t(child));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        return testsupport::ReadFile(mResources / (std::string(tool) + ".log"));
    }

    testsupport::TempFolder mResources;
    std::optional<std::string> mTMPDIR;
};

TEST_F(UFileCommandsTest, BlessOfTheStartupVolumeDoublesTheSlash)
{
    EXPECT_EQ(LogOf(UFile::BlessVolume(kStartupVolumeRefNum), "bless"),
              "-folder\n//System/Library/CoreServices\nTMPDIR=" + Before() + "\n");
}

TEST_F(UFileCommandsTest, BlessLabelPassesTheLabelAsText)
{
    Str255 label{};
    TextToStr255(MacRomanFromText("Caf\xC3\xA9 Disc"), label);
    EXPECT_EQ(LogOf(UFile::BlessLabel(kStartupVolumeRefNum, label), "bless"),
              "-mount\n//System/Library/CoreServices\n-label\nCaf\xC3\xA9 Disc\nTMPDIR=" + Before() + "\n");
}

TEST_F(UFileCommandsTest, KextcacheBeforeAndFromSystemVersion1040)
{
    SetSystemVersionForTesting(0x1039);
    EXPECT_EQ(LogOf(UFile::Update_kextcache(kStartupVolumeRefNum), "kextcache"),
              "-K\n//mach_kernel\n-m\n//System/Library/Extensions.mkext\n//System/Library/Extensions\n"
              "TMPDIR=" + Before() + "\n");
    EXPECT_EQ(std::string(std::getenv("TMPDIR")), Before());

    SetSystemVersionForTesting(0x1040);
    EXPECT_EQ(LogOf(UFile::Update_kextcache(kStartupVolumeRefNum), "kextcache"),
              "-K\n//mach_kernel\n-L\n-N\n-S\n-m\n//System/Library/Extensions.mkext\n//System/Library/Extensions\n"
              "TMPDIR=//private/tmp\n");
    // The application's own TMPDIR stays: its temporary files never land on the copy.
    EXPECT_EQ(std::string(std::getenv("TMPDIR")), Before());
}

TEST_F(UFileCommandsTest, VolumeOtherThanTheStartupOneUsesItsMountPoint)
{
    if (!testsupport::RunningAsRoot())
        GTEST_SKIP() << "loop volumes need root";
    testsupport::LoopVolume volume("VC" + std::to_string(getpid()));
    EXPECT_EQ(LogOf(UFile::BlessVolume(filestest::VolumeOf(volume)), "bless"),
              "-folder\n" + volume.MountPoint().string() + "/System/Library/CoreServices\nTMPDIR=" + Before() + "\n");
}

TEST_F(UFileCommandsTest, MissingVolumeStartsNothing)
{
    EXPECT_EQ(UFile::BlessVolume(-32000), nsvErr);
    EXPECT_EQ(UFile::Update_kextcache(-32000), nsvErr);
    EXPECT_FALSE(std::filesystem::exists(mResources / "bless.log"));
}

} // namespace
