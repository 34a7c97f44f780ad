// The AuthorizationBundle: Varno's one road to RootActionTool. It asks for the
// administrator's consent to repair the tool, answers "chek" and "user" itself and
// hands every other request to the tool on a pipe.

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/Authorization.h"
#include "tools/RootRequest.h"

namespace {

OSStatus RegisterTool(const char* toolPath)
{
    AuthorizationRef authorization = nullptr;
    OSStatus status = AuthorizationCreate(nullptr, kAuthorizationEmptyEnvironment, kAuthorizationFlagDefaults,
                                          &authorization);
    if (status != errAuthorizationSuccess)
        return status;

    AuthorizationItem right = {kAuthorizationRightExecute, 0, nullptr, 0};
    AuthorizationRights rights = {1, &right};
    const AuthorizationFlags flags =
        kAuthorizationFlagInteractionAllowed | kAuthorizationFlagExtendRights | kAuthorizationFlagPreAuthorize;
    status = AuthorizationCopyRights(authorization, &rights, nullptr, flags, nullptr);
    if (status == errAuthorizationSuccess) {
        char selfRepair[] = "--self-repair";
        char* arguments[] = {const_cast<char*>(toolPath), selfRepair, nullptr};
        status = AuthorizationExecuteWithPrivileges(authorization, toolPath, kAuthorizationFlagDefaults, arguments,
                                                    nullptr);
    }
    AuthorizationFree(authorization, kAuthorizationFlagDestroyRights);
    return status;
}

// Opens the tool as the tool opens files, with the exclusive lock, and reads its owner and mode.
SInt32 CheckTool(const char* toolPath)
{
    const int fd = open(toolPath, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return kRootCannotOpen;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return kRootCannotOpen;
    }
    struct stat status;
    if (fstat(fd, &status) != 0) {
        status.st_uid = 0;
        status.st_mode = 0;
    }
    close(fd);
    return status.st_uid != 0 || !(status.st_mode & S_ISUID) ? kRootNotRoot : kRootDone;
}

enum class Sent { kWhole, kReaderGone, kShort };

// One write of the whole request. A tool that ended without reading would raise
// SIGPIPE and kill the application, so the signal is held back for this write.
Sent WriteRequest(int fd, const RootRequestBytes& bytes)
{
    sigset_t pipeSignal, previous;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    const bool readerGone = written < 0 && errno == EPIPE;
    if (readerGone && !sigismember(&previous, SIGPIPE)) {
        const timespec none = {0, 0};
        sigtimedwait(&pipeSignal, nullptr, &none);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (written == ssize_t(bytes.size()))
        return Sent::kWhole;
    return readerGone ? Sent::kReaderGone : Sent::kShort;
}

SInt32 RunTool(const char* toolPath, const RootRequest& request)
{
    const RootRequestBytes bytes = EncodeRootRequest(request);
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0)
        return kRootPipeFailed;

    const pid_t child = fork();
    if (child < 0) {
        close(channel[0]);
        close(channel[1]);
        return kRootProcessFailed;
    }
    if (child == 0) {
        dup2(channel[0], STDIN_FILENO);
        close(channel[0]);
        close(channel[1]);
        char* const environment[] = {nullptr};
        execle(toolPath, toolPath, static_cast<char*>(nullptr), environment);
        _exit(kRootExecFailed);
    }

    close(channel[0]);
    const Sent sent = WriteRequest(channel[1], bytes);
    close(channel[1]);

    int status = 0;
    pid_t waited;
    do
        waited = waitpid(child, &status, 0);
    while (waited < 0 && errno == EINTR);
    // The child is reaped before any result, so no request leaves a zombie behind.
    if (sent == Sent::kShort)
        return kRootPipeFailed;
    if (waited != child || WIFSIGNALED(status) || !WIFEXITED(status))
        return kRootProcessFailed;
    // A tool that ended before reading (no exec, not root, not an administrator) has
    // said why in its status, whichever of the two processes came first.
    return WEXITSTATUS(status);
}

} // namespace

extern "C" __attribute__((visibility("default"))) SInt32 ToolX(const char* toolPath, RootRequest* request)
{
    switch (request->selector) {
    case kRootSelectorRegister:
        return RegisterTool(toolPath);
    case kRootSelectorCheck:
        return CheckTool(toolPath);
    case kRootSelectorUser:
        request->action.uid = geteuid();
        return kRootDone;
    case kRootSelectorClearSetuid:
        request->action.uid = geteuid();
        return RunTool(toolPath, *request);
    default:
        return RunTool(toolPath, *request);
    }
}
