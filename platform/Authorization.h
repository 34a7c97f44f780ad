#pragma once
// Authorization Services on Linux. An administrator's consent comes from polkit:
// `pkexec` starts a small root broker once the administrator agrees, and the broker
// later starts the privileged tools. A caller that is already root is granted at once
// and starts its tools itself.

#include <cstddef>
#include <cstdio>

#include "platform/MacTypes.h"

using AuthorizationRef = struct AuthorizationOpaqueRef*;
using AuthorizationFlags = UInt32;

struct AuthorizationItem {
    const char* name;
    std::size_t valueLength;
    void* value;
    UInt32 flags;
};

struct AuthorizationItemSet {
    UInt32 count;
    AuthorizationItem* items;
};

using AuthorizationRights = AuthorizationItemSet;
using AuthorizationEnvironment = AuthorizationItemSet;

inline constexpr AuthorizationEnvironment* kAuthorizationEmptyEnvironment = nullptr;
inline constexpr const char* kAuthorizationRightExecute = "system.privilege.admin";

enum : AuthorizationFlags {
    kAuthorizationFlagDefaults = 0,
    kAuthorizationFlagInteractionAllowed = 1 << 0,
    kAuthorizationFlagExtendRights = 1 << 1,
    kAuthorizationFlagPartialRights = 1 << 2,
    kAuthorizationFlagDestroyRights = 1 << 3,
    kAuthorizationFlagPreAuthorize = 1 << 4,
};

enum : OSStatus {
    errAuthorizationSuccess = 0,
    errAuthorizationInvalidSet = -60001,
    errAuthorizationInvalidRef = -60002,
    errAuthorizationInvalidPointer = -60004,
    errAuthorizationDenied = -60005,
    errAuthorizationCanceled = -60006,
    errAuthorizationInteractionNotAllowed = -60007,
    errAuthorizationInternal = -60008,
    errAuthorizationInvalidFlags = -60011,
    errAuthorizationToolExecuteFailure = -60031,
};

OSStatus AuthorizationCreate(const AuthorizationRights* rights, const AuthorizationEnvironment* environment,
                             AuthorizationFlags flags, AuthorizationRef* authorization);

// Every right asked for is the administrator's: a root caller holds it already; anyone
// else is asked once through polkit when interaction is allowed. A dismissed dialog
// gives errAuthorizationCanceled, a refused one errAuthorizationDenied, no pkexec
// errAuthorizationToolExecuteFailure. Granted rights are never handed back.
OSStatus AuthorizationCopyRights(AuthorizationRef authorization, const AuthorizationRights* rights,
                                 const AuthorizationEnvironment* environment, AuthorizationFlags flags,
                                 AuthorizationRights** authorizedRights);

// Starts `pathToTool` as root with `arguments` (a null-terminated list, the tool's own
// path not included) and returns once it is on its way; it is never waited for.
// Communications pipes are not offered: `communicationsPipe` must be null.
OSStatus AuthorizationExecuteWithPrivileges(AuthorizationRef authorization, const char* pathToTool,
                                            AuthorizationFlags options, char* const* arguments,
                                            FILE** communicationsPipe);

OSStatus AuthorizationFree(AuthorizationRef authorization, AuthorizationFlags flags);

// Test interface: the program that asks for consent, "/usr/bin/pkexec" by default.
void AuthorizationSetConsentProgram(const char* path);
