#pragma once
// The privilege step of the start-up: the application gets root's rights in two stages
// (RootActionTool repaired with an administrator's consent, then the application's own
// executable made root-owned and set-uid through it) and relaunches itself to run
// with them. A relaunched run that still lacks them stops relaunching within about 10
// seconds of the time stored in the preferences (privilegeRelaunchTime).

#include "platform/MacTypes.h"

class CApp;

// True when the start-up goes on; otherwise the application has been told to quit.
Boolean RunStartupPrivilegeStep(CApp& application);
