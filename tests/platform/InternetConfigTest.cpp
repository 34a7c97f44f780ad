#include <gtest/gtest.h>

#include <string>

#include "platform/InternetConfig.h"
#include "tests/support/TestSupport.h"

namespace {

class OpeningURLs : public testing::Test {
protected:
    void SetUp() override
    {
        mRecord = mFolder / "opened";
        mOpener = mFolder.WriteFile("opener", "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '" + mRecord.string() + "'\n", 0755);
        ICSetURLOpenerForTesting(mOpener.c_str());
    }
    void TearDown() override { ICSetURLOpenerForTesting("xdg-open"); }

    std::string Opened()
    {
        testsupport::WaitUntil([&] { return std::filesystem::exists(mRecord); });
        testsupport::WaitUntil([&] { return !testsupport::ReadFile(mRecord).empty(); });
        return testsupport::ReadFile(mRecord);
    }

    testsupport::TempFolder mFolder;
    std::filesystem::path mRecord;
    std::filesystem::path mOpener;
};

TEST_F(OpeningURLs, AddressGoesAsOneArgumentInUTF8)
{
    // Quotes, spaces and shell syntax stay text; Mac Roman 0x8E is "é".
    const std::string url = "http://example.org/a b?q='x'&r=$(id)\x8E";
    Str255 s;
    s[0] = UInt8(url.size());
    url.copy(reinterpret_cast<char*>(s + 1), url.size());
    EXPECT_EQ(ICLaunchURL(MakeOSType("Vrno"), s), noErr);
    EXPECT_EQ(Opened(), "1|http://example.org/a b?q='x'&r=$(id)\xC3\xA9");
}

TEST_F(OpeningURLs, EmptyAddressOrMissingOpenerFails)
{
    const unsigned char empty[1] = {0};
    EXPECT_EQ(ICLaunchURL(0, empty), paramErr);
    ICSetURLOpenerForTesting((mFolder / "missing").c_str());
    const unsigned char url[] = {3, 'a', ':', 'b'};
    EXPECT_EQ(ICLaunchURL(0, url), fnfErr);
}

} // namespace
