// UFile: the running application, its package, Resources folder and version.

#include <cstring>

#include "filesystem/UFile.h"
#include "platform/MacMemory.h"
#include "toolkit/CStr255.h"

namespace UFile {

namespace {

constexpr ResIDT kVersionResourceID = 1;
constexpr short kShortVersionLimit = 31;

Boolean IsNamed(const FSSpec& spec, const char* name)
{
    return spec.name[0] == std::strlen(name) && std::memcmp(spec.name + 1, name, spec.name[0]) == 0;
}

} // namespace

OSErr GetThisApplicationFSSpec(FSSpec* spec)
{
    ProcessSerialNumber self;
    ProcessInfoRec info{};
    info.processInfoLength = sizeof info;
    info.processAppSpec = spec;
    const OSErr err = GetCurrentProcess(&self);
    return err ? err : GetProcessInformation(&self, &info);
}

OSErr GetPackageOfApplication(const FSSpec* app, FSSpec* package)
{
    *package = *app;
    CInfoPBRec pb;
    if (GetFileInfos(app->vRefNum, app->parID, app->name, &pb) != noErr ||
        (pb.hFileInfo.ioFlAttrib & kioFlAttribDirMask))
        return noErr;
    FSSpec folder{};
    FSSpec contents{};
    if (GetParentID(app->vRefNum, app->parID, &folder) != noErr ||
        GetParentID(folder.vRefNum, folder.parID, &contents) != noErr || !IsNamed(contents, "Contents"))
        return noErr;
    return GetParentID(contents.vRefNum, contents.parID, package);
}

OSErr GetThisAppPackageFSSpec(FSSpec* package)
{
    FSSpec app{};
    const OSErr err = GetThisApplicationFSSpec(&app);
    return err ? err : GetPackageOfApplication(&app, package);
}

Boolean GetThisAppResourceFolderFSSpec(short* vRefNum, long* dirID)
{
    static const UInt8 kResources[] = "\011Resources";
    FSSpec app{};
    FSSpec folder{};
    long id = 0;
    if (GetThisApplicationFSSpec(&app) != noErr || GetParentID(app.vRefNum, app.parID, &folder) != noErr)
        return false;
    Str255 name;
    CStr255::CopyPString(kResources, name);
    if (!GetFolderContentID(folder.vRefNum, folder.parID, name, &id))
        return false;
    *vRefNum = folder.vRefNum;
    *dirID = id;
    return true;
}

Boolean GetVersionRecord(VersRec* version)
{
    Handle resource = GetResource(kVersionResourceType, kVersionResourceID);
    if (!resource)
        return false;
    const Boolean decoded =
        DecodeVersRec(reinterpret_cast<const UInt8*>(*resource), GetHandleSize(resource), version);
    ReleaseResource(resource);
    return decoded;
}

void GetShortVersion(StringPtr out)
{
    VersRec version{};
    out[0] = 0;
    if (GetVersionRecord(&version))
        CStr255::CopyPString(version.shortVersion, out, kShortVersionLimit);
}

} // namespace UFile
