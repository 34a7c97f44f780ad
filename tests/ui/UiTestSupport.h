#pragma once
// What the ui tests share: the application's window class, which the package's
// descriptions name ('Dlog'), and the bounds of a window as a rectangle.

#include <QDialog>

#include "framework/LWindow.h"
#include "framework/URegistrar.h"
#include "tests/support/WindowTestSupport.h"
#include "ui/CWindow.h"

namespace uitest {

using namespace windowtest;

inline void RegisterWindowClass()
{
    URegistrar::RegisterClass<CWindow>(MakeOSType("Dlog"));
}

inline Rect Bounds(const LWindow& window)
{
    Rect bounds;
    window.GetGlobalBounds(bounds);
    return bounds;
}

} // namespace uitest
