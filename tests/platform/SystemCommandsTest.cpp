#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "platform/Resources.h"
#include "platform/SystemCommands.h"
#include "tests/support/TestSupport.h"

using testsupport::TempFolder;

namespace {

TEST(SystemCommands, OpenMapsOntoPackagesAndXdgOpen)
{
    TempFolder folder;
    std::filesystem::create_directories(folder / "Tool.app/Contents/MacOS");
    const std::string executable = folder.WriteFile("Tool.app/Contents/MacOS/Tool", "#!/bin/sh\n", 0755).string();
    std::filesystem::create_directories(folder / "Empty.app/Contents/MacOS");
    const std::string package = (folder / "Tool.app").string();
    const std::string empty = (folder / "Empty.app").string();
    const std::string resources = (folder / "Resources").string();
    SetResourceFolderForTesting(resources);

    struct Case {
        const char* name;
        std::vector<std::string> mac;
        std::vector<std::string> mapped;
    };
    const Case cases[] = {
        {"a document", {"/usr/bin/open", "/home/a/report.txt"}, {"xdg-open", "/home/a/report.txt"}},
        {"a package", {"/usr/bin/open", package}, {executable}},
        {"a package named with a slash", {"/usr/bin/open", package + "/"}, {executable}},
        {"a package without its executable", {"/usr/bin/open", empty}, {"xdg-open", empty}},
        {"with a package", {"/usr/bin/open", "-a", package, "/tmp/x"}, {executable, "/tmp/x"}},
        {"-a on another command", {"/usr/bin/editor", "-a", "/bin/ed", "/tmp/x"}, {"/usr/bin/editor", "-a", "/bin/ed", "/tmp/x"}},
        {"-a with a program", {"/usr/bin/open", "-a", "/bin/ed", "/tmp/x"}, {"/bin/ed", "/tmp/x"}},
        {"another command", {"/sbin/reboot"}, {"/sbin/reboot"}},
        {"bless", {"/usr/sbin/bless", "-folder", "//System"}, {resources + "/bless", "-folder", "//System"}},
        {"kextcache", {"/usr/sbin/kextcache", "-K", "/k"}, {resources + "/kextcache", "-K", "/k"}},
        {"a bless elsewhere", {"/usr/local/sbin/bless"}, {"/usr/local/sbin/bless"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MapCommandLine(c.mac), c.mapped);
    }
    SetResourceFolderForTesting("");
}

TEST(SystemCommands, StartedChildGetsItsOwnEnvironmentAndFailsWithStatusOne)
{
    TempFolder folder;
    const auto script = folder.WriteFile("env.sh", "#!/bin/sh\nprintf '%s|%s' \"$TMPDIR\" \"$HOME\" > \"$1\"\n", 0755);
    const std::string home = getenv("HOME") ? getenv("HOME") : "";
    const pid_t child = StartCommandLine({script.string(), (folder / "out").string()}, {"TMPDIR=/elsewhere"});
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(testsupport::ReadFile(folder / "out"), "/elsewhere|" + home);

    const pid_t missing = StartCommandLine({(folder / "no-such-program").string()});
    ASSERT_EQ(waitpid(missing, &status, 0), missing);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
}

} // namespace
