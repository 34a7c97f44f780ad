#include "toolkit/StUnlockHandleQOR.h"

#include "platform/MacMemory.h"

StUnlockHandleQOR::StUnlockHandleQOR(Handle h) : mHandle(h)
{
    if (mHandle != nullptr) {
        mState = HGetState(mHandle);
        HUnlock(mHandle);
    }
}

StUnlockHandleQOR::~StUnlockHandleQOR()
{
    if (mHandle != nullptr)
        HSetState(mHandle, mState);
}
