#pragma once
// The pane and window lookups of UDiv (toolkit/UDiv.h), which the toolkit cannot
// hold: it knows no panes.

#include "framework/FrameworkTypes.h"

class LPane;
class LWindow;

class UDivWindows {
public:
    // The window the pane lies in (the pane itself when it is one); null when none.
    static LWindow* FindParentWindow(LPane* pane);
    // Within the pane, else within its super view, and so on outward; null when none.
    static LPane* FindPaneByIDHiearchical(LPane* pane, PaneIDT paneID);
    // Hands the message to the pane's window when that window is a listener.
    static void WindowListenToMessage(LPane* pane, MessageT message, void* param);
};
