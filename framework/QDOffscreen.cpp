#include "framework/QDOffscreen.h"

#include <QImage>

struct OpaqueGWorldPtr {
    QImage image;
    Rect bounds;
};

OSErr NewGWorld(GWorldPtr* outWorld, SInt16, const Rect* bounds)
{
    *outWorld = nullptr;
    const int width = bounds->right - bounds->left, height = bounds->bottom - bounds->top;
    if (width <= 0 || height <= 0)
        return paramErr;
    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        return memFullErr;
    image.fill(Qt::white);
    *outWorld = new OpaqueGWorldPtr{std::move(image), *bounds};
    return noErr;
}

void DisposeGWorld(GWorldPtr world)
{
    delete world;
}

StGWorldPort::StGWorldPort(GWorldPtr world) : mPort(std::make_unique<StPaintPort>(&world->image))
{
    mPort->Port().Painter().translate(-world->bounds.left, -world->bounds.top);
}

StGWorldPort::~StGWorldPort() = default;
