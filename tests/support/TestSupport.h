#pragma once
// What the tests share: the built package, temporary folders, and real processes,
// also run as another user through setpriv.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// The application package that the build assembled.
std::filesystem::path PackagePath();
std::filesystem::path AuthorizationBundlePath();
std::filesystem::path RootActionToolPath();

bool RunningAsRoot();

// The first of "sudo", "wheel", "admin" that exists on this machine.
std::optional<gid_t> AdministratorsGroup();

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

// A fresh folder under /tmp that every user may enter; removed with its content.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return mPath; }
    std::filesystem::path operator/(const std::string& name) const { return mPath / name; }

    // A file with `content` and `mode`; an executable script when it starts with "#!".
    std::filesystem::path WriteFile(const std::string& name, const std::string& content, mode_t mode = 0644) const;

private:
    std::filesystem::path mPath;
};

struct ProcessResult {
    int exitStatus = -1; // -1 when the process did not exit by itself
    int signal = 0;
    std::string output; // standard output and standard error together
};

// Runs `argv` to its end with `input` on its standard input.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input = {});

// `argv` as the user nobody, with only the given supplementary groups.
std::vector<std::string> AsNobody(const std::vector<std::string>& argv, const std::vector<gid_t>& groups = {});

// Waits until `done` holds or `timeout` passes; answers the last `done`.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10));

std::string ReadFile(const std::filesystem::path& path);

} // namespace testsupport
