#pragma once
// Locks a block for a scope and gives it back the state it had, also when an
// exception passes: a block that was locked before stays locked.

#include "platform/MacTypes.h"

class UHandle;

class StLockHandleQOR {
public:
    StLockHandleQOR() = default;
    explicit StLockHandleQOR(Handle h);
    explicit StLockHandleQOR(UHandle* block);
    ~StLockHandleQOR();
    StLockHandleQOR(const StLockHandleQOR&) = delete;
    StLockHandleQOR& operator=(const StLockHandleQOR&) = delete;

    void Save(Handle h);
    void Restore();

private:
    Handle mHandle = nullptr;
    SInt8 mState = 0;
};
