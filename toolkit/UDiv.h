#pragma once
// Small utilities: unsigned comparison, rounded division, waiting, the beep, the
// modifier keys and opening web addresses. The beep and the key tests need the
// window toolkit, which installs their hooks; without them there is no sound and no
// key is down.

#include "platform/MacTypes.h"

class UDiv {
public:
    static short CompareUnsignedLong(UInt32 a, UInt32 b);
    // a * c / b (a / b when c is 0), rounded half away from zero; 0 when b is 0.
    static long DivLongRounded(long a, long b, long c);

    static void Beep();
    static void WaitTicks(long n);

    // Key codes of the keyboard map.
    static constexpr short kOptionKey = 58;
    static constexpr short kControlKey = 59;
    static constexpr short kCommandKey = 55;
    static constexpr short kSpaceBar = 49;

    static Boolean OptionKeyDown();
    static Boolean ControlKeyDown();
    static Boolean CommandKeyDown();
    static Boolean SpaceBarDown();

    static OSErr OpenURL(ConstStr255Param url, OSType creator);

    static Boolean (*sKeyDownHook)(short keyCode);
    static void (*sBeepHook)(short duration);
};
