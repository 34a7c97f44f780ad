#include "framework/StTimedDialogHandler.h"

#include <algorithm>

#include "framework/LStdButton.h"
#include "framework/LWindow.h"
#include "framework/UEventLoop.h"

StTimedDialogHandler::StTimedDialogHandler(ResIDT dialogID, LCommander* superCommander, PaneIDT timeoutButton,
                                           UInt32 seconds)
    : StDialogHandler(dialogID, superCommander), mTimeoutButton(timeoutButton), mSeconds(seconds)
{
}

void StTimedDialogHandler::StartCountdown()
{
    mDeadline = std::max<UInt32>(UEventLoop::Ticks() + mSeconds * 60, 1);
}

MessageT StTimedDialogHandler::DoDialog()
{
    if (mDeadline != 0 && UEventLoop::Ticks() >= mDeadline) {
        mDeadline = 0;
        if (auto* button = dynamic_cast<LStdButton*>(GetDialog()->FindPaneByID(mTimeoutButton)))
            button->SimulateHotSpotClick();
    }
    return StDialogHandler::DoDialog();
}
