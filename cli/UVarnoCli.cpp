#include "cli/UVarnoCli.h"

#include <iostream>

#include "cli/CCommandLine.h"
#include "cli/ExitStatus.h"
#include "cli/UVolumesCommand.h"

namespace {

const char kUsage[] =
    "usage: varno-cli volumes\n"
    "       varno-cli clone SOURCE DESTINATION [--keep-root-items | --into NAME] [--skip-user-folders]\n"
    "                 [--only-languages] [--bless] [--yes]\n"
    "       varno-cli restore BACKUP TARGET [--from-folder NAME] [--no-deletions] [--skip-user-folders] [--yes]\n"
    "       varno-cli compare FIRST SECOND [--names] [--dates] [--sizes] [--types]\n"
    "       varno-cli report FILE [--json]\n"
    "SOURCE, DESTINATION, BACKUP and TARGET are volumes (by name or mount point) or folders.\n";

const std::vector<CCommandLine::Command> kCommands = {
    {"volumes", 0, {}},
};

} // namespace

int UVarnoCli::Main(const std::vector<std::string>& words)
{
    if (words.size() == 1 && (words[0] == "--help" || words[0] == "help")) {
        std::cout << kUsage;
        return kExitFinished;
    }
    CCommandLine line;
    if (!line.Parse(words, kCommands)) {
        std::cerr << "varno-cli: " << line.mError << "\n" << kUsage;
        return kExitBadUsage;
    }
    if (line.mCommand == "volumes")
        return UVolumesCommand::Run(std::cout);
    return kExitBadUsage;
}
