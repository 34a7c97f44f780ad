#pragma once
// A progress dialog for long work on the main thread: a progress bar (pane 1) and a
// stop button (pane 2). The work calls WantToStop now and then; the dialog never
// makes it wait for events. Its description is a CWindow (class 'Dlog').

#include "framework/StDialogHandler.h"

class CProgressDialog : public StDialogHandler {
public:
    // A missing description raises 'nilP'.
    CProgressDialog(ResIDT resID, LCommander* superCommander);

    void SetItemEnable(PaneIDT paneID, Boolean enabled);
    // Shows `current` of `total` and handles the events waiting; answers the message of a
    // button pressed meanwhile, 0 when none: any other answer asks the work to stop.
    MessageT WantToStop(SInt32 current, SInt32 total);
};
