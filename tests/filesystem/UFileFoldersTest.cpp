// UFile: folder chains and folders re-created like their sources.

#include "filesystem/UFile.h"

#include <sys/stat.h>

#include <fstream>

#include "tests/platform/FilesTestSupport.h"

using filestest::PString;

namespace {

class UFileFoldersTest : public filestest::VolumeTest {
protected:
    long CountEntries(const std::filesystem::path& folder)
    {
        long count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
            ++count;
        return count;
    }
};

TEST_F(UFileFoldersTest, HierarchyOfTheStopFolderItselfCreatesNothing)
{
    std::filesystem::create_directories(*this / "src/a");
    std::filesystem::create_directory(*this / "dst");
    const long a = filestest::FolderID(*this / "src/a");
    long destination = filestest::FolderID(*this / "dst");
    const long before = destination;
    EXPECT_EQ(UFile::DuplicateFolderHierarchy(mVRefNum, a, a, mVRefNum, &destination, false, false), noErr);
    EXPECT_EQ(destination, before);
    EXPECT_EQ(CountEntries(*this / "dst"), 0);
}

TEST_F(UFileFoldersTest, HierarchyRecreatesTheChainBelowTheStopFolder)
{
    std::filesystem::create_directories(*this / "src/a/b/c");
    std::filesystem::create_directory(*this / "dst");
    chmod((*this / "src/a/b").c_str(), 0750);
    const long src = filestest::FolderID(*this / "src");
    struct Case {
        bool skipTop;
        const char* deepest;
    };
    for (const Case& c : {Case{false, "dst/a/b/c"}, Case{true, "dst/b/c"}}) {
        std::filesystem::remove_all(*this / "dst");
        std::filesystem::create_directory(*this / "dst");
        long destination = filestest::FolderID(*this / "dst");
        EXPECT_EQ(UFile::DuplicateFolderHierarchy(mVRefNum, filestest::FolderID(*this / "src/a/b/c"), src, mVRefNum,
                                                  &destination, c.skipTop, true),
                  noErr)
            << c.deepest;
        ASSERT_TRUE(std::filesystem::is_directory(*this / c.deepest)) << c.deepest;
        EXPECT_EQ(destination, filestest::FolderID(*this / c.deepest)) << c.deepest;
    }
    struct stat copied;
    stat((*this / "dst/b").c_str(), &copied);
    EXPECT_EQ(copied.st_mode & 0777, 0750u);
}

TEST_F(UFileFoldersTest, HierarchyDeeperThan64LevelsFailsBeforeCreatingAnything)
{
    std::filesystem::path deep = *this / "src";
    for (int level = 0; level < 70; ++level)
        deep /= "d";
    std::filesystem::create_directories(deep);
    std::filesystem::create_directory(*this / "dst");
    long destination = filestest::FolderID(*this / "dst");
    EXPECT_EQ(UFile::DuplicateFolderHierarchy(mVRefNum, filestest::FolderID(deep), filestest::FolderID(*this / "src"),
                                              mVRefNum, &destination, false, false),
              fnfErr);
    EXPECT_EQ(CountEntries(*this / "dst"), 0);
}

TEST_F(UFileFoldersTest, DuplicateFolderKeepsTheUnicodeNameAndFindsAnExistingFolder)
{
    const std::string name = "\xE6\x97\xA5\xE6\x9C\xAC Folder"; // in no Mac Roman
    std::filesystem::create_directories(*this / "src" / name);
    std::filesystem::create_directory(*this / "dst");
    const long src = filestest::FolderID(*this / "src");
    CInfoPBRec pb;
    std::string entryName; // the catalog name, a short form
    ASSERT_EQ(filestest::IndexedInfo(mVRefNum, SInt32(src), 1, &pb, &entryName), noErr);
    PString catalogName(entryName);

    const long dst = filestest::FolderID(*this / "dst");
    long made = 0;
    ASSERT_EQ(UFile::DuplicateFolder(mVRefNum, src, catalogName, mVRefNum, dst, &made, false), noErr);
    EXPECT_TRUE(std::filesystem::is_directory(*this / "dst" / name));
    EXPECT_EQ(made, filestest::FolderID(*this / "dst" / name));

    long again = 0;
    EXPECT_EQ(UFile::DuplicateFolder(mVRefNum, src, catalogName, mVRefNum, dst, &again, false), noErr);
    EXPECT_EQ(again, made);
}

TEST_F(UFileFoldersTest, FileHoldingTheNameBlocksTheFolder)
{
    std::filesystem::create_directories(*this / "src/blocked");
    std::filesystem::create_directory(*this / "dst");
    std::ofstream(*this / "dst/blocked") << "file";
    long made = 0;
    EXPECT_EQ(UFile::DuplicateFolder(mVRefNum, filestest::FolderID(*this / "src"), PString("blocked"), mVRefNum,
                                     filestest::FolderID(*this / "dst"), &made, false),
              dupFNErr);
    EXPECT_EQ(testsupport::ReadFile(*this / "dst/blocked"), "file");
}

TEST_F(UFileFoldersTest, CreateOrGetFolderMakesOrFindsAndCopiesFinderInfo)
{
    long made = 0;
    CInfoPBRec info{};
    info.dirInfo.ioDrUsrWds.frLocation = {12, 34};
    ASSERT_EQ(UFile::CreateOrGetFolder(mVRefNum, fsRtDirID, PString("new"), &made, &info.dirInfo), noErr);
    EXPECT_EQ(made, filestest::FolderID(*this / "new"));
    long found = 0;
    EXPECT_EQ(UFile::CreateOrGetFolder(mVRefNum, fsRtDirID, PString("new"), &found, nullptr), noErr);
    EXPECT_EQ(found, made);
    CInfoPBRec read;
    ASSERT_EQ(UFile::GetFileInfos(mVRefNum, fsRtDirID, PString("new"), &read), noErr);
    EXPECT_EQ(read.dirInfo.ioDrUsrWds.frLocation.v, 12);
    EXPECT_EQ(read.dirInfo.ioDrUsrWds.frLocation.h, 34);
}

TEST_F(UFileFoldersTest, VolumeRootsKeepTheirOwnFolderInfo)
{
    std::filesystem::create_directory(*this / "folder");
    CInfoPBRec before;
    ASSERT_EQ(UFile::GetFileInfos(mVRefNum, fsRtDirID, PString("folder"), &before), noErr);
    EXPECT_EQ(UFile::CopyFolderInfo(mVRefNum, filestest::FolderID(*this / "folder"), mVRefNum, fsRtDirID), noErr);
    EXPECT_EQ(UFile::CopyFolderInfo(mVRefNum, fsRtDirID, mVRefNum, filestest::FolderID(*this / "folder")), noErr);
    CInfoPBRec after;
    ASSERT_EQ(UFile::GetFileInfos(mVRefNum, fsRtDirID, PString("folder"), &after), noErr);
    EXPECT_EQ(std::memcmp(&before.dirInfo.ioDrUsrWds, &after.dirInfo.ioDrUsrWds, sizeof(DInfo)), 0);
}

} // namespace
