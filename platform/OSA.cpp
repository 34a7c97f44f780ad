#include "platform/OSA.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <vector>

struct OpaqueComponentInstance {
    std::map<OSAID, std::string> values; // loaded scripts and results
    OSAID nextID = 1;
    std::string errorMessage;
};

namespace {

bool WriteAll(int fd, const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR)
            return false;
        done += n > 0 ? std::size_t(n) : 0;
    }
    return true;
}

// Runs the script's bytes with `arguments`; its exit status, or -1 when it could not run.
int RunScript(const std::string& script, const std::vector<std::string>& arguments, std::string* output)
{
    // The script runs from memory: no copy of it lies around, and nobody swaps it.
    // Not close-on-exec, so an interpreter can still read it through /dev/fd.
    const int code = memfd_create("compiled-script", 0);
    int pipeFds[2];
    if (code < 0 || !WriteAll(code, script) || pipe2(pipeFds, O_CLOEXEC) != 0) {
        if (code >= 0)
            close(code);
        return -1;
    }
    std::vector<char*> argv = {const_cast<char*>("compiled-script")};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        dup2(pipeFds[1], STDERR_FILENO);
        fexecve(code, argv.data(), environ);
        _exit(127);
    }
    close(pipeFds[1]);
    close(code);
    char buffer[4096];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            output->append(buffer, std::size_t(n));
        else if (errno != EINTR)
            break;
    }
    close(pipeFds[0]);
    int status = 0;
    if (child < 0)
        return -1;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

OSAID Keep(ComponentInstance instance, std::string value)
{
    const OSAID id = instance->nextID++;
    instance->values[id] = std::move(value);
    return id;
}

} // namespace

ComponentInstance OpenDefaultComponent(OSType componentType, OSType componentSubType)
{
    if (componentType != kOSAComponentType || componentSubType != kAppleScriptSubtype)
        return nullptr;
    return new OpaqueComponentInstance;
}

OSErr CloseComponent(ComponentInstance instance)
{
    delete instance;
    return noErr;
}

OSAError OSALoad(ComponentInstance instance, const AEDesc* scriptData, SInt32, OSAID* scriptID)
{
    if (!instance || !scriptData || !scriptID || scriptData->data.empty())
        return paramErr;
    *scriptID = Keep(instance, scriptData->data);
    return noErr;
}

OSAError OSAExecuteEvent(ComponentInstance instance, const AppleEvent* event, OSAID scriptID, SInt32, OSAID* resultID)
{
    if (!instance || !event || !resultID)
        return paramErr;
    const auto script = instance->values.find(scriptID);
    if (script == instance->values.end())
        return errOSAInvalidID;
    if (event->eventClass != kASAppleScriptSuite || event->eventID != kASSubroutineEvent)
        return errAEEventNotHandled;
    AEDesc handler;
    AEDesc direct;
    if (const OSErr err = AEGetParamDesc(event, keyASSubroutineName, &handler))
        return err;
    std::vector<std::string> arguments = {handler.data};
    if (AEGetParamDesc(event, keyDirectObject, &direct) == noErr) {
        for (const AEDesc& item : direct.descriptorType == typeAEList ? direct.items : std::vector<AEDesc>{direct})
            arguments.push_back(item.data);
    }
    std::string output;
    const int status = RunScript(script->second, arguments, &output);
    if (status != 0) {
        instance->errorMessage = status < 0 ? std::string("The script could not be run.") : output;
        return errOSAScriptError;
    }
    *resultID = Keep(instance, output);
    return noErr;
}

OSAError OSADisplay(ComponentInstance instance, OSAID scriptValueID, DescType desiredType, SInt32, AEDesc* result)
{
    if (!instance || !result)
        return paramErr;
    const auto value = instance->values.find(scriptValueID);
    if (value == instance->values.end())
        return errOSAInvalidID;
    return AECreateDesc(desiredType, value->second.data(), Size(value->second.size()), result);
}

OSAError OSAScriptError(ComponentInstance instance, OSType selector, DescType desiredType, AEDesc* result)
{
    if (!instance || !result || selector != kOSAErrorMessage)
        return paramErr;
    return AECreateDesc(desiredType, instance->errorMessage.data(), Size(instance->errorMessage.size()), result);
}

OSAError OSADispose(ComponentInstance instance, OSAID scriptID)
{
    if (!instance)
        return paramErr;
    instance->values.erase(scriptID);
    return noErr;
}
