#include "framework/Icons.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>

#include <array>

#include "framework/QuickDraw.h"

namespace {

struct Fallback {
    const char* themeName;
    QStyle::StandardPixmap standard;
};

constexpr std::array kFallbacks = {
    Fallback{"folder", QStyle::SP_DirIcon},
    Fallback{"drive-harddisk", QStyle::SP_DriveHDIcon},
    Fallback{"media-optical", QStyle::SP_DriveCDIcon},
    Fallback{"drive-removable-media", QStyle::SP_DriveFDIcon},
    Fallback{"network-server", QStyle::SP_DriveNetIcon},
    Fallback{"user-trash", QStyle::SP_TrashIcon},
};

QIcon IconOf(IconRef icon)
{
    const std::string name = IconRefThemeName(icon);
    QIcon themed = QIcon::fromTheme(QString::fromStdString(name));
    if (!themed.isNull())
        return themed;
    for (const Fallback& fallback : kFallbacks) {
        if (name == fallback.themeName)
            return QApplication::style()->standardIcon(fallback.standard);
    }
    return QApplication::style()->standardIcon(QStyle::SP_FileIcon);
}

} // namespace

OSErr PlotIconRef(const Rect* r, SInt16, SInt16 transform, UInt32, IconRef icon)
{
    GrafPort* port = GetPort();
    if (icon == nullptr || port == nullptr)
        return paramErr;
    const QRect area(r->left, r->top, r->right - r->left, r->bottom - r->top);
    const QIcon::Mode mode = (transform & kTransformDisabled) ? QIcon::Disabled : QIcon::Normal;
    QPixmap pixmap = IconOf(icon).pixmap(area.size(), port->Painter().device()->devicePixelRatioF(), mode);
    if (transform & kTransformSelected) {
        // Selected icons are drawn darkened.
        QPainter darken(&pixmap);
        darken.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        darken.fillRect(pixmap.rect(), QColor(0, 0, 0, 96));
    }
    const QSize shown = pixmap.deviceIndependentSize().toSize();
    const QPoint topLeft(area.left() + (area.width() - shown.width()) / 2, area.top() + (area.height() - shown.height()) / 2);
    port->Painter().drawPixmap(topLeft, pixmap);
    return noErr;
}
