#include <gtest/gtest.h>

#include <filesystem>

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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MapCommandLine(c.mac), c.mapped);
    }
}

} // namespace
