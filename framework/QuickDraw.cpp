#include "framework/QuickDraw.h"

#include <QApplication>
#include <QFontMetrics>

#include <algorithm>

#include "framework/UPascalText.h"

namespace {

GrafPort* sCurrentPort = nullptr;

QColor ToQColor(const RGBColor& color)
{
    return QColor::fromRgba64(color.red, color.green, color.blue);
}

QRect ToQRect(const Rect& r)
{
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// Fills with the pen colour in the pen mode.
void FillWithPen(GrafPort& port, const QRect& area)
{
    if (area.isEmpty())
        return;
    QPainter& painter = port.Painter();
    const bool xorMode = port.penMode == patXor || port.penMode == srcXor;
    if (xorMode)
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(area, ToQColor(port.foreColor));
    if (xorMode)
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

} // namespace

GrafPort::GrafPort(QPaintDevice* device) : mPainter(device) {}

QFont GrafPort::TextFontNow() const
{
    QFont font = QApplication::font();
    if (textSize > 0)
        font.setPixelSize(textSize);
    font.setBold(textFace & bold);
    font.setItalic(textFace & italic);
    font.setUnderline(textFace & underline);
    return font;
}

StPaintPort::StPaintPort(QPaintDevice* device) : mPort(device), mSavedPort(sCurrentPort)
{
    sCurrentPort = &mPort;
}

StPaintPort::~StPaintPort()
{
    sCurrentPort = mSavedPort;
}

GrafPort* GetPort()
{
    return sCurrentPort;
}

void RGBForeColor(const RGBColor* color)
{
    if (sCurrentPort)
        sCurrentPort->foreColor = *color;
}

void GetForeColor(RGBColor* outColor)
{
    *outColor = sCurrentPort ? sCurrentPort->foreColor : RGBColor{0, 0, 0};
}

void RGBBackColor(const RGBColor* color)
{
    if (sCurrentPort)
        sCurrentPort->backColor = *color;
}

void GetBackColor(RGBColor* outColor)
{
    *outColor = sCurrentPort ? sCurrentPort->backColor : RGBColor{0xFFFF, 0xFFFF, 0xFFFF};
}

void PenNormal()
{
    if (sCurrentPort)
        sCurrentPort->penMode = patCopy;
}

void PenMode(SInt16 mode)
{
    if (sCurrentPort)
        sCurrentPort->penMode = mode;
}

void MoveTo(SInt16 h, SInt16 v)
{
    if (sCurrentPort)
        sCurrentPort->penLocation = {v, h};
}

void LineTo(SInt16 h, SInt16 v)
{
    if (!sCurrentPort)
        return;
    const Point from = sCurrentPort->penLocation;
    if (from.h == h || from.v == v) {
        // Straight lines cover every pixel from one end to the other, both included.
        const QRect span(QPoint(std::min(from.h, h), std::min(from.v, v)), QPoint(std::max(from.h, h), std::max(from.v, v)));
        FillWithPen(*sCurrentPort, span);
    } else {
        QPainter& painter = sCurrentPort->Painter();
        painter.setPen(QPen(ToQColor(sCurrentPort->foreColor), 0));
        painter.drawLine(from.h, from.v, h, v);
    }
    sCurrentPort->penLocation = {v, h};
}

void PaintRect(const Rect* r)
{
    if (sCurrentPort)
        FillWithPen(*sCurrentPort, ToQRect(*r));
}

void FrameRect(const Rect* r)
{
    if (!sCurrentPort || r->right <= r->left || r->bottom <= r->top)
        return;
    const QRect area = ToQRect(*r);
    FillWithPen(*sCurrentPort, QRect(area.left(), area.top(), area.width(), 1));
    FillWithPen(*sCurrentPort, QRect(area.left(), area.bottom(), area.width(), 1));
    FillWithPen(*sCurrentPort, QRect(area.left(), area.top() + 1, 1, area.height() - 2));
    FillWithPen(*sCurrentPort, QRect(area.right(), area.top() + 1, 1, area.height() - 2));
}

void EraseRect(const Rect* r)
{
    if (sCurrentPort)
        sCurrentPort->Painter().fillRect(ToQRect(*r), ToQColor(sCurrentPort->backColor));
}

void InvertRect(const Rect* r)
{
    if (!sCurrentPort)
        return;
    QPainter& painter = sCurrentPort->Painter();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(ToQRect(*r), Qt::white);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void ClipRect(const Rect* r)
{
    if (sCurrentPort)
        sCurrentPort->Painter().setClipRect(ToQRect(*r));
}

void TextFont(SInt16 font)
{
    if (sCurrentPort)
        sCurrentPort->textFont = font;
}

void TextSize(SInt16 size)
{
    if (sCurrentPort)
        sCurrentPort->textSize = size;
}

void TextFace(SInt16 face)
{
    if (sCurrentPort)
        sCurrentPort->textFace = face;
}

void TextMode(SInt16 mode)
{
    if (sCurrentPort)
        sCurrentPort->textMode = mode;
}

void GetFontInfo(FontInfo* outInfo)
{
    const QFontMetrics metrics(sCurrentPort ? sCurrentPort->TextFontNow() : QApplication::font());
    *outInfo = {SInt16(metrics.ascent()), SInt16(metrics.descent()), SInt16(metrics.maxWidth()),
                SInt16(metrics.leading())};
}

SInt16 StringWidth(ConstStr255Param text)
{
    const QFontMetrics metrics(sCurrentPort ? sCurrentPort->TextFontNow() : QApplication::font());
    return SInt16(metrics.horizontalAdvance(UPascalText::ToQString(text)));
}

void DrawString(ConstStr255Param text)
{
    if (!sCurrentPort)
        return;
    QPainter& painter = sCurrentPort->Painter();
    const QString string = UPascalText::ToQString(text);
    painter.setFont(sCurrentPort->TextFontNow());
    painter.setPen(ToQColor(sCurrentPort->foreColor));
    painter.drawText(QPoint(sCurrentPort->penLocation.h, sCurrentPort->penLocation.v), string);
    sCurrentPort->penLocation.h += SInt16(painter.fontMetrics().horizontalAdvance(string));
}
