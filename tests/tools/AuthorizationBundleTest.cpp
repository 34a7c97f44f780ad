#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "tests/support/TestSupport.h"
#include "tests/tools/RootRequestHelpers.h"

using namespace testsupport;

namespace {

using ToolXFunction = SInt32 (*)(const char*, RootRequest*);

class AuthorizationBundleTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string executable = (AuthorizationBundlePath() / "Contents/MacOS/AuthorizationBundle").string();
        sBundle = dlopen(executable.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(sBundle, nullptr) << dlerror();
        sToolX = reinterpret_cast<ToolXFunction>(dlsym(sBundle, "ToolX"));
    }

    static void TearDownTestSuite()
    {
        if (sBundle)
            dlclose(sBundle);
    }

    void SetUp() override { ASSERT_NE(sToolX, nullptr) << "the bundle exports no ToolX"; }

    // A stand-in tool that records how it was started and what it read, then exits with 7.
    std::string Spy()
    {
        const std::string folder = mFolder.Path().string();
        return mFolder.WriteFile("spy",
                                 "#!/bin/sh\n"
                                 "/bin/cat /proc/$$/environ > " + folder + "/environ\n"
                                 "printf '%s\\n' \"$#\" \"$0\" > " + folder + "/arguments\n"
                                 "/bin/cat > " + folder + "/request\n"
                                 "exit 7\n",
                                 0755);
    }

    std::string ToolCopy(mode_t mode, uid_t uid = 0)
    {
        const std::string path = (mFolder / "RootActionTool").string();
        std::filesystem::copy_file(RootActionToolPath(), path, std::filesystem::copy_options::overwrite_existing);
        EXPECT_EQ(chown(path.c_str(), uid, 0), 0);
        EXPECT_EQ(chmod(path.c_str(), mode), 0);
        return path;
    }

    static void* sBundle;
    static ToolXFunction sToolX;
    TempFolder mFolder;
};

void* AuthorizationBundleTest::sBundle = nullptr;
ToolXFunction AuthorizationBundleTest::sToolX = nullptr;

TEST_F(AuthorizationBundleTest, UserAnswersWithoutStartingTheTool)
{
    const std::string spy = Spy();
    RootRequest request = MakeRequest(kRootSelectorUser);
    request.action.uid = 12345;
    EXPECT_EQ(sToolX(spy.c_str(), &request), kRootDone);
    EXPECT_EQ(request.action.uid, geteuid());
    EXPECT_FALSE(std::filesystem::exists(mFolder / "arguments"));
}

TEST_F(AuthorizationBundleTest, ToolRunsWithTheRequestAloneAndAnEmptyEnvironment)
{
    const std::string spy = Spy();
    RootRequest request = MakeRequest(kRootSelectorClearSetuid, "/some/file", {999, 2, 3, 4});
    EXPECT_EQ(sToolX(spy.c_str(), &request), 7);

    EXPECT_EQ(ReadFile(mFolder / "environ"), "");
    EXPECT_EQ(ReadFile(mFolder / "arguments"), "0\n" + spy + "\n");
    const std::string received = ReadFile(mFolder / "request");
    ASSERT_EQ(received.size(), kRootRequestSize);
    RootRequestBytes bytes;
    std::copy(received.begin(), received.end(), bytes.begin());
    const RootRequest arrived = DecodeRootRequest(bytes);
    // "clea" arrives with the caller's effective user ID; the rest is passed on unread.
    EXPECT_EQ(arrived.selector, kRootSelectorClearSetuid);
    EXPECT_EQ(arrived.action.uid, geteuid());
    EXPECT_EQ(arrived.action.gid, 2u);
    EXPECT_STREQ(arrived.path, "/some/file");
    EXPECT_EQ(request.action.uid, geteuid());
}

TEST_F(AuthorizationBundleTest, ToolExitStatusIsTheResult)
{
    if (!RunningAsRoot())
        GTEST_SKIP() << "the tool serves root";
    const std::string file = mFolder.WriteFile("file", "x", 0600);
    RootRequest unknown = MakeRequest(MakeOSType("what"), file);
    EXPECT_EQ(sToolX(RootActionToolPath().c_str(), &unknown), kRootUnknownSelector);

    RootRequest open = MakeRequest(kRootSelectorOpenAccess, file);
    EXPECT_EQ(sToolX(RootActionToolPath().c_str(), &open), kRootDone);
    EXPECT_EQ(ModeOf(file), 0666u);

    RootRequest any = MakeRequest(kRootSelectorOpenAccess, file);
    EXPECT_EQ(sToolX((mFolder / "missing-tool").c_str(), &any), kRootExecFailed);
}

TEST_F(AuthorizationBundleTest, CheckTellsWhetherTheToolIsPrivileged)
{
    if (!RunningAsRoot())
        GTEST_SKIP() << "needs root to own the tool";
    struct Case {
        const char* name;
        mode_t mode;
        uid_t uid;
        SInt32 result;
    };
    const Case cases[] = {
        {"root-owned and set-uid", 04755, 0, kRootDone},
        {"root-owned without set-uid", 0755, 0, kRootNotRoot},
        {"set-uid but owned by another user", 04755, kNobody, kRootNotRoot},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string tool = ToolCopy(c.mode, c.uid);
        RootRequest request = MakeRequest(kRootSelectorCheck);
        EXPECT_EQ(sToolX(tool.c_str(), &request), c.result);
    }

    RootRequest request = MakeRequest(kRootSelectorCheck);
    EXPECT_EQ(sToolX((mFolder / "missing").c_str(), &request), kRootCannotOpen);

    const std::string tool = ToolCopy(04755);
    const int held = open(tool.c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    EXPECT_EQ(sToolX(tool.c_str(), &request), kRootCannotOpen);
    close(held);
}

TEST_F(AuthorizationBundleTest, RegisterRepairsTheToolAsRoot)
{
    if (!RunningAsRoot())
        GTEST_SKIP() << "root is granted without a dialog";
    const std::string tool = ToolCopy(0755, kNobody);
    RootRequest request = MakeRequest(kRootSelectorRegister);
    EXPECT_EQ(sToolX(tool.c_str(), &request), kRootDone);
    // The bundle returns once the tool is started; the repair follows.
    EXPECT_TRUE(WaitUntil([&] { return StatOf(tool).st_uid == 0 && ModeOf(tool) == 04755; }))
        << std::oct << ModeOf(tool);
}

} // namespace
