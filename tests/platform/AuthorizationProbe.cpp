// Asks for the administrator's right the way the AuthorizationBundle does and starts
// a tool with it; prints the two statuses. Usage: authorization_probe CONSENT TOOL [ARG...]

#include <cstdio>

#include "platform/Authorization.h"

int main(int argc, char* argv[])
{
    if (argc < 3)
        return 2;
    AuthorizationSetConsentProgram(argv[1]);
    AuthorizationRef authorization = nullptr;
    if (AuthorizationCreate(nullptr, kAuthorizationEmptyEnvironment, kAuthorizationFlagDefaults, &authorization) != 0)
        return 3;
    AuthorizationItem right = {kAuthorizationRightExecute, 0, nullptr, 0};
    AuthorizationRights rights = {1, &right};
    const OSStatus granted = AuthorizationCopyRights(authorization, &rights, nullptr, 0x13, nullptr);
    OSStatus started = 1;
    if (granted == errAuthorizationSuccess)
        started = AuthorizationExecuteWithPrivileges(authorization, argv[2], kAuthorizationFlagDefaults, argv + 3,
                                                     nullptr);
    AuthorizationFree(authorization, kAuthorizationFlagDestroyRights);
    std::printf("%d %d\n", int(granted), int(started));
    return 0;
}
