#pragma once
// The palette of named colours with a brightness scale. What draws with it lives in
// the window toolkit.

#include "platform/QuickdrawTypes.h"

class UDrawing {
public:
    enum : short {
        kColorBlack = 0,
        kColorWhite = 1,
        kColorGrey = 2,
        kColorLightGrey3 = 3,
        kColorLightGrey4 = 4,
        kColorLightGrey5 = 5,
        kColorGrey6 = 6,
        kColorRed = 7,
        kColorBlue = 8,
        kColorGreen = 9,
        kColorYellow = 10,
    };

    // Brightness 0-100: 50 is the palette's colour, 0 black, 100 white. Codes outside
    // the palette are black.
    static void GetRGBColor(short code, short brightness, RGBColor* color);
};
