#pragma once
// The Process Manager on Linux: the process list is this process, always the front
// one, followed by the desktop's file manager (type 'FNDR', signature 'MACS') while a
// desktop session runs (a display and a session bus). Bringing the file manager to
// the front is left to the desktop: it succeeds without effect.

#include "platform/Files.h"

struct ProcessSerialNumber {
    UInt32 highLongOfPSN;
    UInt32 lowLongOfPSN;
};

enum : UInt32 {
    kNoProcess = 0,
    kCurrentProcess = 2,
};

enum : OSErr {
    procNotFound = -600,
};

struct ProcessInfoRec {
    UInt32 processInfoLength;
    StringPtr processName;
    ProcessSerialNumber processNumber;
    UInt32 processType;
    OSType processSignature;
    UInt32 processMode;
    FSSpec* processAppSpec;
};

constexpr OSType kFinderType = MakeOSType("FNDR");
constexpr OSType kFinderSignature = MakeOSType("MACS");

OSErr GetCurrentProcess(ProcessSerialNumber* psn);
OSErr GetFrontProcess(ProcessSerialNumber* psn);
OSErr SetFrontProcess(const ProcessSerialNumber* psn);
// From kNoProcess: the first process; procNotFound after the last.
OSErr GetNextProcess(ProcessSerialNumber* psn);
OSErr GetProcessInformation(const ProcessSerialNumber* psn, ProcessInfoRec* info);
OSErr SameProcess(const ProcessSerialNumber* a, const ProcessSerialNumber* b, Boolean* result);
