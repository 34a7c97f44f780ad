#include "ui/CPictureMasked.h"

#include "framework/QDOffscreen.h"

namespace {

// The black pixels of the mask drawn into `frame`, as a region of one-row runs.
RgnHandle MaskRegion(PicHandle mask, const Rect& frame)
{
    RgnHandle region = NewRgn();
    GWorldPtr world = nullptr;
    if (NewGWorld(&world, 1, &frame) != noErr)
        return region;
    RgnHandle run = NewRgn();
    {
        StGWorldPort port(world);
        DrawPicture(mask, &frame);
        for (SInt16 y = frame.top; y < frame.bottom; ++y) {
            for (SInt16 x = frame.left; x < frame.right;) {
                if (!GetPixel(x, y)) {
                    ++x;
                    continue;
                }
                const SInt16 start = x;
                while (x < frame.right && GetPixel(x, y))
                    ++x;
                const Rect runRect = {y, start, SInt16(y + 1), x};
                RectRgn(run, &runRect);
                UnionRgn(region, run, region);
            }
        }
    }
    DisposeRgn(run);
    DisposeGWorld(world);
    return region;
}

} // namespace

CPictureMasked::CPictureMasked(QWidget* widget) : LPicture(widget), mMaskID(SInt16(GetNumberProperty("maskID"))) {}

void CPictureMasked::DrawSelf()
{
    PicHandle mask = mMaskID != 0 && GetPictureHandle() != nullptr ? GetPicture(mMaskID) : nullptr;
    if (mask == nullptr) {
        LPicture::DrawSelf();
        return;
    }
    Rect frame;
    CalcLocalFrameRect(frame);
    RgnHandle region = MaskRegion(mask, frame);
    ReleasePicture(mask);
    SetClip(region);
    DrawPicture(GetPictureHandle(), &frame);
    DisposeRgn(region);
}
