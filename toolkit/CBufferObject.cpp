#include "toolkit/CBufferObject.h"

CBufferObject::CBufferObject(long step) : mStep(SInt32(step < 4 ? 4 : step))
{
}

long CBufferObject::GetSize()
{
    return mLogicalSize;
}

Boolean CBufferObject::Resize(long newSize)
{
    if (newSize < 0)
        newSize = 0;
    const long rounded = (newSize + mStep - 1) / mStep * mStep;
    const Boolean resized = UHandle::Resize(rounded);
    mLogicalSize = SInt32(newSize);
    return resized;
}
