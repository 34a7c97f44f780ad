#pragma once
// Idle work at a set period: SpendTimeSelf runs at most once every `delay` ticks
// (on every idle event with delay 0), and never while it is already running, as it
// may be when the hook runs a modal dialog or yields to the cooperative threads.
// Its owner starts it idling (StartIdling) for it to run.

#include "framework/LPeriodical.h"

class CPeriodical : public LPeriodical {
public:
    CPeriodical() = default;

    void SpendTime(const EventRecord& event) override;
    void SetPeriodicalDelay(SInt32 ticks) { mDelay = ticks; }

protected:
    virtual void SpendTimeSelf(const EventRecord&) {}

private:
    Boolean mBusy = false;
    SInt32 mNextTime = 0;
    Boolean mTimed = false; // mNextTime was set
    SInt32 mDelay = 6;
};
