#pragma once
// A pane: one widget of a window, addressed by its pane ID. The widget belongs to
// Qt's widget tree (its window deletes it); the pane only refers to it, and never
// touches a widget that is gone.

#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include <vector>

#include "framework/Events.h"
#include "framework/FrameworkTypes.h"

class LView;
class LWindow;

struct SDimension16 {
    SInt16 width;
    SInt16 height;
};

class LPane {
public:
    explicit LPane(QWidget* widget);
    virtual ~LPane();
    LPane(const LPane&) = delete;
    LPane& operator=(const LPane&) = delete;

    QWidget* GetWidget() const { return mWidget; }

    PaneIDT GetPaneID() const { return mPaneID; }
    void SetPaneID(PaneIDT paneID) { mPaneID = paneID; }
    LView* GetSuperView() const { return mSuperView; }
    void SetSuperView(LView* superView) { mSuperView = superView; }
    // The window the pane lies in; null for a pane not in a window.
    LWindow* GetWindow();

    // This pane when it has the ID; views search their sub-panes too. ID 0 names no pane.
    virtual LPane* FindPaneByID(PaneIDT paneID);
    // Within this pane, else within its super view, and so on outward.
    LPane* FindPaneByIDOutward(PaneIDT paneID);

    // The pane's text: what it shows, or its title.
    virtual void GetDescriptor(Str255 outDescriptor) const;
    virtual void SetDescriptor(ConstStr255Param descriptor);
    virtual SInt32 GetValue() const { return 0; }
    virtual void SetValue(SInt32) {}

    void Show();
    void Hide();
    Boolean IsVisible() const;
    void Enable();
    void Disable();
    Boolean IsEnabled() const;

    // Refresh redraws at the next pass of the event loop, Draw at once.
    void Refresh();
    void Draw();

    void GetFrameSize(SDimension16& outSize) const;
    void ResizeFrameTo(SInt16 width, SInt16 height);
    // The frame in the coordinates of the window's content.
    void CalcPortFrameRect(Rect& outRect) const;
    void CalcLocalFrameRect(Rect& outRect) const;
    Boolean PointIsInFrame(Point wherePort) const;

    // Called once the whole description it came from is built.
    virtual void FinishCreate();

    // A number property of a description: a number, or a four-character code as its
    // integer ("Copy"); the default when absent or neither.
    static SInt32 GetNumberProperty(const QObject* object, const char* name, SInt32 defaultValue = 0);

protected:
    virtual void FinishCreateSelf() {}
    virtual void EnableSelf() {}
    virtual void DisableSelf() {}
    // Run only for the events asked for with InterceptEvents.
    virtual void DrawSelf() {}
    virtual void ClickSelf(const SMouseDownEvent&) {}

    // From then on DrawSelf paints the widget instead of Qt, and ClickSelf takes its
    // presses of the left button.
    void InterceptEvents(Boolean paint, Boolean clicks);

    SInt32 GetNumberProperty(const char* name, SInt32 defaultValue = 0) const
    {
        return GetNumberProperty(mWidget, name, defaultValue);
    }
    // Kept to be cut when the pane goes, since the functions called refer to the pane.
    void TrackConnection(QMetaObject::Connection connection);

private:
    class EventFilter;

    QPointer<QWidget> mWidget;
    PaneIDT mPaneID;
    LView* mSuperView = nullptr;
    QPointer<EventFilter> mEventFilter;
    std::vector<QMetaObject::Connection> mConnections;
};
