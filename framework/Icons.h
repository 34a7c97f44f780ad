#pragma once
// Drawing icon references: the platform names an icon of the desktop's theme; Qt's
// own icons stand in where the theme has none.

#include "platform/Icons.h"

enum : SInt16 {
    kAlignNone = 0,
    kAlignAbsoluteCenter = 5,
};

enum : SInt16 {
    kTransformNone = 0,
    kTransformDisabled = 1,
    kTransformSelected = 0x4000,
};

enum : UInt32 {
    kIconServicesNormalUsageFlag = 0,
};

// Into the current port (QuickDraw.h), fitted and centred in the rectangle.
OSErr PlotIconRef(const Rect* r, SInt16 alignment, SInt16 transform, UInt32 usage, IconRef icon);
