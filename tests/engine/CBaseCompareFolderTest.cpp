#include <sys/time.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "engine/CBaseCompareFolder.h"
#include "filesystem/UFile.h"
#include "tests/engine/TwoFoldersTest.h"
#include "tests/filesystem/FileObjectTestSupport.h"
#include "toolkit/CListStructs.h"

using namespace filestest;
using namespace fileobjecttest;

namespace {

struct Listed {
    std::string name;
    int side;
    UInt16 flags;
};

std::vector<CompFolderStruct> Records(CListStructs& list)
{
    std::vector<CompFolderStruct> records;
    for (long i = 1; i <= list.GetCount(); ++i) {
        CompFolderStruct record{};
        list.GetNthStruct(i, &record, sizeof record);
        records.push_back(record);
    }
    return records;
}

std::string LongName(const CompFolderStruct& record)
{
    return Text(CBaseCompareFolder::GetLongName(&record));
}

// Names and sides in list order.
std::vector<std::pair<std::string, int>> Order(CListStructs& list)
{
    std::vector<std::pair<std::string, int>> order;
    for (const CompFolderStruct& record : Records(list))
        order.emplace_back(LongName(record), record.side);
    return order;
}

using List = std::unique_ptr<CListStructs>;

class CBaseCompareFolderTest : public TwoFoldersTest {
protected:
    List Listing(SInt16 excludeMask = 0)
    {
        return List(CBaseCompareFolder::GetOneLevelList(nullptr, mVRefNum, mSourceID, mVRefNum, mDestID, excludeMask));
    }
};

TEST_F(CBaseCompareFolderTest, NamesakesLieTogetherAndPairAcrossCase)
{
    for (const char* name : {"x", "y"})
        WriteText(*this / "source" / name, "s");
    for (const char* name : {"Y", "z"})
        WriteText(*this / "dest" / name, "d");
    const List list = Listing();
    const std::vector<std::pair<std::string, int>> expected = {{"x", 0}, {"y", 0}, {"Y", 1}, {"z", 1}};
    EXPECT_EQ(Order(*list), expected);

    // The pairing every consumer does: first against next.
    std::vector<std::string> pairs;
    std::vector<std::string> alone;
    while (list->GetCount() > 0) {
        CompFolderStruct first{};
        CompFolderStruct next{};
        list->GetNthStruct(1, &first, sizeof first);
        list->RemoveNthStruct(1);
        if (list->GetCount() > 0)
            list->GetNthStruct(1, &next, sizeof next);
        if (CBaseCompareFolder::NotEqualItems(&first, &next)) {
            alone.push_back(LongName(first));
        } else {
            pairs.push_back(LongName(first) + "/" + LongName(next));
            list->RemoveNthStruct(1);
        }
    }
    EXPECT_EQ(pairs, std::vector<std::string>{"y/Y"});
    EXPECT_EQ(alone, (std::vector<std::string>{"x", "z"}));
}

TEST_F(CBaseCompareFolderTest, SourceRecordComesFirstWhateverTheDates)
{
    WriteText(*this / "source/same", "old");
    WriteText(*this / "dest/same", "new");
    const timeval old[2] = {{1000000000, 0}, {1000000000, 0}};
    utimes((*this / "source/same").c_str(), old);
    const List list = Listing();
    const std::vector<std::pair<std::string, int>> expected = {{"same", 0}, {"same", 1}};
    EXPECT_EQ(Order(*list), expected);
    const auto records = Records(*list);
    const UInt32 sourceDate = records[0].dirIDOrModDate;
    const UInt32 destDate = records[1].dirIDOrModDate;
    EXPECT_LT(sourceDate, destDate);
    EXPECT_FALSE(CBaseCompareFolder::NotEqualItems(&records[0], &records[1]));
}

TEST(CBaseCompareFolderDates, HoursAndASecondCountAsEqual)
{
    const struct {
        UInt32 a, b;
        bool differ;
    } cases[] = {
        {1000, 1001, false}, {1000, 1002, true}, {0, 3600, false},  {0, 3601, false},
        {0, 3602, true},     {0, 86400, true},   {0, 82800, false}, {82800, 0, false},
        {0, 82801, false},   {0, 86401, true},   {5, 5, false},     {0xFFFFFFFF, 0, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CBaseCompareFolder::NotEqualDates(c.a, c.b), c.differ) << c.a << " against " << c.b;
}

TEST_F(CBaseCompareFolderTest, ListsNothingForItselfAndOneSideAlone)
{
    WriteText(*this / "source/a", "s");
    WriteText(*this / "dest/b", "d");
    EXPECT_EQ(List(CBaseCompareFolder::GetOneLevelList(nullptr, mVRefNum, mSourceID, mVRefNum, mSourceID, 0))->GetCount(), 0);
    const List destOnly(CBaseCompareFolder::GetOneLevelList(nullptr, 0, mSourceID, mVRefNum, mDestID, 0));
    EXPECT_EQ(Order(*destOnly), (std::vector<std::pair<std::string, int>>{{"b", 1}}));
    const List sourceOnly(CBaseCompareFolder::GetOneLevelList(nullptr, mVRefNum, mSourceID, 0, mDestID, 0));
    EXPECT_EQ(Order(*sourceOnly), (std::vector<std::pair<std::string, int>>{{"a", 0}}));
    // A folder that is gone lists nothing on either side.
    std::filesystem::remove_all(*this / "dest");
    EXPECT_EQ(Listing()->GetCount(), 0);
}

TEST_F(CBaseCompareFolderTest, MasksDropWhatTheyName)
{
    WriteText(*this / "source/.DS_Store", "");
    WriteText(*this / "source/Icon\r", "");
    std::filesystem::create_directories(*this / "source/Tool.app");
    std::filesystem::create_directories(*this / "Volumes");
    std::filesystem::create_directories(*this / "source/Volumes");
    for (const SInt32 folder : {SInt32(fsRtDirID), mSourceID})
        ASSERT_EQ(UFile::SetInvisible(mVRefNum, folder, PString("Volumes"), true), noErr) << folder;
    struct Case {
        SInt16 mask;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {0, {".DS_Store", "Icon\r", "Tool.app", "Volumes"}},
        {kCompInvisible, {".DS_Store", "Icon\r", "Tool.app"}},
        {kCompDSStore, {"Icon\r", "Tool.app", "Volumes"}},
        {kCompSystem, {".DS_Store", "Icon\r", "Tool.app", "Volumes"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> listed;
        for (const CompFolderStruct& record : Records(*Listing(c.mask)))
            listed.push_back(LongName(record));
        EXPECT_EQ(listed, c.listed) << "mask " << c.mask;
    }
    for (const CompFolderStruct& record : Records(*Listing())) {
        const std::string name = LongName(record);
        EXPECT_EQ(bool(record.flags & kCompApplication), name == "Tool.app") << name;
        EXPECT_FALSE(record.flags & kCompFolderIcon) << name << ": visible";
        EXPECT_FALSE(record.flags & kCompSystem) << name << ": not at the root";
    }
    // The same invisible companion folder at the root is a system item.
    const auto rootNames = [&](SInt16 mask) {
        std::vector<std::string> names;
        const List root(CBaseCompareFolder::GetOneLevelList(nullptr, mVRefNum, fsRtDirID, 0, 0, mask));
        for (const CompFolderStruct& record : Records(*root))
            names.push_back(LongName(record));
        return names;
    };
    EXPECT_EQ(std::ranges::count(rootNames(0), "Volumes"), 1);
    EXPECT_EQ(std::ranges::count(rootNames(kCompSystem), "Volumes"), 0);
}

TEST_F(CBaseCompareFolderTest, NameOverTheRecordLimitReachesItsItemWhole)
{
    const std::string longest(240, 'l');
    WriteText(*this / "source" / longest, "long");
    WriteText(*this / "source" / std::string(40, 'm'), "forty");
    const auto records = Records(*Listing());
    ASSERT_EQ(records.size(), 2u);
    for (const CompFolderStruct& record : records) {
        EXPECT_LE(record.recordLength, 255);
        FSSpec spec{};
        EXPECT_EQ(UFile::MakeFileSpec(mVRefNum, mSourceID, record.name, &spec), noErr) << Text(record.name);
        HFSUniStr255 unicode{};
        EXPECT_EQ(UFile::GetMacOSXInfos(&spec, nullptr, &unicode, kFSCatInfoNone), noErr);
        EXPECT_TRUE(unicode.length == 240 || unicode.length == 40) << Text(record.name);
    }
    EXPECT_EQ(LongName(records[1]), std::string(40, 'm'));
}

} // namespace
