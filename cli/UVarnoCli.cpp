#include "cli/UVarnoCli.h"

#include <iostream>

#include "cli/CCommandLine.h"
#include "cli/ExitStatus.h"
#include "cli/UCompareCommand.h"
#include "cli/UReportCommand.h"
#include "cli/URunCommand.h"
#include "cli/UVolumesCommand.h"

namespace {

const char kUsage[] =
    "usage: varno-cli volumes\n"
    "       varno-cli clone SOURCE DESTINATION [--keep-root-items | --into NAME] [--skip-user-folders]\n"
    "                 [--only-languages] [--bless] [--yes]\n"
    "       varno-cli restore BACKUP TARGET [--from-folder NAME] [--no-deletions] [--skip-user-folders] [--yes]\n"
    "       varno-cli compare FIRST SECOND [--sizes] [--dates] [--file-owners] [--folder-owners]\n"
    "       varno-cli report FILE [--json]\n"
    "SOURCE, DESTINATION, BACKUP and TARGET are volumes (by name or mount point) or folders.\n";

const std::vector<CCommandLine::Command> kCommands = {
    {"volumes", 0, {}},
    {"clone",
     2,
     {{"keep-root-items", false},
      {"into", true},
      {"skip-user-folders", false},
      {"only-languages", false},
      {"bless", false},
      {"yes", false}}},
    {"restore", 2, {{"from-folder", true}, {"no-deletions", false}, {"skip-user-folders", false}, {"yes", false}}},
    {"compare", 2, {{"sizes", false}, {"dates", false}, {"file-owners", false}, {"folder-owners", false}}},
    {"report", 1, {{"json", false}}},
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
    if (line.mCommand == "clone")
        return URunCommand::Clone(line);
    if (line.mCommand == "restore")
        return URunCommand::Restore(line);
    if (line.mCommand == "compare")
        return UCompareCommand::Run(line);
    if (line.mCommand == "report")
        return UReportCommand::Run(line.mOperands[0], line.Has("json"), std::cout, std::cerr);
    return kExitBadUsage;
}
