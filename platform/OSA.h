#pragma once
// The Open Scripting Architecture on Linux: a compiled script is an executable
// script (its bytes, "#!" first). Executing a handler-call event ('ascr' 'psbr') runs
// it with the handler's name ('snam') and the texts of the direct parameter as its
// arguments; exit status 0 is success with the script's output as the result, any
// other status errOSAScriptError with the output as the error message.

#include <string>

#include "platform/AppleEvents.h"

using ComponentInstance = struct OpaqueComponentInstance*;
using OSAID = UInt32;
using OSAError = OSErr;

enum : OSType {
    kOSAComponentType = MakeOSType("osa "),
    kAppleScriptSubtype = MakeOSType("ascr"),
    kOSAErrorMessage = MakeOSType("errs"),
};

enum : OSErr {
    errOSAScriptError = -1753,
    errOSAInvalidID = -1751,
};

enum : SInt32 {
    kOSAModeNull = 0,
};

constexpr OSAID kOSANullScript = 0;

// nullptr when there is no such component.
ComponentInstance OpenDefaultComponent(OSType componentType, OSType componentSubType);
OSErr CloseComponent(ComponentInstance instance);

OSAError OSALoad(ComponentInstance instance, const AEDesc* scriptData, SInt32 modeFlags, OSAID* scriptID);
OSAError OSAExecuteEvent(ComponentInstance instance, const AppleEvent* event, OSAID scriptID, SInt32 modeFlags,
                         OSAID* resultID);
OSAError OSADisplay(ComponentInstance instance, OSAID scriptValueID, DescType desiredType, SInt32 modeFlags,
                    AEDesc* result);
OSAError OSAScriptError(ComponentInstance instance, OSType selector, DescType desiredType, AEDesc* result);
OSAError OSADispose(ComponentInstance instance, OSAID scriptID);
