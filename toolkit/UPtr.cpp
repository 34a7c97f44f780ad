#include "toolkit/UPtr.h"

#include "platform/MacMemory.h"

UPtr::UPtr(long size)
{
    if (size != 0)
        Resize(size);
}

UPtr::~UPtr()
{
    if (mPtr != nullptr)
        DisposePtr(mPtr);
}

Boolean UPtr::Resize(long size)
{
    if (mPtr != nullptr)
        DisposePtr(mPtr);
    mPtr = size > 0 ? NewPtr(size) : nullptr;
    mSize = mPtr != nullptr ? size : 0;
    return mPtr != nullptr;
}

long UPtr::SetMaxSize(long size)
{
    while (size > 0 && !Resize(size))
        size /= 2;
    return mSize;
}
