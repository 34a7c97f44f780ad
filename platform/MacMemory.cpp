#include "platform/MacMemory.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

// The master pointer comes first, so a handle is the address of the whole record.
struct MasterBlock {
    char* data;
    Size size;
    Size room; // bytes allocated; a locked block may not move beyond them
    SInt8 state;
};
static_assert(offsetof(MasterBlock, data) == 0);

thread_local OSErr gMemError = noErr;
Size gMaxBlockSize = 0;

MasterBlock* Block(Handle h)
{
    return reinterpret_cast<MasterBlock*>(h);
}

// The handle's block, with MemError set for a null handle.
MasterBlock* Checked(Handle h)
{
    gMemError = h == nullptr ? nilHandleErr : noErr;
    return h == nullptr ? nullptr : Block(h);
}

bool Obtainable(Size bytes)
{
    return bytes >= 0 && (gMaxBlockSize == 0 || bytes <= gMaxBlockSize);
}

// Never zero bytes, so a block always has an address to copy to and from.
char* Allocate(Size bytes)
{
    return static_cast<char*>(std::malloc(bytes > 0 ? std::size_t(bytes) : 1));
}

// A locked block stays where it is, within the room it has; an unlocked one moves.
OSErr Resized(MasterBlock& block, Size newSize)
{
    if (block.state & kHandleLockedMask) {
        if (newSize > block.room)
            return memFullErr;
        block.size = newSize;
        return noErr;
    }
#if defined(__SANITIZE_ADDRESS__)
    char* moved = Allocate(newSize);
    if (moved != nullptr) {
        std::memcpy(moved, block.data, std::size_t(newSize < block.size ? newSize : block.size));
        std::free(block.data);
    }
#else
    char* moved = static_cast<char*>(std::realloc(block.data, std::size_t(newSize > 0 ? newSize : 1)));
#endif
    if (moved == nullptr)
        return memFullErr;
    block.data = moved;
    block.size = newSize;
    block.room = newSize;
    return noErr;
}

} // namespace

OSErr MemError()
{
    return gMemError;
}

Handle NewHandle(Size byteCount)
{
    gMemError = memFullErr;
    if (!Obtainable(byteCount))
        return nullptr;
    char* data = Allocate(byteCount);
    if (data == nullptr)
        return nullptr;
    auto* block = new MasterBlock{data, byteCount, byteCount, 0};
    gMemError = noErr;
    return &block->data;
}

void DisposeHandle(Handle h)
{
    gMemError = noErr;
    if (h == nullptr)
        return;
    std::free(*h);
    delete Block(h);
}

Size GetHandleSize(Handle h)
{
    const MasterBlock* block = Checked(h);
    return block != nullptr ? block->size : 0;
}

void SetHandleSize(Handle h, Size newSize)
{
    if (MasterBlock* block = Checked(h))
        gMemError = Obtainable(newSize) ? Resized(*block, newSize) : OSErr(memFullErr);
}

void HLock(Handle h)
{
    HSetState(h, SInt8(HGetState(h) | kHandleLockedMask));
}

void HUnlock(Handle h)
{
    HSetState(h, SInt8(HGetState(h) & ~kHandleLockedMask));
}

SInt8 HGetState(Handle h)
{
    const MasterBlock* block = Checked(h);
    return block != nullptr ? block->state : 0;
}

void HSetState(Handle h, SInt8 state)
{
    if (MasterBlock* block = Checked(h))
        block->state = state;
}

void MoveHHi(Handle h)
{
    Checked(h);
}

Ptr NewPtr(Size byteCount)
{
    gMemError = memFullErr;
    if (!Obtainable(byteCount))
        return nullptr;
    Ptr p = Allocate(byteCount);
    if (p != nullptr)
        gMemError = noErr;
    return p;
}

void DisposePtr(Ptr p)
{
    std::free(p);
    gMemError = noErr;
}

void SetMaxBlockSizeForTesting(Size maxBytes)
{
    gMaxBlockSize = maxBytes;
}
