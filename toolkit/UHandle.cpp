#include "toolkit/UHandle.h"

#include <cstring>

#include "platform/LException.h"
#include "platform/MacMemory.h"
#include "toolkit/BigEndian.h"

namespace {

// Block sizes are 32-bit in every stored format.
constexpr long kMaxBlockSize = 0x7FFFFFFF;

} // namespace

UHandle::UHandle(long size)
{
    UHandle::Resize(size);
}

UHandle::~UHandle()
{
    if (mHandle != nullptr) {
        HUnlock(mHandle);
        DisposeHandle(mHandle);
    }
}

long UHandle::GetSize()
{
    if (mSize == 0 && mHandle != nullptr)
        mSize = UInt32(GetHandleSize(mHandle));
    return long(mSize);
}

Boolean UHandle::Resize(long newSize)
{
    if (newSize < 0)
        newSize = 0;
    if (newSize > kMaxBlockSize)
        throw LException(memFullErr);
    if (mHandle == nullptr) {
        mHandle = NewHandle(0);
        if (mHandle == nullptr)
            throw LException(MemError());
    }
    if (UInt32(newSize) != mSize) {
        const SInt8 state = HGetState(mHandle);
        HUnlock(mHandle);
        MoveHHi(mHandle);
        SetHandleSize(mHandle, newSize);
        const OSErr error = MemError();
        HSetState(mHandle, state);
        if (error != noErr)
            throw LException(error);
        mSize = UInt32(GetHandleSize(mHandle));
    }
    return mSize == UInt32(newSize);
}

void UHandle::Unlock()
{
    if (mHandle != nullptr)
        HUnlock(mHandle);
}

Boolean UHandle::AddBytes(const void* bytes, long n)
{
    if (bytes == nullptr || n <= 0)
        return true;
    return SetBytes(bytes, GetSize(), n);
}

Boolean UHandle::InsertBytes(long pos, const void* bytes, long n)
{
    if (bytes == nullptr || n == 0)
        return true;
    return ReplaceBytes(pos, 0, bytes, n);
}

Boolean UHandle::ReplaceBytes(long pos, long oldLength, const void* bytes, long newLength)
{
    const long size = GetSize();
    pos = pos < 0 ? 0 : pos > size ? size : pos;
    oldLength = oldLength < 0 ? 0 : oldLength > size - pos ? size - pos : oldLength;
    newLength = newLength < 0 ? 0 : newLength;
    const long newSize = size - oldLength + newLength;
    if (newSize > size && !Resize(newSize))
        return false;
    Ptr p = GetPtr();
    std::memmove(p + pos + newLength, p + pos + oldLength, std::size_t(size - pos - oldLength));
    if (bytes != nullptr && newLength > 0)
        std::memcpy(p + pos, bytes, std::size_t(newLength));
    return newSize < size ? Resize(newSize) : true;
}

OSErr UHandle::RemoveBytes(long pos, long n)
{
    const long size = GetSize();
    if (pos < 0 || pos >= size || n <= 0)
        return paramErr;
    ReplaceBytes(pos, n, nullptr, 0);
    return noErr;
}

Boolean UHandle::SetBytes(const void* bytes, long pos, long n)
{
    if (bytes == nullptr || n <= 0 || pos < 0)
        return false;
    if (pos + n > GetSize() && !Resize(pos + n))
        return false;
    std::memcpy(GetPtr() + pos, bytes, std::size_t(n));
    return true;
}

UInt8 UHandle::GetChar(long pos)
{
    return pos < 0 || pos >= GetSize() ? 0 : UInt8(GetPtr()[pos]);
}

long UHandle::GetBytes(void* dest, long pos, long n)
{
    ThrowIfNot_(n >= 0);
    const long size = GetSize();
    if (pos < 0 || pos >= size)
        return 0;
    const long count = n < size - pos ? n : size - pos;
    std::memcpy(dest, GetPtr() + pos, std::size_t(count));
    return count;
}

void UHandle::CryptData(UInt32 key)
{
    const long size = GetSize();
    UInt8* p = reinterpret_cast<UInt8*>(GetPtr());
    UInt8 keyBytes[4];
    PutBigEndian32(keyBytes, key);
    // Word by word, then the tail with the key's bytes from the most significant on:
    // both are the key's bytes in big-endian order, so one loop does it.
    for (long i = 0; i < size; ++i)
        p[i] ^= keyBytes[i % 4];
}
