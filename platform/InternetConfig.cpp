#include "platform/InternetConfig.h"

#include <string>

#include "platform/MacRoman.h"
#include "platform/SystemCommands.h"

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
    return StartInBackground({Opener(), UTF8FromMacRoman(Str255View(url))});
}

void ICSetURLOpenerForTesting(const char* program)
{
    Opener() = program;
}
