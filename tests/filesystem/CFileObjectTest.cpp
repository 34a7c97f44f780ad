#include <sys/stat.h>

#include <cstring>

#include "filesystem/CFileObject.h"
#include "platform/Resources.h"
#include "tests/filesystem/FileObjectTestSupport.h"

using namespace filestest;
using namespace fileobjecttest;

namespace {

class CFileObjectTest : public VolumeTest {
protected:
    // Unlocks whatever a test locked, so the volume can go.
    void TearDown() override
    {
        if (mVolume)
            testsupport::RunProcess({"chattr", "-R", "-i", mVolume->MountPoint().string()});
    }

    std::unique_ptr<CFileObject> FileAt(const std::string& relative)
    {
        const FSSpec spec = SpecOf(*this / relative);
        return std::make_unique<CFileObject>(&spec);
    }

    // Moves a new file of `name`, made in its own folder, to the trash.
    OSErr TrashNewFile(const std::string& name, int folder)
    {
        const std::string relative = "f" + std::to_string(folder);
        std::filesystem::create_directories(*this / relative);
        WriteText(*this / relative / name, relative);
        return FileAt(relative + "/" + name)->MoveToTrash();
    }
};

TEST_F(CFileObjectTest, NameMayComeFromAStringList)
{
    testsupport::TempFolder resources;
    resources.WriteFile("300.strings", "first\nReport Name\n");
    SetResourceFolderForTesting(resources.Path().string());
    WriteText(*this / "Report Name", "report");
    const FSSpec known = SpecOf(*this / "Report Name");
    struct Case {
        SInt16 index;
        bool exists;
    };
    for (const Case c : {Case{2, true}, Case{1, false}, Case{3, false}}) {
        SCOPED_TRACE(c.index);
        CFileObject file(known.vRefNum, known.parID, 300, c.index);
        EXPECT_EQ(file.ExistsOnDisk(), c.exists);
    }
    SetResourceFolderForTesting("");
}

TEST_F(CFileObjectTest, DeletingALockedFileLeavesNothingInTheTrash)
{
    WriteText(*this / "locked", "keep out");
    Lock(*this / "locked");
    auto file = FileAt("locked");
    EXPECT_EQ(file->Delete(), noErr);
    EXPECT_FALSE(std::filesystem::exists(*this / "locked"));
    EXPECT_TRUE(TrashContent(Volume()).empty());
}

TEST_F(CFileObjectTest, DeletingAFolderTakesItsLockedContent)
{
    std::filesystem::create_directories(*this / "tree/a/b");
    WriteText(*this / "tree/a/b/deep", "x");
    WriteText(*this / "tree/top", "y");
    Lock(*this / "tree/a/b/deep");
    EXPECT_EQ(FileAt("tree")->Delete(), noErr);
    EXPECT_FALSE(std::filesystem::exists(*this / "tree"));
    EXPECT_TRUE(TrashContent(Volume()).empty());
}

// A file in a locked folder can be neither deleted nor moved, even by root: the
// deletion says so and the file keeps its content and its lock.
TEST_F(CFileObjectTest, FileThatResistsEverythingIsReportedAndKept)
{
    std::filesystem::create_directories(*this / "shut");
    WriteText(*this / "shut/file", "precious");
    Lock(*this / "shut/file");
    Lock(*this / "shut");
    auto file = FileAt("shut/file");
    EXPECT_NE(file->Delete(), noErr);
    EXPECT_EQ(testsupport::ReadFile(*this / "shut/file"), "precious");
    EXPECT_TRUE(file->IsLocked());
    EXPECT_FALSE(CFileObject::Delete(mVRefNum, FolderID(*this / "shut"), PString("file")));
}

TEST_F(CFileObjectTest, ItemOfTheTrashThatResistsIsNoSuccess)
{
    ASSERT_EQ(TrashNewFile("stuck", 0), noErr);
    const auto trash = *this / (".Trash-" + std::to_string(getuid()) + "/files");
    std::filesystem::create_directories(trash / "folder");
    WriteText(trash / "folder/inner", "x");
    Lock(trash / "folder/inner");
    Lock(trash / "folder");
    auto folder = FileAt(".Trash-" + std::to_string(getuid()) + "/files/folder");
    EXPECT_NE(folder->Delete(), noErr);
    EXPECT_FALSE(CFileObject::Delete(&folder->GetSpecifier()));
    EXPECT_TRUE(std::filesystem::exists(trash / "folder/inner"));
    EXPECT_EQ(FileAt(".Trash-" + std::to_string(getuid()) + "/files/stuck")->Delete(), noErr);
}

TEST_F(CFileObjectTest, ClashesInTheTrashAreNumbered)
{
    for (int folder = 0; folder < 3; ++folder)
        ASSERT_EQ(TrashNewFile("report.txt", folder), noErr) << folder;
    EXPECT_EQ(TrashContent(Volume()), (std::vector<std::string>{"report.txt", "report.txt.1", "report.txt.2"}));
    const std::string trash = ".Trash-" + std::to_string(getuid());
    EXPECT_EQ(testsupport::ReadFile(*this / (trash + "/files/report.txt.2")), "f2");
    EXPECT_TRUE(std::filesystem::exists(*this / (trash + "/info/report.txt.1.trashinfo")));
}

TEST_F(CFileObjectTest, ClashOfAFullLengthNameIsCutSoTheNumberFits)
{
    const std::string name(31, 'n');
    for (int folder = 0; folder <= 10; ++folder)
        ASSERT_EQ(TrashNewFile(name, folder), noErr) << folder;
    const auto content = TrashContent(Volume());
    EXPECT_NE(std::find(content.begin(), content.end(), std::string(29, 'n') + ".1"), content.end());
    EXPECT_NE(std::find(content.begin(), content.end(), std::string(28, 'n') + ".10"), content.end());
    for (const std::string& entry : content)
        EXPECT_LE(entry.size(), 31u) << entry;
}

TEST_F(CFileObjectTest, MovingToAnotherVolumeIsRefused)
{
    WriteText(*this / "stay", "x");
    const FSSpec elsewhere{SInt16(mVRefNum + 1), fsRtDirID, {}};
    EXPECT_EQ(FileAt("stay")->MoveTo(&elsewhere, true), fnfErr);
    EXPECT_TRUE(std::filesystem::exists(*this / "stay"));
}

TEST_F(CFileObjectTest, ReadBytesKeepsWhatFitsAndSkipsTheRestOfTheField)
{
    WriteText(*this / "fields", "0123456789abcdef");
    auto file = FileAt("fields");
    ASSERT_EQ(file->OpenDataFork(fsRdPerm), noErr);
    char buffer[16] = {};
    EXPECT_EQ(file->ReadBytes(buffer, 10, 4), noErr);
    EXPECT_EQ(std::string(buffer), "0123");
    EXPECT_EQ(file->GetPosition(), 10);
    EXPECT_EQ(file->ReadBytes(buffer, 3, 0), noErr);
    EXPECT_EQ(std::string(buffer, 3), "abc");
    EXPECT_EQ(file->ReadLong(), 0) << "three bytes left: a long fails";
}

TEST_F(CFileObjectTest, LongsCharsAndSizesRoundTrip)
{
    WriteText(*this / "numbers", "");
    auto file = FileAt("numbers");
    ASSERT_EQ(file->OpenDataFork(fsRdWrPerm), noErr);
    EXPECT_EQ(file->OpenDataFork(fsRdWrPerm), noErr) << "an open fork opens again";
    EXPECT_EQ(file->WriteLong(-2), noErr);
    EXPECT_EQ(file->WriteBytes("Z", 1), noErr);
    EXPECT_EQ(file->WriteBytes(nullptr, 5), noErr);
    file->Close();
    EXPECT_EQ(testsupport::ReadFile(*this / "numbers"), std::string("\xFF\xFF\xFF\xFEZ", 5));
    EXPECT_EQ(file->GetFileDataSize(), 5);
    EXPECT_EQ(file->GetDataForkRefNum(), LFileStream::kClosed) << "the size leaves the fork as it found it";
    ASSERT_EQ(file->OpenDataFork(fsRdPerm), noErr);
    EXPECT_EQ(file->ReadLong(), -2);
    EXPECT_EQ(file->ReadChar(), 'Z');
    EXPECT_EQ(file->ReadChar(), 0) << "past the end";
    file->Close();
    EXPECT_EQ(file->SetFileDataSize(2), noErr);
    EXPECT_EQ(std::filesystem::file_size(*this / "numbers"), 2u);
}

TEST_F(CFileObjectTest, ResourceForkIsReadAndWrittenApart)
{
    WriteText(*this / "forks", "data");
    auto file = FileAt("forks");
    ASSERT_EQ(file->OpenResourceFork(fsRdWrPerm), noErr);
    EXPECT_EQ(file->WriteBytesInResource("resource", 8), noErr);
    EXPECT_EQ(file->SetResourcePosition(3, fsFromStart), noErr);
    char buffer[5] = {};
    EXPECT_EQ(file->ReadBytesInResource(buffer, 5), noErr);
    EXPECT_EQ(std::string(buffer, 5), "ource");
    file->Close();
    EXPECT_EQ(testsupport::ReadFile(*this / "forks"), "data");
}

TEST_F(CFileObjectTest, ReplaceInResourceOverwritesInPlace)
{
    WriteText(*this / "forks", "data");
    auto file = FileAt("forks");
    ASSERT_EQ(file->OpenResourceFork(fsRdWrPerm), noErr);
    ASSERT_EQ(file->WriteBytesInResource("resource", 8), noErr);
    struct Case {
        long position;
        const char* bytes;
        OSErr result;
        const char* fork;
    };
    const Case cases[] = {
        {2, "SO", noErr, "reSOurce"},
        {8, "!!", noErr, "reSOurce!!"},
        {11, "x", paramErr, "reSOurce!!"},
        {-1, "x", paramErr, "reSOurce!!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(file->ReplaceInResource(c.position, c.bytes, long(std::strlen(c.bytes))), c.result);
        char buffer[16] = {};
        ASSERT_EQ(file->SetResourcePosition(0, fsFromStart), noErr);
        file->ReadBytesInResource(buffer, long(std::strlen(c.fork)));
        EXPECT_EQ(std::string(buffer), c.fork);
    }
    file->Close();
    EXPECT_EQ(testsupport::ReadFile(*this / "forks"), "data");
}

TEST_F(CFileObjectTest, ResourceForkThatWillNotOpenIsAnIoError)
{
    std::filesystem::create_directories(*this / "folder");
    EXPECT_EQ(FileAt("folder")->OpenResourceFork(fsRdPerm), ioErr);
}

// In-place edits move the rest of the file through a 64 KB buffer, so the cases
// span several buffers.
TEST_F(CFileObjectTest, InPlaceEditsMoveTheFollowingBytes)
{
    std::string original;
    for (int i = 0; i < 200000; ++i)
        original += char('a' + i % 23);
    struct Case {
        const char* what;
        long position, oldLength;
        std::string replacement;
    };
    const Case cases[] = {
        {"insert at the start", 0, 0, "INSERTED"},
        {"insert in the middle", 100000, 0, std::string(70000, '+')},
        {"remove a run", 10, 130000, ""},
        {"replace by a longer run", 5, 3, "longer run"},
        {"replace by a shorter run", 5, 90000, "short"},
        {"replace the same length", 199990, 10, "0123456789"},
    };
    for (const Case& c : cases) {
        WriteText(*this / "edit", original);
        auto file = FileAt("edit");
        ASSERT_EQ(file->OpenDataFork(fsRdWrPerm), noErr);
        OSErr err;
        if (c.oldLength == 0)
            err = file->InsertInFile(c.position, c.replacement.data(), long(c.replacement.size()));
        else if (c.replacement.empty())
            err = file->RemoveInFile(c.position, c.oldLength);
        else
            err = file->ReplaceInFile(c.position, c.oldLength, c.replacement.data(), long(c.replacement.size()));
        file->Close();
        EXPECT_EQ(err, noErr) << c.what;
        std::string expected = original;
        expected.replace(std::size_t(c.position), std::size_t(c.oldLength), c.replacement);
        EXPECT_TRUE(testsupport::ReadFile(*this / "edit") == expected) << c.what;
    }
    auto file = FileAt("edit");
    ASSERT_EQ(file->OpenDataFork(fsRdWrPerm), noErr);
    EXPECT_EQ(file->RemoveInFile(199999, 10), paramErr) << "a run past the end";
}

TEST_F(CFileObjectTest, CreateGivesTypeAndCreatorAndRefusesAnExistingName)
{
    CFileObject file(mVRefNum, fsRtDirID, PString("new file"));
    EXPECT_FALSE(file.ExistsOnDisk());
    EXPECT_EQ(file.Create(MakeOSType("Vrno"), MakeOSType("VrnR"), true), noErr);
    EXPECT_TRUE(file.ExistsOnDisk());
    EXPECT_EQ(file.GetMacType(), MakeOSType("VrnR"));
    EXPECT_EQ(file.GetMacCreator(), MakeOSType("Vrno"));
    EXPECT_FALSE(file.IsFolder());
    EXPECT_EQ(file.Create(MakeOSType("Vrno"), MakeOSType("VrnR"), false), dupFNErr);
    EXPECT_EQ(file.GetLastError(), dupFNErr);

    CFileObject nameless(mVRefNum, fsRtDirID, PString(""));
    EXPECT_FALSE(nameless.ExistsOnDisk());
    EXPECT_EQ(nameless.GetMacType(), 0u);
}

TEST_F(CFileObjectTest, RenamingALockedFileKeepsTheLockAndFollowsTheName)
{
    WriteText(*this / "before", "x");
    Lock(*this / "before");
    auto file = FileAt("before");
    EXPECT_EQ(file->ChangeFileName(PString("after")), noErr);
    EXPECT_TRUE(std::filesystem::exists(*this / "after"));
    EXPECT_FALSE(std::filesystem::exists(*this / "before"));
    EXPECT_TRUE(file->IsLocked());
    EXPECT_EQ(Text(file->GetSpecifier().name), "after");
    EXPECT_EQ(file->ChangeFileName(PString("after")), noErr) << "unchanged";

    const std::string longName(40, 'L');
    EXPECT_EQ(file->ChangeFileName(PString(longName)), noErr);
    EXPECT_TRUE(std::filesystem::exists(*this / longName));
    EXPECT_TRUE(file->ExistsOnDisk()) << "the object names the file by its catalog name";
    EXPECT_EQ(file->ChangeFileName(PString(longName)), noErr) << "a long name that is already the file's";
}

TEST_F(CFileObjectTest, DeleteCopyOfTakesTheItemWithTheSourcesLongName)
{
    const std::string longName = "A name longer than a catalog name holds.txt";
    std::filesystem::create_directories(*this / "source");
    std::filesystem::create_directories(*this / ("copy/" + longName));
    WriteText(*this / "source" / longName, "source");
    WriteText(*this / "copy" / longName / "inside", "copy");
    WriteText(*this / "copy/other", "stays");
    const FSSpec source = SpecOf(*this / "source" / longName);
    EXPECT_TRUE(CFileObject::DeleteCopyOf(&source, mVRefNum, FolderID(*this / "copy")));
    EXPECT_FALSE(std::filesystem::exists(*this / "copy" / longName));
    EXPECT_TRUE(std::filesystem::exists(*this / "copy/other"));
    EXPECT_TRUE(std::filesystem::exists(*this / "source" / longName));
}

TEST_F(CFileObjectTest, StaticDeleteAnswersWhetherTheItemIsGone)
{
    WriteText(*this / "doomed", "x");
    EXPECT_TRUE(CFileObject::Delete(mVRefNum, fsRtDirID, PString("doomed")));
    EXPECT_FALSE(std::filesystem::exists(*this / "doomed"));
    EXPECT_TRUE(CFileObject::Delete(mVRefNum, fsRtDirID, PString("never there")));
    EXPECT_TRUE(CFileObject::Delete(0, fsRtDirID, PString("doomed")));
    EXPECT_EQ(CFileObject(mVRefNum, fsRtDirID, PString("never there")).Delete(), fnfErr);
}

} // namespace
