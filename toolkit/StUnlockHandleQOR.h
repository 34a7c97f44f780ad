#pragma once
// Unlocks a block for a scope and gives it back the state it had.

#include "platform/MacTypes.h"

class StUnlockHandleQOR {
public:
    explicit StUnlockHandleQOR(Handle h);
    ~StUnlockHandleQOR();
    StUnlockHandleQOR(const StUnlockHandleQOR&) = delete;
    StUnlockHandleQOR& operator=(const StUnlockHandleQOR&) = delete;

private:
    Handle mHandle;
    SInt8 mState = 0;
};
