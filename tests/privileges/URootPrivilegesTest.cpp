#include "privileges/URootPrivileges.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/privileges/PrivilegesTestSupport.h"

using namespace testsupport;
using namespace privilegestest;
using filestest::PString;

namespace {

class URootPrivilegesTest : public testing::Test {
protected:
    void TearDown() override { URootPrivileges::sRPObject.reset(); }

    Boolean Install() { return URootPrivileges::InstallRootPrivileges(&mBundleSpec, PString("RootActionTool")); }

    TempFolder mFolder;
    const std::filesystem::path mBundle = CopyBundle(mFolder.Path());
    const FSSpec mBundleSpec = SpecOf(mBundle);
    const std::filesystem::path mRecord = mFolder / "record";
};

TEST_F(URootPrivilegesTest, WithoutObjectNothingIsAskedOrSent)
{
    EXPECT_FALSE(URootPrivileges::InstallRootPrivileges(nullptr, PString("RootActionTool")));
    EXPECT_EQ(URootPrivileges::sRPObject, nullptr);
    const FSSpec file = SpecOf(mFolder.WriteFile("file", "x", 0755));
    EXPECT_FALSE(URootPrivileges::ToolHasRootPrivileges());
    EXPECT_FALSE(URootPrivileges::RegisterToolWithRootPrivileges());
    EXPECT_EQ(URootPrivileges::ChangeFileSetuidBit(&file, true), 0);
    EXPECT_EQ(ModeOf(mFolder / "file"), 0755u);
    // The test program is not set-uid, and registering it needs the object.
    EXPECT_FALSE(URootPrivileges::ApplicationHasRootPrivileges());
    EXPECT_FALSE(URootPrivileges::RegisterApplicationWithRootPrivileges());
}

TEST_F(URootPrivilegesTest, FailedInstallationLeavesNoObject)
{
    CopyTool(mBundle, geteuid(), 0755);
    EXPECT_TRUE(Install());
    EXPECT_NE(URootPrivileges::sRPObject, nullptr);
    std::filesystem::remove(ToolIn(mBundle));
    EXPECT_FALSE(Install());
    EXPECT_EQ(URootPrivileges::sRPObject, nullptr);
}

TEST_F(URootPrivilegesTest, RegisteringAPrivilegedToolSendsNothing)
{
    if (!RunningAsRoot())
        GTEST_SKIP() << "a privileged tool is owned by root";
    WriteSpyTool(mBundle, mRecord, 0, 04755);
    ASSERT_TRUE(Install());
    EXPECT_FALSE(URootPrivileges::RegisterToolWithRootPrivileges());
    // A self-repair would be started without being waited for: give it the time.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(std::filesystem::exists(mRecord));
}

TEST_F(URootPrivilegesTest, RegisteringRepairsAnUnprivilegedTool)
{
    if (!RunningAsRoot())
        GTEST_SKIP() << "root is granted the administrator's consent without a dialog";
    const auto tool = CopyTool(mBundle, kNobody, 0755);
    ASSERT_TRUE(Install());
    EXPECT_FALSE(URootPrivileges::ToolHasRootPrivileges());
    URootPrivileges::RegisterToolWithRootPrivileges();
    EXPECT_TRUE(WaitUntil([&] { return URootPrivileges::ToolHasRootPrivileges(); }));
    EXPECT_EQ(StatOf(tool).st_uid, 0u);
    EXPECT_EQ(ModeOf(tool), 04755u);

    const auto file = mFolder.WriteFile("file", "x", 0755);
    const FSSpec spec = SpecOf(file);
    EXPECT_EQ(URootPrivileges::ChangeFileSetuidBit(&spec, true), 1);
    EXPECT_EQ(ModeOf(file), 04755u);
}

} // namespace
