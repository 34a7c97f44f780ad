#pragma once
// A test package of the application: the built package's resources and tools, with
// the probe (tests/app/AppProbe.cpp) as its executable, run under Qt's offscreen
// platform with a preferences folder of its own. What the probe notes comes back as
// lines.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/PreferencesStruct.h"
#include "platform/DateTimeUtils.h"
#include "tests/support/TestSupport.h"

namespace apptest {

namespace fs = std::filesystem;

constexpr uid_t kRoot = 0;

class TestPackage {
public:
    TestPackage()
    {
        fs::create_directories(Executable().parent_path());
        fs::copy(testsupport::PackagePath() / "Contents/Resources", Resources(), fs::copy_options::recursive);
        fs::copy_file(APP_PROBE, Executable());
        SetOwnerAndMode(Executable(), kRoot, 0755);
        SetOwnerAndMode(Tool(), kRoot, 0755);
        fs::create_directories(Preferences());
        fs::create_directories(Grabs());
        chmod(Grabs().c_str(), 0777);
        std::ofstream(Log()) << "";
        chmod(Log().c_str(), 0666);
        const fs::path runtime = mFolder / "runtime";
        fs::create_directories(runtime);
        chmod(runtime.c_str(), 0700);
        mRuntime = runtime;
    }

    fs::path Package() const { return mFolder / "Varno.app"; }
    fs::path Executable() const { return Package() / "Contents/MacOS/Varno"; }
    fs::path Resources() const { return Package() / "Contents/Resources"; }
    fs::path Tool() const { return Resources() / "AuthorizationBundle.bundle/Contents/Resources/RootActionTool"; }
    fs::path Preferences() const { return mFolder / "config"; }
    fs::path PreferencesFile() const { return Preferences() / "Varno Preferences"; }
    fs::path Grabs() const { return mFolder / "grabs"; }
    fs::path Log() const { return mFolder / "probe.log"; }
    const fs::path& Folder() const { return mFolder.Path(); }

    static void SetOwnerAndMode(const fs::path& path, uid_t uid, mode_t mode)
    {
        ASSERT_EQ(chown(path.c_str(), uid, gid_t(-1)), 0) << path;
        ASSERT_EQ(chmod(path.c_str(), mode), 0) << path;
    }
    static bool IsRootSetuid(const fs::path& path)
    {
        struct stat status {};
        return stat(path.c_str(), &status) == 0 && status.st_uid == 0 && (status.st_mode & S_ISUID) != 0;
    }

    void WritePreferences(const std::vector<UInt8>& bytes) const
    {
        std::ofstream(PreferencesFile(), std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    void WritePreferences(const PreferencesStruct& preferences) const
    {
        const PreferencesBytes bytes = EncodePreferences(preferences);
        WritePreferences(std::vector<UInt8>(bytes.begin(), bytes.end()));
    }
    PreferencesStruct ReadPreferences() const
    {
        const std::string text = testsupport::ReadFile(PreferencesFile());
        PreferencesStruct preferences;
        ReadPreferencesOver(preferences, std::span(reinterpret_cast<const UInt8*>(text.data()), text.size()));
        return preferences;
    }

    // The command that runs the package's executable with `arguments` in the test's
    // environment; its notes go to the log.
    std::vector<std::string> Command(const std::vector<std::string>& arguments = {}) const
    {
        std::vector<std::string> command = {"env",
                                            "QT_QPA_PLATFORM=offscreen",
                                            "XDG_RUNTIME_DIR=" + mRuntime.string(),
                                            "XDG_CONFIG_HOME=" + Preferences().string(),
                                            "VARNO_PROBE_LOG=" + Log().string(),
                                            "VARNO_PROBE_GRABS=" + Grabs().string(),
                                            "timeout",
                                            "60",
                                            Executable().string()};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return command;
    }

    // Runs the executable to its end; the notes of that run. A run it relaunched
    // keeps the output open, so it has ended too.
    std::string Run(const std::vector<std::string>& arguments = {}) const
    {
        testsupport::RunProcess(Command(arguments));
        const std::vector<std::string> runs = Runs();
        return runs.empty() ? std::string() : runs.front();
    }
    std::string Notes() const { return testsupport::ReadFile(Log()); }

    // The notes of each run, in order of their start ("start" lines).
    std::vector<std::string> Runs() const
    {
        std::vector<std::string> runs;
        std::istringstream lines(Notes());
        std::string line;
        while (std::getline(lines, line)) {
            if (line.ends_with(" start"))
                runs.emplace_back();
            if (!runs.empty())
                runs.back() += line.substr(line.find(' ') + 1) + "\n";
        }
        return runs;
    }

private:
    testsupport::TempFolder mFolder;
    fs::path mRuntime;
};

inline bool Has(const std::string& notes, const std::string& what)
{
    return notes.find(what) != std::string::npos;
}

inline UInt32 MacNow()
{
    unsigned long now = 0;
    GetDateTime(&now);
    return UInt32(now);
}

} // namespace apptest
