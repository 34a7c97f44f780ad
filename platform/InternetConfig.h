#pragma once
// Opening a web address with the application the user chose for it: the desktop's
// `xdg-open`, started in the background so that the caller never waits for it.

#include "platform/MacTypes.h"

// `url` is Mac Roman text. noErr once the opener is on its way; fnfErr when it
// cannot be started, paramErr for an empty address.
OSStatus ICLaunchURL(OSType creator, ConstStr255Param url);

// Test interface: the program that opens addresses, "xdg-open" by default.
void ICSetURLOpenerForTesting(const char* program);
