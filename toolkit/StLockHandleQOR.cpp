#include "toolkit/StLockHandleQOR.h"

#include "platform/MacMemory.h"
#include "toolkit/UHandle.h"

StLockHandleQOR::StLockHandleQOR(Handle h)
{
    Save(h);
}

StLockHandleQOR::StLockHandleQOR(UHandle* block)
{
    Save(block == nullptr ? nullptr : block->GetHandle());
}

StLockHandleQOR::~StLockHandleQOR()
{
    Restore();
}

void StLockHandleQOR::Save(Handle h)
{
    Restore();
    mHandle = h;
    if (mHandle != nullptr) {
        mState = HGetState(mHandle);
        HLock(mHandle);
    }
}

void StLockHandleQOR::Restore()
{
    if (mHandle != nullptr)
        HSetState(mHandle, mState);
    mHandle = nullptr;
}
