#pragma once
// Offscreen worlds: images to draw into and read back (GetPixel), white when made.
// Any depth is kept in full colour; a one-bit world reads back as dark or light.

#include <memory>

#include "framework/QuickDraw.h"

struct OpaqueGWorldPtr;
using GWorldPtr = OpaqueGWorldPtr*;

OSErr NewGWorld(GWorldPtr* outWorld, SInt16 pixelDepth, const Rect* bounds);
void DisposeGWorld(GWorldPtr world);

// Makes the world the current port for its scope; its coordinates start at the top
// left of the bounds given to NewGWorld.
class StGWorldPort {
public:
    explicit StGWorldPort(GWorldPtr world);
    ~StGWorldPort();
    StGWorldPort(const StGWorldPort&) = delete;
    StGWorldPort& operator=(const StGWorldPort&) = delete;

private:
    std::unique_ptr<StPaintPort> mPort;
};
