#pragma once
// The event records that periodicals and clicked panes receive.

#include "platform/MacTypes.h"

enum : UInt16 {
    nullEvent = 0,
    mouseDown = 1,
};

// Modifier bits of EventRecord::modifiers.
enum : UInt16 {
    cmdKey = 0x0100,
    shiftKey = 0x0200,
    optionKey = 0x0800,
    controlKey = 0x1000,
};

struct EventRecord {
    UInt16 what = nullEvent;
    UInt32 message = 0;
    UInt32 when = 0; // ticks
    Point where = {0, 0}; // global
    UInt16 modifiers = 0;
};

struct SMouseDownEvent {
    Point wherePort; // in the window's content
    Point whereLocal; // in the clicked pane
    EventRecord macEvent;
    UInt16 clickCount;
};
