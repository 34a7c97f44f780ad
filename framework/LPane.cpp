#include "framework/LPane.h"

#include <QMouseEvent>
#include <QVariant>

#include <algorithm>

#include "framework/LView.h"
#include "framework/LWindow.h"
#include "framework/QuickDraw.h"
#include "framework/UEventLoop.h"
#include "framework/UPascalText.h"

class LPane::EventFilter : public QObject {
public:
    EventFilter(LPane* pane, Boolean paint, Boolean clicks)
        : QObject(pane->mWidget), mPane(pane), mPaint(paint), mClicks(clicks)
    {
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (mPaint && event->type() == QEvent::Paint) {
            StPaintPort port(mPane->mWidget);
            mPane->DrawSelf();
            return true;
        }
        if (mClicks && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton || !mPane->IsEnabled())
                return false;
            mPane->ClickSelf(MakeMouseDown(*mouse));
            return true;
        }
        return false;
    }

private:
    SMouseDownEvent MakeMouseDown(const QMouseEvent& mouse) const
    {
        const QPoint local = mouse.position().toPoint();
        const QPoint port = mPane->mWidget->mapTo(mPane->mWidget->window(), local);
        const QPoint global = mouse.globalPosition().toPoint();
        SMouseDownEvent result{};
        result.whereLocal = {SInt16(local.y()), SInt16(local.x())};
        result.wherePort = {SInt16(port.y()), SInt16(port.x())};
        result.macEvent.what = mouseDown;
        result.macEvent.when = UEventLoop::Ticks();
        result.macEvent.where = {SInt16(global.y()), SInt16(global.x())};
        result.macEvent.modifiers = UEventLoop::ModifiersFrom(mouse.modifiers());
        result.clickCount = mouse.type() == QEvent::MouseButtonDblClick ? 2 : 1;
        return result;
    }

    LPane* mPane;
    Boolean mPaint;
    Boolean mClicks;
};

LPane::LPane(QWidget* widget) : mWidget(widget), mPaneID(GetNumberProperty(widget, "paneID")) {}

LPane::~LPane()
{
    for (const auto& connection : mConnections)
        QObject::disconnect(connection);
    delete mEventFilter.data();
}

LWindow* LPane::GetWindow()
{
    LPane* pane = this;
    while (pane->mSuperView != nullptr)
        pane = pane->mSuperView;
    return dynamic_cast<LWindow*>(pane);
}

LPane* LPane::FindPaneByID(PaneIDT paneID)
{
    return paneID != 0 && paneID == mPaneID ? this : nullptr;
}

LPane* LPane::FindPaneByIDOutward(PaneIDT paneID)
{
    for (LPane* pane = this; pane != nullptr; pane = pane->mSuperView) {
        if (LPane* found = pane->FindPaneByID(paneID))
            return found;
    }
    return nullptr;
}

void LPane::GetDescriptor(Str255 outDescriptor) const
{
    UPascalText::FromQString(mWidget ? mWidget->property("text").toString() : QString(), outDescriptor);
}

void LPane::SetDescriptor(ConstStr255Param descriptor)
{
    if (mWidget)
        mWidget->setProperty("text", UPascalText::ToQString(descriptor));
}

void LPane::Show()
{
    if (mWidget)
        mWidget->setVisible(true);
}

void LPane::Hide()
{
    if (mWidget)
        mWidget->setVisible(false);
}

Boolean LPane::IsVisible() const
{
    return mWidget && mWidget->isVisible();
}

void LPane::Enable()
{
    if (mWidget)
        mWidget->setEnabled(true);
    EnableSelf();
}

void LPane::Disable()
{
    if (mWidget)
        mWidget->setEnabled(false);
    DisableSelf();
}

Boolean LPane::IsEnabled() const
{
    return mWidget && mWidget->isEnabled();
}

void LPane::Refresh()
{
    if (mWidget)
        mWidget->update();
}

void LPane::Draw()
{
    if (mWidget)
        mWidget->repaint();
}

void LPane::GetFrameSize(SDimension16& outSize) const
{
    const QSize size = mWidget ? mWidget->size() : QSize();
    outSize = {SInt16(size.width()), SInt16(size.height())};
}

void LPane::ResizeFrameTo(SInt16 width, SInt16 height)
{
    if (mWidget)
        mWidget->resize(width, height);
}

void LPane::CalcPortFrameRect(Rect& outRect) const
{
    outRect = {0, 0, 0, 0};
    if (!mWidget)
        return;
    const QPoint topLeft = mWidget->isWindow() ? QPoint() : mWidget->mapTo(mWidget->window(), QPoint());
    outRect = {SInt16(topLeft.y()), SInt16(topLeft.x()), SInt16(topLeft.y() + mWidget->height()),
               SInt16(topLeft.x() + mWidget->width())};
}

void LPane::CalcLocalFrameRect(Rect& outRect) const
{
    SDimension16 size;
    GetFrameSize(size);
    outRect = {0, 0, size.height, size.width};
}

Boolean LPane::PointIsInFrame(Point wherePort) const
{
    Rect frame;
    CalcPortFrameRect(frame);
    return wherePort.v >= frame.top && wherePort.v < frame.bottom && wherePort.h >= frame.left &&
           wherePort.h < frame.right;
}

void LPane::FinishCreate()
{
    FinishCreateSelf();
}

void LPane::InterceptEvents(Boolean paint, Boolean clicks)
{
    delete mEventFilter.data();
    if (!mWidget)
        return;
    mEventFilter = new EventFilter(this, paint, clicks);
    mWidget->installEventFilter(mEventFilter);
}

SInt32 LPane::GetNumberProperty(const QObject* object, const char* name, SInt32 defaultValue)
{
    const QVariant value = object ? object->property(name) : QVariant();
    if (!value.isValid())
        return defaultValue;
    bool isNumber = false;
    const SInt32 number = value.toInt(&isNumber);
    if (isNumber)
        return number;
    const QString text = value.toString();
    if (text.size() == 4 && std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; })) {
        return SInt32((UInt32(text[0].unicode()) << 24) | (UInt32(text[1].unicode()) << 16) |
                      (UInt32(text[2].unicode()) << 8) | UInt32(text[3].unicode()));
    }
    return defaultValue;
}

void LPane::TrackConnection(QMetaObject::Connection connection)
{
    mConnections.push_back(connection);
}
