// UFile: icons, and the classification of files by type, creator and name.

#include <algorithm>
#include <array>
#include <cstring>

#include "filesystem/UFile.h"
#include "toolkit/CStr255.h"

namespace UFile {

namespace {

struct TypeClass {
    short typeClass;
    OSType type;
};

constexpr std::array kTypeClasses = {
    TypeClass{1, MakeOSType("APPD")}, TypeClass{1, MakeOSType("APPL")},
    TypeClass{2, MakeOSType("APPC")}, TypeClass{2, MakeOSType("cdev")}, TypeClass{2, MakeOSType("dfil")},
    TypeClass{2, MakeOSType("mdev")},
    TypeClass{3, MakeOSType("AINI")}, TypeClass{3, MakeOSType("INIT")}, TypeClass{3, MakeOSType("PRER")},
    TypeClass{3, MakeOSType("PRES")}, TypeClass{3, MakeOSType("RDEV")}, TypeClass{3, MakeOSType("appe")},
    TypeClass{3, MakeOSType("cbnd")}, TypeClass{3, MakeOSType("fbnd")}, TypeClass{3, MakeOSType("libr")},
    TypeClass{3, MakeOSType("mixn")}, TypeClass{3, MakeOSType("ndrv")}, TypeClass{3, MakeOSType("otsl")},
    TypeClass{3, MakeOSType("sclr")}, TypeClass{3, MakeOSType("scri")}, TypeClass{3, MakeOSType("shlb")},
    TypeClass{3, MakeOSType("tbnd")}, TypeClass{3, MakeOSType("thng")},
    TypeClass{4, MakeOSType("TEXT")}, TypeClass{4, MakeOSType("ttro")},
    TypeClass{6, MakeOSType("MPG ")}, TypeClass{6, MakeOSType("MooV")}, TypeClass{6, MakeOSType("RTSP")},
    TypeClass{6, MakeOSType("SDP ")}, TypeClass{6, MakeOSType("dvc!")}, TypeClass{6, MakeOSType("sooV")},
    TypeClass{7, MakeOSType("FFIL")}, TypeClass{7, MakeOSType("LWFN")},
    TypeClass{8, MakeOSType("AIFC")}, TypeClass{8, MakeOSType("AIFF")}, TypeClass{8, MakeOSType("MPEG")},
    TypeClass{8, MakeOSType("MPG3")}, TypeClass{8, MakeOSType("Mp3 ")}, TypeClass{8, MakeOSType("sfil")},
};

// File types of pictures; a picture's type is its place in this table, from 1.
constexpr std::array kPictureTypes = {
    MakeOSType("PICT"), MakeOSType("JPEG"), MakeOSType("JFIF"), MakeOSType("GIF "), MakeOSType("GIFf"),
    MakeOSType("TIFF"), MakeOSType("PNG "), MakeOSType("PNGf"), MakeOSType("BMP "), MakeOSType("BMPf"),
    MakeOSType("EPSF"), MakeOSType("PNTG"), MakeOSType("qtif"), MakeOSType("FPix"), MakeOSType("SGI "),
    MakeOSType(".SGI"), MakeOSType("TPIC"), MakeOSType("TGA "), MakeOSType("PICS"), MakeOSType("SCRN"),
    MakeOSType("PCX "), MakeOSType("PCXf"), MakeOSType("PSD "), MakeOSType("ICNS"), MakeOSType("icns"),
    MakeOSType("jp2 "), MakeOSType("JP2 "), MakeOSType("PNTf"), MakeOSType("PDIB"), MakeOSType("XBM "),
    MakeOSType("PPM "), MakeOSType("PGM "), MakeOSType("PBM "), MakeOSType("ILBM"), MakeOSType("WMF "),
    MakeOSType("EMF "), MakeOSType("RAW "), MakeOSType("FLPX"), MakeOSType("PIXR"), MakeOSType("TPNG"),
};

// Photo-retouching documents count as pictures only from their own applications.
constexpr std::array kRetouchTypes = {MakeOSType("8BIM"), MakeOSType("8BPS"), MakeOSType("PHUT")};
constexpr std::array kRetouchCreators = {MakeOSType("8BIM"), MakeOSType("PHUT")};
constexpr std::array kIllustratorCreators = {MakeOSType("ART5"), MakeOSType("ART3")};

template <typename Table>
bool Holds(const Table& table, OSType value)
{
    return std::find(table.begin(), table.end(), value) != table.end();
}

bool Named(ConstStr255Param name, const char* text)
{
    return name[0] == std::strlen(text) && std::memcmp(name + 1, text, name[0]) == 0;
}

// "swapfile" and one digit: the virtual memory files of the system.
bool IsSwapFileName(ConstStr255Param name)
{
    return name[0] == 9 && std::memcmp(name + 1, "swapfile", 8) == 0 && CStr255::IsDigit(char(name[9]));
}

} // namespace

OSErr GetGenericIconRef(OSType type, IconRef* icon)
{
    return GetIconRef(kStartupVolumeRefNum, kSystemIconsCreator, type, icon);
}

OSErr GetGenericFolderIconRef(IconRef* icon)
{
    return GetGenericIconRef(kGenericFolderIcon, icon);
}

OSErr GetFileIconRef(short vol, long dir, ConstStr255Param name, IconRef* icon)
{
    FSSpec spec{};
    OSErr err = MakeFileSpec(vol, dir, name, &spec);
    if (!err && GetIconRefFromFile(&spec, icon, nullptr) == noErr)
        return noErr;
    FSRef ref;
    if (!err)
        err = ConvertFSSpecToFSRef(&spec, &ref);
    if (!err)
        err = GetIconRefFromFileInfo(&ref, 0, nullptr, kFSCatInfoNone, nullptr, 0, icon, nullptr);
    return err;
}

short GetFileType(OSType type, OSType creator)
{
    for (const TypeClass& entry : kTypeClasses) {
        if (entry.type == type)
            return entry.typeClass;
    }
    if (GetPictureType(type, creator, nullptr))
        return 5;
    if (type == MakeOSType("FNDR") || type == MakeOSType("zsys"))
        return creator == MakeOSType("MACS") ? 9 : 0;
    return 0;
}

Boolean IsAppliCDEVOrInit(OSType type)
{
    const short typeClass = GetFileType(type, 0);
    return typeClass >= 1 && typeClass <= 3;
}

Boolean IsDocument(OSType type)
{
    return !IsAppliCDEVOrInit(type);
}

Boolean IsMacOSXApplicationFolder(ConstStr255Param name)
{
    static const UInt8 kSuffix[] = "\004.app";
    return CStr255::EndWithPString(kSuffix, name);
}

Boolean IsCompressedFile(OSType type, OSType creator)
{
    if (creator == MakeOSType("SIT!"))
        return true;
    if (type == MakeOSType("PACT") && creator == MakeOSType("CPCT"))
        return true;
    return (type == MakeOSType("APPL") || type == MakeOSType("APPD")) &&
           (creator == MakeOSType("aust") || creator == MakeOSType("EXTR"));
}

Boolean IsSystemCompanionFile(OSType type, OSType creator, ConstStr255Param name)
{
    const OSType macs = MakeOSType("MACS");
    if (creator == macs && type == MakeOSType("fdrp"))
        return false;
    if ((creator == macs && type == MakeOSType("ZSYS")) || creator == MakeOSType("DMGR") || creator == MakeOSType("ERIK"))
        return true;
    struct Pair {
        OSType creator;
        OSType type;
    };
    static constexpr std::array kCompanions = {
        Pair{MakeOSType("FNDR"), MakeOSType("ERIK")}, Pair{MakeOSType("FNDR"), MakeOSType("mfdr")},
        Pair{MakeOSType("ugbt"), MakeOSType("BTFL")}, Pair{MakeOSType("MACS"), MakeOSType("FOLD")},
        Pair{MakeOSType("dcdc"), MakeOSType("dtpl")},
    };
    for (const Pair& pair : kCompanions) {
        if (pair.creator == creator && pair.type == type)
            return true;
    }
    if (name && type == 0 && creator == 0)
        return Named(name, "Desktop DB") || Named(name, "Desktop DF") || IsSwapFileName(name);
    return false;
}

Boolean IsSystemCompanionFolder(ConstStr255Param name)
{
    static const UInt8 kPrivateData[] = "\025\0\0\0\0HFS+ Private Data";
    if (!name)
        return false;
    return std::memcmp(name, kPrivateData, sizeof kPrivateData - 1) == 0 || Named(name, "TheFindByContentFolder") ||
           Named(name, "TheVolumeSettingsFolder") || Named(name, "Volumes");
}

short GetPictureType(OSType type, OSType creator, ConstStr255Param)
{
    const auto picture = std::find(kPictureTypes.begin(), kPictureTypes.end(), type);
    if (picture != kPictureTypes.end())
        return short(picture - kPictureTypes.begin() + 1);
    if (Holds(kRetouchTypes, type) && Holds(kRetouchCreators, creator))
        return short(kPictureTypes.size() + 1);
    if (type == MakeOSType("PDF ") && Holds(kIllustratorCreators, creator))
        return short(kPictureTypes.size() + 2);
    return 0;
}

} // namespace UFile
