#pragma once
// Runs a modal dialog: builds it from its description, listens to its controls and
// deletes it at the end of its scope. The caller runs the loop:
//
//     StDialogHandler handler(resID, superCommander);
//     handler.GetDialog()->Show();
//     MessageT message;
//     do message = handler.DoDialog(); while (message != msg_OK && message != msg_Cancel);
//
// It may be run from a cooperative thread: each pass then lets the main thread handle
// the events, and the other threads keep running.

#include <memory>

#include "framework/FrameworkTypes.h"
#include "platform/LListener.h"

class LCommander;
class LWindow;

class StDialogHandler : public LListener {
public:
    // A missing description raises 'nilP'.
    StDialogHandler(ResIDT dialogID, LCommander* superCommander);
    ~StDialogHandler() override;

    LWindow* GetDialog() const { return mDialog; }

    // One pass of the event loop; answers the last message the dialog's controls sent
    // since the previous pass, else msg_Nothing.
    virtual MessageT DoDialog();

    void ListenToMessage(MessageT message, void* ioParam) override;

protected:
    MessageT TakeMessage();

private:
    LWindow* mDialog;
    MessageT mMessage = msg_Nothing;
};
