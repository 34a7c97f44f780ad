#pragma once
// A window: the top pane of a description and a commander. It owns its widget tree,
// which goes at the next pass of the event loop after the window.
// Its super commander is the default commander at its construction, which deletes it
// when it goes first; closing deletes it too.
//
// Positions and bounds are those of the content, in global coordinates; the frame
// the desktop draws around it is not counted.

#include "framework/LCommander.h"
#include "framework/LView.h"

class LWindow : public LView, public LCommander {
public:
    enum : UInt32 {
        windAttr_ShowNew = 0x00800000,
    };

    explicit LWindow(QWidget* widget);
    ~LWindow() override;

    // Builds window `resID` under `superCommander` and finishes it; shows it when its
    // attributes say so. A missing or unreadable description raises 'nilP'; a failure
    // while finishing deletes the half-built window and passes on.
    static LWindow* CreateWindow(ResIDT resID, LCommander* superCommander);

    // The description's `attributes` property.
    UInt32 GetAttributes() const { return mAttributes; }
    Boolean HasAttribute(UInt32 attribute) const { return (mAttributes & attribute) != 0; }

    void Select();
    Boolean IsActive() const;
    virtual void AttemptClose();
    // Deletes the window.
    virtual void DoClose();

    void GetDescriptor(Str255 outDescriptor) const override;
    void SetDescriptor(ConstStr255Param title) override;

    void GetGlobalBounds(Rect& outBounds) const;
    void DoSetPosition(Point topLeft);
    void DoSetBounds(const Rect& bounds);

    // Hooks of the event loop.
    virtual void Activate();
    virtual void Deactivate() {}
    virtual void Suspend() {}
    virtual void Resume() {}
    virtual void ClickInContent(const EventRecord&) {}
    // On every pass while the mouse is over the window, with its place in the content.
    virtual void AdjustContentMouse(Point, const EventRecord&) {}
    // A key the focused pane left alone; answers whether it was handled.
    virtual Boolean HandleKeyPress(const EventRecord&) { return false; }

    Boolean ObeyCommand(CommandT command, void* ioParam) override;
    void FindCommandStatus(CommandT command, Boolean& outEnabled) override;

    // The window that a widget lies in; null when it is none of ours.
    static LWindow* FetchWindowObject(const QWidget* widget);
    // Tells the window under the mouse where the mouse is; run by the event loop.
    static void AdjustMouse(const EventRecord& event);

protected:
    // Runs AttemptClose or DoClose from the event loop, outside the event being handled.
    void CloseLater(Boolean attempt);

private:
    class Events;

    UInt32 mAttributes;
};
