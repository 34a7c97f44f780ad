#include "framework/QuickDraw.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QRegion>

#include <algorithm>

#include "framework/UPascalText.h"
#include "framework/UReanimator.h"

struct OpaqueRgnHandle {
    QRegion region;
};

struct OpaquePicHandle {
    QImage image;
};

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

GrafPort::GrafPort(QPaintDevice* device) : mDevice(device), mPainter(device) {}

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

Boolean GetPixel(SInt16 h, SInt16 v)
{
    const auto* image = sCurrentPort ? dynamic_cast<const QImage*>(sCurrentPort->Device()) : nullptr;
    if (image == nullptr)
        return false;
    const QPoint pixel = sCurrentPort->Painter().transform().map(QPoint(h, v));
    return image->valid(pixel) && qGray(image->pixel(pixel)) < 128;
}

RgnHandle NewRgn()
{
    return new OpaqueRgnHandle;
}

void DisposeRgn(RgnHandle region)
{
    delete region;
}

void RectRgn(RgnHandle region, const Rect* r)
{
    region->region = QRegion(ToQRect(*r));
}

void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle result)
{
    result->region = a->region.united(b->region);
}

Boolean EmptyRgn(RgnHandle region)
{
    return region->region.isEmpty();
}

void SetClip(RgnHandle region)
{
    if (sCurrentPort)
        sCurrentPort->Painter().setClipRegion(region->region);
}

namespace {

OpaquePicHandle* LoadImage(const char* type, SInt16 id)
{
    const std::filesystem::path path = UReanimator::GetResourceFolder() / type / (std::to_string(id) + ".png");
    QImage image(QString::fromStdString(path.string()));
    return image.isNull() ? nullptr : new OpaquePicHandle{image};
}

} // namespace

PicHandle GetPicture(SInt16 pictureID)
{
    return LoadImage("PICT", pictureID);
}

void ReleasePicture(PicHandle picture)
{
    delete picture;
}

void GetPictureFrame(PicHandle picture, Rect* outFrame)
{
    *outFrame = {0, 0, SInt16(picture->image.height()), SInt16(picture->image.width())};
}

void DrawPicture(PicHandle picture, const Rect* r)
{
    if (sCurrentPort && picture)
        sCurrentPort->Painter().drawImage(ToQRect(*r), picture->image);
}

CIconHandle GetCIcon(SInt16 iconID)
{
    return LoadImage("cicn", iconID);
}

void DisposeCIcon(CIconHandle icon)
{
    delete icon;
}

void PlotCIcon(const Rect* r, CIconHandle icon)
{
    if (sCurrentPort && icon)
        sCurrentPort->Painter().drawImage(QPoint(r->left, r->top), icon->image);
}
