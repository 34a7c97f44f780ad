#pragma once
// The Resource Manager on Linux: every resource of the application is a file directly
// in its Resources folder (the package's Contents/Resources beside the folder of the
// running program), named <ID>.<extension>, the extension naming the type:
//   "strings" - a string list ('STR#'): UTF-8, one string per line, index 1 first;
//   "vers"    - a version record ('vers'): UTF-8, the short version on the first line
//               ("1.2.3", a release stage letter allowed: "1.2b4"), the long one on
//               the second;
//   "ui"      - a view description ('PPob'), read by the window toolkit.
// GetResource hands a string list or version record out in the original byte layout
// (big-endian counts, Pascal strings in Mac Roman), so the Parts read it as written.

#include <string>

#include "platform/MacTypes.h"

using ResType = OSType;
using ResIDT = SInt16;

enum : ResType {
    kStringListResourceType = MakeOSType("STR#"),
    kVersionResourceType = MakeOSType("vers"),
};

struct NumVersion {
    UInt8 majorRev;
    UInt8 minorAndBugRev; // minor in the high four bits, bug fix in the low four
    UInt8 stage;          // 0x20 development, 0x40 alpha, 0x60 beta, 0x80 final
    UInt8 nonRelRev;
};

struct VersRec {
    NumVersion numericVersion;
    SInt16 countryCode;
    Str255 shortVersion;
    Str255 reallyLongVersion;
};

// The resource's bytes in a new handle the caller disposes of (ReleaseResource);
// nullptr with ResError() resNotFound when it is missing or unreadable.
Handle GetResource(ResType type, ResIDT id);
void ReleaseResource(Handle resource);
OSErr ResError();

// String `index` (1-based) of string list `listID`; empty when either is missing.
void GetIndString(Str255 out, ResIDT listID, SInt16 index);

// The version record of a 'vers' resource's bytes; false when they are too short.
Boolean DecodeVersRec(const UInt8* bytes, Size size, VersRec* version);

// The Resources folder of the running program's package.
std::string ApplicationResourceFolder();

// Test interface: resources come from `folder` (empty: the package's again).
void SetResourceFolderForTesting(const std::string& folder);
