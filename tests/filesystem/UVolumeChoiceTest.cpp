// UVolumeChoice: the volumes offered and their size texts.

#include "filesystem/UVolumeChoice.h"

#include <gtest/gtest.h>

#include "platform/MacRoman.h"
#include "platform/Resources.h"
#include "tests/support/TestSupport.h"
#include "toolkit/CStr255.h"

namespace {

class UVolumeChoiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mResources.WriteFile("130.strings", "\n^0 KB\n^0 MB\n^0 GB\n\n\n^1 files, ^0\n");
        SetResourceFolderForTesting(mResources.Path().string());
        mSavedFormat = CStr255::sNumberFormat;
        CStr255::sNumberFormat = true;
    }
    void TearDown() override
    {
        SetResourceFolderForTesting("");
        CStr255::sNumberFormat = mSavedFormat;
    }

    testsupport::TempFolder mResources;
    Boolean mSavedFormat = false;
};

std::string Text(ConstStr255Param s)
{
    return std::string(Str255View(s));
}

TEST_F(UVolumeChoiceTest, SizesChangeUnitAtEachBinaryThousand)
{
    struct Case {
        unsigned long kilobytes;
        const char* text;
    };
    for (const Case& c : {Case{0, "0 KB"}, Case{1023, "1,023 KB"}, Case{1024, "1.00 MB"}, Case{1535, "1.49 MB"},
                          Case{1048575, "1,023.99 MB"}, Case{1048576, "1.00 GB"},
                          Case{5ul * 1048576 + 1048575, "5.99 GB"}, Case{4294967295ul, "4,095.99 GB"}}) {
        Str255 text;
        UVolumeChoice::GetSize(c.kilobytes, text);
        EXPECT_EQ(Text(text), c.text) << c.kilobytes;
    }
}

TEST_F(UVolumeChoiceTest, CountAndSizeTogether)
{
    Str255 text;
    UVolumeChoice::GetNumAndSize(12345, 2048, text);
    EXPECT_EQ(Text(text), "12,345 files, 2.00 MB");
}

TEST_F(UVolumeChoiceTest, NetworkIsNeverOfferedVolumesAndDevOnlyFromADisc)
{
    struct Case {
        const char* name;
        bool accepted;
        bool acceptedFromDisc;
    };
    for (const Case& c : {Case{"Network", false, false}, Case{"network", true, true}, Case{"Volumes", true, false},
                          Case{"dev", true, false}, Case{"Backup", true, true}, Case{"", true, true}}) {
        Str255 name;
        TextToStr255(c.name, name);
        EXPECT_EQ(UVolumeChoice::IsVolumeAccepted(name, false), c.accepted) << c.name;
        EXPECT_EQ(UVolumeChoice::IsVolumeAccepted(name, true), c.acceptedFromDisc) << c.name;
    }
}

} // namespace
