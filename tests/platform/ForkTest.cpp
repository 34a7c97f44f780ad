#include <fstream>

#include "tests/platform/FilesTestSupport.h"

using namespace filestest;

namespace {

class ForkTest : public VolumeTest {
protected:
    FSSpec Spec(const std::string& name)
    {
        FSSpec spec{};
        EXPECT_EQ(FSMakeFSSpec(mVRefNum, fsRtDirID, PString(name), &spec), noErr) << name;
        return spec;
    }
};

TEST_F(ForkTest, ClassicCallsMoveTheMarkAndReportTheEnd)
{
    std::ofstream(*this / "data") << "0123456789";
    FSSpec spec = Spec("data");
    SInt16 ref = 0;
    ASSERT_EQ(FSpOpenDF(&spec, fsRdWrPerm, &ref), noErr);
    char buffer[16] = {};
    SInt32 count = 4;
    ASSERT_EQ(FSRead(ref, &count, buffer), noErr);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    ASSERT_EQ(SetFPos(ref, fsFromMark, 2), noErr);
    count = 10;
    EXPECT_EQ(FSRead(ref, &count, buffer), eofErr);
    EXPECT_EQ(std::string(buffer, std::size_t(count)), "6789");
    ASSERT_EQ(SetFPos(ref, fsFromLEOF, 0), noErr);
    count = 3;
    ASSERT_EQ(FSWrite(ref, &count, "abc"), noErr);
    SInt32 size = 0;
    ASSERT_EQ(GetEOF(ref, &size), noErr);
    EXPECT_EQ(size, 13);
    ASSERT_EQ(SetEOF(ref, 5), noErr);
    SInt32 mark = 0;
    ASSERT_EQ(GetFPos(ref, &mark), noErr);
    EXPECT_EQ(mark, 5);
    EXPECT_EQ(SetFPos(ref, fsFromStart, -1), posErr);
    ASSERT_EQ(FSClose(ref), noErr);
    EXPECT_EQ(FSClose(ref), rfNumErr);
    EXPECT_EQ(testsupport::ReadFile(*this / "data"), "01234");
}

TEST_F(ForkTest, ReadOnlyForksAndForksOfSpecialItems)
{
    std::ofstream(*this / "data") << "x";
    std::filesystem::create_symlink("target/path", *this / "link");
    std::filesystem::create_directories(*this / "folder");
    FSSpec data = Spec("data"), link = Spec("link"), folder = Spec("folder");
    SInt16 ref = 0;
    ASSERT_EQ(FSpOpenDF(&data, fsRdPerm, &ref), noErr);
    SInt32 count = 1;
    EXPECT_EQ(FSWrite(ref, &count, "y"), wrPermErr);
    FSClose(ref);

    // A link's data fork is its target, never the target's content.
    ASSERT_EQ(FSpOpenDF(&link, fsRdPerm, &ref), noErr);
    char buffer[64] = {};
    count = sizeof buffer;
    EXPECT_EQ(FSRead(ref, &count, buffer), eofErr);
    EXPECT_EQ(std::string(buffer, std::size_t(count)), "target/path");
    FSClose(ref);
    EXPECT_EQ(FSpOpenDF(&link, fsWrPerm, &ref), wrPermErr);
    EXPECT_EQ(FSpOpenDF(&folder, fsRdPerm, &ref), notAFileErr);
}

TEST_F(ForkTest, FullVolumeIsReportedAsSuch)
{
    std::ofstream(*this / "filler");
    FSSpec spec = Spec("filler");
    SInt16 ref = 0;
    ASSERT_EQ(FSpOpenDF(&spec, fsWrPerm, &ref), noErr);
    const std::string chunk(1 << 20, 'f');
    OSErr err = noErr;
    for (int i = 0; i < 64 && err == noErr; ++i)
        err = FSWriteFork(ref, fsAtMark, 0, UInt32(chunk.size()), chunk.data(), nullptr);
    EXPECT_EQ(err, dskFulErr);
    FSCloseFork(ref);
}

TEST_F(ForkTest, ForkNamesSelectTheFork)
{
    std::ofstream(*this / "data") << "content";
    FSRef ref = RefOf(*this / "data");
    HFSUniStr255 resource{};
    ASSERT_EQ(FSGetResourceForkName(&resource), noErr);
    SInt16 fork = 0;
    ASSERT_EQ(FSOpenFork(&ref, resource.length, resource.unicode, fsRdWrPerm, &fork), noErr);
    SInt64 size = -1;
    ASSERT_EQ(FSGetForkSize(fork, &size), noErr);
    EXPECT_EQ(size, 0);
    ASSERT_EQ(FSWriteFork(fork, fsFromStart, 0, 3, "rsr", nullptr), noErr);
    ASSERT_EQ(FSSetForkSize(fork, fsFromStart, 2), noErr);
    FSCloseFork(fork);
    const UniChar other[] = {'x'};
    EXPECT_EQ(FSOpenFork(&ref, 1, other, fsRdPerm, &fork), errFSForkNotFound);

    FSCatalogInfo info{};
    ASSERT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoDataSizes | kFSCatInfoRsrcSizes, &info, nullptr, nullptr, nullptr), noErr);
    EXPECT_EQ(info.dataLogicalSize, 7u);
    EXPECT_EQ(info.rsrcLogicalSize, 2u);
}

} // namespace
