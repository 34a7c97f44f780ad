#pragma once
// The main window (description 128, class 'MWin'). Its panels, commands and polling
// come with the next version; here it is the window the application opens and keeps.

#include "ui/CPeriodical.h"
#include "ui/CWindow.h"

class CMainWindow : public CWindow, public CPeriodical {
public:
    static constexpr ResIDT kResID = 128;

    explicit CMainWindow(QWidget* widget) : CWindow(widget) {}
};
