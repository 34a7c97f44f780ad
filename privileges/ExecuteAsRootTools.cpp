#include "privileges/ExecuteAsRootTools.h"

#include "filesystem/UFile.h"
#include "platform/Resources.h"
#include "privileges/URootPrivileges.h"

namespace {

constexpr ResIDT kFileNamesListID = 128;
constexpr SInt16 kBundleNameIndex = 6;
constexpr SInt16 kToolNameIndex = 7;

} // namespace

Boolean InitExecuteAsRootTools()
{
    SInt16 vRefNum = 0;
    long resourcesID = 0;
    if (!UFile::GetThisAppResourceFolderFSSpec(&vRefNum, &resourcesID))
        return false;
    Str255 bundleName;
    Str255 toolName;
    GetIndString(bundleName, kFileNamesListID, kBundleNameIndex);
    GetIndString(toolName, kFileNamesListID, kToolNameIndex);
    FSSpec bundle{};
    if (!UFile::ExistsOnDisk(vRefNum, resourcesID, bundleName) ||
        UFile::MakeFileSpec(vRefNum, resourcesID, bundleName, &bundle) != noErr)
        return false;
    return URootPrivileges::InstallRootPrivileges(&bundle, toolName);
}
