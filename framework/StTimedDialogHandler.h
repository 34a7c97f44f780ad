#pragma once
// A modal dialog that answers by itself: once the countdown started with
// StartCountdown has run for the given seconds, its button `timeoutButton` is pressed.

#include "framework/StDialogHandler.h"

class StTimedDialogHandler : public StDialogHandler {
public:
    StTimedDialogHandler(ResIDT dialogID, LCommander* superCommander, PaneIDT timeoutButton, UInt32 seconds);

    void StartCountdown();
    MessageT DoDialog() override;

private:
    PaneIDT mTimeoutButton;
    UInt32 mSeconds;
    UInt32 mDeadline = 0; // ticks; 0 while not counting
};
