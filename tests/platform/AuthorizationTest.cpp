#include <gtest/gtest.h>

#include <sys/stat.h>

#include <sstream>
#include <thread>

#include "platform/Authorization.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

struct ProbeAnswer {
    OSStatus granted;
    OSStatus started;
};

class AuthorizationTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!RunningAsRoot())
            GTEST_SKIP() << "needs root to run the probe as another user";
        chmod(mFolder.Path().c_str(), 0777);
        // The started tool leaves its arguments behind, renamed into place when complete.
        mTool = mFolder.WriteFile("tool",
                                  "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + (mFolder / "started.tmp").string() +
                                      " && mv " + (mFolder / "started.tmp").string() + " " + Started().string() +
                                      "\n",
                                  0755);
    }

    std::filesystem::path Started() const { return mFolder / "started"; }

    ProbeAnswer Probe(const std::string& consent, bool asNobody)
    {
        std::vector<std::string> argv = {AUTHORIZATION_PROBE, consent, mTool.string(), "first", "--self-repair"};
        const ProcessResult result = RunProcess(asNobody ? AsNobody(argv) : argv);
        EXPECT_EQ(result.exitStatus, 0) << result.output;
        ProbeAnswer answer{1, 1};
        std::istringstream(result.output) >> answer.granted >> answer.started;
        return answer;
    }

    TempFolder mFolder;
    std::filesystem::path mTool;
};

TEST_F(AuthorizationTest, ConsentDecidesWhetherTheToolStarts)
{
    struct Case {
        const char* name;
        const char* consentScript; // nullptr: no consent program on the machine
        OSStatus granted;
        bool toolStarts;
    };
    const Case cases[] = {
        {"dialog dismissed", "exit 126", errAuthorizationCanceled, false},
        {"consent refused", "exit 127", errAuthorizationDenied, false},
        {"no consent program", nullptr, errAuthorizationToolExecuteFailure, false},
        {"administrator agrees", "exec \"$@\"", errAuthorizationSuccess, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(Started());
        const std::string consent = c.consentScript
                                        ? mFolder.WriteFile("consent", std::string("#!/bin/sh\n") + c.consentScript + "\n", 0755).string()
                                        : (mFolder / "no-such-pkexec").string();
        const ProbeAnswer answer = Probe(consent, true);
        EXPECT_EQ(answer.granted, c.granted);
        if (c.toolStarts) {
            EXPECT_EQ(answer.started, errAuthorizationSuccess);
            ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(Started()); }));
            EXPECT_EQ(ReadFile(Started()), "first\n--self-repair\n");
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            EXPECT_FALSE(std::filesystem::exists(Started()));
        }
    }
}

TEST_F(AuthorizationTest, RootIsGrantedWithoutAsking)
{
    const std::filesystem::path asked = mFolder / "asked";
    const std::string consent = mFolder.WriteFile("consent", "#!/bin/sh\ntouch " + asked.string() + "\nexit 126\n", 0755);
    const ProbeAnswer answer = Probe(consent, false);
    EXPECT_EQ(answer.granted, errAuthorizationSuccess);
    EXPECT_EQ(answer.started, errAuthorizationSuccess);
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(Started()); }));
    EXPECT_EQ(ReadFile(Started()), "first\n--self-repair\n");
    EXPECT_FALSE(std::filesystem::exists(asked));
}

TEST(AuthorizationCalls, RefuseMissingReferencesAndPointers)
{
    AuthorizationItem right = {kAuthorizationRightExecute, 0, nullptr, 0};
    AuthorizationRights rights = {1, &right};
    EXPECT_EQ(AuthorizationCreate(nullptr, nullptr, 0, nullptr), errAuthorizationInvalidPointer);
    EXPECT_EQ(AuthorizationCopyRights(nullptr, &rights, nullptr, 0x13, nullptr), errAuthorizationInvalidRef);
    EXPECT_EQ(AuthorizationFree(nullptr, 0), errAuthorizationInvalidRef);

    AuthorizationRef authorization = nullptr;
    ASSERT_EQ(AuthorizationCreate(nullptr, nullptr, 0, &authorization), errAuthorizationSuccess);
    // Nothing is started before the right is held.
    char* none[] = {nullptr};
    EXPECT_EQ(AuthorizationExecuteWithPrivileges(authorization, "/bin/true", 0, none, nullptr), errAuthorizationDenied);
    EXPECT_EQ(AuthorizationFree(authorization, kAuthorizationFlagDestroyRights), errAuthorizationSuccess);
}

} // namespace
