#include "framework/UEventLoop.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <vector>

#include "framework/Events.h"
#include "framework/LAttachment.h"
#include "framework/LPeriodical.h"
#include "framework/LWindow.h"
#include "platform/DateTimeUtils.h"
#include "platform/LThread.h"

namespace {

UInt32 sSleepTicks = 6;
// Cooperative threads switched out in a pass of their own: ready, yet with no work.
std::size_t sThreadsWaiting = 0;
// Wakes a pass that waits for events once the sleep time is over.
QPointer<QTimer> sWakeTimer;

std::vector<LAttachment*>& Attachments()
{
    static std::vector<LAttachment*> attachments;
    return attachments;
}

int SleepMilliseconds()
{
    return int(sSleepTicks * 1000 / 60);
}

void StartWakeTimer()
{
    if (sWakeTimer || QCoreApplication::instance() == nullptr)
        return;
    sWakeTimer = new QTimer(QCoreApplication::instance());
    sWakeTimer->start(std::max(SleepMilliseconds(), 1));
}

EventRecord NullEvent()
{
    EventRecord event;
    event.when = UEventLoop::Ticks();
    const QPoint mouse = QCursor::pos();
    event.where = {SInt16(mouse.y()), SInt16(mouse.x())};
    event.modifiers = UEventLoop::ModifiersFrom(QGuiApplication::queryKeyboardModifiers());
    return event;
}

} // namespace

void UEventLoop::ProcessNextEvent()
{
    if (!LThread::GetCurrentThread()->IsMainThread()) {
        ++sThreadsWaiting;
        LThread::Yield();
        --sThreadsWaiting;
        return;
    }
    StartWakeTimer();
    const bool onlyEventsToWaitFor = LThread::CountReadyThreads() <= sThreadsWaiting;
    QCoreApplication::processEvents(onlyEventsToWaitFor ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // An attachment may remove another while it runs.
    const std::vector<LAttachment*> attachments = Attachments();
    for (LAttachment* attachment : attachments) {
        if (std::find(Attachments().begin(), Attachments().end(), attachment) != Attachments().end())
            attachment->Execute();
    }
    const EventRecord idle = NullEvent();
    LWindow::AdjustMouse(idle);
    LPeriodical::DevoteTimeToRepeaters(idle);
    LPeriodical::DevoteTimeToIdlers(idle);
}

void UEventLoop::ProcessPendingEvents()
{
    if (!LThread::GetCurrentThread()->IsMainThread()) {
        LThread::Yield();
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void UEventLoop::SetSleepTime(UInt32 ticks)
{
    sSleepTicks = ticks;
    if (sWakeTimer)
        sWakeTimer->setInterval(std::max(SleepMilliseconds(), 1));
}

UInt32 UEventLoop::GetSleepTime()
{
    return sSleepTicks;
}

void UEventLoop::AddAttachment(LAttachment* attachment)
{
    if (std::find(Attachments().begin(), Attachments().end(), attachment) == Attachments().end())
        Attachments().push_back(attachment);
}

void UEventLoop::RemoveAttachment(LAttachment* attachment)
{
    std::erase(Attachments(), attachment);
}

UInt32 UEventLoop::Ticks()
{
    return TickCount();
}

UInt16 UEventLoop::ModifiersFrom(Qt::KeyboardModifiers modifiers)
{
    // The command key is the Control key here, as Qt maps it on the Mac.
    UInt16 result = 0;
    if (modifiers & Qt::ControlModifier)
        result |= cmdKey;
    if (modifiers & Qt::ShiftModifier)
        result |= shiftKey;
    if (modifiers & Qt::AltModifier)
        result |= optionKey;
    if (modifiers & Qt::MetaModifier)
        result |= controlKey;
    return result;
}
