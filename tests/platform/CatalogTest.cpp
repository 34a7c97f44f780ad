#include <fcntl.h>
#include <sys/stat.h>
#include <sys/mount.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <map>
#include <set>

#include "tests/platform/FilesTestSupport.h"

using namespace filestest;
using testsupport::LoopVolume;

namespace {

class CatalogTest : public VolumeTest {
protected:
    void Touch(const std::string& relative, const std::string& content = "")
    {
        std::ofstream(*this / relative, std::ios::binary) << content;
    }

    // The ID that the folder at `relative` has through an indexed read of its parent.
    SInt32 DirID(const std::string& relative) { return FolderID(*this / relative); }
};

TEST_F(CatalogTest, FolderIDsStayAcrossCallsAndRenames)
{
    std::filesystem::create_directories(*this / "a/b");
    const SInt32 a = DirID("a");
    const SInt32 b = DirID("a/b");
    EXPECT_GE(a, 16);
    EXPECT_NE(a, b);
    EXPECT_EQ(DirID("a"), a);

    FSSpec spec{};
    ASSERT_EQ(FSMakeFSSpec(mVRefNum, fsRtDirID, PString("a"), &spec), noErr);
    ASSERT_EQ(FSpRename(&spec, PString("renamed")), noErr);
    EXPECT_EQ(DirID("renamed"), a);
    EXPECT_EQ(DirID("renamed/b"), b);

    CInfoPBRec pb{};
    ASSERT_EQ(CatInfo(mVRefNum, b, "", &pb), noErr);
    EXPECT_EQ(pb.dirInfo.ioDrParID, a);
    EXPECT_TRUE(pb.dirInfo.ioFlAttrib & kioFlAttribDirMask);
}

TEST_F(CatalogTest, FolderMovedBehindOurBackIsNotFoundRatherThanConfused)
{
    std::filesystem::create_directories(*this / "old");
    Touch("old/inside");
    const SInt32 id = DirID("old");
    std::filesystem::rename(*this / "old", *this / "elsewhere");
    std::filesystem::create_directories(*this / "old");
    Touch("old/inside");

    CInfoPBRec pb{};
    EXPECT_EQ(CatInfo(mVRefNum, id, "inside", &pb), dirNFErr);
    EXPECT_EQ(IndexedInfo(mVRefNum, id, 1, &pb, nullptr), dirNFErr);
    // Seen again where it is now, the folder keeps its ID.
    EXPECT_EQ(DirID("elsewhere"), id);
    EXPECT_NE(DirID("old"), id);
}

// Lookups trust the volume list until the folder's own check fails; a volume
// unmounted behind our back must then be reported gone, not as a missing folder.
TEST_F(CatalogTest, VolumeUnmountedBehindOurBackIsGone)
{
    LoopVolume other(Label("U"));
    std::filesystem::create_directories(other / "folder");
    std::ofstream(other / "folder/file") << "x";
    const SInt16 vRefNum = VolumeOf(other);
    const SInt32 folderID = FolderID(other / "folder");
    CInfoPBRec pb{};
    ASSERT_EQ(CatInfo(vRefNum, folderID, "file", &pb), noErr);
    const std::filesystem::path mountPoint = other.MountPoint();
    ASSERT_EQ(umount2(mountPoint.c_str(), 0), 0);

    const struct {
        SInt32 dirID;
        std::string name;
    } kCases[] = {{folderID, "file"}, {folderID, ""}, {fsRtDirID, "folder"}, {fsRtDirID, ""}};
    for (const auto& item : kCases)
        EXPECT_EQ(CatInfo(vRefNum, item.dirID, item.name, &pb), nsvErr) << item.dirID << " " << item.name;
    HParamBlockRec volume{};
    volume.volumeParam.ioVRefNum = vRefNum;
    EXPECT_EQ(PBHGetVInfoSync(&volume), nsvErr);
}

TEST_F(CatalogTest, NewFolderOnAReusedInodeIsNotTheGoneOne)
{
    std::filesystem::create_directories(*this / "gone");
    const SInt32 id = DirID("gone");
    struct stat old;
    ASSERT_EQ(lstat((*this / "gone").c_str(), &old), 0);
    std::filesystem::remove(*this / "gone");
    std::string reuser;
    for (int i = 0; i < 50 && reuser.empty(); ++i) {
        const std::string name = "new" + std::to_string(i);
        std::filesystem::create_directories(*this / name);
        struct stat info;
        ASSERT_EQ(lstat((*this / name).c_str(), &info), 0);
        if (info.st_ino == old.st_ino)
            reuser = name;
    }
    if (reuser.empty())
        GTEST_SKIP() << "the file system gave no inode back";
    std::filesystem::rename(*this / reuser, *this / "gone");
    CInfoPBRec pb{};
    EXPECT_EQ(CatInfo(mVRefNum, id, "", &pb), dirNFErr);
    EXPECT_NE(DirID("gone"), id);
    EXPECT_EQ(CatInfo(mVRefNum, id, "", &pb), dirNFErr);
}

TEST_F(CatalogTest, IndexedLoopThatDeletesAsItGoesVisitsEveryEntryOnce)
{
    std::filesystem::create_directories(*this / "many");
    std::set<std::string> created;
    for (int i = 0; i < 300; ++i) {
        const std::string name = "item" + std::to_string(i);
        created.insert(name);
        if (i % 10 == 0)
            std::filesystem::create_directories(*this / "many" / name);
        else
            Touch("many/" + name);
    }
    const SInt32 folder = DirID("many");
    std::multiset<std::string> visited;
    for (SInt16 index = 1;;) {
        CInfoPBRec pb{};
        std::string name;
        if (IndexedInfo(mVRefNum, folder, index, &pb, &name) != noErr)
            break;
        visited.insert(name);
        // Every third entry is kept, the loop then moves on; the others go and the same index is read again.
        if (visited.size() % 3 == 0) {
            ++index;
            continue;
        }
        FSSpec spec{};
        ASSERT_EQ(FSMakeFSSpec(mVRefNum, folder, PString(name), &spec), noErr) << name;
        ASSERT_EQ(FSpDelete(&spec), noErr) << name;
    }
    EXPECT_EQ(visited, std::multiset<std::string>(created.begin(), created.end()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(*this / "many"), {}), 100);
}

TEST_F(CatalogTest, ListingFollowsChangesMadeBehindOurBack)
{
    std::filesystem::create_directories(*this / "f");
    Touch("f/b");
    const SInt32 folder = DirID("f");
    CInfoPBRec pb{};
    std::string name;
    ASSERT_EQ(IndexedInfo(mVRefNum, folder, 1, &pb, &name), noErr);
    EXPECT_EQ(name, "b");
    Touch("f/a");
    ASSERT_EQ(IndexedInfo(mVRefNum, folder, 1, &pb, &name), noErr);
    EXPECT_EQ(name, "a");
    ASSERT_EQ(IndexedInfo(mVRefNum, folder, 2, &pb, &name), noErr);
    EXPECT_EQ(name, "b");
    EXPECT_EQ(IndexedInfo(mVRefNum, folder, 3, &pb, &name), fnfErr);
}

// A folder's count is kept between reads: it must follow changes made through the
// platform and behind our back alike.
TEST_F(CatalogTest, FolderCountFollowsEveryChange)
{
    std::filesystem::create_directories(*this / "f");
    Touch("f/one");
    Touch("f/two");
    const SInt32 folder = DirID("f");
    const auto spec = [&](SInt32 dirID, const std::string& name) {
        FSSpec result{};
        EXPECT_NE(FSMakeFSSpec(mVRefNum, dirID, PString(name), &result), nsvErr);
        return result;
    };
    const struct {
        const char* what;
        std::function<void()> change;
        UInt16 count;
    } kSteps[] = {
        {"as created", [] {}, 2},
        {"created through the platform", [&] { FSSpec s = spec(folder, "three"); FSpCreate(&s, 0, 0, 0); }, 3},
        {"removed behind our back", [&] { std::filesystem::remove(*this / "f/one"); }, 2},
        {"created behind our back", [&] { Touch("f/four"); }, 3},
        {"renamed through the platform", [&] { FSSpec s = spec(folder, "two"); FSpRename(&s, PString("deux")); }, 3},
        {"deleted through the platform", [&] { FSSpec s = spec(folder, "deux"); FSpDelete(&s); }, 2},
        {"folder made through the platform", [&] { DirCreate(mVRefNum, folder, PString("sub"), nullptr); }, 3},
        {"moved out through the platform",
         [&] {
             FSSpec item = spec(folder, "three");
             FSSpec root = spec(fsRtDirID, "");
             FSpCatMove(&item, &root);
         },
         2},
        {"renamed behind our back", [&] { std::filesystem::rename(*this / "f/four", *this / "f/vier"); }, 2},
    };
    for (const auto& step : kSteps) {
        step.change();
        CInfoPBRec pb{};
        ASSERT_EQ(CatInfo(mVRefNum, fsRtDirID, "f", &pb), noErr) << step.what;
        EXPECT_EQ(pb.dirInfo.ioDrNmFls, step.count) << step.what;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(*this / "f"), {}), step.count) << step.what;
    }
}

TEST_F(CatalogTest, MountPointInsideVolumeListsAsEmptyFolder)
{
    std::filesystem::create_directories(*this / "outer");
    LoopVolume inner(Label("I"));
    std::filesystem::create_directories(*this / "outer/mnt");
    ASSERT_EQ(mount(inner.MountPoint().c_str(), (*this / "outer/mnt").c_str(), nullptr, MS_BIND, nullptr), 0);
    std::ofstream(inner / "hidden") << "x";

    CInfoPBRec pb{};
    ASSERT_EQ(CatInfo(mVRefNum, DirID("outer"), "mnt", &pb), noErr);
    EXPECT_TRUE(pb.dirInfo.ioFlAttrib & kioFlAttribDirMask);
    EXPECT_EQ(pb.dirInfo.ioDrNmFls, 0);
    EXPECT_EQ(IndexedInfo(mVRefNum, pb.dirInfo.ioDrDirID, 1, &pb, nullptr), fnfErr);
    EXPECT_EQ(CatInfo(mVRefNum, DirID("outer"), "mnt", &pb), noErr);
    const SInt32 mountPoint = pb.dirInfo.ioDrDirID;
    EXPECT_EQ(CatInfo(mVRefNum, mountPoint, "hidden", &pb), fnfErr);
    FSSpec spec{};
    EXPECT_EQ(FSMakeFSSpec(mVRefNum, mountPoint, PString("new"), &spec), fnfErr);
    EXPECT_NE(FSpCreate(&spec, 0, 0, 0), noErr);
    EXPECT_NE(DirCreate(mVRefNum, mountPoint, PString("folder"), nullptr), noErr);
    EXPECT_FALSE(std::filesystem::exists(inner / "new"));
    EXPECT_FALSE(std::filesystem::exists(inner / "folder"));
    struct stat before;
    ASSERT_EQ(stat(inner.MountPoint().c_str(), &before), 0);
    HParamBlockRec access{};
    PString name("mnt");
    access.accessParam.ioVRefNum = mVRefNum;
    access.accessParam.ioDirID = DirID("outer");
    access.accessParam.ioNamePtr = name;
    ASSERT_EQ(PBHGetDirAccessSync(&access), noErr);
    access.accessParam.ioACAccess = 0;
    EXPECT_EQ(PBHSetDirAccessSync(&access), permErr);
    struct stat after;
    ASSERT_EQ(stat(inner.MountPoint().c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
    umount2((*this / "outer/mnt").c_str(), MNT_DETACH);
}

TEST_F(CatalogTest, VolumeRootIsFolderTwoUnderParentOne)
{
    FSSpec spec{};
    ASSERT_EQ(FSMakeFSSpec(mVRefNum, fsRtDirID, nullptr, &spec), noErr);
    EXPECT_EQ(spec.parID, fsRtParID);
    EXPECT_EQ(Text(spec.name), Label());
    FSSpec again{};
    ASSERT_EQ(FSMakeFSSpec(mVRefNum, fsRtParID, PString(Label()), &again), noErr);
    EXPECT_EQ(again.parID, fsRtParID);
    CInfoPBRec pb{};
    ASSERT_EQ(CatInfo(mVRefNum, fsRtParID, Label(), &pb), noErr);
    EXPECT_EQ(pb.dirInfo.ioDrDirID, fsRtDirID);
}

TEST_F(CatalogTest, MissingItemGivesFSSpecToCreateItBy)
{
    FSSpec spec{};
    ASSERT_EQ(FSMakeFSSpec(mVRefNum, fsRtDirID, PString("new file"), &spec), fnfErr);
    EXPECT_EQ(Text(spec.name), "new file");
    ASSERT_EQ(FSpCreate(&spec, MakeOSType("Vrno"), MakeOSType("TEXT"), 0), noErr);
    FSSpec tooLong{};
    EXPECT_EQ(FSMakeFSSpec(mVRefNum, fsRtDirID, PString(std::string(64, 'n')), &tooLong), bdNamErr);
    EXPECT_TRUE(std::filesystem::is_regular_file(*this / "new file"));
    EXPECT_EQ(FSpCreate(&spec, 0, 0, 0), dupFNErr);

    CInfoPBRec pb{};
    ASSERT_EQ(CatInfo(mVRefNum, fsRtDirID, "new file", &pb), noErr);
    EXPECT_EQ(pb.hFileInfo.ioFlFndrInfo.fdType, MakeOSType("TEXT"));
    EXPECT_EQ(pb.hFileInfo.ioFlFndrInfo.fdCreator, MakeOSType("Vrno"));
}

TEST_F(CatalogTest, RenameAndMoveNeverReplaceAnotherItem)
{
    Touch("one", "1");
    Touch("two", "2");
    std::filesystem::create_directories(*this / "folder");
    Touch("folder/one", "inner");
    FSSpec one{}, folder{};
    ASSERT_EQ(FSMakeFSSpec(mVRefNum, fsRtDirID, PString("one"), &one), noErr);
    ASSERT_EQ(FSMakeFSSpec(mVRefNum, fsRtDirID, PString("folder"), &folder), noErr);
    EXPECT_EQ(FSpRename(&one, PString("two")), dupFNErr);
    EXPECT_EQ(FSpCatMove(&one, &folder), dupFNErr);
    EXPECT_EQ(testsupport::ReadFile(*this / "two"), "2");
    EXPECT_EQ(testsupport::ReadFile(*this / "folder/one"), "inner");

    std::filesystem::remove(*this / "folder/one");
    ASSERT_EQ(FSpCatMove(&one, &folder), noErr);
    EXPECT_EQ(testsupport::ReadFile(*this / "folder/one"), "1");
    FSSpec moved{};
    EXPECT_EQ(FSMakeFSSpec(mVRefNum, DirID("folder"), PString("one"), &moved), noErr);
}

TEST_F(CatalogTest, UnicodeCallsCreateRenameMoveAndDelete)
{
    const auto unicode = [](const std::u16string& text) { return reinterpret_cast<const UniChar*>(text.data()); };
    FSRef root = RefOf(Volume().MountPoint());
    const std::u16string folderName = u"Fotos 2024/\u65E5\u672C";
    FSRef folder{};
    UInt32 folderID = 0;
    ASSERT_EQ(FSCreateDirectoryUnicode(&root, folderName.size(), unicode(folderName), 0, nullptr, &folder, nullptr, &folderID),
              noErr);
    EXPECT_TRUE(std::filesystem::is_directory(*this / "Fotos 2024:\xE6\x97\xA5\xE6\x9C\xAC"));
    EXPECT_EQ(SInt32(folderID), DirID("Fotos 2024:\xE6\x97\xA5\xE6\x9C\xAC"));

    const std::u16string fileName = u"a file whose name is longer than thirty-one";
    FSRef file{};
    ASSERT_EQ(FSCreateFileUnicode(&root, fileName.size(), unicode(fileName), 0, nullptr, &file, nullptr), noErr);
    Touch("taken");
    const std::u16string taken = u"taken";
    FSRef renamed{};
    EXPECT_EQ(FSRenameUnicode(&file, taken.size(), unicode(taken), kTextEncodingUnknown, &renamed), dupFNErr);
    const std::u16string newName = u"renamed \u00E9t\u00E9";
    ASSERT_EQ(FSRenameUnicode(&file, newName.size(), unicode(newName), kTextEncodingUnknown, &renamed), noErr);
    EXPECT_TRUE(std::filesystem::exists(*this / "renamed \xC3\xA9t\xC3\xA9"));

    FSRef moved{};
    ASSERT_EQ(FSMoveObject(&renamed, &folder, &moved), noErr);
    EXPECT_EQ(moved.parID, SInt32(folderID));
    EXPECT_EQ(FSDeleteObject(&folder), fBsyErr);
    ASSERT_EQ(FSDeleteObject(&moved), noErr);
    ASSERT_EQ(FSDeleteObject(&folder), noErr);
    EXPECT_FALSE(std::filesystem::exists(*this / "Fotos 2024:\xE6\x97\xA5\xE6\x9C\xAC"));
    CInfoPBRec pb{};
    EXPECT_EQ(CatInfo(mVRefNum, SInt32(folderID), "", &pb), dirNFErr);
}

TEST_F(CatalogTest, DeletingNonEmptyFolderIsRefused)
{
    std::filesystem::create_directories(*this / "full");
    Touch("full/x");
    FSSpec spec{};
    ASSERT_EQ(FSMakeFSSpec(mVRefNum, fsRtDirID, PString("full"), &spec), noErr);
    EXPECT_EQ(FSpDelete(&spec), fBsyErr);
    EXPECT_TRUE(std::filesystem::exists(*this / "full/x"));
}

} // namespace
