#pragma once
// The bounds of a binary search: probe GetIndex(), then say on which side to go on.

#include "platform/MacTypes.h"

class CSmartIndex {
public:
    CSmartIndex(long low, long high) : mLow(SInt32(low)), mHigh(SInt32(high)) {}

    long GetIndex() const { return (long(mLow) + mHigh) / 2; }
    // greater: what is sought lies above the index just probed.
    void SetResult(Boolean greater)
    {
        const long index = GetIndex();
        if (greater)
            mLow = SInt32(index + 1);
        else
            mHigh = SInt32(index - 1);
    }
    Boolean Finished() const { return mLow > mHigh; }

private:
    SInt32 mLow;
    SInt32 mHigh;
};
