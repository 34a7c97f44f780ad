// UFile: names, FSSpecs and catalog information on a real volume.

#include "filesystem/UFile.h"

#include <sys/stat.h>

#include <fstream>

#include "tests/platform/FilesTestSupport.h"

using filestest::PString;
using filestest::Text;

namespace {

class UFileTest : public filestest::VolumeTest {
protected:
    void MakeFile(const std::string& relative, const std::string& content = "x", mode_t mode = 0644)
    {
        std::ofstream(*this / relative) << content;
        chmod((*this / relative).c_str(), mode);
    }
};

TEST_F(UFileTest, LongNameResolvesThroughItsUnicodeNameToTheShortForm)
{
    const std::string longName(40, 'L');
    const std::string fitting(31, 'S');
    MakeFile(longName);
    MakeFile(fitting);

    FSSpec spec{};
    ASSERT_EQ(UFile::MakeFileSpec(mVRefNum, fsRtDirID, PString(longName), &spec), noErr);
    EXPECT_NE(Text(spec.name).find('#'), std::string::npos) << Text(spec.name);
    Str255 back{};
    ASSERT_EQ(UFile::GetFileLongName(mVRefNum, fsRtDirID, spec.name, back), noErr);
    EXPECT_EQ(Text(back), longName);

    ASSERT_EQ(UFile::MakeFileSpec(mVRefNum, fsRtDirID, PString(fitting), &spec), noErr);
    EXPECT_EQ(Text(spec.name), fitting);
}

TEST_F(UFileTest, NameWithoutHashIsItsOwnLongName)
{
    MakeFile("Caf\xC3\xA9");
    Str255 longName{};
    EXPECT_EQ(UFile::GetFileLongName(mVRefNum, fsRtDirID, PString("Caf\x8E"), longName), noErr);
    EXPECT_EQ(Text(longName), "Caf\x8E");
    // Without a folder there is nothing to read: the name stands.
    EXPECT_EQ(UFile::GetFileLongName(0, 0, PString("a#1"), longName), noErr);
    EXPECT_EQ(Text(longName), "a#1");
}

TEST(UFileNamesTest, UnicodeFallsBackToMacJapaneseAndAcceptsItsFallbacks)
{
    struct Case {
        std::u16string unicode;
        std::string pascal;
    };
    const Case cases[] = {
        {u"Caf\u00E9", "Caf\x8E"},            // Mac Roman
        {u"\u65E5\u672C", "\x93\xFA\x96\x7B"}, // Mac Japanese
        {u"\u65E5\U0001F600", "\x93\xFA?"},  // in neither: Mac Japanese with a fallback
    };
    for (const Case& c : cases) {
        HFSUniStr255 unicode{};
        unicode.length = UInt16(c.unicode.size());
        std::copy(c.unicode.begin(), c.unicode.end(), unicode.unicode);
        Str255 out{};
        EXPECT_EQ(UFile::ConvertUnicodeToStr255(&unicode, out), noErr) << c.pascal;
        EXPECT_EQ(Text(out), c.pascal);
    }
}

TEST_F(UFileTest, MissingItemsAndEmptyNamesDoNotExist)
{
    MakeFile("present");
    EXPECT_TRUE(UFile::ExistsOnDisk(mVRefNum, fsRtDirID, PString("present")));
    EXPECT_FALSE(UFile::ExistsOnDisk(mVRefNum, fsRtDirID, PString("absent")));
    EXPECT_FALSE(UFile::ExistsOnDisk(mVRefNum, fsRtDirID, PString("")));
    EXPECT_FALSE(UFile::ExistsOnDisk(mVRefNum, fsRtDirID, nullptr));
}

TEST_F(UFileTest, FolderContentIDOfFolderFileAndVolume)
{
    std::filesystem::create_directory(*this / "folder");
    MakeFile("file");
    long id = -1;
    Str255 name{};
    std::memcpy(name, PString("folder").bytes, 7);
    EXPECT_TRUE(UFile::GetFolderContentID(mVRefNum, fsRtDirID, name, &id));
    EXPECT_EQ(id, filestest::FolderID(*this / "folder"));

    std::memcpy(name, PString("file").bytes, 5);
    EXPECT_FALSE(UFile::GetFolderContentID(mVRefNum, fsRtDirID, name, &id));
    EXPECT_EQ(id, 0);

    FSSpec volume{};
    ASSERT_EQ(UFile::GetVolumeSpec(mVRefNum, &volume), noErr);
    EXPECT_EQ(volume.parID, fsRtParID);
    EXPECT_TRUE(UFile::GetFolderContentID(&volume, &id));
    EXPECT_EQ(id, fsRtDirID);
}

TEST_F(UFileTest, SizesCountBothForksAndRoundKilobytesUp)
{
    MakeFile("small", std::string(1025, 'a'));
    EXPECT_EQ(UFile::GetFileSize(mVRefNum, fsRtDirID, PString("small")), 1025u);
    EXPECT_EQ(UFile::GetFileSizeKB(mVRefNum, fsRtDirID, PString("small")), 2u);
    EXPECT_EQ(UFile::GetFileSize(mVRefNum, fsRtDirID, PString("missing")), 0u);

    std::filesystem::create_directories(*this / "tree/inner");
    MakeFile("tree/one", std::string(1024, 'b'));
    MakeFile("tree/inner/two", std::string(1, 'c'));
    const long tree = filestest::FolderID(*this / "tree");
    EXPECT_EQ(UFile::GetFolderSizeKB(mVRefNum, tree, false), 2u);
    EXPECT_EQ(UFile::GetFolderSizeKB(mVRefNum, tree, true), 1u);
    EXPECT_EQ(UFile::GetFileSizeKB(mVRefNum, fsRtDirID, PString("tree")), 2u);
}

TEST_F(UFileTest, MakeFileExecutableAddsOnlyMissingBits)
{
    struct Case {
        mode_t before;
        mode_t after;
    };
    for (const Case& c : {Case{0600, 0755}, Case{0755, 0755}, Case{0777, 0777}, Case{04711, 04755}}) {
        MakeFile("tool", "x", c.before);
        chmod((*this / "tool").c_str(), c.before);
        struct stat before;
        stat((*this / "tool").c_str(), &before);
        EXPECT_EQ(UFile::MakeFileExecutable(mVRefNum, fsRtDirID, PString("tool")), noErr);
        struct stat after;
        stat((*this / "tool").c_str(), &after);
        EXPECT_EQ(after.st_mode & 07777, c.after) << std::oct << c.before;
        if (c.before == c.after) { // nothing written: the change time stays
            EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec) << std::oct << c.before;
        }
    }
}

TEST_F(UFileTest, RenameOntoAnotherItemsNameDeletesThatItem)
{
    MakeFile("old", "source");
    MakeFile("new", "victim");
    HFSUniStr255 newName{};
    ASSERT_EQ(UFile::ConvertStr255ToUnicode(PString("new"), &newName), noErr);
    EXPECT_EQ(UFile::SetMacOSXInfos(mVRefNum, fsRtDirID, PString("old"), nullptr, &newName, kFSCatInfoNone), noErr);
    EXPECT_FALSE(std::filesystem::exists(*this / "old"));
    EXPECT_EQ(testsupport::ReadFile(*this / "new"), "source");
}

TEST_F(UFileTest, RenameOntoItsOwnNameDeletesNothing)
{
    MakeFile("same", "kept");
    HFSUniStr255 sameName{};
    ASSERT_EQ(UFile::ConvertStr255ToUnicode(PString("same"), &sameName), noErr);
    EXPECT_EQ(UFile::SetMacOSXInfos(mVRefNum, fsRtDirID, PString("same"), nullptr, &sameName, kFSCatInfoNone), noErr);
    EXPECT_EQ(testsupport::ReadFile(*this / "same"), "kept");
}

TEST_F(UFileTest, RenameGivesTheRenamedItemsFSSpec)
{
    const std::string names[] = {"plain", std::string(40, 'L'), "taken"};
    MakeFile("taken", "victim");
    for (const std::string& name : names) {
        MakeFile("temporary", name);
        HFSUniStr255 newName{};
        ASSERT_EQ(UFile::ConvertStr255ToUnicode(PString(name), &newName), noErr);
        FSSpec spec{mVRefNum, fsRtDirID, {}};
        std::memcpy(spec.name, PString("temporary").bytes, 10);
        const FSSpec before = spec;
        EXPECT_EQ(UFile::SetMacOSXInfos(&before, nullptr, &newName, kFSCatInfoNone, &spec), noErr) << name;
        FSSpec expected{};
        ASSERT_EQ(UFile::MakeFileSpecFromUnicode(mVRefNum, fsRtDirID, &newName, &expected), noErr) << name;
        EXPECT_EQ(spec.parID, expected.parID) << name;
        EXPECT_EQ(Text(spec.name), Text(expected.name)) << name;
        CInfoPBRec pb;
        ASSERT_EQ(UFile::GetFileInfos(spec.vRefNum, spec.parID, spec.name, &pb), noErr) << name;
        EXPECT_EQ(pb.hFileInfo.ioFlLgLen, SInt32(name.size())) << name;
        EXPECT_EQ(testsupport::ReadFile(*this / name), name);
    }
    // Nothing renamed: the FSSpec stays.
    FSSpec missing{mVRefNum, fsRtDirID, {}};
    std::memcpy(missing.name, PString("missing").bytes, 8);
    FSSpec spec = missing;
    HFSUniStr255 newName{};
    ASSERT_EQ(UFile::ConvertStr255ToUnicode(PString("other"), &newName), noErr);
    EXPECT_NE(UFile::SetMacOSXInfos(&missing, nullptr, &newName, kFSCatInfoNone, &spec), noErr);
    EXPECT_EQ(Text(spec.name), "missing");
}

TEST_F(UFileTest, InvisibleAndLockedMarksRoundTrip)
{
    MakeFile("item");
    EXPECT_FALSE(UFile::IsInvisible(mVRefNum, fsRtDirID, PString("item")));
    EXPECT_EQ(UFile::SetInvisible(mVRefNum, fsRtDirID, PString("item"), true), noErr);
    EXPECT_TRUE(UFile::IsInvisible(mVRefNum, fsRtDirID, PString("item")));
    EXPECT_TRUE(UFile::IsInvisible(mVRefNum, fsRtDirID, PString(".hidden")) == false);

    EXPECT_EQ(UFile::SetLock(mVRefNum, fsRtDirID, PString("item"), true), noErr);
    EXPECT_TRUE(UFile::IsLocked(mVRefNum, fsRtDirID, PString("item")));
    EXPECT_EQ(UFile::SetLock(mVRefNum, fsRtDirID, PString("item"), false), noErr);
    EXPECT_FALSE(UFile::IsLocked(mVRefNum, fsRtDirID, PString("item")));
}

TEST_F(UFileTest, OwnerAndAccessWordRoundTrip)
{
    MakeFile("owned", "x", 0640);
    long owner = -1, group = -1, access = -1;
    ASSERT_EQ(UFile::GetOwner(mVRefNum, fsRtDirID, PString("owned"), &owner, &group, &access), noErr);
    EXPECT_EQ(access & 0x00FFFFFF, 0x00000206); // owner rw, group r, others none
    ASSERT_EQ(UFile::SetOwner(mVRefNum, fsRtDirID, PString("owned"), testsupport::kNobody, testsupport::kNogroup,
                              0x00020607),
              noErr);
    struct stat info;
    stat((*this / "owned").c_str(), &info);
    EXPECT_EQ(info.st_uid, testsupport::kNobody);
    EXPECT_EQ(info.st_gid, testsupport::kNogroup);
    EXPECT_EQ(info.st_mode & 0777, 0764u);

    Str255 name{};
    EXPECT_EQ(UFile::GetOwnerName(mVRefNum, 0, name), noErr);
    EXPECT_EQ(Text(name), "root");
    long id = -1;
    EXPECT_EQ(UFile::GetOwnerID(mVRefNum, PString("root"), &id), noErr);
    EXPECT_EQ(id, 0);
}

TEST_F(UFileTest, CompletePathListsLongNamesUpToTheVolume)
{
    const std::string longFolder(35, 'F');
    std::filesystem::create_directories(*this / longFolder / "inner");
    MakeFile(longFolder + "/inner/leaf");
    const long inner = filestest::FolderID(*this / longFolder / "inner");
    auto list = UFile::GetCompletePathNameAsList(mVRefNum, inner, PString("leaf"));
    ASSERT_EQ(list->GetCount(), 4);
    Str255 entry{};
    const std::vector<std::string> expected = {"leaf", "inner", longFolder, Label()};
    for (long i = 1; i <= 4; ++i) {
        list->GetNthStr255(i, entry);
        EXPECT_EQ(Text(entry), expected[std::size_t(i - 1)]) << i;
    }
    EXPECT_EQ(UFile::GetCompletePathNameAsList(mVRefNum, 999999, PString("nothing"))->GetCount(), 0);
    // A missing item in a folder that exists still has its path.
    EXPECT_EQ(UFile::GetCompletePathNameAsList(mVRefNum, inner, PString("nothing"))->GetCount(), 4);
}

} // namespace
