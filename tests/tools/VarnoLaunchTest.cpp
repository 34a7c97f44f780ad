#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

class VarnoLaunchTest : public testing::Test {
protected:
    std::string Tool() const { return (PackagePath() / "Contents/Resources/com.qor.VarnoLaunch").string(); }

    // Runs the tool with a PATH on which xdg-open is the given script.
    ProcessResult Launch(const std::vector<std::string>& arguments, const std::string& xdgOpen)
    {
        std::filesystem::create_directories(mFolder / "bin");
        mFolder.WriteFile("bin/xdg-open", "#!/bin/sh\n" + xdgOpen + "\n", 0755);
        std::vector<std::string> argv = {"env", "PATH=" + (mFolder / "bin").string() + ":/usr/bin:/bin", Tool()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return RunProcess(argv);
    }

    std::string Recorder() const { return "printf '%s\\n' \"$@\" > " + (mFolder / "opened").string(); }

    TempFolder mFolder;
};

TEST_F(VarnoLaunchTest, WrongArgumentCountsEndAtOnce)
{
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{}, {"a", "b", "c"}}) {
        SCOPED_TRACE(arguments.size());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Launch(arguments, Recorder()).exitStatus, 255);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << "slept before refusing";
        EXPECT_FALSE(std::filesystem::exists(mFolder / "opened"));
    }
}

TEST_F(VarnoLaunchTest, OpensTheDocumentWhateverOpenAnswers)
{
    EXPECT_EQ(Launch({"/no/such/document"}, Recorder() + "\nexit 4").exitStatus, 0);
    EXPECT_EQ(ReadFile(mFolder / "opened"), "/no/such/document\n");
}

TEST_F(VarnoLaunchTest, StartsThePackageItWasGiven)
{
    std::filesystem::create_directories(mFolder / "Varno.app/Contents/MacOS");
    const std::string executable = (mFolder / "Varno.app/Contents/MacOS/Varno").string();
    mFolder.WriteFile("Varno.app/Contents/MacOS/Varno",
                      "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > " + (mFolder / "started").string() + "\n", 0755);
    const std::string package = (mFolder / "Varno.app").string();
    const struct {
        std::vector<std::string> arguments;
        std::string started;
    } cases[] = {
        {{package}, executable + "\n"},
        {{package, "/some/report"}, executable + "\n/some/report\n"}, // the path opened with the package
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.size());
        EXPECT_EQ(Launch(c.arguments, Recorder()).exitStatus, 0);
        EXPECT_EQ(ReadFile(mFolder / "started"), c.started);
        EXPECT_FALSE(std::filesystem::exists(mFolder / "opened"));
    }
}

} // namespace
