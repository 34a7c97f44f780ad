#include "framework/UDesktop.h"

#include <QApplication>
#include <QScreen>

#include <algorithm>

#include "framework/LWindow.h"

namespace {

std::vector<LWindow*>& Windows()
{
    static std::vector<LWindow*> windows;
    return windows;
}

} // namespace

LWindow* UDesktop::FetchTopRegular()
{
    return Windows().empty() ? nullptr : Windows().front();
}

const std::vector<LWindow*>& UDesktop::GetWindowList()
{
    return Windows();
}

void UDesktop::SelectDeskWindow(LWindow* window)
{
    window->Select();
}

LWindow* UDesktop::FindWindowAt(Point global)
{
    return LWindow::FetchWindowObject(QApplication::widgetAt(QPoint(global.h, global.v)));
}

Boolean UDesktop::IsApplicationActive()
{
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

void UDesktop::GetMainScreenBounds(Rect& outBounds)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect geometry = screen ? screen->geometry() : QRect();
    outBounds = {SInt16(geometry.top()), SInt16(geometry.left()), SInt16(geometry.top() + geometry.height()),
                 SInt16(geometry.left() + geometry.width())};
}

SInt16 UDesktop::GetMBarHeight()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? SInt16(std::max(0, screen->availableGeometry().top() - screen->geometry().top())) : 0;
}

void UDesktop::AddWindow(LWindow* window)
{
    Windows().insert(Windows().begin(), window);
}

void UDesktop::RemoveWindow(LWindow* window)
{
    std::erase(Windows(), window);
}

void UDesktop::MoveToFront(LWindow* window)
{
    auto& windows = Windows();
    auto found = std::find(windows.begin(), windows.end(), window);
    if (found != windows.end())
        std::rotate(windows.begin(), found, found + 1);
}
