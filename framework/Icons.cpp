#include "framework/Icons.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>
#include <QStyle>

#include <array>

#include "framework/QuickDraw.h"

struct OpaqueIconRef {
    QIcon icon;
    int references = 1;
};

namespace {

struct GenericIcon {
    OSType type;
    const char* themeName;
    QStyle::StandardPixmap fallback;
};

constexpr std::array kGenericIcons = {
    GenericIcon{kGenericFolderIcon, "folder", QStyle::SP_DirIcon},
    GenericIcon{kGenericDocumentIcon, "text-x-generic", QStyle::SP_FileIcon},
    GenericIcon{kGenericApplicationIcon, "application-x-executable", QStyle::SP_FileIcon},
    GenericIcon{kGenericHardDiskIcon, "drive-harddisk", QStyle::SP_DriveHDIcon},
    GenericIcon{kGenericCDROMIcon, "media-optical", QStyle::SP_DriveCDIcon},
    GenericIcon{kGenericRemovableMediaIcon, "drive-removable-media", QStyle::SP_DriveFDIcon},
    GenericIcon{kGenericFileServerIcon, "network-server", QStyle::SP_DriveNetIcon},
    GenericIcon{kTrashIcon, "user-trash", QStyle::SP_TrashIcon},
};

QIcon FromTheme(const QString& name, QStyle::StandardPixmap fallback)
{
    QIcon icon = QIcon::fromTheme(name);
    return icon.isNull() ? QApplication::style()->standardIcon(fallback) : icon;
}

const GenericIcon& FindGeneric(OSType type)
{
    for (const GenericIcon& generic : kGenericIcons) {
        if (generic.type == type)
            return generic;
    }
    return kGenericIcons[1];
}

} // namespace

OSErr GetIconRef(SInt16, OSType, OSType iconType, IconRef* outIcon)
{
    const GenericIcon& generic = FindGeneric(iconType);
    *outIcon = new OpaqueIconRef{FromTheme(generic.themeName, generic.fallback)};
    return noErr;
}

OSErr GetIconRefFromPath(const std::string& path, IconRef* outIcon)
{
    *outIcon = nullptr;
    const QFileInfo info(QString::fromStdString(path));
    if (!info.exists())
        return fnfErr;
    if (info.isDir())
        return GetIconRef(0, kSystemIconsCreator, kGenericFolderIcon, outIcon);
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = FromTheme(type.genericIconName(), QStyle::SP_FileIcon);
    *outIcon = new OpaqueIconRef{icon};
    return noErr;
}

OSErr AcquireIconRef(IconRef icon)
{
    if (icon == nullptr)
        return paramErr;
    ++icon->references;
    return noErr;
}

OSErr ReleaseIconRef(IconRef icon)
{
    if (icon == nullptr)
        return paramErr;
    if (--icon->references == 0)
        delete icon;
    return noErr;
}

OSErr PlotIconRef(const Rect* r, SInt16, SInt16 transform, UInt32, IconRef icon)
{
    GrafPort* port = GetPort();
    if (icon == nullptr || port == nullptr)
        return paramErr;
    const QRect area(r->left, r->top, r->right - r->left, r->bottom - r->top);
    const QIcon::Mode mode = (transform & kTransformDisabled) ? QIcon::Disabled : QIcon::Normal;
    QPixmap pixmap = icon->icon.pixmap(area.size(), port->Painter().device()->devicePixelRatioF(), mode);
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
