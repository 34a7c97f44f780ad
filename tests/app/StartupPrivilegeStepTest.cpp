// The privilege step of the start-up on a real test package: the first run as root
// repairs the tool, makes the executable root-owned and set-uid and relaunches; a
// relaunched run that still lacks the rights stops relaunching by the stored time; a
// set-uid copy serves administrators with root's rights and a clean environment, and
// other users with their own rights only.

#include <gtest/gtest.h>

#include <optional>

#include "tests/app/AppTestSupport.h"

namespace {

using namespace apptest;

class StartupPrivilegeStepTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!testsupport::RunningAsRoot())
            GTEST_SKIP() << "the tool and the executable are made root-owned and set-uid";
    }

    TestPackage mPackage;
};

TEST_F(StartupPrivilegeStepTest, FirstRunAsRootRepairsRegistersAndRelaunches)
{
    const std::string first = mPackage.Run();
    EXPECT_FALSE(Has(first, "window 128")) << first;
    EXPECT_TRUE(Has(first, "end 0")) << first;
    EXPECT_TRUE(TestPackage::IsRootSetuid(mPackage.Tool()));
    EXPECT_TRUE(TestPackage::IsRootSetuid(mPackage.Executable()));

    // The relaunched run held the output open: it has ended too.
    ASSERT_EQ(mPackage.Runs().size(), 2u) << mPackage.Notes();
    const std::string second = mPackage.Runs()[1];
    EXPECT_TRUE(Has(second, "window 128")) << second;
    // The privileged run clears the relaunch time and saves it at its quit.
    EXPECT_EQ(mPackage.ReadPreferences().privilegeRelaunchTime, 0u);
}

TEST_F(StartupPrivilegeStepTest, RelaunchStopsByTheStoredTime)
{
    // The tool is privileged already, the executable is not: each run registers it.
    const struct {
        const char* name;
        UInt32 age; // seconds before now of the stored time; ~0u stores 0
        bool relaunches;
        bool storesNow;
    } cases[] = {
        {"no time stored", ~0u, false, true},
        {"relaunched a second ago", 1, false, false},
        {"relaunched 5 seconds ago", 5, true, false},
        {"relaunched a minute ago", 60, false, true},
    };
    for (const auto& c : cases) {
        TestPackage package;
        TestPackage::SetOwnerAndMode(package.Tool(), kRoot, 04755);
        PreferencesStruct preferences;
        preferences.updateReminderTime = 0xFFFFFFFF;
        const UInt32 now = MacNow();
        preferences.privilegeRelaunchTime = c.age == ~0u ? 0 : now - c.age;
        package.WritePreferences(preferences);

        const std::string first = package.Run();
        EXPECT_TRUE(TestPackage::IsRootSetuid(package.Executable())) << c.name;
        EXPECT_EQ(Has(first, "window 24997"), !c.relaunches) << c.name << "\n" << first;
        EXPECT_FALSE(Has(first, "window 128")) << c.name << "\n" << first;
        // A relaunch (com.qor.VarnoLaunch, then the new run) held the output open.
        EXPECT_EQ(package.Runs().size(), c.relaunches ? 2u : 1u) << c.name << "\n" << package.Notes();
        if (c.relaunches) {
            EXPECT_TRUE(Has(package.Runs()[1], "window 128")) << c.name << "\n" << package.Notes();
            continue;
        }
        const UInt32 stored = package.ReadPreferences().privilegeRelaunchTime;
        if (c.storesNow)
            EXPECT_NEAR(double(stored), double(now), 5.0) << c.name;
        else
            EXPECT_EQ(stored, now - c.age) << c.name;
    }
}

TEST_F(StartupPrivilegeStepTest, SetuidCopyServesAnAdministratorWithACleanEnvironment)
{
    const std::optional<gid_t> administrators = testsupport::AdministratorsGroup();
    if (!administrators)
        GTEST_SKIP() << "no administrators' group on this machine";
    TestPackage::SetOwnerAndMode(mPackage.Executable(), kRoot, 04755);
    std::vector<std::string> command = mPackage.Command();
    command.insert(command.begin() + 1, {"QT_PLUGIN_PATH=/tmp/plugins-of-a-user", "PATH=/tmp/programs-of-a-user:/usr/bin"});
    testsupport::RunProcess(testsupport::AsNobody(command, {*administrators}));

    const std::string notes = mPackage.Notes();
    EXPECT_TRUE(Has(notes, "window 128")) << notes;
    EXPECT_FALSE(Has(notes, "window 24996")) << notes;
    EXPECT_TRUE(Has(notes, "euid=0 pluginPath=- path=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin"))
        << notes;
}

TEST_F(StartupPrivilegeStepTest, SetuidCopyGivesOtherUsersNoPrivilege)
{
    TestPackage::SetOwnerAndMode(mPackage.Executable(), kRoot, 04755);
    testsupport::RunProcess(testsupport::AsNobody(mPackage.Command()));

    const std::string notes = mPackage.Notes();
    EXPECT_TRUE(Has(notes, "window 24996")) << notes;
    EXPECT_TRUE(Has(notes, "window 25000")) << notes;
    EXPECT_TRUE(Has(notes, "window 128")) << notes;
    EXPECT_TRUE(Has(notes, "euid=" + std::to_string(testsupport::kNobody))) << notes;
    EXPECT_TRUE(Has(notes, "end 0")) << notes;
}

TEST_F(StartupPrivilegeStepTest, WithoutConsentTheApplicationQuits)
{
    // A user without a way to give the administrator's consent: the tool stays as it was.
    testsupport::RunProcess(testsupport::AsNobody(mPackage.Command()));

    const std::string notes = mPackage.Notes();
    EXPECT_TRUE(Has(notes, "window 3223")) << notes;
    EXPECT_FALSE(Has(notes, "window 128")) << notes;
    EXPECT_FALSE(TestPackage::IsRootSetuid(mPackage.Tool()));
    EXPECT_FALSE(TestPackage::IsRootSetuid(mPackage.Executable()));
}

TEST_F(StartupPrivilegeStepTest, MissingBundleStopsTheStart)
{
    fs::remove_all(mPackage.Resources() / "AuthorizationBundle.bundle");
    const std::string notes = mPackage.Run();
    EXPECT_TRUE(Has(notes, "window 24997")) << notes;
    EXPECT_FALSE(Has(notes, "window 128")) << notes;
    EXPECT_TRUE(Has(notes, "end 0")) << notes;
}

} // namespace
