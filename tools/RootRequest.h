#pragma once
// The request record that Varno sends to RootActionTool through the AuthorizationBundle.
// Both ends always run on the same machine, so integers travel in host byte order.

#include <array>
#include <cstddef>

#include "platform/MacTypes.h"

// The parameters of one operation; also handed in and back whole by the privileges client.
struct RootAction {
    UInt32 uid;   // owner to set when mask has kRootMaskUser
    UInt32 gid;   // group to set when mask has kRootMaskGroup
    SInt32 value; // permission bits as an access word, or the set-uid switch of "suid"
    SInt32 mask;  // kRootMask… bits: which of the above apply
};

struct RootRequest {
    OSType magic;    // kRootRequestMagic; never tested
    UInt32 version;  // kRootRequestVersion; never tested
    OSType selector; // the operation
    RootAction action;
    char path[1024];       // NUL-terminated POSIX path of the (first) file
    char secondPath[1024]; // the second file of "copy"
};

static_assert(sizeof(RootAction) == 16);
static_assert(sizeof(RootRequest) == 2076);

constexpr std::size_t kRootRequestSize = 2076;
constexpr std::size_t kRootPathSize = 1024;

constexpr OSType kRootRequestMagic = MakeOSType("root");
constexpr UInt32 kRootRequestVersion = 1;

// Selectors the bundle answers itself.
constexpr OSType kRootSelectorRegister = MakeOSType("regi");
constexpr OSType kRootSelectorCheck = MakeOSType("chek");
constexpr OSType kRootSelectorUser = MakeOSType("user");
// Selectors the tool carries out.
constexpr OSType kRootSelectorSelfRepair = MakeOSType("sfrp");
constexpr OSType kRootSelectorSetuid = MakeOSType("suid");
constexpr OSType kRootSelectorClearSetuid = MakeOSType("clea");
constexpr OSType kRootSelectorOpenAccess = MakeOSType("acce");
constexpr OSType kRootSelectorSetPermissions = MakeOSType("setp");
constexpr OSType kRootSelectorCopyPermissions = MakeOSType("copy");

constexpr SInt32 kRootMaskUser = 1;
constexpr SInt32 kRootMaskGroup = 2;
constexpr SInt32 kRootMaskValue = 4;

// Exit statuses of the tool, and the bundle's own results.
enum RootResult : int {
    kRootDone = 0,
    kRootExecFailed = 1,
    kRootProcessFailed = 11, // fork failed, wrong child waited for, or the tool died of a signal
    kRootPipeFailed = 12,    // no pipe, or the request did not go through whole
    kRootNoPath = 13,        // an item has no POSIX path (the client's own code)
    kRootNotRoot = 21,
    kRootShortRequest = 22,
    kRootCannotOpen = 23,
    kRootCannotStat = 24,
    kRootUnknownSelector = 26,
    kRootNotAdministrator = 27, // the caller is neither root nor an administrator
};

using RootRequestBytes = std::array<unsigned char, kRootRequestSize>;

RootRequestBytes EncodeRootRequest(const RootRequest& request);
RootRequest DecodeRootRequest(const RootRequestBytes& bytes);
