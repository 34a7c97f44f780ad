#pragma once
// The client of RootActionTool: loads the AuthorizationBundle that holds the tool and
// sends it requests through the bundle's one entry point, ToolX. Whether a request
// took effect is never taken from its result: the callers read the owner and mode of
// the files concerned again.

#include "platform/CFBundle.h"
#include "platform/Files.h"
#include "tools/RootRequest.h"

class CRootPrivileges {
public:
    CRootPrivileges() = default;
    virtual ~CRootPrivileges();
    CRootPrivileges(const CRootPrivileges&) = delete;
    CRootPrivileges& operator=(const CRootPrivileges&) = delete;

    // Finds `toolName` in the bundle's Contents/Resources, makes it executable and
    // loads the bundle; true when the bundle's ToolX was found.
    Boolean Install(const FSSpec* bundle, ConstStr255Param toolName);

    // 1 when ToolX answered 0, else 0 (also before a successful Install, with nothing
    // sent); kRootNoPath, with nothing sent, when the tool or a given file has no path
    // that fits the request. `action`, `first` and `second` may be null; `action`
    // receives the request's parameters back.
    int SendToBundle(OSType selector, RootAction* action, const FSSpec* first, const FSSpec* second);

    // The tool's file is owned by root and set-uid.
    Boolean ToolHasRootPrivileges();
    // Asks the administrator's consent for the tool's self-repair; the repair follows
    // after this returns, so the answer is usually still false.
    Boolean RegisterToolWithRootPrivileges();
    // These two send nothing, and answer 0, unless the tool is privileged.
    int SetFileWithRootPrivileges(const FSSpec* file);
    int ChangeFileSetuidBit(const FSSpec* file, Boolean on);

private:
    using ToolXProcPtr = SInt32 (*)(const char* toolPath, RootRequest* request);

    void Release();

    FSSpec mToolSpec{}; // the name stays empty until Install found the tool
    CFBundleRef mBundle = nullptr;
    ToolXProcPtr mToolX = nullptr;
    Boolean mExecutableLoaded = false;
};
