#pragma once
// What draws with UDrawing's palette (toolkit/UDrawing.h), and the usable screen:
// the drawing half that needs the window framework.

#include "platform/QuickdrawTypes.h"

class UDrawingWindows {
public:
    enum : SInt16 {
        kBevelRaised = 1,
        kBevelSunken = 2,
        kFrameBlack = 4,
    };

    // The main screen below its menu bar (the desktop's panel), as the placement rules
    // use it: left 0, top M, right W, bottom H - M; inset by 4 at the top and left and
    // by 8 at the right and bottom.
    static void GetScreenSize(Rect* r, Boolean inset);

    // The palette colour at that brightness becomes the pen colour of the current port.
    static void SetForeColor(SInt16 code, SInt16 brightness);
    // Paints r; with a bevel one pixel inside r, raised or sunken by 15 steps of
    // brightness (when r is more than 2 pixels wide and high); framed in black on request.
    static void DrawColoredRect(SInt16 code, SInt16 brightness, const Rect* r, SInt16 flags);
};
