#include <memory>

#include "engine/CScanFolder.h"
#include "filesystem/UFile.h"
#include "platform/DateTimeUtils.h"
#include "tests/engine/TwoFoldersTest.h"
#include "tests/filesystem/FileObjectTestSupport.h"
#include "toolkit/CListStructs.h"

using namespace filestest;
using namespace fileobjecttest;

namespace {

struct Counts {
    UInt32 folders, files, kilobytes;
    bool operator==(const Counts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Counts& c)
{
    return out << c.folders << " folders, " << c.files << " files, " << c.kilobytes << " KB";
}

class CScanFolderTest : public TwoFoldersTest {
protected:
    // Runs a scan of `path` to its end, as the action run does.
    Counts Scan(const std::filesystem::path& path, long excludeMask)
    {
        auto* scanner = new CScanFolder;
        const FSSpec item = SpecOf(path);
        scanner->StartScan(&item, 0, excludeMask);
        while (!scanner->ThreadFinished())
            LThread::Yield();
        const Counts counts{scanner->mFolderCount, scanner->mFileCount, scanner->mScannedKB};
        scanner->Resume();
        LThread::Yield();
        return counts;
    }
};

TEST_F(CScanFolderTest, CountsASingleFileAndNoFolder)
{
    WriteText(*this / "source/file", std::string(3000, 'x'));
    EXPECT_EQ(Scan(*this / "source/file", 4), (Counts{0, 1, 3}));
}

TEST_F(CScanFolderTest, EntersSixtyThreeLevelsAndNoMore)
{
    std::filesystem::path folder = *this / "source";
    for (int level = 0; level <= 64; ++level) {
        WriteText(folder / "file", "x");
        folder /= "f";
        std::filesystem::create_directory(folder);
    }
    // The scanned folder is depth 0; folders at depths 1 to 63 are entered.
    EXPECT_EQ(Scan(*this / "source", 4), (Counts{63, 64, 64}));
}

TEST_F(CScanFolderTest, ExcludedCompanionsAreNeitherCountedNorEntered)
{
    std::filesystem::create_directories(*this / "source/deeper");
    for (const char* path : {"source/Desktop DB", "source/deeper/Desktop DB", "source/deeper/kept"})
        WriteText(*this / path, std::string(2048, 'x'));
    EXPECT_EQ(Scan(*this / "source", 4), (Counts{1, 1, 2}));
    EXPECT_EQ(Scan(*this / "source", 0), (Counts{1, 3, 6}));
}

TEST_F(CScanFolderTest, ListingKeepsLongNamesWhole)
{
    const std::string forty(40, 'n');
    const std::string longest(253, 'l');
    WriteText(*this / "source" / forty, "x");
    WriteText(*this / "source" / longest, "x");
    std::filesystem::create_directory(*this / "source/folder");
    const std::unique_ptr<CListStructs> list(CScanFolder::GetOneLevelList(mVRefNum, mSourceID, 0));
    ASSERT_EQ(list->GetCount(), 3);
    std::vector<std::string> names;
    for (long i = 1; i <= list->GetCount(); ++i) {
        UInt8 record[256] = {};
        list->GetNthStruct(i, record, sizeof record);
        const std::string name = Text(record + CScanFolder::kNameOffset);
        EXPECT_EQ(record[0], name.size() + 5) << name;
        EXPECT_EQ(record[1], name == "folder" ? 1 : 0) << name;
        EXPECT_EQ(bool(record[3] & CScanFolder::kScanFolder), name == "folder") << name;
        // Every name reaches its item, also one too long for a record.
        EXPECT_TRUE(UFile::ExistsOnDisk(mVRefNum, mSourceID, record + CScanFolder::kNameOffset)) << name;
        names.push_back(name);
    }
    EXPECT_NE(std::find(names.begin(), names.end(), forty), names.end());
}

} // namespace
