// CCompareList: the flat list of a comparison, pruned as the walk goes on.

#include "engine/CCompareList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/MacRoman.h"

namespace {

struct Item {
    const char* name;
    UInt8 level;
    bool isFolder;
    UInt8 differences;
};

CompareStruct Record(const Item& item)
{
    CompareStruct record{};
    record.level = item.level;
    record.isFolder = item.isFolder;
    record.differences = item.differences;
    TextToStr255(item.name, record.name);
    return record;
}

std::vector<std::string> Names(const CCompareList& list)
{
    std::vector<std::string> names;
    for (long index = 1; index <= list.GetCount(); ++index)
        names.emplace_back(Str255View(list.GetItem(index).name));
    return names;
}

TEST(CCompareListTest, FoldersWithIdenticalContentAreDroppedAsTheWalkMovesOn)
{
    CCompareList list;
    for (const Item& item : {Item{"same", 0, true, 0}, Item{"deeper", 1, true, 0}, Item{"size", 0, false, kSizeDiffers},
                             Item{"kept", 0, true, 0}, Item{"inside", 1, true, 0}, Item{"new", 2, false, kOnlyOnFirst},
                             Item{"sibling", 1, true, 0}})
        list.AddItem(Record(item));
    // "same" and "deeper" went when "size" came at their level; "sibling" waits for what follows.
    EXPECT_EQ(Names(list), (std::vector<std::string>{"size", "kept", "inside", "new", "sibling"}));
    EXPECT_EQ(list.GetItem(4).length, 3 + 5);
    EXPECT_EQ(list.GetItem(4).level, 2);

    list.AddItem(Record({"last", 0, false, kDateDiffers}));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"size", "kept", "inside", "new", "last"}));
}

TEST(CCompareListTest, AFolderIsShownForTheFirstDescendantThatMeetsTheMask)
{
    CCompareList list;
    for (const Item& item : {Item{"folder", 0, true, 0}, Item{"owner", 1, false, kFileOwnerDiffers},
                             Item{"date", 1, false, kDateDiffers}, Item{"after", 0, false, kSizeDiffers}})
        list.AddItem(Record(item));
    struct Case {
        UInt8 mask;
        UInt8 shown;
    };
    for (const Case& c : {Case{kFileAndFolder, 0}, Case{kDateDiffers, kDateDiffers},
                          Case{kFileOwnerDiffers | kDateDiffers, kFileOwnerDiffers},
                          Case{kSizeDiffers, 0}}) {
        EXPECT_EQ(list.GetShownBits(1, c.mask), c.shown) << int(c.mask);
    }
    EXPECT_EQ(list.GetShownBits(2, kDateDiffers), kFileOwnerDiffers);
}

} // namespace
