#include "ui/UDrawingWindows.h"

#include "framework/QuickDraw.h"
#include "framework/UDesktop.h"
#include "toolkit/UDrawing.h"

void UDrawingWindows::GetScreenSize(Rect* r, Boolean inset)
{
    Rect screen;
    UDesktop::GetMainScreenBounds(screen);
    const SInt16 width = SInt16(screen.right - screen.left);
    const SInt16 height = SInt16(screen.bottom - screen.top);
    const SInt16 menuBar = UDesktop::GetMBarHeight();
    const SInt16 in = inset ? 4 : 0;
    const SInt16 out = inset ? 8 : 0;
    *r = {SInt16(menuBar + in), in, SInt16(height - menuBar - out), SInt16(width - out)};
}

void UDrawingWindows::SetForeColor(SInt16 code, SInt16 brightness)
{
    RGBColor color;
    UDrawing::GetRGBColor(code, brightness, &color);
    RGBForeColor(&color);
}

void UDrawingWindows::DrawColoredRect(SInt16 code, SInt16 brightness, const Rect* r, SInt16 flags)
{
    PenMode(patCopy);
    SetForeColor(code, brightness);
    PaintRect(r);
    PenNormal();
    if ((flags & (kBevelRaised | kBevelSunken)) != 0 && r->right - r->left > 2 && r->bottom - r->top > 2) {
        const SInt16 lower = SInt16(brightness - 15);
        const SInt16 upper = SInt16(brightness + 15);
        const bool raised = (flags & kBevelRaised) != 0;
        SetForeColor(code, raised ? lower : upper);
        MoveTo(SInt16(r->left + 1), SInt16(r->bottom - 2));
        LineTo(SInt16(r->right - 2), SInt16(r->bottom - 2));
        LineTo(SInt16(r->right - 2), SInt16(r->top + 1));
        SetForeColor(code, raised ? upper : lower);
        LineTo(SInt16(r->left + 1), SInt16(r->top + 1));
        LineTo(SInt16(r->left + 1), SInt16(r->bottom - 2));
    }
    if ((flags & kFrameBlack) != 0) {
        SetForeColor(UDrawing::kColorBlack, 50);
        FrameRect(r);
    }
}
