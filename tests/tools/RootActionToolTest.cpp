#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "tests/support/TestSupport.h"
#include "tests/tools/RootRequestHelpers.h"

using namespace testsupport;

namespace {

class RootActionToolTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!RunningAsRoot())
            GTEST_SKIP() << "the tool changes owners: needs root";
    }

    // A file of the test folder with the given owner and mode.
    std::string File(const std::string& name, mode_t mode, uid_t uid = 0, gid_t gid = 0)
    {
        const std::string path = mFolder.WriteFile(name, "content", 0600);
        EXPECT_EQ(chown(path.c_str(), uid, gid), 0);
        EXPECT_EQ(chmod(path.c_str(), mode), 0);
        return path;
    }

    ProcessResult Send(const RootRequest& request, const std::vector<std::string>& arguments = {})
    {
        std::vector<std::string> argv = {RootActionToolPath().string()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return RunProcess(argv, RequestBytes(request));
    }

    TempFolder mFolder;
};

TEST_F(RootActionToolTest, SelfRepairMakesTheFileRootOwnedAndSetuid)
{
    struct Case {
        mode_t before;
        mode_t after;
    };
    for (const Case c : {Case{0644, 04755}, Case{02775, 06755}, Case{01777, 05755}}) {
        SCOPED_TRACE(testing::Message() << std::oct << c.before);
        const std::string path = File("tool", c.before, 501, 777);
        const ProcessResult result = RunProcess({RootActionToolPath().string(), path, "--self-repair"});
        EXPECT_EQ(result.exitStatus, kRootDone) << result.output;
        EXPECT_EQ(result.output, "");
        const struct stat status = StatOf(path);
        EXPECT_EQ(status.st_uid, 0u);
        EXPECT_EQ(status.st_gid, 777u);
        EXPECT_EQ(status.st_mode & 07777, c.after);
    }
}

TEST_F(RootActionToolTest, ModeSelectorsComputeTheNewModeFromTheOld)
{
    struct Case {
        const char* name;
        OSType selector;
        RootAction action;
        mode_t before;
        mode_t after;
    };
    const Case cases[] = {
        {"suid on", kRootSelectorSetuid, {0, 0, 1, 0}, 0755, 04755},
        {"suid off", kRootSelectorSetuid, {0, 0, 0, 0}, 04755, 0755},
        {"suid on keeps set-gid and sticky", kRootSelectorSetuid, {0, 0, 9, 0}, 03700, 07700},
        {"clea", kRootSelectorClearSetuid, {}, 06755, 02755},
        {"acce on 0600", kRootSelectorOpenAccess, {}, 0600, 0666},
        {"acce on 04700", kRootSelectorOpenAccess, {}, 04700, 04766},
        {"sfrp", kRootSelectorSelfRepair, {}, 02664, 06755},
        {"setp value", kRootSelectorSetPermissions, {0, 0, 0x20307, kRootMaskValue}, 07000, 07754},
        {"setp ignores bits outside the classes", kRootSelectorSetPermissions, {0, 0, SInt32(0xFFF8F8F8), kRootMaskValue}, 0777, 0},
        {"setp mask 0", kRootSelectorSetPermissions, {501, 502, 0x20307, 0}, 04750, 04750},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = File("file", c.before);
        const ProcessResult result = Send(MakeRequest(c.selector, path, c.action));
        EXPECT_EQ(result.exitStatus, kRootDone) << result.output;
        EXPECT_EQ(ModeOf(path), c.after) << std::oct << ModeOf(path);
        EXPECT_EQ(StatOf(path).st_uid, 0u);
    }
}

TEST_F(RootActionToolTest, SetPermissionsTakesOwnerAndGroupByMask)
{
    struct Case {
        SInt32 mask;
        uid_t uid;
        gid_t gid;
    };
    for (const Case c : {Case{kRootMaskUser, 501, 0}, Case{kRootMaskGroup, 0, 502},
                         Case{kRootMaskUser | kRootMaskGroup, 501, 502}}) {
        SCOPED_TRACE(c.mask);
        const std::string path = File("file", 0640);
        EXPECT_EQ(Send(MakeRequest(kRootSelectorSetPermissions, path, {501, 502, 0, c.mask})).exitStatus, kRootDone);
        EXPECT_EQ(StatOf(path).st_uid, c.uid);
        EXPECT_EQ(StatOf(path).st_gid, c.gid);
        EXPECT_EQ(ModeOf(path), 0640u);
    }
}

TEST_F(RootActionToolTest, CopyCarriesOwnerGroupAndModeToTheSecondFile)
{
    const std::string first = File("first", 04750, 501, 502);
    const std::string second = File("second", 0600);
    EXPECT_EQ(Send(MakeRequest(kRootSelectorCopyPermissions, first, {0, 0, 0x20307, kRootMaskValue}, second)).exitStatus,
              kRootDone);
    EXPECT_EQ(StatOf(second).st_uid, 501u);
    EXPECT_EQ(StatOf(second).st_gid, 502u);
    EXPECT_EQ(ModeOf(second), 04754u);
    EXPECT_EQ(ModeOf(first), 04750u);

    const std::string untouchedMode = File("third", 0604);
    EXPECT_EQ(Send(MakeRequest(kRootSelectorCopyPermissions, first, {7, 8, 0777, 0}, untouchedMode)).exitStatus,
              kRootDone);
    EXPECT_EQ(StatOf(untouchedMode).st_uid, 501u);
    EXPECT_EQ(StatOf(untouchedMode).st_gid, 502u);
    EXPECT_EQ(ModeOf(untouchedMode), 0604u);
}

TEST_F(RootActionToolTest, RefusedRequestsTouchNothing)
{
    const std::string path = File("file", 0600);
    const std::string missing = (mFolder / "missing").string();
    struct Case {
        const char* name;
        RootRequest request;
        int status;
    };
    const Case cases[] = {
        {"unknown selector", MakeRequest(MakeOSType("zzzz"), path, {0, 0, 0777, kRootMaskValue}), kRootUnknownSelector},
        {"missing file", MakeRequest(kRootSelectorOpenAccess, missing), kRootCannotOpen},
        {"empty path", MakeRequest(kRootSelectorOpenAccess, ""), kRootCannotOpen},
        {"copy onto itself", MakeRequest(kRootSelectorCopyPermissions, path, {0, 0, 0777, kRootMaskValue}, path),
         kRootCannotOpen},
        {"copy onto nothing", MakeRequest(kRootSelectorCopyPermissions, path, {0, 0, 0777, kRootMaskValue}, ""),
         kRootCannotOpen},
        {"copy onto a missing file",
         MakeRequest(kRootSelectorCopyPermissions, path, {0, 0, 0777, kRootMaskValue}, missing), kRootCannotOpen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Send(c.request).exitStatus, c.status);
        EXPECT_EQ(ModeOf(path), 0600u);
        EXPECT_FALSE(std::filesystem::exists(missing));
    }

    RootRequest unterminated = MakeRequest(kRootSelectorOpenAccess);
    std::memset(unterminated.path, 'a', sizeof unterminated.path);
    EXPECT_EQ(Send(unterminated).exitStatus, kRootCannotOpen);
}

TEST_F(RootActionToolTest, AFileLockedByAnotherOpenCannotBeOpened)
{
    const std::string path = File("file", 0600);
    const int held = open(path.c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    EXPECT_EQ(Send(MakeRequest(kRootSelectorOpenAccess, path)).exitStatus, kRootCannotOpen);
    EXPECT_EQ(ModeOf(path), 0600u);
    close(held);
    EXPECT_EQ(Send(MakeRequest(kRootSelectorOpenAccess, path)).exitStatus, kRootDone);
    EXPECT_EQ(ModeOf(path), 0666u);
}

TEST_F(RootActionToolTest, WrongMagicAndVersionAreServedAllTheSame)
{
    const std::string path = File("file", 0600);
    RootRequest request = MakeRequest(kRootSelectorOpenAccess, path);
    request.magic = 0;
    request.version = 77;
    EXPECT_EQ(Send(request).exitStatus, kRootDone);
    EXPECT_EQ(ModeOf(path), 0666u);
}

TEST_F(RootActionToolTest, ShortInputAndOtherCommandLinesAreRequestMode)
{
    const std::string path = File("file", 0600);
    const std::string tool = RootActionToolPath().string();
    struct Case {
        const char* name;
        std::vector<std::string> argv;
        std::string input;
    };
    const Case cases[] = {
        {"no input", {tool}, ""},
        {"short input", {tool}, RequestBytes(MakeRequest(kRootSelectorOpenAccess, path)).substr(0, 2075)},
        {"--self-repair alone", {tool, "--self-repair"}, ""},
        {"a third argument", {tool, path, "--self-repair", "more"}, ""},
        {"another second argument", {tool, path, "--repair"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunProcess(c.argv, c.input).exitStatus, kRootShortRequest);
        EXPECT_EQ(ModeOf(path), 0600u);
        EXPECT_EQ(StatOf(path).st_uid, 0u);
    }
}

// The tool is set-uid root on real machines, so who calls it decides what it does.
class RootActionToolCallerTest : public RootActionToolTest {
protected:
    void SetUp() override
    {
        RootActionToolTest::SetUp();
        if (IsSkipped())
            return;
        mSetuidTool = (mFolder / "RootActionTool").string();
        std::filesystem::copy_file(RootActionToolPath(), mSetuidTool);
        ASSERT_EQ(chown(mSetuidTool.c_str(), 0, 0), 0);
        ASSERT_EQ(chmod(mSetuidTool.c_str(), 04755), 0);
    }

    std::string mSetuidTool;
};

TEST_F(RootActionToolCallerTest, OnlyAdministratorsAreServed)
{
    const std::optional<gid_t> administrators = AdministratorsGroup();
    const std::string path = File("file", 0600);
    const std::string request = RequestBytes(MakeRequest(kRootSelectorOpenAccess, path));

    EXPECT_EQ(RunProcess(AsNobody({mSetuidTool}), request).exitStatus, kRootNotAdministrator);
    EXPECT_EQ(ModeOf(path), 0600u);

    const std::string shell = File("shell", 0755, kNobody, kNogroup);
    EXPECT_EQ(RunProcess(AsNobody({mSetuidTool, shell, "--self-repair"})).exitStatus, kRootNotAdministrator);
    EXPECT_EQ(ModeOf(shell), 0755u);
    EXPECT_EQ(StatOf(shell).st_uid, kNobody);

    if (!administrators)
        GTEST_SKIP() << "no administrators' group on this machine";
    EXPECT_EQ(RunProcess(AsNobody({mSetuidTool}, {*administrators}), request).exitStatus, kRootDone);
    EXPECT_EQ(ModeOf(path), 0666u);
}

TEST_F(RootActionToolCallerTest, WithoutSetuidTheToolIsNotRoot)
{
    ASSERT_EQ(chmod(mSetuidTool.c_str(), 0755), 0);
    const std::string path = File("file", 0600);
    const std::optional<gid_t> administrators = AdministratorsGroup();
    const std::vector<gid_t> groups = administrators ? std::vector<gid_t>{*administrators} : std::vector<gid_t>{};
    EXPECT_EQ(RunProcess(AsNobody({mSetuidTool}, groups), RequestBytes(MakeRequest(kRootSelectorOpenAccess, path))).exitStatus,
              kRootNotRoot);
    EXPECT_EQ(ModeOf(path), 0600u);
}

} // namespace
