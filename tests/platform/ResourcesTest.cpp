// The resource substitute: string lists and version records as files.

#include "platform/Resources.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/MacMemory.h"
#include "tests/support/TestSupport.h"

namespace {

std::string Text(ConstStr255Param s)
{
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

class ResourcesTest : public ::testing::Test {
protected:
    void SetUp() override { SetResourceFolderForTesting(mFolder.Path().string()); }
    void TearDown() override { SetResourceFolderForTesting(""); }
    testsupport::TempFolder mFolder;
};

TEST_F(ResourcesTest, StringsAreLinesInMacRoman)
{
    mFolder.WriteFile("200.strings", "First\nCaf\xC3\xA9 \xE2\x80\x9C^0\xE2\x80\x9D\r\n\nLast");
    struct Case {
        SInt16 index;
        std::string text;
    };
    for (const Case& c : {Case{1, "First"}, Case{2, "Caf\x8E \xD2^0\xD3"}, Case{3, ""}, Case{4, "Last"}, Case{5, ""},
                          Case{0, ""}, Case{-1, ""}}) {
        Str255 out;
        std::memset(out, 0xAA, sizeof out);
        GetIndString(out, 200, c.index);
        EXPECT_EQ(Text(out), c.text) << c.index;
    }
}

TEST_F(ResourcesTest, MissingListGivesEmptyStringsAndResNotFound)
{
    Str255 out{};
    out[0] = 3;
    GetIndString(out, 201, 1);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(GetResource(kStringListResourceType, 201), nullptr);
    EXPECT_EQ(ResError(), resNotFound);
    EXPECT_EQ(GetResource(MakeOSType("ICN#"), 128), nullptr);
}

TEST_F(ResourcesTest, LongStringIsCutAt255Bytes)
{
    mFolder.WriteFile("202.strings", std::string(300, 'z') + "\n");
    Str255 out{};
    GetIndString(out, 202, 1);
    EXPECT_EQ(out[0], 255);
}

TEST_F(ResourcesTest, VersionRecordInTheOriginalLayout)
{
    struct Case {
        const char* shortVersion;
        NumVersion numeric;
    };
    for (const Case& c : {Case{"1.2.3", {1, 0x23, 0x80, 0}}, Case{"0.1", {0, 0x10, 0x80, 0}},
                          Case{"2.5b4", {2, 0x50, 0x60, 4}}, Case{"3d7", {3, 0x00, 0x20, 7}}}) {
        mFolder.WriteFile("1.vers", std::string(c.shortVersion) + "\nLong \xC3\xA9\n");
        Handle resource = GetResource(kVersionResourceType, 1);
        ASSERT_NE(resource, nullptr) << c.shortVersion;
        VersRec version{};
        ASSERT_TRUE(DecodeVersRec(reinterpret_cast<const UInt8*>(*resource), GetHandleSize(resource), &version));
        ReleaseResource(resource);
        EXPECT_EQ(std::memcmp(&version.numericVersion, &c.numeric, sizeof c.numeric), 0) << c.shortVersion;
        EXPECT_EQ(Text(version.shortVersion), c.shortVersion);
        EXPECT_EQ(Text(version.reallyLongVersion), "Long \x8E");
    }
}

TEST_F(ResourcesTest, TruncatedVersionRecordIsRefused)
{
    const UInt8 bytes[] = {1, 0, 0x80, 0, 0, 0, 5, 'a', 'b'};
    VersRec version{};
    for (Size size : {Size(0), Size(7), Size(sizeof bytes)})
        EXPECT_FALSE(DecodeVersRec(bytes, size, &version)) << size;
}

TEST(PackageResourcesTest, PackageCarriesTheStringListsAndVersion)
{
    SetResourceFolderForTesting((testsupport::PackagePath() / "Contents/Resources").string());
    Str255 out{};
    GetIndString(out, 128, 11);
    EXPECT_GT(out[0], 0) << "the report file's name";
    GetIndString(out, 140, 1);
    EXPECT_GT(out[0], 0) << "a language folder";
    Handle version = GetResource(kVersionResourceType, 1);
    EXPECT_NE(version, nullptr);
    ReleaseResource(version);
    SetResourceFolderForTesting("");
}

} // namespace
