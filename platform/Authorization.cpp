#include "platform/Authorization.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

extern char** environ;

struct AuthorizationOpaqueRef {
    bool granted = false;
    pid_t broker = -1;    // the root broker of a caller who is not root
    int brokerInput = -1; // where the broker is sent the tool to start
};

namespace {

std::string& ConsentProgram()
{
    static std::string path = "/usr/bin/pkexec";
    return path;
}

// Runs as root under pkexec: it says that consent was given, then starts the one
// command line it is sent (arguments separated by NULs) in the background, so that
// neither it nor its caller waits for the tool, and ends.
constexpr const char* kBrokerScript =
    "echo granted && exec xargs -0 -r sh -c '\"$@\" </dev/null >/dev/null 2>&1 &' sh";

pid_t WaitFor(pid_t pid, int& status)
{
    pid_t result;
    do
        result = waitpid(pid, &status, 0);
    while (result < 0 && errno == EINTR);
    return result;
}

void CloseBroker(AuthorizationOpaqueRef& ref)
{
    if (ref.brokerInput >= 0)
        close(ref.brokerInput);
    ref.brokerInput = -1;
    if (ref.broker > 0) {
        int status;
        WaitFor(ref.broker, status);
    }
    ref.broker = -1;
}

// Starts pkexec with the broker and reads whether the administrator agreed.
OSStatus AskForConsent(AuthorizationOpaqueRef& ref)
{
    int input[2], output[2];
    if (pipe2(input, O_CLOEXEC) != 0)
        return errAuthorizationInternal;
    if (pipe2(output, O_CLOEXEC) != 0) {
        close(input[0]);
        close(input[1]);
        return errAuthorizationInternal;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    std::string program = ConsentProgram();
    std::string shell = "/bin/sh", option = "-c", script = kBrokerScript;
    char* argv[] = {program.data(), shell.data(), option.data(), script.data(), nullptr};
    pid_t pid;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(output[1]);
    if (spawned != 0) {
        close(input[1]);
        close(output[0]);
        return errAuthorizationToolExecuteFailure;
    }
    ref.broker = pid;
    ref.brokerInput = input[1];

    std::string answer;
    char byte;
    while (answer.size() < 16) {
        const ssize_t got = read(output[0], &byte, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || byte == '\n')
            break;
        answer += byte;
    }
    close(output[0]);
    if (answer == "granted")
        return errAuthorizationSuccess;

    close(ref.brokerInput);
    ref.brokerInput = -1;
    int status = 0;
    const bool ended = WaitFor(ref.broker, status) == ref.broker && WIFEXITED(status);
    ref.broker = -1;
    // pkexec: 126 when the dialog was dismissed, 127 when consent was refused.
    if (ended && WEXITSTATUS(status) == 126)
        return errAuthorizationCanceled;
    if (ended && WEXITSTATUS(status) == 127)
        return errAuthorizationDenied;
    return errAuthorizationInternal;
}

// A root caller starts the tool itself, through an intermediate process so that the
// tool is never its child to wait for; a failed exec comes back through a pipe.
OSStatus StartDetached(const char* pathToTool, char* const* arguments)
{
    std::vector<char*> argv{const_cast<char*>(pathToTool)};
    for (char* const* argument = arguments; argument && *argument; ++argument)
        argv.push_back(*argument);
    argv.push_back(nullptr);

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return errAuthorizationInternal;
    const pid_t middle = fork();
    if (middle == 0) {
        const pid_t tool = fork();
        if (tool == 0) {
            execv(pathToTool, argv.data());
            const int error = errno;
            (void)!write(report[1], &error, sizeof error);
            _exit(127);
        }
        _exit(tool < 0 ? 1 : 0);
    }
    close(report[1]);
    int status = 0;
    const bool middleDone = middle > 0 && WaitFor(middle, status) == middle && WIFEXITED(status) &&
                            WEXITSTATUS(status) == 0;
    int error = 0;
    ssize_t got;
    do
        got = read(report[0], &error, sizeof error);
    while (got < 0 && errno == EINTR);
    close(report[0]);
    return middleDone && got == 0 ? errAuthorizationSuccess : errAuthorizationToolExecuteFailure;
}

OSStatus SendToBroker(AuthorizationOpaqueRef& ref, const char* pathToTool, char* const* arguments)
{
    if (ref.brokerInput < 0 || access(pathToTool, X_OK) != 0)
        return errAuthorizationToolExecuteFailure;
    std::string line(pathToTool);
    line += '\0';
    for (char* const* argument = arguments; argument && *argument; ++argument) {
        line += *argument;
        line += '\0';
    }
    const ssize_t written = write(ref.brokerInput, line.data(), line.size());
    // The broker starts one tool: closing its input lets it run the line and end.
    CloseBroker(ref);
    return written == ssize_t(line.size()) ? errAuthorizationSuccess : errAuthorizationToolExecuteFailure;
}

} // namespace

OSStatus AuthorizationCreate(const AuthorizationRights* rights, const AuthorizationEnvironment* environment,
                             AuthorizationFlags flags, AuthorizationRef* authorization)
{
    if (authorization == nullptr)
        return errAuthorizationInvalidPointer;
    *authorization = new AuthorizationOpaqueRef;
    if (rights != nullptr && rights->count > 0) {
        const OSStatus status = AuthorizationCopyRights(*authorization, rights, environment, flags, nullptr);
        if (status != errAuthorizationSuccess) {
            AuthorizationFree(*authorization, kAuthorizationFlagDefaults);
            *authorization = nullptr;
            return status;
        }
    }
    return errAuthorizationSuccess;
}

OSStatus AuthorizationCopyRights(AuthorizationRef authorization, const AuthorizationRights* rights,
                                 const AuthorizationEnvironment*, AuthorizationFlags flags,
                                 AuthorizationRights** authorizedRights)
{
    if (authorization == nullptr)
        return errAuthorizationInvalidRef;
    if (rights == nullptr || (rights->count > 0 && rights->items == nullptr))
        return errAuthorizationInvalidSet;
    if (authorizedRights != nullptr)
        *authorizedRights = nullptr;
    if (rights->count == 0 || authorization->granted)
        return errAuthorizationSuccess;
    if (geteuid() == 0) {
        authorization->granted = true;
        return errAuthorizationSuccess;
    }
    if (!(flags & kAuthorizationFlagExtendRights))
        return errAuthorizationDenied;
    if (!(flags & kAuthorizationFlagInteractionAllowed))
        return errAuthorizationInteractionNotAllowed;
    const OSStatus status = AskForConsent(*authorization);
    authorization->granted = status == errAuthorizationSuccess;
    return status;
}

OSStatus AuthorizationExecuteWithPrivileges(AuthorizationRef authorization, const char* pathToTool,
                                            AuthorizationFlags options, char* const* arguments,
                                            FILE** communicationsPipe)
{
    if (authorization == nullptr)
        return errAuthorizationInvalidRef;
    if (pathToTool == nullptr || communicationsPipe != nullptr)
        return errAuthorizationInvalidPointer;
    if (options != kAuthorizationFlagDefaults)
        return errAuthorizationInvalidFlags;
    if (!authorization->granted)
        return errAuthorizationDenied;
    if (authorization->broker > 0)
        return SendToBroker(*authorization, pathToTool, arguments);
    if (geteuid() == 0)
        return StartDetached(pathToTool, arguments);
    return errAuthorizationToolExecuteFailure;
}

OSStatus AuthorizationFree(AuthorizationRef authorization, AuthorizationFlags)
{
    if (authorization == nullptr)
        return errAuthorizationInvalidRef;
    CloseBroker(*authorization);
    delete authorization;
    return errAuthorizationSuccess;
}

void AuthorizationSetConsentProgram(const char* path)
{
    ConsentProgram() = path;
}
