#pragma once
// The drawing layer: the QuickDraw calls the windows draw with, on a QPainter. They draw
// into the current port, which a pane's DrawSelf finds set to its widget, in the
// pane's local coordinates. Lines are drawn with a one-pixel pen that hangs below and
// right of the point, as QuickDraw's; rectangles exclude their bottom and right.

#include <QPainter>

#include "platform/MacTypes.h"
#include "platform/QuickdrawTypes.h"

enum : SInt16 {
    srcCopy = 0,
    srcOr = 1,
    srcXor = 2,
    patCopy = 8,
    patXor = 10,
};

// Text faces, as bits.
enum : SInt16 {
    normal = 0,
    bold = 1,
    italic = 2,
    underline = 4,
};

// Font 0 and 1 are the system and application fonts: the desktop's; other numbers too.
enum : SInt16 {
    systemFont = 0,
    applFont = 1,
};

struct FontInfo {
    SInt16 ascent;
    SInt16 descent;
    SInt16 widMax;
    SInt16 leading;
};

class GrafPort {
public:
    explicit GrafPort(QPaintDevice* device);

    QPainter& Painter() { return mPainter; }
    QPaintDevice* Device() const { return mDevice; }
    QFont TextFontNow() const;

    RGBColor foreColor = {0, 0, 0};
    RGBColor backColor = {0xFFFF, 0xFFFF, 0xFFFF};
    SInt16 penMode = patCopy;
    Point penLocation = {0, 0};
    SInt16 textFont = systemFont;
    SInt16 textSize = 0; // 0: the font's own size
    SInt16 textFace = normal;
    SInt16 textMode = srcOr;

private:
    QPaintDevice* mDevice;
    QPainter mPainter;
};

// Makes a port on the device the current one for its scope.
class StPaintPort {
public:
    explicit StPaintPort(QPaintDevice* device);
    ~StPaintPort();
    StPaintPort(const StPaintPort&) = delete;
    StPaintPort& operator=(const StPaintPort&) = delete;

    GrafPort& Port() { return mPort; }

private:
    GrafPort mPort;
    GrafPort* mSavedPort;
};

// The current port; null outside any drawing, where every call below does nothing.
GrafPort* GetPort();

void RGBForeColor(const RGBColor* color);
void GetForeColor(RGBColor* outColor);
void RGBBackColor(const RGBColor* color);
void GetBackColor(RGBColor* outColor);
void PenNormal();
void PenMode(SInt16 mode);

void MoveTo(SInt16 h, SInt16 v);
void LineTo(SInt16 h, SInt16 v);
void PaintRect(const Rect* r);
void FrameRect(const Rect* r);
void EraseRect(const Rect* r);
void InvertRect(const Rect* r);
void ClipRect(const Rect* r);
// Whether the pixel is dark (black in a one-bit world); false where the port cannot be read.
Boolean GetPixel(SInt16 h, SInt16 v);

// Regions: sets of pixels, made of rectangles.
struct OpaqueRgnHandle;
using RgnHandle = OpaqueRgnHandle*;

RgnHandle NewRgn();
void DisposeRgn(RgnHandle region);
void RectRgn(RgnHandle region, const Rect* r);
void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle result);
Boolean EmptyRgn(RgnHandle region);
// The port draws only inside the region from then on.
void SetClip(RgnHandle region);

// Pictures and colour icons: PNG files "PICT/<ID>.png" and "cicn/<ID>.png" in the
// resource folder (UReanimator).
struct OpaquePicHandle;
using PicHandle = OpaquePicHandle*;
using CIconHandle = OpaquePicHandle*;

// Null when there is no such picture, or it cannot be read.
PicHandle GetPicture(SInt16 pictureID);
void ReleasePicture(PicHandle picture);
void GetPictureFrame(PicHandle picture, Rect* outFrame);
// Scaled into the rectangle.
void DrawPicture(PicHandle picture, const Rect* r);

// Null when there is no such icon, or it cannot be read.
CIconHandle GetCIcon(SInt16 iconID);
void DisposeCIcon(CIconHandle icon);
// Its own size, at the top left of the rectangle.
void PlotCIcon(const Rect* r, CIconHandle icon);

void TextFont(SInt16 font);
void TextSize(SInt16 size);
void TextFace(SInt16 face);
void TextMode(SInt16 mode);
void GetFontInfo(FontInfo* outInfo);
SInt16 StringWidth(ConstStr255Param text);
// Draws at the pen location, on the baseline, and moves the pen past the text.
void DrawString(ConstStr255Param text);
