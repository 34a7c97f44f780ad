#pragma once
// A fixed byte block that never moves: the copy buffers and file editing. Failure to
// allocate shows as a size of 0 and a false result, never as an exception.

#include "platform/MacTypes.h"

class UPtr {
public:
    explicit UPtr(long size = 0);
    virtual ~UPtr();
    UPtr(const UPtr&) = delete;
    UPtr& operator=(const UPtr&) = delete;

    // A new block of size bytes in place of the old one; the content is not kept.
    Boolean Resize(long size);
    // The largest of size, size / 2, size / 4, ... that can be had; 0 when none.
    long SetMaxSize(long size);

    Ptr GetPtr() const { return mPtr; }
    long GetSize() const { return mSize; }

private:
    Ptr mPtr = nullptr;
    long mSize = 0;
};
