#pragma once
// The tool tip: a small borderless window (description 21999, class 'WTip') that
// shows the help text of the pane under a resting mouse, and the shared state that
// decides when a tip appears and goes. At most one tip is open at a time.
//
// A tip appears once the mouse has rested 60 ticks within 5 pixels over a pane with
// a text, or at once while the space bar is held; it closes when the mouse leaves its
// window, the application goes to the background, or after 300 ticks per line plus
// 300 (as soon as the space bar is up for a tip the space bar opened). A tip that
// closed does not come back over the same pane until the mouse reaches another one.

#include "ui/CPeriodical.h"
#include "ui/CWindow.h"

class CToolTips : public CWindow, public CPeriodical {
public:
    static constexpr ResIDT kResID = 21999;
    static constexpr SInt32 kDelay = 60;
    static constexpr SInt32 kStill = 5;
    static constexpr SInt32 kTicksPerLine = 300;

    explicit CToolTips(QWidget* widget);
    ~CToolTips() override;

    // Tool tips on in the preferences, or the space bar down.
    static Boolean IsActivated();
    // The pane under the mouse (`where` in the owner's content, the event's at the
    // desktop) with its text; pane 0 and an empty text where there is none.
    static void DoToolTips(Point where, const EventRecord& event, PaneIDT paneID, ConstStr255Param text,
                           CWindow* owner);
    // Destroys the open tip, unless it is `except`.
    static void DeleteToolTipsWindow(const LWindow* except = nullptr);

    void SetToolTips(Point globalMouse, ConstStr255Param text);
    SInt32 GetLineCount() const { return mLineCount; }

    static Boolean sActive;
    static CToolTips* sToolTipsWindow;
    static PaneIDT sPaneID;
    static Point sMousePosition;
    static UInt32 sTicks;
    static Boolean sActivedWithSpaceBar;

protected:
    void FinishCreateSelf() override;
    void SpendTimeSelf(const EventRecord& event) override;

private:
    CWindow* mOwnerWindow = nullptr;
    SInt32 mLineCount = 1;
};
