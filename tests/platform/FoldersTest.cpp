#include <sys/stat.h>

#include <fstream>
#include <set>

#include "platform/Folders.h"
#include "tests/platform/FilesTestSupport.h"

using namespace filestest;

namespace {

class FoldersTest : public VolumeTest {
};

TEST_F(FoldersTest, TrashIsCreatedOnTheVolumeAndRecordsWhatGoesIn)
{
    SInt16 vRefNum = 0;
    SInt32 dirID = 0;
    EXPECT_EQ(FindFolder(mVRefNum, kTrashFolderType, kDontCreateFolder, &vRefNum, &dirID), fnfErr);
    ASSERT_EQ(FindFolder(mVRefNum, kTrashFolderType, kCreateFolder, &vRefNum, &dirID), noErr);
    const std::string trash = ".Trash-" + std::to_string(getuid());
    EXPECT_EQ(vRefNum, mVRefNum);
    EXPECT_EQ(dirID, FolderID(*this / (trash + "/files")));

    std::ofstream(*this / "old file") << "x";
    FSSpec item{}, folder{};
    ASSERT_EQ(FSMakeFSSpec(mVRefNum, fsRtDirID, PString("old file"), &item), noErr);
    ASSERT_EQ(FSMakeFSSpec(vRefNum, dirID, nullptr, &folder), noErr);
    ASSERT_EQ(FSpCatMove(&item, &folder), noErr);
    EXPECT_TRUE(std::filesystem::exists(*this / (trash + "/files/old file")));
    const std::string info = testsupport::ReadFile(*this / (trash + "/info/old file.trashinfo"));
    EXPECT_NE(info.find("[Trash Info]\nPath=" + (Volume().MountPoint() / "old%20file").string()), std::string::npos)
        << info;
}

TEST_F(FoldersTest, PreferencesFolderFollowsXdgConfigHome)
{
    std::filesystem::create_directories(*this / "home");
    const std::string config = (*this / "home/config").string();
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    SInt16 vRefNum = 0;
    SInt32 dirID = 0;
    const OSErr err = FindFolder(kOnSystemDisk, kPreferencesFolderType, kCreateFolder, &vRefNum, &dirID);
    unsetenv("XDG_CONFIG_HOME");
    ASSERT_EQ(err, noErr);
    EXPECT_TRUE(std::filesystem::is_directory(config));
    EXPECT_EQ(vRefNum, mVRefNum);
    EXPECT_EQ(dirID, FolderID(config));
}

TEST_F(FoldersTest, SetUidRunTakesNoPreferencesFolderFromTheEnvironment)
{
    std::filesystem::create_directories(*this / "elsewhere");
    ASSERT_EQ(chmod(Volume().MountPoint().c_str(), 0755), 0);
    const std::string config = "XDG_CONFIG_HOME=" + (*this / "elsewhere").string();
    const auto plain = testsupport::RunProcess(testsupport::AsNobody({"env", config, FILES_PROBE, "preferences"}));
    EXPECT_EQ(plain.output, (*this / "elsewhere").string() + " 0\n");

    // The same program, set-uid root: nobody's home has no .config, and the variable is not taken.
    const std::filesystem::path setUID = *this / "files_probe";
    std::filesystem::copy_file(FILES_PROBE, setUID);
    ASSERT_EQ(chmod(setUID.c_str(), 04755), 0);
    const auto privileged = testsupport::RunProcess(testsupport::AsNobody({"env", config, setUID.string(), "preferences"}));
    EXPECT_EQ(privileged.output, std::to_string(fnfErr) + "\n");
}

TEST_F(FoldersTest, BulkIteratorVisitsEveryItemOnce)
{
    std::filesystem::create_directories(*this / "bulk/sub");
    for (int i = 0; i < 25; ++i)
        std::ofstream(*this / ("bulk/f" + std::to_string(i))) << i;
    FSRef folder = RefOf(*this / "bulk");
    FSIterator iterator = nullptr;
    ASSERT_EQ(FSOpenIterator(&folder, kFSIterateFlat, &iterator), noErr);
    std::set<std::string> seen;
    for (;;) {
        FSRef refs[10];
        HFSUniStr255 names[10];
        ItemCount count = 0;
        const OSErr err = FSGetCatalogInfoBulk(iterator, 10, &count, nullptr, kFSCatInfoNone, nullptr, refs, nullptr, names);
        for (ItemCount i = 0; i < count; ++i)
            seen.insert(std::string(refs[i].name, refs[i].nameLength));
        if (err == errFSNoMoreItems)
            break;
        ASSERT_EQ(err, noErr);
    }
    FSCloseIterator(iterator);
    EXPECT_EQ(seen.size(), 26u);
}

} // namespace
