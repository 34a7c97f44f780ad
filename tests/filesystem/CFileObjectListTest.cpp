#include "filesystem/CFileObject.h"
#include "tests/filesystem/FileObjectTestSupport.h"
#include "toolkit/CListStr255.h"
#include "toolkit/CListStructs.h"
#include "toolkit/UHandle.h"

using namespace filestest;
using namespace fileobjecttest;

namespace {

using Bytes = std::vector<UInt8>;

// The bootable lists and the report's log: Pascal-string records whose first byte is
// their length, growing 260 bytes at a time.
std::unique_ptr<CListStr255> RecordList(std::initializer_list<std::string> texts)
{
    auto list = std::make_unique<CListStr255>();
    for (const std::string& text : texts) {
        PString pascal(text);
        list->AddStr255ToList(pascal);
    }
    return list;
}

std::vector<std::string> Texts(CListStr255& list)
{
    std::vector<std::string> texts;
    for (long i = 1; i <= list.GetCount(); ++i) {
        Str255 s;
        list.GetNthStr255(i, s);
        texts.push_back(Text(s));
    }
    return texts;
}

class CFileObjectListTest : public VolumeTest {
protected:
    // A new, empty file open for reading and writing.
    std::unique_ptr<CFileObject> NewFile(const std::string& name)
    {
        auto file = std::make_unique<CFileObject>(mVRefNum, fsRtDirID, PString(name));
        EXPECT_EQ(file->Create(MakeOSType("Vrno"), MakeOSType("data"), false), noErr);
        EXPECT_EQ(file->OpenDataFork(fsRdWrPerm), noErr);
        return file;
    }

    Bytes FileBytes(const std::string& name)
    {
        const std::string text = testsupport::ReadFile(*this / name);
        return Bytes(text.begin(), text.end());
    }
};

TEST_F(CFileObjectListTest, BootableListFileHoldsExactlyTheListFormat)
{
    auto list = RecordList({"System", "Library", "usr/lib", "Applications"});
    auto file = NewFile("BootableCD104.data");
    const long written = file->WriteToFile(list.get(), true);
    EXPECT_EQ(file->GetLastError(), noErr);
    file->Close();

    Bytes expected;
    EXPECT_EQ(list->WriteToBytes(expected, true), written);
    EXPECT_EQ(FileBytes("BootableCD104.data"), expected);

    CFileObject reader(mVRefNum, fsRtDirID, PString("BootableCD104.data"));
    ASSERT_EQ(reader.OpenDataFork(fsRdPerm), noErr);
    CListStr255 read;
    EXPECT_TRUE(reader.ReadFromFile(&read, true));
    EXPECT_EQ(Texts(read), (std::vector<std::string>{"System", "Library", "usr/lib", "Applications"}));
    EXPECT_EQ(reader.GetPosition(), written);
}

TEST_F(CFileObjectListTest, EmptyListIsEightBytesAndReadsBackEmpty)
{
    auto file = NewFile("empty");
    auto list = RecordList({});
    EXPECT_EQ(file->WriteToFile(list.get(), true), 8);
    ASSERT_EQ(file->SetPosition(0, fsFromStart), noErr);
    auto read = RecordList({"stale"});
    EXPECT_TRUE(file->ReadFromFile(read.get(), true));
    EXPECT_EQ(read->GetCount(), 0);
    EXPECT_EQ(FileBytes("empty"), Bytes(8, 0));
}

// A report: a preamble and header, then the log list; whatever follows the list is
// read from where the list ends.
TEST_F(CFileObjectListTest, ListReadsFromTheMarkAndLeavesItAfterTheList)
{
    auto file = NewFile("Varno Report");
    const Bytes preamble = {'V', 'r', 'n', 'o', 'Z', 'V', 'R', 'e', 0, 0, 0, 1};
    const Bytes header(136, 0x5A);
    file->WriteBytes(preamble.data(), long(preamble.size()));
    file->WriteBytes(header.data(), long(header.size()));
    auto log = RecordList({"\x01\x00folder", "\x02\x03file"});
    file->WriteToFile(log.get(), true);
    file->WriteLong(0x12345678);

    ASSERT_EQ(file->SetPosition(0, fsFromStart), noErr);
    Bytes readPreamble(preamble.size()), readHeader(header.size());
    file->ReadBytes(readPreamble.data(), long(readPreamble.size()));
    file->ReadBytes(readHeader.data(), long(readHeader.size()));
    CListStr255 readLog;
    EXPECT_TRUE(file->ReadFromFile(&readLog, true));
    EXPECT_EQ(readPreamble, preamble);
    EXPECT_EQ(readHeader, header);
    EXPECT_EQ(Texts(readLog), Texts(*log));
    EXPECT_EQ(file->ReadLong(), 0x12345678);
}

TEST_F(CFileObjectListTest, DamagedListFilesFailWithoutHarm)
{
    auto list = RecordList({"one", "two", "three"});
    Bytes whole;
    list->WriteToBytes(whole, true);
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"cut in the record area", Bytes(whole.begin(), whole.end() - 3)},
        {"cut in the index", Bytes(whole.begin(), whole.begin() + 6)},
        {"index length not a multiple of 4", {0, 0, 0, 5, 0, 0, 0, 0, 0}},
        {"negative index length", {0xFF, 0xFF, 0xFF, 0xFC}},
    };
    for (const Case& c : cases) {
        auto file = NewFile("damaged");
        file->WriteBytes(c.bytes.data(), long(c.bytes.size()));
        file->SetPosition(0, fsFromStart);
        CListStr255 read;
        EXPECT_FALSE(file->ReadFromFile(&read, true)) << c.what;
        file->Close();
        std::filesystem::remove(*this / "damaged");
    }
}

TEST_F(CFileObjectListTest, AddFromFileAppendsToTheList)
{
    auto file = NewFile("two lists");
    file->WriteToFile(RecordList({"a", "b"}).get(), true);
    file->WriteToFile(RecordList({"c"}).get(), true);
    file->SetPosition(0, fsFromStart);
    auto list = RecordList({"first"});
    EXPECT_TRUE(file->AddFromFile(list.get(), true));
    EXPECT_TRUE(file->AddFromFile(list.get(), true));
    EXPECT_EQ(Texts(*list), (std::vector<std::string>{"first", "a", "b", "c"}));
}

TEST_F(CFileObjectListTest, FixedSizeListsCountTheirRecords)
{
    CListStructs rows(nullptr, CListStructs::kFixedSize, 6);
    rows.AddStructToList("row 1", 6);
    rows.AddStructToList("row 2", 6);
    auto file = NewFile("rows");
    EXPECT_EQ(file->WriteToFileNItems(&rows), 16);
    file->SetPosition(0, fsFromStart);
    CListStructs read(nullptr, CListStructs::kFixedSize, 6);
    EXPECT_TRUE(file->ReadFromFileNItems(&read));
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_STREQ(read.GetNthStructPtr(2), "row 2");
    EXPECT_EQ(file->GetPosition(), 16);

    auto strings = RecordList({"not fixed"});
    EXPECT_EQ(file->WriteToFileNItems(strings.get()), 0);
    file->SetPosition(0, fsFromStart);
    EXPECT_FALSE(file->ReadFromFileNItems(strings.get()));
    EXPECT_EQ(file->GetFileDataSize(), 16);
}

TEST_F(CFileObjectListTest, BlocksAreWrittenWholeAndReadByCount)
{
    auto file = NewFile("block");
    UHandle block;
    EXPECT_EQ(file->WriteToFile(&block), 0) << "an empty block writes nothing";
    block.AddBytes("0123456789", 10);
    EXPECT_EQ(file->WriteToFile(&block), 10);

    file->SetPosition(0, fsFromStart);
    UHandle read;
    EXPECT_TRUE(file->ReadFromFile(&read, 4));
    EXPECT_TRUE(file->AddFromFile(&read, 3));
    ASSERT_EQ(read.GetSize(), 7);
    EXPECT_EQ(std::string(read.GetPtr(), 7), "0123456");
    EXPECT_FALSE(file->AddFromFile(&read, 10)) << "only three bytes are left";
    EXPECT_EQ(read.GetSize(), 7) << "a failed read appends nothing";
}

} // namespace
