#pragma once
// A walker that asks to stop after a number of yields, for cancelling an action midway.

#include "engine/CBaseThread.h"

class StoppingWalker : public CBaseThread {
public:
    explicit StoppingWalker(int yields) : mYieldsLeft(yields) {}
    void YieldSelf(long) override
    {
        if (--mYieldsLeft == 0)
            CancelThread();
    }

private:
    int mYieldsLeft;
};
