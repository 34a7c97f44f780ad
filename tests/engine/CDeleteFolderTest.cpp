#include <sys/stat.h>
#include <unistd.h>

#include "engine/CDeleteFolder.h"
#include "tests/engine/StoppingWalker.h"
#include "tests/engine/TwoFoldersTest.h"
#include "tests/filesystem/FileObjectTestSupport.h"

using namespace filestest;
using namespace fileobjecttest;

namespace {

class CDeleteFolderTest : public TwoFoldersTest {
protected:
    // dest/tree: two files at each of three levels, six in all.
    void MakeTree()
    {
        std::filesystem::create_directories(*this / "dest/tree/one/two");
        for (const char* folder : {"tree", "tree/one", "tree/one/two"})
            for (const char* file : {"a", "b"})
                WriteText(*this / "dest" / folder / file, std::string(1000, 'x'));
    }
    CDeleteFolder DeletionOf(const std::string& name) { return CDeleteFolder(mVRefNum, mDestID, PString(name)); }
};

TEST_F(CDeleteFolderTest, CountsEveryFileOnceAndNoFolders)
{
    for (const bool withCounter : {true, false}) {
        MakeTree();
        UInt32 handled = 100;
        UInt32 progressKB = 0;
        CDeleteFolder deletion = DeletionOf("tree");
        deletion.ExecuteAction(nullptr, &progressKB, withCounter ? &handled : nullptr);
        EXPECT_EQ(deletion.mError, noErr);
        EXPECT_EQ(deletion.mDeletedFiles, 6u) << withCounter;
        EXPECT_EQ(handled, withCounter ? 106u : 100u);
        EXPECT_EQ(deletion.mDoneBytes, 6u * (1000 + 1023));
        EXPECT_FALSE(std::filesystem::exists(*this / "dest/tree")) << withCounter;
    }
}

TEST_F(CDeleteFolderTest, SingleFileIsDeletedWithoutCountingIt)
{
    WriteText(*this / "dest/file", "x");
    Lock(*this / "dest/file");
    CDeleteFolder deletion = DeletionOf("file");
    deletion.ExecuteAction(nullptr, nullptr, nullptr);
    EXPECT_EQ(deletion.mDeletedFiles, 0u);
    EXPECT_EQ(deletion.mDoneBytes, 1u);
    EXPECT_FALSE(std::filesystem::exists(*this / "dest/file"));
}

TEST_F(CDeleteFolderTest, CancelledDeletionLeavesTheRest)
{
    MakeTree();
    StoppingWalker walker(3);
    UInt32 handled = 0;
    CDeleteFolder deletion = DeletionOf("tree");
    deletion.ExecuteAction(&walker, nullptr, &handled);
    EXPECT_EQ(deletion.mDeletedFiles, handled);
    EXPECT_GT(deletion.mDeletedFiles, 0u);
    EXPECT_LT(deletion.mDeletedFiles, 6u);
    EXPECT_TRUE(std::filesystem::exists(*this / "dest/tree"));
    long left = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(*this / "dest/tree"))
        left += entry.is_regular_file();
    EXPECT_EQ(left, 6 - long(deletion.mDeletedFiles));
}

TEST_F(CDeleteFolderTest, FolderWhoseRightsForbidChangesIsEmptiedByItsOwner)
{
    MakeTree();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(*this / "dest"))
        ASSERT_EQ(lchown(entry.path().c_str(), testsupport::kNobody, testsupport::kNogroup), 0);
    ASSERT_EQ(chown((*this / "dest").c_str(), testsupport::kNobody, testsupport::kNogroup), 0);
    for (const char* folder : {"dest/tree", "dest/tree/one", "dest/tree/one/two"})
        chmod((*this / folder).c_str(), 0555);

    // As an unprivileged user, for the deletion only.
    ASSERT_EQ(setegid(testsupport::kNogroup), 0);
    ASSERT_EQ(seteuid(testsupport::kNobody), 0);
    CDeleteFolder deletion = DeletionOf("tree");
    deletion.ExecuteAction(nullptr, nullptr, nullptr);
    ASSERT_EQ(seteuid(0), 0);
    ASSERT_EQ(setegid(0), 0);
    EXPECT_EQ(deletion.mDeletedFiles, 6u);
    EXPECT_FALSE(std::filesystem::exists(*this / "dest/tree"));
}

} // namespace
