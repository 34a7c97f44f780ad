#include "privileges/CRootPrivileges.h"

#include <cstring>

#include "filesystem/UFile.h"
#include "toolkit/CStr255.h"

namespace {

constexpr UInt32 kRootUserID = 0;
constexpr UInt32 kSetuidBit = 04000;
const UInt8 kContents[] = "\010Contents";
const UInt8 kResources[] = "\011Resources";

Boolean FolderInside(SInt16 vRefNum, long parentID, ConstStr255Param name, long* id)
{
    Str255 copy;
    CStr255::CopyPString(name, copy);
    return UFile::GetFolderContentID(vRefNum, parentID, copy, id);
}

// A file's POSIX path into a request field of kRootPathSize bytes, NUL included.
Boolean PathInto(const FSSpec* file, char* field)
{
    return UFile::CreatePathFromFSSpec(file, field, long(kRootPathSize));
}

} // namespace

CRootPrivileges::~CRootPrivileges()
{
    Release();
}

void CRootPrivileges::Release()
{
    if (mExecutableLoaded)
        CFBundleUnloadExecutable(mBundle);
    if (mBundle)
        CFRelease(mBundle);
    mBundle = nullptr;
    mToolX = nullptr;
    mExecutableLoaded = false;
}

Boolean CRootPrivileges::Install(const FSSpec* bundle, ConstStr255Param toolName)
{
    Release();
    mToolSpec = FSSpec{};

    long bundleID = 0;
    long contentsID = 0;
    long resourcesID = 0;
    if (!UFile::GetFolderContentID(bundle, &bundleID) || !FolderInside(bundle->vRefNum, bundleID, kContents, &contentsID) ||
        !FolderInside(bundle->vRefNum, contentsID, kResources, &resourcesID))
        return false;
    if (!UFile::ExistsOnDisk(bundle->vRefNum, resourcesID, toolName) ||
        UFile::MakeFileSpec(bundle->vRefNum, resourcesID, toolName, &mToolSpec) != noErr) {
        mToolSpec = FSSpec{};
        return false;
    }
    UFile::MakeFileExecutable(mToolSpec.vRefNum, mToolSpec.parID, mToolSpec.name);

    if (!UFile::CreateBundleFromFSSpec(bundle, &mBundle))
        return false;
    mExecutableLoaded = CFBundleLoadExecutable(mBundle);
    if (mExecutableLoaded)
        mToolX = reinterpret_cast<ToolXProcPtr>(CFBundleGetFunctionPointerForName(mBundle, "ToolX"));
    return mToolX != nullptr;
}

int CRootPrivileges::SendToBundle(OSType selector, RootAction* action, const FSSpec* first, const FSSpec* second)
{
    if (!mToolX)
        return 0;
    char toolPath[kRootPathSize] = {};
    RootRequest request{};
    request.magic = kRootRequestMagic;
    request.version = kRootRequestVersion;
    request.selector = selector;
    if (!PathInto(&mToolSpec, toolPath))
        return kRootNoPath;
    if (action)
        request.action = *action;
    if ((first && !PathInto(first, request.path)) || (second && !PathInto(second, request.secondPath)))
        return kRootNoPath;
    // "clea" always applies to the tool itself, whatever file came with it.
    if (selector == kRootSelectorClearSetuid)
        std::memcpy(request.path, toolPath, sizeof request.path);

    const SInt32 result = mToolX(toolPath, &request);
    if (action)
        *action = request.action;
    return result == kRootDone ? 1 : 0;
}

Boolean CRootPrivileges::ToolHasRootPrivileges()
{
    FSCatalogInfo info{};
    return mToolSpec.name[0] != 0 &&
           UFile::GetMacOSXInfos(&mToolSpec, &info, nullptr, UFile::kPermissionsInfo) == noErr &&
           info.permissions[0] == kRootUserID && (info.permissions[2] & kSetuidBit) != 0;
}

Boolean CRootPrivileges::RegisterToolWithRootPrivileges()
{
    SendToBundle(kRootSelectorRegister, nullptr, nullptr, nullptr);
    return ToolHasRootPrivileges();
}

int CRootPrivileges::SetFileWithRootPrivileges(const FSSpec* file)
{
    return ToolHasRootPrivileges() ? SendToBundle(kRootSelectorSelfRepair, nullptr, file, nullptr) : 0;
}

int CRootPrivileges::ChangeFileSetuidBit(const FSSpec* file, Boolean on)
{
    if (!ToolHasRootPrivileges())
        return 0;
    RootAction action = {0, 0, on ? 1 : 0, 0};
    return SendToBundle(kRootSelectorSetuid, &action, file, nullptr);
}
