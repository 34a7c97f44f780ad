#pragma once
// The platform's code for a failed POSIX call.

#include "platform/MacTypes.h"

// The code for errno value `error`; ioErr for anything without a closer meaning.
OSErr OSErrFromErrno(int error);
