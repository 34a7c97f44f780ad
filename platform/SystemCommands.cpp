#include "platform/SystemCommands.h"

#include <unistd.h>

#include <filesystem>

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
    if (macArguments.empty() || macArguments[0] != "/usr/bin/open")
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
