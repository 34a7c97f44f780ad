// kextcache: rebuilds what a copied system needs to load its kernel modules: the
// module dependency files of every kernel of the volume, with `depmod -b`.
//   kextcache -K VOLUME/mach_kernel [-L -N -S] -m CACHE EXTENSIONS
// The volume is the -K argument without its "/mach_kernel". A volume without kernel
// modules, or a machine without depmod, needs nothing: exit status 0. Exit status 1
// for a command line it does not know, 2 when depmod failed for a kernel.

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr std::string_view kKernelSuffix = "/mach_kernel";

int Usage()
{
    std::fprintf(stderr, "usage: kextcache -K VOLUME/mach_kernel [-L] [-N] [-S] -m CACHE EXTENSIONS\n");
    return 1;
}

// depmod's exit status for one kernel version; 0 when there is no depmod to run.
int Depmod(const std::filesystem::path& root, const std::string& version)
{
    const pid_t child = fork();
    if (child == 0) {
        // depmod lives in the system's sbin folders, which a user's PATH may lack.
        const std::string path = std::string(getenv("PATH") ? getenv("PATH") : "") + ":/usr/sbin:/sbin";
        setenv("PATH", path.c_str(), 1);
        execlp("depmod", "depmod", "-b", root.c_str(), version.c_str(), static_cast<char*>(nullptr));
        _exit(errno == ENOENT ? 127 : 126);
    }
    int status = 0;
    while (child > 0 && waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (child < 0 || !WIFEXITED(status))
        return 2;
    return WEXITSTATUS(status) == 127 ? 0 : WEXITSTATUS(status);
}

} // namespace

int main(int argc, char* argv[])
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string kernel;
    bool cache = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "-K" && i + 1 < arguments.size())
            kernel = arguments[++i];
        else if (arguments[i] == "-m" && i + 1 < arguments.size())
            cache = !arguments[++i].empty();
        else if (arguments[i] != "-L" && arguments[i] != "-N" && arguments[i] != "-S" && i + 1 != arguments.size())
            return Usage();
    }
    if (!cache || !kernel.ends_with(kKernelSuffix))
        return Usage();
    const std::filesystem::path root =
        kernel.size() == kKernelSuffix.size() ? std::filesystem::path("/")
                                              : std::filesystem::path(kernel.substr(0, kernel.size() - kKernelSuffix.size()));

    int result = 0;
    std::error_code error;
    for (const char* modules : {"lib/modules", "usr/lib/modules"}) {
        const std::filesystem::path folder = root / modules;
        // With a merged /usr, lib/modules is usr/lib/modules: each kernel once.
        if (std::filesystem::is_symlink(root / "lib", error) && modules[0] == 'l')
            continue;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            if (entry.is_directory(error) && Depmod(root, entry.path().filename().string()) != 0)
                result = 2;
        }
    }
    return result;
}
