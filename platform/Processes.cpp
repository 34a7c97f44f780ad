#include "platform/Processes.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/MacNames.h"

namespace {

constexpr ProcessSerialNumber kFileManager{1, 0};

ProcessSerialNumber ThisProcess()
{
    return {0, UInt32(getpid())};
}

bool Same(const ProcessSerialNumber& a, const ProcessSerialNumber& b)
{
    return a.highLongOfPSN == b.highLongOfPSN && a.lowLongOfPSN == b.lowLongOfPSN;
}

bool IsThisProcess(const ProcessSerialNumber& psn)
{
    return Same(psn, ThisProcess()) || Same(psn, {0, kCurrentProcess});
}

bool DesktopSessionRuns()
{
    const bool display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    return display && std::getenv("DBUS_SESSION_BUS_ADDRESS");
}

} // namespace

OSErr GetCurrentProcess(ProcessSerialNumber* psn)
{
    if (!psn)
        return paramErr;
    *psn = ThisProcess();
    return noErr;
}

OSErr GetFrontProcess(ProcessSerialNumber* psn)
{
    return GetCurrentProcess(psn);
}

OSErr SetFrontProcess(const ProcessSerialNumber* psn)
{
    if (!psn)
        return paramErr;
    return IsThisProcess(*psn) || (Same(*psn, kFileManager) && DesktopSessionRuns()) ? OSErr(noErr)
                                                                                     : OSErr(procNotFound);
}

OSErr GetNextProcess(ProcessSerialNumber* psn)
{
    if (!psn)
        return paramErr;
    if (Same(*psn, {0, kNoProcess})) {
        *psn = ThisProcess();
        return noErr;
    }
    if (IsThisProcess(*psn) && DesktopSessionRuns()) {
        *psn = kFileManager;
        return noErr;
    }
    *psn = {0, kNoProcess};
    return procNotFound;
}

OSErr GetProcessInformation(const ProcessSerialNumber* psn, ProcessInfoRec* info)
{
    if (!psn || !info)
        return paramErr;
    const bool self = IsThisProcess(*psn);
    if (!self && !(Same(*psn, kFileManager) && DesktopSessionRuns()))
        return procNotFound;
    info->processNumber = self ? ThisProcess() : kFileManager;
    info->processType = self ? MakeOSType("APPL") : kFinderType;
    info->processSignature = self ? MakeOSType("????") : kFinderSignature;
    info->processMode = 0;
    if (info->processName)
        MacNames::ToPascal(self ? std::string(program_invocation_short_name) : std::string("Finder"), info->processName);
    if (info->processAppSpec) {
        FSRef ref{};
        std::error_code error;
        const std::string executable = std::filesystem::read_symlink("/proc/self/exe", error).string();
        std::memset(info->processAppSpec, 0, sizeof *info->processAppSpec);
        if (self && !error && FSPathMakeRef(reinterpret_cast<const UInt8*>(executable.c_str()), &ref, nullptr) == noErr)
            FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, info->processAppSpec, nullptr);
    }
    return noErr;
}

OSErr SameProcess(const ProcessSerialNumber* a, const ProcessSerialNumber* b, Boolean* result)
{
    if (!a || !b || !result)
        return paramErr;
    *result = Same(*a, *b) || (IsThisProcess(*a) && IsThisProcess(*b));
    return noErr;
}
