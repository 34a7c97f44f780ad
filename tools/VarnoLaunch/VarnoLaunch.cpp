// com.qor.VarnoLaunch: opens Varno again once the quitting run has gone.
// `com.qor.VarnoLaunch PATH` or `com.qor.VarnoLaunch APPLICATION PATH`.

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/SystemCommands.h"

namespace {

int Relaunch(int argc, char* argv[])
{
    std::vector<std::string> command = {"/usr/bin/open"};
    if (argc == 2)
        command.push_back(argv[1]);
    else if (argc == 3)
        command.insert(command.end(), {"-a", argv[1], argv[2]});
    else
        return -1;

    // Time for the quitting application to end before it is opened again.
    sleep(2);

    const pid_t child = StartCommandLine(command);
    if (child < 0)
        return -2;
    int status;
    pid_t waited;
    do
        waited = waitpid(child, &status, 0);
    while (waited < 0 && errno == EINTR);
    return waited == child ? 0 : -3;
}

} // namespace

int main(int argc, char* argv[])
{
    return Relaunch(argc, argv);
}
