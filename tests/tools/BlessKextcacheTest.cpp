// Our bless and kextcache programs, run from the package as the platform runs them.

#include <gtest/gtest.h>

#include <unistd.h>

#include "tests/support/LoopVolume.h"
#include "tests/support/TestSupport.h"
#include "tools/BlessRecord.h"

namespace {

std::string Tool(const char* name)
{
    return (testsupport::PackagePath() / "Contents/Resources" / name).string();
}

TEST(BlessTest, RecordsTheFolderAndLabelOnTheVolume)
{
    if (!testsupport::RunningAsRoot())
        GTEST_SKIP() << "loop volumes need root";
    testsupport::LoopVolume volume("VB" + std::to_string(getpid()));
    const std::string folder = volume.MountPoint().string() + "/System/Library/CoreServices";

    EXPECT_EQ(testsupport::RunProcess({Tool("bless"), "-folder", folder}).exitStatus, 0);
    EXPECT_EQ(testsupport::RunProcess({Tool("bless"), "-mount", folder, "-label", "My Disc"}).exitStatus, 0);
    const auto record = BlessRecord::Read(volume.MountPoint().string());
    EXPECT_EQ(record.at("folder"), "/System/Library/CoreServices");
    EXPECT_EQ(record.at("label"), "My Disc");
}

TEST(BlessTest, UnknownCommandLinesChangeNothing)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {"-folder"}, {"-mount", "/x", "-label"}, {"-unbless", "/x"}}) {
        std::vector<std::string> argv = {Tool("bless")};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        EXPECT_EQ(testsupport::RunProcess(argv).exitStatus, 1) << arguments.size();
    }
}

TEST(BlessTest, MountPointOfAMissingFolderIsThatOfItsNearestAncestor)
{
    EXPECT_EQ(BlessRecord::MountPointOf("//System/Library/CoreServices"), "/");
    EXPECT_EQ(BlessRecord::MountPointOf("/proc/self/nothing/here"), "/proc");
}

// kextcache runs depmod for each kernel of the volume: a stand-in on the PATH records it.
TEST(KextcacheTest, RebuildsTheModuleFilesOfEachKernel)
{
    testsupport::TempFolder volume;
    testsupport::TempFolder bin;
    bin.WriteFile("depmod", "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"" + (bin / "depmod.log").string() + "\"\n", 0755);
    std::filesystem::create_directories(volume / "lib/modules/6.1.0-test");
    const std::string root = volume.Path().string();
    const std::vector<std::string> command = {
        "/usr/bin/env", "PATH=" + bin.Path().string() + ":/usr/bin:/bin", Tool("kextcache"), "-K", root + "/mach_kernel",
        "-L", "-N", "-S", "-m", root + "/System/Library/Extensions.mkext", root + "/System/Library/Extensions"};
    EXPECT_EQ(testsupport::RunProcess(command).exitStatus, 0);
    EXPECT_EQ(testsupport::ReadFile(bin / "depmod.log"), "-b\n" + root + "\n6.1.0-test\n");
}

TEST(KextcacheTest, VolumeWithoutModulesNeedsNothingAndBadLinesAreRefused)
{
    testsupport::TempFolder volume;
    const std::string root = volume.Path().string();
    EXPECT_EQ(testsupport::RunProcess({Tool("kextcache"), "-K", root + "/mach_kernel", "-m", root + "/x.mkext",
                                       root + "/Extensions"})
                  .exitStatus,
              0);
    EXPECT_EQ(testsupport::RunProcess({Tool("kextcache"), "-K", root + "/kernel", "-m", "x", "y"}).exitStatus, 1);
    EXPECT_EQ(testsupport::RunProcess({Tool("kextcache"), "-K", root + "/mach_kernel"}).exitStatus, 1);
}

} // namespace
