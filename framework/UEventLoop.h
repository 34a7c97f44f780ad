#pragma once
// The event loop of the windowed programs, one pass at a time: Qt's events, then the
// attachments (the yield to the cooperative threads among them), then the window under
// the mouse is told where it is (LWindow::AdjustContentMouse), then the periodicals.
//
// Events are handled on the main thread only. A pass asked for from a cooperative
// thread (a modal dialog run by a thread) yields to the main thread, which does the
// pass; while every ready thread is only waiting so, the main thread sleeps until an
// event or the sleep time, instead of spinning between them.

#include <Qt>

#include "platform/MacTypes.h"

class LAttachment;

class UEventLoop {
public:
    static void ProcessNextEvent();
    // Only the events already waiting, without waiting for more (for progress shown
    // from within long work); from a cooperative thread, a yield to the main thread.
    static void ProcessPendingEvents();

    // The longest a pass waits for an event when nothing else is to be done; default 6.
    static void SetSleepTime(UInt32 ticks);
    static UInt32 GetSleepTime();

    // The attachment stays the caller's; it leaves the loop when deleted.
    static void AddAttachment(LAttachment* attachment);
    static void RemoveAttachment(LAttachment* attachment);

    // The platform's tick count (TickCount).
    static UInt32 Ticks();
    static UInt16 ModifiersFrom(Qt::KeyboardModifiers modifiers);
};
