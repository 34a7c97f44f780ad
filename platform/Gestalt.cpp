#include "platform/Gestalt.h"

namespace {

constexpr long kSystemVersion = 0x1049;

long& SystemVersion()
{
    static long version = kSystemVersion;
    return version;
}

} // namespace

OSErr Gestalt(OSType selector, long* response)
{
    if (!response)
        return paramErr;
    if (selector != gestaltSystemVersion)
        return gestaltUndefSelectorErr;
    *response = SystemVersion();
    return noErr;
}

void SetSystemVersionForTesting(long version)
{
    SystemVersion() = version ? version : kSystemVersion;
}
