#include "framework/LWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include <memory>

#include "framework/UDesktop.h"
#include "framework/UEventLoop.h"
#include "framework/UException.h"
#include "framework/UKeyboard.h"
#include "framework/UPascalText.h"
#include "framework/UReanimator.h"

// Qt's events of the application's windows, handed to their windows' hooks.
class LWindow::Events : public QObject {
public:
    static void Install()
    {
        static QPointer<Events> installed;
        if (installed || qApp == nullptr)
            return;
        installed = new Events(qApp);
        qApp->installEventFilter(installed);
    }

    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Space && !key->isAutoRepeat())
                UKeyboard::SetSpaceBarDown(event->type() == QEvent::KeyPress);
        }
        if (event->type() == QEvent::ApplicationStateChange) {
            const bool active = QGuiApplication::applicationState() == Qt::ApplicationActive;
            // A release while another application had the keyboard never reaches us.
            if (!active)
                UKeyboard::SetSpaceBarDown(false);
            for (LWindow* window : std::vector<LWindow*>(UDesktop::GetWindowList()))
                active ? window->Resume() : window->Suspend();
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(object);
        if (widget == nullptr)
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            // A press the receiver ignores goes on to its parents: one click is told once.
            if (LWindow* window = FetchWindowObject(widget); window != nullptr && IsNewPress(event))
                window->ClickInContent(MakeEvent(mouseDown, static_cast<QMouseEvent*>(event)->modifiers()));
            return false;
        case QEvent::KeyPress:
            return widget->isWindow() && HandleKey(widget, static_cast<QKeyEvent*>(event));
        case QEvent::Close:
            return widget->isWindow() && Close(widget, event);
        case QEvent::WindowActivate:
            if (LWindow* window = widget->isWindow() ? FetchWindowObject(widget) : nullptr)
                window->Activate();
            return false;
        case QEvent::WindowDeactivate:
            if (LWindow* window = widget->isWindow() ? FetchWindowObject(widget) : nullptr)
                window->Deactivate();
            return false;
        default:
            return false;
        }
    }

private:
    using QObject::QObject;

    static bool IsNewPress(QEvent* event)
    {
        static const QEvent* lastPress = nullptr;
        static quint64 lastTimestamp = 0;
        const quint64 timestamp = static_cast<QMouseEvent*>(event)->timestamp();
        if (event == lastPress && timestamp == lastTimestamp)
            return false;
        lastPress = event;
        lastTimestamp = timestamp;
        return true;
    }

    static EventRecord MakeEvent(UInt16 what, Qt::KeyboardModifiers modifiers)
    {
        EventRecord record;
        record.what = what;
        record.when = UEventLoop::Ticks();
        const QPoint mouse = QCursor::pos();
        record.where = {SInt16(mouse.y()), SInt16(mouse.x())};
        record.modifiers = UEventLoop::ModifiersFrom(modifiers);
        return record;
    }

    // Keys that reach the window itself: the focused widget did not want them.
    static bool HandleKey(QWidget* widget, QKeyEvent* key)
    {
        LWindow* window = FetchWindowObject(widget);
        if (window == nullptr || key->text().isEmpty())
            return false;
        constexpr UInt16 keyDown = 3;
        EventRecord record = MakeEvent(keyDown, key->modifiers());
        record.message = UInt32(key->text().at(0).unicode() & 0xFF);
        if (key->key() == Qt::Key_Enter)
            record.message = 0x03;
        return window->HandleKeyPress(record);
    }

    // The window decides, later: it may delete itself and its widget.
    static bool Close(QWidget* widget, QEvent* event)
    {
        LWindow* window = FetchWindowObject(widget);
        if (window == nullptr)
            return false;
        event->ignore();
        window->CloseLater(true);
        return true;
    }
};

LWindow::LWindow(QWidget* widget)
    : LView(widget), LCommander(LCommander::GetDefaultCommander()), mAttributes(UInt32(GetNumberProperty("attributes")))
{
    UDesktop::AddWindow(this);
    Events::Install();
}

LWindow::~LWindow()
{
    UDesktop::RemoveWindow(this);
    if (QWidget* widget = GetWidget()) {
        // The panes' listeners may be gone already: nothing may broadcast from here on.
        for (QObject* child : widget->findChildren<QObject*>())
            child->blockSignals(true);
        // A window may be closed from a handler of one of its own buttons, which Qt
        // still uses after the handler: the widgets go at the next pass of the loop.
        widget->hide();
        widget->deleteLater();
    }
}

LWindow* LWindow::CreateWindow(ResIDT resID, LCommander* superCommander)
{
    LCommander::SetDefaultCommander(superCommander);
    std::unique_ptr<LPane> root = UReanimator::ReadObjects(resID);
    auto* window = dynamic_cast<LWindow*>(root.get());
    if (window == nullptr)
        throw LException(err_NilPointer);
    window->FinishCreate();
    root.release();
    if (window->HasAttribute(windAttr_ShowNew))
        window->Show();
    return window;
}

Boolean LWindow::IsActive() const
{
    return GetWidget() != nullptr && GetWidget()->isActiveWindow();
}

void LWindow::Select()
{
    QWidget* widget = GetWidget();
    if (widget == nullptr)
        return;
    widget->show();
    widget->raise();
    widget->activateWindow();
    UDesktop::MoveToFront(this);
    LCommander::SwitchTarget(this);
}

void LWindow::Activate()
{
    UDesktop::MoveToFront(this);
    if (!IsOnDuty())
        LCommander::SwitchTarget(this);
}

void LWindow::AttemptClose()
{
    if (AttemptQuitSelf(0))
        DoClose();
}

void LWindow::DoClose()
{
    delete this;
}

void LWindow::CloseLater(Boolean attempt)
{
    QPointer<QWidget> guard = GetWidget();
    QMetaObject::invokeMethod(
        qApp,
        [this, guard, attempt] {
            // Its widget outlives a deleted window for a while: the window must still be open.
            if (!guard || FetchWindowObject(guard) != this)
                return;
            attempt ? AttemptClose() : DoClose();
        },
        Qt::QueuedConnection);
}

void LWindow::GetDescriptor(Str255 outDescriptor) const
{
    UPascalText::FromQString(GetWidget() ? GetWidget()->windowTitle() : QString(), outDescriptor);
}

void LWindow::SetDescriptor(ConstStr255Param title)
{
    if (GetWidget())
        GetWidget()->setWindowTitle(UPascalText::ToQString(title));
}

void LWindow::GetGlobalBounds(Rect& outBounds) const
{
    const QRect geometry = GetWidget() ? GetWidget()->geometry() : QRect();
    outBounds = {SInt16(geometry.top()), SInt16(geometry.left()), SInt16(geometry.top() + geometry.height()),
                 SInt16(geometry.left() + geometry.width())};
}

void LWindow::DoSetPosition(Point topLeft)
{
    if (QWidget* widget = GetWidget())
        widget->setGeometry(QRect(QPoint(topLeft.h, topLeft.v), widget->size()));
}

void LWindow::DoSetBounds(const Rect& bounds)
{
    if (QWidget* widget = GetWidget())
        widget->setGeometry(QRect(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top));
}

Boolean LWindow::ObeyCommand(CommandT command, void* ioParam)
{
    if (command == cmd_Close) {
        AttemptClose();
        return true;
    }
    return LCommander::ObeyCommand(command, ioParam);
}

void LWindow::FindCommandStatus(CommandT command, Boolean& outEnabled)
{
    if (command == cmd_Close)
        outEnabled = true;
    else
        LCommander::FindCommandStatus(command, outEnabled);
}

LWindow* LWindow::FetchWindowObject(const QWidget* widget)
{
    const QWidget* root = widget ? widget->window() : nullptr;
    for (LWindow* window : UDesktop::GetWindowList()) {
        if (window->GetWidget() == root)
            return window;
    }
    return nullptr;
}

void LWindow::AdjustMouse(const EventRecord& event)
{
    const QPoint global(event.where.h, event.where.v);
    LWindow* window = UDesktop::FindWindowAt(event.where);
    if (window == nullptr)
        return;
    const QPoint port = window->GetWidget()->mapFromGlobal(global);
    window->AdjustContentMouse({SInt16(port.y()), SInt16(port.x())}, event);
}
