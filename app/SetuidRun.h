#pragma once
// A set-uid root run, made safe before the toolkit starts. When the process has root's
// effective user ID and its real user is not root:
// - a real user who is no administrator gets no privilege: the process gives up
//   root's rights for good and goes on with the user's own;
// - the environment variables that load code or plugins into the process (the
//   dynamic linker's, the toolkit's, the desktop libraries') are removed, and the
//   program search path is the system's, so no user's program runs as root;
// - Qt is then allowed to start set-uid.

#include "platform/MacTypes.h"

namespace SetuidRun {

enum class Outcome {
    NotSetuid, // no rights beyond the real user's
    Privileged, // an administrator's run with root's rights
    PrivilegesGivenUp, // a user who is no administrator: the run goes on without them
};

// Run first thing in the program; false when the rights could not be given up (the
// program must end).
Boolean Prepare();
Outcome GetOutcome();

// Whether the variable NAME=value is removed from a privileged run's environment.
Boolean IsUnsafeVariable(const char* entry);

} // namespace SetuidRun
