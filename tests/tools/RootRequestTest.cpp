#include <gtest/gtest.h>

#include <cstring>

#include "tests/tools/RootRequestHelpers.h"

namespace {

template <typename Value>
Value At(const RootRequestBytes& bytes, std::size_t offset)
{
    Value value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

TEST(RootRequest, FieldsLieAtTheirOffsetsInHostOrder)
{
    const RootRequest request =
        MakeRequest(kRootSelectorCopyPermissions, "/first", {501, 20, 0x20307, 7}, "/second");
    const RootRequestBytes bytes = EncodeRootRequest(request);
    EXPECT_EQ(At<UInt32>(bytes, 0), 0x726F6F74u);
    EXPECT_EQ(At<UInt32>(bytes, 4), 1u);
    EXPECT_EQ(At<UInt32>(bytes, 8), 0x636F7079u);
    EXPECT_EQ(At<UInt32>(bytes, 12), 501u);
    EXPECT_EQ(At<UInt32>(bytes, 16), 20u);
    EXPECT_EQ(At<SInt32>(bytes, 20), 0x20307);
    EXPECT_EQ(At<SInt32>(bytes, 24), 7);
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 28), "/first");
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 1052), "/second");
    EXPECT_EQ(bytes[28 + 1023], 0);
    EXPECT_EQ(bytes[1052 + 1023], 0);

    const RootRequest decoded = DecodeRootRequest(bytes);
    EXPECT_EQ(std::memcmp(&decoded, &request, sizeof request), 0);
}

} // namespace
