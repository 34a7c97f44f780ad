#include <gtest/gtest.h>

#include <cstring>

#include "platform/MacMemory.h"

namespace {

TEST(MacMemory, UnlockedBlockKeepsItsContentWhenResized)
{
    Handle h = NewHandle(4);
    ASSERT_NE(h, nullptr);
    std::memcpy(*h, "abcd", 4);
    SetHandleSize(h, 1 << 20);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(GetHandleSize(h), 1 << 20);
    EXPECT_EQ(std::memcmp(*h, "abcd", 4), 0);
    SetHandleSize(h, 2);
    EXPECT_EQ(GetHandleSize(h), 2);
    EXPECT_EQ(std::memcmp(*h, "ab", 2), 0);
    DisposeHandle(h);
}

TEST(MacMemory, LockedBlockNeverMoves)
{
    Handle h = NewHandle(64);
    HLock(h);
    char* const address = *h;
    SetHandleSize(h, 16);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(*h, address);
    SetHandleSize(h, 64);
    EXPECT_EQ(MemError(), noErr) << "within the room it has";
    SetHandleSize(h, 1 << 20);
    EXPECT_EQ(MemError(), memFullErr);
    EXPECT_EQ(*h, address);
    EXPECT_EQ(GetHandleSize(h), 64);
    HUnlock(h);
    SetHandleSize(h, 1 << 20);
    EXPECT_EQ(MemError(), noErr);
    DisposeHandle(h);
}

TEST(MacMemory, StateByteHoldsTheFlags)
{
    Handle h = NewHandle(0);
    EXPECT_EQ(HGetState(h), 0);
    HLock(h);
    EXPECT_EQ(HGetState(h), kHandleLockedMask);
    HSetState(h, kHandlePurgeableMask | kHandleIsResourceMask);
    EXPECT_EQ(HGetState(h), kHandlePurgeableMask | kHandleIsResourceMask);
    HLock(h);
    HUnlock(h);
    EXPECT_EQ(HGetState(h), kHandlePurgeableMask | kHandleIsResourceMask);
    DisposeHandle(h);
}

TEST(MacMemory, NullHandleAndLimitsAreReported)
{
    EXPECT_EQ(GetHandleSize(nullptr), 0);
    EXPECT_EQ(MemError(), nilHandleErr);
    SetHandleSize(nullptr, 4);
    EXPECT_EQ(MemError(), nilHandleErr);
    EXPECT_EQ(NewHandle(-1), nullptr);
    EXPECT_EQ(MemError(), memFullErr);

    SetMaxBlockSizeForTesting(10);
    EXPECT_EQ(NewPtr(11), nullptr);
    EXPECT_EQ(MemError(), memFullErr);
    Ptr p = NewPtr(10);
    EXPECT_NE(p, nullptr);
    DisposePtr(p);
    SetMaxBlockSizeForTesting(0);
}

} // namespace
