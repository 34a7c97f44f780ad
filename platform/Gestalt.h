#pragma once
// Gestalt: what the system is. The system version is reported as 10.4.9 (0x1049), so
// the Parts take their paths for the newest system they know; tests set another.

#include "platform/MacTypes.h"

enum : OSType {
    gestaltSystemVersion = MakeOSType("sysv"),
};

enum : OSErr {
    gestaltUndefSelectorErr = -5551,
};

OSErr Gestalt(OSType selector, long* response);

// Test interface: the system version Gestalt reports; 0 restores 0x1049.
void SetSystemVersionForTesting(long version);
