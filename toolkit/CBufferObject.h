#pragma once
// A UHandle that grows in fixed steps and keeps a logical size, so that appending
// many small records resizes its block only once a step. The record buffer of the
// lists.

#include "toolkit/UHandle.h"

class CBufferObject : public UHandle {
public:
    explicit CBufferObject(long step);

    long GetSize() override;
    // The logical size becomes newSize; the block, newSize rounded up to whole steps.
    Boolean Resize(long newSize) override;

private:
    SInt32 mLogicalSize = 0;
    SInt32 mStep;
};
