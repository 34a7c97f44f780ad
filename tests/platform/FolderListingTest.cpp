#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/FolderListing.h"
#include "tests/support/TestSupport.h"

namespace {

class FolderListingTest : public ::testing::Test {
protected:
    std::unique_ptr<FolderListing> Read(int count)
    {
        for (int i = 0; i < count; ++i)
            std::ofstream(mFolder / Name(i));
        std::unique_ptr<FolderListing> listing;
        EXPECT_EQ(FolderListing::Read(mFolder.Path().string(), false, &listing), noErr);
        return listing;
    }

    static std::string Name(int i)
    {
        char name[16];
        std::snprintf(name, sizeof name, "e%04d", i);
        return name;
    }

    static std::vector<std::string> Names(FolderListing& listing)
    {
        std::vector<std::string> names;
        for (std::size_t i = 1; const FolderListing::Entry* entry = listing.At(i); ++i)
            names.push_back(entry->name);
        return names;
    }

    testsupport::TempFolder mFolder;
};

TEST_F(FolderListingTest, ListsInByteOrderOfTheNames)
{
    std::ofstream(mFolder / "b");
    std::ofstream(mFolder / "B");
    std::ofstream(mFolder / "a");
    std::unique_ptr<FolderListing> listing;
    ASSERT_EQ(FolderListing::Read(mFolder.Path().string(), false, &listing), noErr);
    EXPECT_EQ(Names(*listing), (std::vector<std::string>{"B", "a", "b"}));
    EXPECT_EQ(listing->At(4), nullptr);
    EXPECT_EQ(listing->At(0), nullptr);
}

TEST_F(FolderListingTest, ReadingIndexOneWhileRemovingVisitsEveryEntryInOrder)
{
    auto listing = Read(1000);
    for (int i = 0; i < 1000; ++i) {
        const FolderListing::Entry* first = listing->At(1);
        ASSERT_NE(first, nullptr);
        ASSERT_EQ(first->name, Name(i));
        listing->Remove(first->name);
    }
    EXPECT_EQ(listing->At(1), nullptr);
    EXPECT_EQ(listing->Count(), 0u);
}

TEST_F(FolderListingTest, RemovingBehindTheCursorKeepsTheIndexesOfTheRest)
{
    auto listing = Read(400);
    ASSERT_EQ(listing->At(300)->name, Name(299));
    for (int i = 0; i < 250; ++i)
        listing->Remove(Name(i)); // enough to compact
    EXPECT_EQ(listing->At(50)->name, Name(299));
    EXPECT_EQ(listing->At(1)->name, Name(250));
    EXPECT_EQ(listing->Count(), 150u);
}

TEST_F(FolderListingTest, RenamedEntryKeepsItsPlaceAndAddedOneComesLast)
{
    auto listing = Read(3);
    listing->Rename(Name(1), "zzz");
    listing->Add("aaa", 42);
    EXPECT_EQ(Names(*listing), (std::vector<std::string>{Name(0), "zzz", Name(2), "aaa"}));
    listing->Add("zzz", 43); // put in place of the renamed one
    EXPECT_EQ(Names(*listing), (std::vector<std::string>{Name(0), "zzz", Name(2), "aaa"}));
    EXPECT_EQ(listing->Find("zzz")->inode, 43u);
    EXPECT_EQ(listing->Find(Name(1)), nullptr);
}

TEST_F(FolderListingTest, MountPointListsEmpty)
{
    std::ofstream(mFolder / "inside");
    std::unique_ptr<FolderListing> listing;
    ASSERT_EQ(FolderListing::Read(mFolder.Path().string(), true, &listing), noErr);
    EXPECT_EQ(listing->Count(), 0u);
    EXPECT_EQ(FolderListing::Read((mFolder / "missing").string(), false, &listing), fnfErr);
}

} // namespace
