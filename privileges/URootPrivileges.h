#pragma once
// The application's one road to root's rights: the process's CRootPrivileges, kept
// from its installation to the end of the run, and the questions about the tool and
// the application itself. Main thread only.

#include <memory>

#include "privileges/CRootPrivileges.h"

class URootPrivileges {
public:
    // Replaces the object; on failure there is none. True when the object remains.
    static Boolean InstallRootPrivileges(const FSSpec* bundle, ConstStr255Param toolName);

    static Boolean ToolHasRootPrivileges();
    // The application's executable as it was at the first look of the run: root-owned
    // and set-uid. Needs no object.
    static Boolean ApplicationHasRootPrivileges();
    // False, with nothing sent, when there is no object or the tool is privileged.
    static Boolean RegisterToolWithRootPrivileges();
    // Makes the application's executable root-owned and set-uid; the answer is still
    // the state of the first look, so a change shows only in the next run.
    static Boolean RegisterApplicationWithRootPrivileges();
    // 0 without object.
    static int ChangeFileSetuidBit(const FSSpec* file, Boolean on);

    static std::unique_ptr<CRootPrivileges> sRPObject;
};
