#pragma once
// A resizable byte block that the memory manager may move while it is unlocked. The
// object owns the block. Positions are 0-based byte offsets; every operation works on
// GetSize() bytes, so a subclass that keeps a logical size (CBufferObject) gets them
// all through the two virtual calls.

#include "platform/MacTypes.h"

class UHandle {
public:
    explicit UHandle(long size = 0);
    virtual ~UHandle();
    UHandle(const UHandle&) = delete;
    UHandle& operator=(const UHandle&) = delete;

    virtual long GetSize();
    // True when the block has newSize bytes; memory exhaustion raises LException
    // with the memory manager's code.
    virtual Boolean Resize(long newSize);

    Handle GetHandle() const { return mHandle; }
    // The bytes' current address: valid while the block does not move (lock it).
    Ptr GetPtr() const { return mHandle == nullptr ? nullptr : *mHandle; }
    void Unlock();

    Boolean AddBytes(const void* bytes, long n);
    Boolean InsertBytes(long pos, const void* bytes, long n);
    // With bytes null, the new run is left for the caller to fill.
    Boolean ReplaceBytes(long pos, long oldLength, const void* bytes, long newLength);
    // noErr when bytes were removed, paramErr when the run is empty.
    OSErr RemoveBytes(long pos, long n);
    Boolean SetBytes(const void* bytes, long pos, long n);
    UInt8 GetChar(long pos);
    long GetBytes(void* dest, long pos, long n);

    // XORs the content with key, a big-endian word at a time; applied twice it restores.
    void CryptData(UInt32 key);

private:
    Handle mHandle = nullptr;
    UInt32 mSize = 0;
};
