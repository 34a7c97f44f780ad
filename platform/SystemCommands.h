#pragma once
// System commands: the Mac command lines the system runs, mapped onto Linux.
//
// "/usr/bin/open": an application package (a folder "X.app" holding
// Contents/MacOS/X) is started by running its executable; anything else is opened
// with xdg-open, found on the PATH (Debian's own `open` is another program).
// "/usr/bin/open -a APP PATH" runs APP (or the executable of the package APP) with PATH.
// Other command lines are run as they stand.

#include <string>
#include <vector>

std::vector<std::string> MapCommandLine(const std::vector<std::string>& macArguments);

// The executable of an application package, or an empty string when `path` is none.
std::string PackageExecutable(const std::string& path);
