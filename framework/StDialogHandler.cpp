#include "framework/StDialogHandler.h"

#include "framework/LWindow.h"
#include "framework/UEventLoop.h"
#include "framework/UReanimator.h"

StDialogHandler::StDialogHandler(ResIDT dialogID, LCommander* superCommander)
    : mDialog(LWindow::CreateWindow(dialogID, superCommander))
{
    QWidget* widget = mDialog->GetWidget();
    // Modality is fixed while the window is hidden.
    const bool shown = widget->isVisible();
    widget->hide();
    widget->setWindowModality(Qt::ApplicationModal);
    if (shown)
        widget->show();
    UReanimator::LinkListenerToControls(this, mDialog, dialogID);
}

StDialogHandler::~StDialogHandler()
{
    delete mDialog;
}

MessageT StDialogHandler::DoDialog()
{
    UEventLoop::ProcessNextEvent();
    return TakeMessage();
}

void StDialogHandler::ListenToMessage(MessageT message, void*)
{
    mMessage = message;
}

MessageT StDialogHandler::TakeMessage()
{
    const MessageT message = mMessage;
    mMessage = msg_Nothing;
    return message;
}
