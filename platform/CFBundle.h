#pragma once
// Core Foundation bundles on Linux: a bundle is a folder X.bundle (or X.app) whose
// executable Contents/MacOS/X is a shared library, loaded with dlopen and searched
// with dlsym. A bundle is created from the folder's POSIX path.

#include <string>

#include "platform/MacTypes.h"

using CFBundleRef = struct OpaqueCFBundle*;

// nullptr when the folder has no Contents folder.
CFBundleRef CFBundleCreate(const std::string& folderPath);
Boolean CFBundleLoadExecutable(CFBundleRef bundle);
void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, const char* name);
void CFBundleUnloadExecutable(CFBundleRef bundle);
// Unloads the executable and frees the bundle.
void CFRelease(CFBundleRef bundle);
