#pragma once
// The Memory Manager on Linux: relocatable blocks (handles) and fixed blocks (pointers).
//
// A handle points at its block's master pointer, which the manager updates whenever
// the block moves. An unlocked block may move on every resize; a locked block never
// moves, so it can only be resized within the room it already has (memFullErr
// otherwise). Moving a block high in the heap is a no-op. Builds with
// AddressSanitizer move an unlocked block on every resize, so that a pointer kept
// across a resize without a lock is caught.

#include "platform/MacTypes.h"

// The state byte of HGetState and HSetState.
enum : SInt8 {
    kHandleLockedMask = SInt8(0x80),
    kHandlePurgeableMask = 0x40,
    kHandleIsResourceMask = 0x20,
};

// The result of the last call below: noErr, memFullErr or nilHandleErr.
OSErr MemError();

Handle NewHandle(Size byteCount);
void DisposeHandle(Handle h);
Size GetHandleSize(Handle h);
void SetHandleSize(Handle h, Size newSize);
void HLock(Handle h);
void HUnlock(Handle h);
SInt8 HGetState(Handle h);
void HSetState(Handle h, SInt8 state);
void MoveHHi(Handle h);

Ptr NewPtr(Size byteCount);
void DisposePtr(Ptr p);

// Test interface: blocks larger than `maxBytes` cannot be had (0: no limit).
void SetMaxBlockSizeForTesting(Size maxBytes);
