#include <algorithm>
#include <fstream>
#include <set>

#include "tests/platform/FilesTestSupport.h"

using namespace filestest;

namespace {

struct NameCase {
    const char* label;
    std::string onDisk;
    std::optional<std::string> longName; // Mac Roman or Mac Japanese; none when it has none
    bool shortForm;                      // the catalog name is a "#" form
};

const std::string k31(31, 'a');
const std::string k32(32, 'b');
const std::string k255 = std::string(250, 'c') + ".text";

const NameCase kNameCases[] = {
    {"plain", "plain", "plain", false},
    {"31 bytes", k31, k31, false},
    {"32 bytes", k32, k32, true},
    {"255 bytes", k255, k255, true},
    {"colon shown as slash", "a:b", "a/b", false},
    {"composed accent", "caf\xC3\xA9", "caf\x8E", false},
    {"decomposed accent", "cafe\xCC\x81", "caf\x8E", false},
    {"Japanese", "\xE6\x97\xA5\xE6\x9C\xAC", "\x93\xFA\x96\x7B", false},
    {"outside both encodings", "\xF0\x9F\x98\x80smile", std::nullopt, true},
    {"not UTF-8", "bad\xFF", std::nullopt, true},
};

class NamesTest : public VolumeTest, public ::testing::WithParamInterface<NameCase> {
};

TEST_P(NamesTest, EveryFormOfTheNameLeadsBackToTheItem)
{
    const NameCase& c = GetParam();
    std::filesystem::create_directories(*this / "case");
    std::ofstream(*this / "case" / c.onDisk) << "content";
    const SInt32 folder = FolderID(*this / "case");

    CInfoPBRec pb{};
    std::string catalogName;
    ASSERT_EQ(IndexedInfo(mVRefNum, folder, 1, &pb, &catalogName), noErr);
    EXPECT_LE(catalogName.size(), 31u);
    EXPECT_EQ(catalogName.find('#') != std::string::npos, c.shortForm) << catalogName;
    if (!c.shortForm) {
        EXPECT_EQ(catalogName, c.longName.value());
    }

    std::vector<std::string> macNames = {catalogName};
    if (c.longName)
        macNames.push_back(*c.longName);
    for (const std::string& macName : macNames) {
        FSSpec spec{};
        ASSERT_EQ(FSMakeFSSpec(mVRefNum, folder, PString(macName), &spec), noErr) << macName;
        EXPECT_EQ(Text(spec.name), catalogName);
        FSRef ref{};
        ASSERT_EQ(FSpMakeFSRef(&spec, &ref), noErr);
        EXPECT_EQ(std::string(ref.name, ref.nameLength), c.onDisk);
    }

    // The Unicode name leads back to the same bytes.
    FSRef ref = RefOf(*this / "case" / c.onDisk);
    HFSUniStr255 unicode{};
    FSRef parent{};
    ASSERT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, &unicode, nullptr, &parent), noErr);
    FSRef again{};
    ASSERT_EQ(FSMakeFSRefUnicode(&parent, unicode.length, unicode.unicode, kTextEncodingUnknown, &again), noErr);
    EXPECT_EQ(std::string(again.name, again.nameLength), c.onDisk);

    // A copy made under the Unicode name has the same bytes on disk.
    FSRef copy{};
    std::filesystem::create_directories(*this / "copy");
    FSRef copyFolder = RefOf(*this / "copy");
    ASSERT_EQ(FSCreateFileUnicode(&copyFolder, unicode.length, unicode.unicode, 0, nullptr, &copy, nullptr), noErr);
    EXPECT_TRUE(std::filesystem::exists(*this / "copy" / c.onDisk));
}

INSTANTIATE_TEST_SUITE_P(Names, NamesTest, ::testing::ValuesIn(kNameCases),
                         [](const ::testing::TestParamInfo<NameCase>& info) {
                             std::string name = info.param.label;
                             std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(UInt8(c)); }, '_');
                             return name;
                         });

class NameResolutionTest : public VolumeTest {
protected:
    // The contents of the items that entries 1..count of `folder` lead to by their catalog names.
    std::set<std::string> ReachedContents(const std::filesystem::path& path, SInt16 count)
    {
        const SInt32 folder = FolderID(path);
        std::set<std::string> reached;
        for (SInt16 index = 1; index <= count; ++index) {
            CInfoPBRec pb{};
            std::string catalogName;
            EXPECT_EQ(IndexedInfo(mVRefNum, folder, index, &pb, &catalogName), noErr);
            FSSpec spec{};
            FSRef ref{};
            EXPECT_EQ(FSMakeFSSpec(mVRefNum, folder, PString(catalogName), &spec), noErr) << catalogName;
            EXPECT_EQ(FSpMakeFSRef(&spec, &ref), noErr) << catalogName;
            reached.insert(testsupport::ReadFile(path / std::string(ref.name, ref.nameLength)));
        }
        return reached;
    }
};

TEST_F(NameResolutionTest, ComposedAndDecomposedTwinsEachKeepTheirOwnItem)
{
    std::filesystem::create_directories(*this / "twins");
    std::ofstream(*this / "twins" / "caf\xC3\xA9") << "composed";
    std::ofstream(*this / "twins" / "cafe\xCC\x81") << "decomposed";
    EXPECT_EQ(ReachedContents(*this / "twins", 2), (std::set<std::string>{"composed", "decomposed"}));
}

TEST_F(NameResolutionTest, RealNameThatLooksLikeAnotherItemsShortFormKeepsEachItemApart)
{
    std::filesystem::create_directories(*this / "look");
    std::ofstream(*this / "look" / std::string(40, 'x')) << "long";
    CInfoPBRec pb{};
    std::string shortForm;
    ASSERT_EQ(IndexedInfo(mVRefNum, FolderID(*this / "look"), 1, &pb, &shortForm), noErr);
    ASSERT_NE(shortForm.find('#'), std::string::npos);
    std::ofstream(*this / "look" / shortForm) << "impostor";
    EXPECT_EQ(ReachedContents(*this / "look", 2), (std::set<std::string>{"long", "impostor"}));
}

TEST_F(NameResolutionTest, CopyGivenItsSourcesCatalogNameGetsTheSourcesOwnName)
{
    // The copy engine reads a source's catalog name and gives it to the copy in another folder.
    for (const std::string& name : {std::string("\xE6\x97\xA5\xE6\x9C\xAC"), std::string("\xF0\x9F\x98\x80smile"),
                                    std::string("bad\xFF"), std::string(40, 'n')}) {
        std::filesystem::remove_all(*this / "source");
        std::filesystem::remove_all(*this / "copy");
        std::filesystem::create_directories(*this / "source");
        std::filesystem::create_directories(*this / "copy");
        std::ofstream(*this / "source" / name) << "x";
        CInfoPBRec pb{};
        std::string catalogName;
        ASSERT_EQ(IndexedInfo(mVRefNum, FolderID(*this / "source"), 1, &pb, &catalogName), noErr);
        std::ofstream(*this / "copy/temporary");
        FSSpec spec{};
        const SInt32 copy = FolderID(*this / "copy");
        ASSERT_EQ(FSMakeFSSpec(mVRefNum, copy, PString("temporary"), &spec), noErr);
        ASSERT_EQ(FSpRename(&spec, PString(catalogName)), noErr) << catalogName;
        EXPECT_TRUE(std::filesystem::exists(*this / "copy" / name)) << catalogName;
        // Found again by that name, to be replaced by the next copy.
        FSSpec again{};
        EXPECT_EQ(FSMakeFSSpec(mVRefNum, copy, PString(catalogName), &again), noErr) << catalogName;
    }
}

TEST_F(NameResolutionTest, NamesThatCannotBeRepresentedAreRefused)
{
    FSRef root = RefOf(Volume().MountPoint());
    const std::u16string colon = u"a:b";
    FSRef created{};
    EXPECT_EQ(FSCreateFileUnicode(&root, colon.size(), reinterpret_cast<const UniChar*>(colon.data()), 0, nullptr,
                                  &created, nullptr),
              bdNamErr);
    const std::u16string tooLong(200, u'\u65E5'); // 600 bytes in UTF-8
    EXPECT_EQ(FSCreateFileUnicode(&root, tooLong.size(), reinterpret_cast<const UniChar*>(tooLong.data()), 0, nullptr,
                                  &created, nullptr),
              bdNamErr);
    FSSpec spec{};
    EXPECT_EQ(FSMakeFSSpec(mVRefNum, fsRtDirID, PString("a:b"), &spec), bdNamErr);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Volume().MountPoint()), {}), 1); // lost+found
}

} // namespace
