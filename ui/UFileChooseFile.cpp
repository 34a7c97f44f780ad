// UFile's file chooser lives with the window toolkit, whose dialog it shows; the
// declarations stay in filesystem/UFile.h, which includes no Qt.

#include <algorithm>
#include <array>
#include <string>

#include "filesystem/UFile.h"
#include "platform/FinderInfo.h"
#include "framework/LFileChooser.h"

namespace {

// The navigation dialog's default option flags.
constexpr UInt32 kDefaultOptions = 0xE4;

// The Finder type of the file at `path`; 0 when it has none or cannot be read.
OSType FileTypeAt(const std::string& path)
{
    FSRef ref;
    FSCatalogInfo info{};
    if (FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr) != noErr ||
        FSGetCatalogInfo(&ref, kFSCatInfoFinderInfo, &info, nullptr, nullptr, nullptr) != noErr)
        return 0;
    return FinderInfo::Type(info.finderInfo);
}

Boolean AskChooseOneFile(LFileChooser& chooser, FSSpec* out)
{
    std::string path;
    FSRef ref;
    FSSpec chosen{};
    if (!chooser.AskChooseOneFile(path) ||
        FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr) != noErr ||
        UFile::ConvertFSRefToFSSpec(&ref, &chosen) != noErr)
        return false;
    *out = chosen;
    return true;
}

} // namespace

namespace UFile {

Boolean ChooseFile(FSSpec* out, Boolean showInvisible)
{
    LFileChooser chooser;
    chooser.SetOptionFlags(kDefaultOptions | LFileChooser::kNavSupportPackages |
                           (showInvisible ? UInt32(LFileChooser::kNavAllowInvisibleFiles) : 0u));
    return AskChooseOneFile(chooser, out);
}

Boolean ChooseFile(FSSpec* out, Boolean showInvisible, OSType t1, OSType t2, OSType t3, OSType t4)
{
    if (t1 == 0)
        return ChooseFile(out, showInvisible);
    LFileChooser chooser;
    chooser.SetOptionFlags(kDefaultOptions | (showInvisible ? UInt32(LFileChooser::kNavAllowInvisibleFiles) : 0u));
    const std::array<OSType, 4> types = {t1, t2, t3, t4};
    chooser.SetFileFilter([types](const std::string& path) {
        const OSType type = FileTypeAt(path);
        return type != 0 && std::find(types.begin(), types.end(), type) != types.end();
    });
    return AskChooseOneFile(chooser, out);
}

} // namespace UFile
