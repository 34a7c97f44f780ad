#include <gtest/gtest.h>

#include <string>

#include "platform/LException.h"
#include "platform/MacMemory.h"
#include "toolkit/CBufferObject.h"
#include "toolkit/StLockHandleQOR.h"
#include "toolkit/StUnlockHandleQOR.h"
#include "toolkit/UHandle.h"
#include "toolkit/UPtr.h"

namespace {

std::string Content(UHandle& block)
{
    return std::string(block.GetPtr(), std::size_t(block.GetSize()));
}

void Fill(UHandle& block, const std::string& text)
{
    block.Resize(0);
    block.AddBytes(text.data(), long(text.size()));
}

class MemoryBlocks : public testing::Test {
protected:
    void TearDown() override { SetMaxBlockSizeForTesting(0); }
};

TEST_F(MemoryBlocks, EmptyBlockExistsAndIgnoresNothingToAdd)
{
    UHandle block(0);
    EXPECT_NE(block.GetHandle(), nullptr);
    EXPECT_EQ(block.GetSize(), 0);
    EXPECT_TRUE(block.AddBytes(nullptr, 5));
    EXPECT_TRUE(block.AddBytes("x", 0));
    EXPECT_TRUE(block.InsertBytes(0, nullptr, 3));
    EXPECT_EQ(block.GetSize(), 0);
    EXPECT_FALSE(block.SetBytes(nullptr, 0, 3));
    EXPECT_EQ(UHandle(-5).GetSize(), 0);
}

TEST_F(MemoryBlocks, ReplaceBytes)
{
    struct Case {
        long pos;
        long oldLength;
        const char* bytes;
        long newLength;
        const char* expected;
    } cases[] = {
        {2, 3, "xy", 2, "abxyfg"},  {5, 10, "Z", 1, "abcdeZ"}, {0, 0, "12", 2, "12abcdefg"},
        {7, 0, "!", 1, "abcdefg!"}, {3, 1, "", 0, "abcefg"},   {1, 1, "1234", 4, "a1234cdefg"},
        {20, 2, "z", 1, "abcdefgz"}, {-3, 1, "z", 1, "zbcdefg"},
    };
    for (const Case& c : cases) {
        UHandle block;
        Fill(block, "abcdefg");
        EXPECT_TRUE(block.ReplaceBytes(c.pos, c.oldLength, c.bytes, c.newLength));
        EXPECT_EQ(Content(block), c.expected) << c.pos << "," << c.oldLength << "," << c.bytes;
    }
}

TEST_F(MemoryBlocks, RemoveBytesClampsToTheEnd)
{
    struct Case {
        long pos;
        long n;
        OSErr result;
        const char* expected;
    } cases[] = {
        {5, 10, noErr, "abcde"}, {7, 1, paramErr, "abcdefg"}, {0, 1, noErr, "bcdefg"},
        {-1, 2, paramErr, "abcdefg"}, {3, 0, paramErr, "abcdefg"},
    };
    for (const Case& c : cases) {
        UHandle block;
        Fill(block, "abcdefg");
        EXPECT_EQ(block.RemoveBytes(c.pos, c.n), c.result) << c.pos << "," << c.n;
        EXPECT_EQ(Content(block), c.expected) << c.pos << "," << c.n;
    }
}

TEST_F(MemoryBlocks, ReadingStaysInsideTheBlock)
{
    UHandle block;
    Fill(block, "abcdefg");
    char dest[16] = {};
    EXPECT_EQ(block.GetBytes(dest, 5, 10), 2);
    EXPECT_EQ(std::string(dest, 2), "fg");
    EXPECT_EQ(block.GetBytes(dest, 7, 1), 0);
    EXPECT_EQ(block.GetBytes(dest, -1, 1), 0);
    EXPECT_EQ(block.GetChar(6), 'g');
    EXPECT_EQ(block.GetChar(7), 0);
    EXPECT_EQ(block.GetChar(-1), 0);
    try {
        block.GetBytes(dest, 0, -1);
        FAIL() << "a negative count is an assertion";
    } catch (const LException& e) {
        EXPECT_EQ(e.GetErrorCode(), err_AssertFailed);
    }
}

TEST_F(MemoryBlocks, SetBytesGrowsTheBlock)
{
    UHandle block;
    Fill(block, "abcdefg");
    EXPECT_TRUE(block.SetBytes("XY", 6, 2));
    EXPECT_EQ(Content(block), "abcdefXY");
    EXPECT_TRUE(block.InsertBytes(1, "--", 2));
    EXPECT_EQ(Content(block), "a--bcdefXY");
}

TEST_F(MemoryBlocks, CryptDataXorsWithTheKeyBigEndian)
{
    UHandle block;
    const UInt8 plain[6] = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60};
    block.AddBytes(plain, 6);
    block.CryptData(0x01020304);
    const UInt8 expected[6] = {0x11, 0x22, 0x33, 0x44, 0x51, 0x62};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(UInt8(block.GetChar(i)), expected[i]) << "byte " << i;
    block.CryptData(0x01020304);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(UInt8(block.GetChar(i)), plain[i]) << "byte " << i;
}

TEST_F(MemoryBlocks, ResizeKeepsContentAndLockState)
{
    UHandle block;
    Fill(block, "abc");
    StLockHandleQOR lock(&block);
    EXPECT_TRUE(block.Resize(4096));
    EXPECT_EQ(block.GetSize(), 4096);
    EXPECT_EQ(std::string(block.GetPtr(), 3), "abc");
    EXPECT_TRUE(HGetState(block.GetHandle()) & kHandleLockedMask);
}

TEST_F(MemoryBlocks, ExhaustedMemoryRaisesTheMemoryCodeAndKeepsTheBlock)
{
    UHandle block;
    Fill(block, "abc");
    SetMaxBlockSizeForTesting(100);
    try {
        block.Resize(200);
        FAIL() << "no exception";
    } catch (const LException& e) {
        EXPECT_EQ(e.GetErrorCode(), memFullErr);
    }
    EXPECT_EQ(Content(block), "abc");
}

TEST_F(MemoryBlocks, BufferGrowsInWholeSteps)
{
    struct Case {
        long step;
        long logical;
        long block;
    } cases[] = {
        {0, 5, 8}, {3, 5, 8}, {4, 4, 4}, {260, 1, 260}, {260, 260, 260}, {260, 261, 520}, {260, 0, 0},
    };
    for (const Case& c : cases) {
        CBufferObject buffer(c.step);
        buffer.Resize(c.logical);
        EXPECT_EQ(buffer.GetSize(), c.logical) << "step " << c.step;
        EXPECT_EQ(GetHandleSize(buffer.GetHandle()), c.block) << "step " << c.step << " size " << c.logical;
    }
}

TEST_F(MemoryBlocks, BufferOperationsWorkOnTheLogicalSize)
{
    CBufferObject buffer(260);
    buffer.AddBytes("abc", 3);
    EXPECT_EQ(buffer.GetSize(), 3);
    EXPECT_EQ(GetHandleSize(buffer.GetHandle()), 260);
    buffer.RemoveBytes(0, 1);
    EXPECT_EQ(Content(buffer), "bc");
    char dest[8];
    EXPECT_EQ(buffer.GetBytes(dest, 0, 8), 2);
    buffer.Resize(600);
    buffer.Resize(10);
    EXPECT_EQ(GetHandleSize(buffer.GetHandle()), 260) << "shrinking shrinks the block too";
}

TEST_F(MemoryBlocks, LockSaverRestoresThePreviousState)
{
    UHandle block(8);
    const Handle h = block.GetHandle();
    {
        StLockHandleQOR lock(h);
        EXPECT_TRUE(HGetState(h) & kHandleLockedMask);
    }
    EXPECT_FALSE(HGetState(h) & kHandleLockedMask);

    HLock(h);
    {
        StLockHandleQOR lock(&block);
    }
    EXPECT_TRUE(HGetState(h) & kHandleLockedMask) << "a block locked before stays locked";

    {
        StUnlockHandleQOR unlock(h);
        EXPECT_FALSE(HGetState(h) & kHandleLockedMask);
    }
    EXPECT_TRUE(HGetState(h) & kHandleLockedMask);
    HUnlock(h);

    try {
        StLockHandleQOR lock(h);
        throw LException(err_AssertFailed);
    } catch (const LException&) {
    }
    EXPECT_FALSE(HGetState(h) & kHandleLockedMask) << "restored as the exception passed";

    StLockHandleQOR halves;
    halves.Save(h);
    EXPECT_TRUE(HGetState(h) & kHandleLockedMask);
    halves.Restore();
    EXPECT_FALSE(HGetState(h) & kHandleLockedMask);
}

TEST_F(MemoryBlocks, FixedBlockTakesTheLargestSizeItCanHave)
{
    SetMaxBlockSizeForTesting(300);
    UPtr buffer;
    EXPECT_EQ(buffer.SetMaxSize(1000), 250);
    EXPECT_EQ(buffer.GetSize(), 250);
    EXPECT_NE(buffer.GetPtr(), nullptr);

    UPtr tooLarge(301);
    EXPECT_EQ(tooLarge.GetSize(), 0);
    EXPECT_EQ(tooLarge.GetPtr(), nullptr);
    EXPECT_FALSE(buffer.Resize(400));
    EXPECT_EQ(buffer.GetSize(), 0);
    EXPECT_TRUE(buffer.Resize(300));
    EXPECT_EQ(buffer.GetSize(), 300);
}

} // namespace
