#include "ui/StTextStateQOR.h"

#include "framework/QuickDraw.h"

void StTextStateQOR::Save()
{
    if (const GrafPort* port = GetPort()) {
        mFont = port->textFont;
        mSize = port->textSize;
        mFace = port->textFace;
        mMode = port->textMode;
    }
}

void StTextStateQOR::Restore()
{
    TextFont(mFont);
    TextSize(mSize);
    TextFace(mFace);
    TextMode(mMode);
}
