#include "tests/support/TestSupport.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace testsupport {

std::filesystem::path PackagePath()
{
    return VARNO_APP_DIR;
}

std::filesystem::path AuthorizationBundlePath()
{
    return PackagePath() / "Contents/Resources/AuthorizationBundle.bundle";
}

std::filesystem::path RootActionToolPath()
{
    return AuthorizationBundlePath() / "Contents/Resources/RootActionTool";
}

bool RunningAsRoot()
{
    return geteuid() == 0;
}

std::optional<gid_t> AdministratorsGroup()
{
    for (const char* name : {"sudo", "wheel", "admin"}) {
        if (const struct group* entry = getgrnam(name))
            return entry->gr_gid;
    }
    return std::nullopt;
}

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "varno-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    mPath = pattern;
    chmod(mPath.c_str(), 0755);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
}

std::filesystem::path TempFolder::WriteFile(const std::string& name, const std::string& content, mode_t mode) const
{
    const std::filesystem::path path = mPath / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    chmod(path.c_str(), mode);
    return path;
}

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input)
{
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    if (spawned != 0) {
        close(in[1]);
        close(out[0]);
        throw std::runtime_error("cannot start " + argv[0]);
    }

    // A process that ends without reading its input must not end the test with SIGPIPE.
    signal(SIGPIPE, SIG_IGN);
    if (!input.empty())
        (void)!write(in[1], input.data(), input.size());
    close(in[1]);

    ProcessResult result;
    char buffer[4096];
    ssize_t got;
    while ((got = read(out[0], buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break;
        result.output.append(buffer, std::size_t(got));
    }
    close(out[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status))
        result.exitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    return result;
}

std::vector<std::string> AsNobody(const std::vector<std::string>& argv, const std::vector<gid_t>& groups)
{
    std::vector<std::string> command = {"setpriv", "--reuid=" + std::to_string(kNobody),
                                        "--regid=" + std::to_string(kNogroup)};
    if (groups.empty()) {
        command.push_back("--clear-groups");
    } else {
        std::string list;
        for (gid_t group : groups)
            list += (list.empty() ? "" : ",") + std::to_string(group);
        command.push_back("--groups=" + list);
    }
    command.insert(command.end(), argv.begin(), argv.end());
    return command;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return done();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

} // namespace testsupport
