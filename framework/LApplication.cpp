#include "framework/LApplication.h"

#include <QApplication>

#include "framework/UEventLoop.h"
#include "framework/UKeyboard.h"
#include "toolkit/CListObject.h"
#include "toolkit/UDiv.h"

namespace {

void ShowBusyCursor(Boolean busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace

LApplication::LApplication()
{
    // The toolkit knows no keyboard, sound or cursor of its own.
    UDiv::sKeyDownHook = UKeyboard::IsKeyDown;
    UDiv::sBeepHook = UKeyboard::Beep;
    CListObject::sBusyCursorHook = ShowBusyCursor;
    LCommander::SetTopCommander(this);
    LCommander::SetDefaultCommander(this);
    LCommander::SwitchTarget(this);
}

LApplication::~LApplication() = default;

void LApplication::Run()
{
    Initialize();
    if (!mQuitting)
        HandleLaunch();
    while (!mQuitting)
        UEventLoop::ProcessNextEvent();
    // The widgets of windows closed in the last pass.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void LApplication::DoQuit(SInt32 saveOption)
{
    if (AttemptQuit(saveOption))
        mQuitting = true;
}

Boolean LApplication::ObeyCommand(CommandT command, void* ioParam)
{
    switch (command) {
    case cmd_Quit:
        DoQuit();
        return true;
    case cmd_About:
        ShowAboutBox();
        return true;
    default:
        return LCommander::ObeyCommand(command, ioParam);
    }
}

void LApplication::FindCommandStatus(CommandT command, Boolean& outEnabled)
{
    if (command == cmd_Quit || command == cmd_About)
        outEnabled = true;
    else
        LCommander::FindCommandStatus(command, outEnabled);
}
