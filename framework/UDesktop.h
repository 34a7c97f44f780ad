#pragma once
// The application's windows, front to back, and the main screen.
//
// The menu bar of a Mac screen is the desktop's panel here: its height is what
// the desktop keeps at the top of the main screen (0 where it keeps nothing).

#include <vector>

#include "platform/MacTypes.h"

class LWindow;

class UDesktop {
public:
    // The front window; null when there is none.
    static LWindow* FetchTopRegular();
    static const std::vector<LWindow*>& GetWindowList();
    // Shows the window, brings it to the front and makes it the active one.
    static void SelectDeskWindow(LWindow* window);

    // The window of ours at that point of the desktop; null when there is none.
    static LWindow* FindWindowAt(Point global);
    // The application has the keyboard (is in front).
    static Boolean IsApplicationActive();

    static void GetMainScreenBounds(Rect& outBounds);
    static SInt16 GetMBarHeight();

private:
    friend class LWindow;
    static void AddWindow(LWindow* window);
    static void RemoveWindow(LWindow* window);
    static void MoveToFront(LWindow* window);
};
