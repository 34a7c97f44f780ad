#pragma once
// System commands: the Mac command lines the system runs, mapped onto Linux.
//
// "/usr/bin/open": an application package (a folder "X.app" holding
// Contents/MacOS/X) is started by running its executable; anything else is opened
// with xdg-open, found on the PATH (Debian's own `open` is another program).
// "/usr/bin/open -a APP PATH" runs APP (or the executable of the package APP) with PATH.
// "/usr/sbin/bless" and "/usr/sbin/kextcache", which Linux lacks, are our programs of
// those names in the application's Resources folder.
// Other command lines are run as they stand.

#include <string>
#include <vector>

#include <sys/types.h>

#include "platform/MacTypes.h"

std::vector<std::string> MapCommandLine(const std::vector<std::string>& macArguments);

// Starts the mapped command line without waiting for it: the child's process ID, or
// -1 when no process could be made. A child that cannot run the program exits with
// status 1. `environment` ("NAME=value") is set for the child only, over this
// process's own. The caller collects the child (waitpid) when it cares for its end.
pid_t StartCommandLine(const std::vector<std::string>& macArguments, const std::vector<std::string>& environment = {});

// The executable of an application package, or an empty string when `path` is none.
std::string PackageExecutable(const std::string& path);

// Runs `arguments` (the program found on the PATH) in the background, detached, its
// output discarded: noErr once it is on its way, fnfErr when there is no such program.
OSErr StartInBackground(const std::vector<std::string>& arguments);
