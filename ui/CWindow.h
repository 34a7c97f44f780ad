#pragma once
// The base of every window and dialog of the application (class 'Dlog'): placement
// rules that keep windows on the screen, the panes addressed by pane ID, and the
// standard dialog with the parameters "^0" to "^3".
//
// The pane operations do nothing (and answer 0, false or the empty text) for a pane
// ID the window does not hold. Placement moves the window by its content's top-left
// corner, in global coordinates, within the usable screen (UDrawingWindows).

#include <memory>

#include "framework/LDialogBox.h"

class CListStructs;

class CWindow : public LDialogBox {
public:
    explicit CWindow(QWidget* widget);
    ~CWindow() override;

    // Whether the window is still among the application's open windows.
    static Boolean CheckIfWindowExists(LWindow* window);

    // Runs dialog `resID` under `superCommander` with each given parameter in place of
    // its placeholder ("^0" for p0, ...); true when it ends on OK (900), false on Cancel
    // (901). A missing description, or one that is no CWindow, shows nothing and
    // answers false.
    static Boolean DoStandardDialog(ResIDT resID, LCommander* superCommander, ConstStr255Param p0,
                                    ConstStr255Param p1 = nullptr, ConstStr255Param p2 = nullptr,
                                    ConstStr255Param p3 = nullptr);

    // Only a different title is set: setting one redraws the frame.
    void SetDescriptor(ConstStr255Param title) override;

    // Work in progress that a quit must not cut short; none here.
    virtual Boolean IsBusy() { return false; }

    // Cascades 8 right and 16 down from the other window; back at the screen's top left
    // when there is none or the window would not fit.
    void PlaceWindowNextTo(LWindow* other);
    // Next to the front window with that pane ID (any with 0), when there is one.
    Boolean PlaceNextToPreviousWindow(PaneIDT paneID);
    // A saved position, kept at least 20 pixels onto the screen.
    void RestoreWindowPosition(Point where);
    void MoveWindow(SInt16 h, SInt16 v, Boolean keepOnScreen);
    enum : SInt16 {
        kPlaceTop = 0x01,
        kPlaceLeft = 0x02,
        kPlaceBottom = 0x04,
        kPlaceRight = 0x08,
        kPlaceCenterVertical = 0x10,
        kPlaceCenterHorizontal = 0x20,
    };
    // At the screen's edges or centre; without `inner`, 24 below its top and 6 more from
    // its right edge.
    void PlaceWindow(SInt16 flags, Boolean inner);
    // Changes the content's height, in steps when animated: 17 pixels on Mac OS X and
    // later (what the platform reports), 10 before.
    void SmoothResizeWindow(SInt16 height, Boolean animate, Boolean clampToScreen);

    // A text the pane already shows is not set again, so the pane is not redrawn.
    // A null text clears it.
    void SetItemString(PaneIDT paneID, ConstStr255Param text);
    // String `index` of string list `strListID`; a missing string clears the pane.
    void SetItemString(PaneIDT paneID, ResIDT strListID, SInt16 index);
    void SetEmptyString(PaneIDT paneID);
    // Cut to maxLength when it is not 0.
    void GetItemString(PaneIDT paneID, Str255 outText, SInt16 maxLength = 0);
    // The text of CStr255::ConvLongToString.
    void SetItemLong(PaneIDT paneID, long value, long flags);
    // The text read as a decimal number: optional sign and digits.
    SInt32 GetItemLong(PaneIDT paneID);
    // The first occurrence, case and accents ignored (CStr255::ReplaceInPString).
    void ReplaceInItemString(PaneIDT paneID, ConstStr255Param pattern, ConstStr255Param replacement);
    // ReplaceInItemString for each direct sub-pane of the window.
    void ReplaceInDialog(ConstStr255Param pattern, ConstStr255Param replacement);

    void SetItemValue(PaneIDT paneID, SInt32 value);
    SInt32 GetItemState(PaneIDT paneID);
    // The 0-based index of the first pane on among firstPaneID, firstPaneID + 1, ...; 0
    // when none is. The search ends at the first missing pane.
    SInt32 GetRadioGroup(PaneIDT firstPaneID, SInt32 count);
    // The current item of a pop-up menu; outText (when given) gets its text when it is
    // not 0.
    SInt16 GetPopupmenuSelection(PaneIDT paneID, Str255 outText);
    void SetPopupmenuSelection(PaneIDT paneID, SInt16 item);

    void SetItemVisible(PaneIDT paneID, Boolean visible);
    void SetItemEnable(PaneIDT paneID, Boolean enabled);
    void RefreshItem(PaneIDT paneID);
    // Makes an editable text field the keyboard target with its whole text selected.
    void SelectAll(PaneIDT paneID);
    // Adds the listener (the window itself when null) to the pane when it broadcasts.
    Boolean AddListenerToItem(PaneIDT paneID, LListener* listener);

    // The pane's tool tip is string `index` of string list `strListID` (CToolTips).
    virtual void SetToolTipsForItem(PaneIDT paneID, SInt32 strListID, SInt32 index);
    // The pane's tip text, empty when it has none; answers paneID.
    virtual PaneIDT GetToolTipsForItem(Point where, PaneIDT paneID, Str255 outText);
    // The deepest pane under `where` (content coordinates) with an ID and a tip, and
    // its text; 0 and an empty text when there is none.
    virtual PaneIDT GetToolTipsItemInWindow(Point where, Str255 outText);
    Boolean HasToolTips() const { return mHasToolTips; }

    void AdjustContentMouse(Point where, const EventRecord& event) override;
    // These close an open tip of another window.
    void ClickInContent(const EventRecord& event) override;
    void Suspend() override;
    void Deactivate() override;

private:
    Boolean mHasToolTips = false;
    // Records of ToolTipRecord, in host order: they live only in memory.
    std::unique_ptr<CListStructs> mToolTips;
};
