#include "platform/SystemCommands.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include <filesystem>

#include "platform/Resources.h"

extern char** environ;

std::string PackageExecutable(const std::string& path)
{
    std::filesystem::path package(path);
    if (!package.has_filename())
        package = package.parent_path();
    if (package.extension() != ".app")
        return {};
    const std::filesystem::path executable = package / "Contents/MacOS" / package.stem();
    return access(executable.c_str(), X_OK) == 0 ? executable.string() : std::string();
}

std::vector<std::string> MapCommandLine(const std::vector<std::string>& macArguments)
{
    if (macArguments.empty())
        return macArguments;
    if (macArguments[0] == "/usr/sbin/bless" || macArguments[0] == "/usr/sbin/kextcache") {
        std::vector<std::string> mapped = macArguments;
        mapped[0] = (std::filesystem::path(ApplicationResourceFolder()) / std::filesystem::path(mapped[0]).filename()).string();
        return mapped;
    }
    if (macArguments[0] != "/usr/bin/open")
        return macArguments;
    if (macArguments.size() == 4 && macArguments[1] == "-a") {
        const std::string executable = PackageExecutable(macArguments[2]);
        return {executable.empty() ? macArguments[2] : executable, macArguments[3]};
    }
    if (macArguments.size() == 2) {
        const std::string executable = PackageExecutable(macArguments[1]);
        if (!executable.empty())
            return {executable};
    }
    std::vector<std::string> mapped = macArguments;
    mapped[0] = "xdg-open";
    return mapped;
}

pid_t StartCommandLine(const std::vector<std::string>& macArguments, const std::vector<std::string>& environment)
{
    const std::vector<std::string> arguments = MapCommandLine(macArguments);
    if (arguments.empty())
        return -1;
    // Everything the child needs is built before the fork: the child only execs.
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& entry : environment)
        envp.push_back(const_cast<char*>(entry.c_str()));
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view name(*entry, std::strcspn(*entry, "="));
        const bool replaced = std::any_of(environment.begin(), environment.end(), [&](const std::string& given) {
            return given.size() > name.size() && given.compare(0, name.size(), name) == 0 && given[name.size()] == '=';
        });
        if (!replaced)
            envp.push_back(*entry);
    }
    envp.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execvpe(argv[0], argv.data(), envp.data());
        _exit(1);
    }
    return child;
}

OSErr StartInBackground(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return paramErr;
    // A shell puts the program in the background and ends at once; the arguments go
    // in as arguments, never as shell text.
    std::vector<char*> argv = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"),
                               const_cast<char*>("command -v \"$0\" >/dev/null || exit 1; \"$0\" \"$@\" </dev/null >/dev/null 2>&1 &")};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t shell;
    if (posix_spawn(&shell, "/bin/sh", nullptr, nullptr, argv.data(), environ) != 0)
        return fnfErr;
    int status = 0;
    while (waitpid(shell, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? OSErr(noErr) : OSErr(fnfErr);
}
