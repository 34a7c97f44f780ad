#pragma once
// The drawing types the toolkit shares with the window toolkit.

#include "platform/MacTypes.h"

struct RGBColor {
    UInt16 red;
    UInt16 green;
    UInt16 blue;
};
