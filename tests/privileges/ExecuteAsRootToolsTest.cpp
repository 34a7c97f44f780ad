// The privileges client as the application starts it: a copy of a small program
// plays the application's executable inside a package of its own.

#include <gtest/gtest.h>

#include "tests/privileges/PrivilegesTestSupport.h"

using namespace testsupport;
using namespace privilegestest;

namespace {

class ExecuteAsRootToolsTest : public testing::Test {
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        fs::create_directories(mResources);
        fs::create_directories(mPackage / "Contents/MacOS");
        fs::copy_file(PackagePath() / "Contents/Resources/128.strings", mResources / "128.strings");
        fs::copy_file(PRIVILEGES_PROBE, mExecutable);
        mBundle = CopyBundle(mResources);
    }

    std::string Run(const std::vector<std::string>& questions)
    {
        std::vector<std::string> argv = {mExecutable.string()};
        argv.insert(argv.end(), questions.begin(), questions.end());
        const ProcessResult result = RunProcess(argv);
        EXPECT_EQ(result.exitStatus, 0) << result.output;
        return result.output;
    }

    TempFolder mFolder;
    const std::filesystem::path mPackage = mFolder / "Varno.app";
    const std::filesystem::path mResources = mPackage / "Contents/Resources";
    const std::filesystem::path mExecutable = mPackage / "Contents/MacOS/Varno";
    std::filesystem::path mBundle;
};

TEST_F(ExecuteAsRootToolsTest, FindsTheBundleAndToolNamedByTheStrings)
{
    CopyTool(mBundle, geteuid(), 0700);
    EXPECT_EQ(Run({"init"}), "init=1\n");
    EXPECT_EQ(ModeOf(ToolIn(mBundle)), 0755u);
}

TEST_F(ExecuteAsRootToolsTest, FailsWithoutBundleToolOrNames)
{
    namespace fs = std::filesystem;
    struct Case {
        const char* name;
        fs::path removed;
    };
    const Case cases[] = {
        {"no names", mResources / "128.strings"},
        {"no tool", ToolIn(mBundle)},
        {"no bundle", mBundle},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CopyTool(mBundle, geteuid(), 0755);
        fs::copy_file(PackagePath() / "Contents/Resources/128.strings", mResources / "128.strings",
                      fs::copy_options::overwrite_existing);
        fs::remove_all(c.removed);
        EXPECT_EQ(Run({"init", "tool"}), "init=0\ntool=0\n");
        mBundle = CopyBundle(mResources);
    }
}

TEST_F(ExecuteAsRootToolsTest, RegisteredApplicationIsPrivilegedFromTheNextRun)
{
    if (!RunningAsRoot())
        GTEST_SKIP() << "a privileged tool is owned by root";
    CopyTool(mBundle, 0, 04755);
    SetOwnerAndMode(mExecutable, kNobody, 0755);
    // The answer is the state of the run's first look, before the change.
    EXPECT_EQ(Run({"init", "tool", "app", "register-app"}), "init=1\ntool=1\napp=0\nregister-app=0\n");
    EXPECT_EQ(StatOf(mExecutable).st_uid, 0u);
    EXPECT_EQ(ModeOf(mExecutable), 04755u);
    EXPECT_EQ(Run({"app"}), "app=1\n");
}

TEST_F(ExecuteAsRootToolsTest, UnprivilegedToolLeavesTheApplicationAlone)
{
    if (!RunningAsRoot())
        GTEST_SKIP() << "needs another owner for the executable";
    CopyTool(mBundle, 0, 0755);
    SetOwnerAndMode(mExecutable, kNobody, 0755);
    EXPECT_EQ(Run({"init", "tool", "register-app"}), "init=1\ntool=0\nregister-app=0\n");
    EXPECT_EQ(StatOf(mExecutable).st_uid, kNobody);
    EXPECT_EQ(ModeOf(mExecutable), 0755u);
}

} // namespace
