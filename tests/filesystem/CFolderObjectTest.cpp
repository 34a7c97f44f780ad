#include <sys/stat.h>
#include <unistd.h>

#include "filesystem/CFolderAccess.h"
#include "filesystem/CFolderObject.h"
#include "tests/filesystem/FileObjectTestSupport.h"

using namespace filestest;
using namespace fileobjecttest;

namespace {

class CFolderObjectTest : public VolumeTest {
};

TEST_F(CFolderObjectTest, FolderIsEmptyUntilAFileLiesAnywhereInIt)
{
    struct Case {
        const char* what;
        std::vector<std::string> folders;
        std::vector<std::string> files;
        bool empty;
    };
    const Case cases[] = {
        {"no entries", {"top"}, {}, true},
        {"only empty folders", {"top/a/b/c", "top/d", "top/e/f"}, {}, true},
        {"one file deep inside", {"top/a/b/c", "top/d"}, {"top/a/b/c/file"}, false},
        {"one file at the top", {"top/a"}, {"top/file"}, false},
        {"an invisible file", {"top/a"}, {"top/a/.hidden"}, false},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(*this / "top");
        for (const std::string& folder : c.folders)
            std::filesystem::create_directories(*this / folder);
        for (const std::string& file : c.files)
            WriteText(*this / file, "x");
        CFolderObject folder(mVRefNum, fsRtDirID, PString("top"));
        EXPECT_EQ(folder.IsFolderEmpty(), c.empty) << c.what;
    }
    EXPECT_TRUE(CFolderObject(mVRefNum, fsRtDirID, PString("missing")).IsFolderEmpty());
}

TEST_F(CFolderObjectTest, FindsItsFolderAndItsVolume)
{
    std::filesystem::create_directories(*this / "here");
    CFolderObject folder(mVRefNum, fsRtDirID, PString("here"));
    EXPECT_TRUE(folder.ExistsOnDisk());
    EXPECT_FALSE(folder.IsVolume());
    SInt32 dirID = 0;
    EXPECT_EQ(folder.GetFolderContentID(&dirID), noErr);
    EXPECT_EQ(dirID, FolderID(*this / "here"));

    FSSpec root{};
    ASSERT_EQ(FSMakeFSSpec(mVRefNum, fsRtParID, nullptr, &root), noErr);
    CFolderObject volume(&root);
    EXPECT_TRUE(volume.IsVolume());
    EXPECT_TRUE(volume.ExistsOnDisk());
    EXPECT_EQ(volume.GetFolderContentID(&dirID), noErr);
    EXPECT_EQ(dirID, fsRtDirID);
    WriteText(*this / "on the volume", "x");
    EXPECT_EQ(volume.Delete(), fBsyErr) << "a volume is never erased by deleting its root";
    EXPECT_TRUE(std::filesystem::exists(*this / "on the volume"));

    WriteText(*this / "plain", "x");
    EXPECT_EQ(CFolderObject(mVRefNum, fsRtDirID, PString("plain")).GetFolderContentID(&dirID), dirNFErr);
    EXPECT_FALSE(CFolderObject(mVRefNum, fsRtDirID, PString("gone")).ExistsOnDisk());
    EXPECT_EQ(CFolderObject(mVRefNum, fsRtDirID, PString("")).Delete(), fnfErr);
}

TEST_F(CFolderObjectTest, DeletesEveryLevelAndLeavesTheTrashEmpty)
{
    for (const char* folder : {"tree/a/b/c", "tree/d", "tree/e/f"})
        std::filesystem::create_directories(*this / folder);
    for (int i = 0; i < 40; ++i)
        WriteText(*this / ("tree/a/b/file" + std::to_string(i)), "x");
    WriteText(*this / "tree/e/f/last", "x");
    std::filesystem::create_symlink("/", *this / "tree/d/root link");
    WriteText(*this / "sibling", "stays");
    CFolderObject tree(mVRefNum, fsRtDirID, PString("tree"));
    EXPECT_EQ(tree.Delete(), noErr);
    EXPECT_FALSE(std::filesystem::exists(*this / "tree"));
    EXPECT_TRUE(std::filesystem::exists(*this / "sibling"));
    EXPECT_TRUE(std::filesystem::exists("/etc")) << "a link is removed, never followed";
    EXPECT_TRUE(TrashContent(Volume()).empty());
}

TEST_F(CFolderObjectTest, AccessIsOpenedForTheScopeAndPutBack)
{
    std::filesystem::create_directories(*this / "shut");
    chmod((*this / "shut").c_str(), 0500);
    const SInt32 dirID = FolderID(*this / "shut");
    const auto mode = [&] {
        struct stat info {};
        stat((*this / "shut").c_str(), &info);
        return info.st_mode & 07777;
    };
    {
        CFolderAccess untouched(mVRefNum, dirID);
        untouched.RestoreAccess();
        EXPECT_EQ(mode(), 0500u) << "nothing to restore without SetAllAccess";
    }
    {
        CFolderAccess access(mVRefNum, dirID);
        EXPECT_EQ(access.SetAllAccess(), noErr);
        EXPECT_EQ(mode(), 0777u);
    }
    EXPECT_EQ(mode(), 0500u);
    CFolderAccess missing(mVRefNum, 9999);
    EXPECT_NE(missing.SetAllAccess(), noErr);
}

// Every deletion opens the rights of the folder it deletes in for itself, so an
// unprivileged owner empties and removes a tree whose folders forbid changes, and
// the rights of the folder that holds it are put back.
TEST_F(CFolderObjectTest, FolderWhoseRightsForbidChangesIsRemovedByItsUnprivilegedOwner)
{
    for (const char* folder : {"owned/victim/sub/deeper", "owned/victim/other"})
        std::filesystem::create_directories(*this / folder);
    WriteText(*this / "owned/victim/top file", "x");
    WriteText(*this / "owned/victim/sub/file", "x");
    WriteText(*this / "owned/victim/sub/deeper/file", "x");
    for (const char* item : {"owned", "owned/victim", "owned/victim/sub", "owned/victim/sub/deeper",
                             "owned/victim/other", "owned/victim/top file", "owned/victim/sub/file",
                             "owned/victim/sub/deeper/file"}) {
        const auto path = *this / item;
        ASSERT_EQ(chown(path.c_str(), testsupport::kNobody, testsupport::kNogroup), 0) << item;
        ASSERT_EQ(chmod(path.c_str(), std::filesystem::is_directory(path) ? 0555 : 0444), 0) << item;
    }
    const auto result = testsupport::RunProcess(
        testsupport::AsNobody({FOLDER_DELETE_PROBE, (*this / "owned/victim").string()}));
    EXPECT_EQ(result.exitStatus, 0) << result.output;
    EXPECT_EQ(result.output, "0\n");
    EXPECT_FALSE(std::filesystem::exists(*this / "owned/victim"));
    struct stat info {};
    ASSERT_EQ(stat((*this / "owned").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0555u);
    EXPECT_FALSE(std::filesystem::exists(*this / (".Trash-" + std::to_string(testsupport::kNobody))));
}

} // namespace
