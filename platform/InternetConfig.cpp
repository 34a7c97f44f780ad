#include "platform/InternetConfig.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>

#include "platform/MacRoman.h"

extern char** environ;

namespace {

std::string& Opener()
{
    static std::string program = "xdg-open";
    return program;
}

} // namespace

OSStatus ICLaunchURL(OSType /*creator*/, ConstStr255Param url)
{
    if (url == nullptr || url[0] == 0)
        return paramErr;
    const std::string address = UTF8FromMacRoman(Str255View(url));
    // A shell puts the opener in the background and ends at once; the address goes
    // in as an argument, never as shell text.
    const char* argv[] = {"/bin/sh", "-c", "command -v \"$0\" >/dev/null || exit 1; \"$0\" \"$1\" </dev/null >/dev/null 2>&1 &",
                          Opener().c_str(), address.c_str(), nullptr};
    pid_t shell;
    if (posix_spawn(&shell, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return fnfErr;
    int status = 0;
    while (waitpid(shell, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? noErr : fnfErr;
}

void ICSetURLOpenerForTesting(const char* program)
{
    Opener() = program;
}
