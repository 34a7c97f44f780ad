#pragma once
// The keyboard map and the alert sound, for the toolkit's hooks (UDiv). Qt tells the
// modifier keys at any moment; the space bar is followed through the key events the
// application receives, so it counts as down only while a window of ours has the
// keyboard.

#include "platform/MacTypes.h"

class UKeyboard {
public:
    // Key codes of the keyboard map.
    static constexpr SInt16 kCommandKey = 55; // the Control key here, as Qt maps it
    static constexpr SInt16 kSpaceBar = 49;
    static constexpr SInt16 kOptionKey = 58; // Alt
    static constexpr SInt16 kControlKey = 59; // Meta

    static Boolean IsKeyDown(SInt16 keyCode);
    static void Beep(SInt16 duration);

private:
    friend class LWindow;
    static void SetSpaceBarDown(Boolean down);
};
