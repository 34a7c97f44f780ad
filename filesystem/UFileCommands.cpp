// UFile: the system commands that make a copied volume start, reached through the
// platform's command mapping.

#include <string>
#include <vector>

#include "filesystem/UFile.h"
#include "platform/Gestalt.h"
#include "platform/MacRoman.h"
#include "platform/SystemCommands.h"

namespace UFile {

namespace {

constexpr long kTMPDIRSystemVersion = 0x1040;

// The volume's mount point; the fixed paths are appended to it as they stand, so the
// startup volume's "/" gives a doubled slash, as the tools have always been given.
OSErr VolumePath(short vRefNum, std::string* path)
{
    char buffer[1024];
    const OSErr err = GetVolumePath(vRefNum, buffer);
    *path = buffer;
    return err;
}

long Start(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {})
{
    return long(StartCommandLine(arguments, environment));
}

} // namespace

long BlessVolume(short vRefNum)
{
    std::string path;
    if (const OSErr err = VolumePath(vRefNum, &path))
        return err;
    return Start({"/usr/sbin/bless", "-folder", path + "/System/Library/CoreServices"});
}

long BlessLabel(short vRefNum, ConstStr255Param label)
{
    std::string path;
    if (const OSErr err = VolumePath(vRefNum, &path))
        return err;
    // The label goes as UTF-8, the text Linux programs read from their arguments.
    return Start({"/usr/sbin/bless", "-mount", path + "/System/Library/CoreServices", "-label",
                  UTF8FromMacRoman(Str255View(label))});
}

long Update_kextcache(short vRefNum)
{
    std::string path;
    if (const OSErr err = VolumePath(vRefNum, &path))
        return err;
    long version = 0;
    Gestalt(gestaltSystemVersion, &version);
    if (version < kTMPDIRSystemVersion)
        return Start({"/usr/sbin/kextcache", "-K", path + "/mach_kernel", "-m",
                      path + "/System/Library/Extensions.mkext", path + "/System/Library/Extensions"});
    // The tool keeps its temporary files on the volume it works on. Only the tool is
    // told so: the application's own temporary files stay where they were.
    return Start({"/usr/sbin/kextcache", "-K", path + "/mach_kernel", "-L", "-N", "-S", "-m",
                  path + "/System/Library/Extensions.mkext", path + "/System/Library/Extensions"},
                 {"TMPDIR=" + path + "/private/tmp"});
}

} // namespace UFile
