#include "privileges/URootPrivileges.h"

#include "filesystem/UFile.h"

std::unique_ptr<CRootPrivileges> URootPrivileges::sRPObject;

Boolean URootPrivileges::InstallRootPrivileges(const FSSpec* bundle, ConstStr255Param toolName)
{
    if (!bundle)
        return false;
    sRPObject = std::make_unique<CRootPrivileges>();
    if (!sRPObject->Install(bundle, toolName))
        sRPObject.reset();
    return sRPObject != nullptr;
}

Boolean URootPrivileges::ToolHasRootPrivileges()
{
    return sRPObject && sRPObject->ToolHasRootPrivileges();
}

Boolean URootPrivileges::ApplicationHasRootPrivileges()
{
    long owner = 0;
    return UFile::GetThisApplicationOwner(&owner) == noErr && owner == 0 && UFile::ThisApplicationSetuidBit();
}

Boolean URootPrivileges::RegisterToolWithRootPrivileges()
{
    if (!sRPObject || sRPObject->ToolHasRootPrivileges())
        return false;
    return sRPObject->RegisterToolWithRootPrivileges();
}

Boolean URootPrivileges::RegisterApplicationWithRootPrivileges()
{
    FSSpec application{};
    if (sRPObject && UFile::GetThisApplicationFSSpec(&application) == noErr)
        sRPObject->SetFileWithRootPrivileges(&application);
    return ApplicationHasRootPrivileges();
}

int URootPrivileges::ChangeFileSetuidBit(const FSSpec* file, Boolean on)
{
    return sRPObject ? sRPObject->ChangeFileSetuidBit(file, on) : 0;
}
