#pragma once
// Building requests and looking at files, for the tests of the tool and the bundle.

#include <sys/stat.h>

#include <cstring>
#include <string>

#include "tools/RootRequest.h"

inline RootRequest MakeRequest(OSType selector, const std::string& path = {}, RootAction action = {},
                               const std::string& secondPath = {})
{
    RootRequest request{};
    request.magic = kRootRequestMagic;
    request.version = kRootRequestVersion;
    request.selector = selector;
    request.action = action;
    std::strncpy(request.path, path.c_str(), sizeof request.path - 1);
    std::strncpy(request.secondPath, secondPath.c_str(), sizeof request.secondPath - 1);
    return request;
}

inline std::string RequestBytes(const RootRequest& request)
{
    const RootRequestBytes bytes = EncodeRootRequest(request);
    return std::string(bytes.begin(), bytes.end());
}

inline struct stat StatOf(const std::string& path)
{
    struct stat status {};
    lstat(path.c_str(), &status);
    return status;
}

inline mode_t ModeOf(const std::string& path)
{
    return StatOf(path).st_mode & 07777;
}
