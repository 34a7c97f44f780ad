#include "toolkit/UDrawing.h"

namespace {

constexpr RGBColor kPalette[] = {
    {0x0000, 0x0000, 0x0000}, {0xFFFF, 0xFFFF, 0xFFFF}, {0x8000, 0x8000, 0x8000}, {0xEEEE, 0xEEEE, 0xEEEE},
    {0xDDDD, 0xDDDD, 0xDDDD}, {0xCCCC, 0xCCCC, 0xCCCC}, {0xBBBB, 0xBBBB, 0xBBBB}, {0xDD6B, 0x08C2, 0x06A2},
    {0x0000, 0x2000, 0xD400}, {0x0000, 0x8000, 0x11B0}, {0xFC00, 0xF37D, 0x052F},
};

UInt16 Brightened(UInt16 c, long brightness)
{
    if (brightness <= 50)
        return UInt16(long(c) * brightness / 50);
    const long k = brightness - 50;
    return UInt16(long(c) + 0xFFFFL * k / 50 - long(c) * k / 50);
}

} // namespace

void UDrawing::GetRGBColor(short code, short brightness, RGBColor* color)
{
    const long b = brightness < 0 ? 0 : brightness > 100 ? 100 : brightness;
    const RGBColor base = code >= 0 && code <= kColorYellow ? kPalette[code] : kPalette[kColorBlack];
    *color = {Brightened(base.red, b), Brightened(base.green, b), Brightened(base.blue, b)};
}
