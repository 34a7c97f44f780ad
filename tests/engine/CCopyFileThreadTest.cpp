#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <memory>
#include <optional>

#include "engine/CBaseThread.h"
#include "engine/CCopyFileThread.h"
#include "filesystem/UFile.h"
#include "tests/engine/StoppingWalker.h"
#include "tests/engine/TwoFoldersTest.h"
#include "tests/filesystem/FileObjectTestSupport.h"

using namespace filestest;
using namespace fileobjecttest;

namespace {

const std::string kTemporaryName = "QOREVTemporaryFile1247853912Zx";
constexpr const char* kResourceFork = "user.com.apple.ResourceFork";
constexpr const char* kFinderInfo = "user.com.apple.FinderInfo";

std::optional<std::string> Attribute(const std::filesystem::path& path, const char* name)
{
    char value[65536];
    const ssize_t length = lgetxattr(path.c_str(), name, value, sizeof value);
    if (length < 0)
        return std::nullopt;
    return std::string(value, std::size_t(length));
}

void SetAttribute(const std::filesystem::path& path, const char* name, const std::string& value)
{
    ASSERT_EQ(lsetxattr(path.c_str(), name, value.data(), value.size(), 0), 0) << path << " " << name;
}

struct stat Status(const std::filesystem::path& path)
{
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info;
}

// A copy told that the destination has room, whatever the volume says.
class RoomyCopy : public CCopyFileThread {
public:
    using CCopyFileThread::CCopyFileThread;
    UInt32 GetFreeSize(SInt16) override { return 0xFFFFFFFF; }
};

class CCopyFileThreadTest : public TwoFoldersTest {
protected:
    template <typename Action = CCopyFileThread>
    std::unique_ptr<Action> Copy(const std::string& name, CBaseThread* walker = nullptr)
    {
        auto action = std::make_unique<Action>(mVRefNum, mSourceID, PString(name), mVRefNum, mDestID);
        action->ExecuteAction(walker, nullptr, nullptr);
        return action;
    }

    std::filesystem::path Source(const std::string& name) const { return *this / ("source/" + name); }
    std::filesystem::path Dest(const std::string& name) const { return *this / ("dest/" + name); }
    bool TemporaryFileLeft() const { return std::filesystem::exists(Dest(kTemporaryName)); }
};

TEST_F(CCopyFileThreadTest, CopiesBothForksWithTheSourcesInformation)
{
    struct Case {
        const char* name;
        std::string data;
        std::string resource;
    };
    const Case cases[] = {
        {"data only", "the data fork", ""},
        {"resource only", "", std::string(3000, 'r')},
        {"both forks", std::string(100000, 'd'), "resources"},
        {"both empty", "", ""},
        // The copy's catalog name is a short form of its own: the information must reach it.
        {"a name longer than any catalog name", "long", "named"},
    };
    std::string finderInfo(32, '\0');
    finderInfo.replace(0, 8, "TEXTttxt");
    for (const Case& c : cases) {
        WriteText(Source(c.name), c.data);
        if (!c.resource.empty())
            SetAttribute(Source(c.name), kResourceFork, c.resource);
        SetAttribute(Source(c.name), kFinderInfo, finderInfo);
        SetAttribute(Source(c.name), "user.comment", "kept");
        chmod(Source(c.name).c_str(), 0640);
        const timespec times[2] = {{1000000000, 123456789}, {1200000000, 987654321}};
        utimensat(AT_FDCWD, Source(c.name).c_str(), times, 0);

        const auto action = Copy(c.name);
        EXPECT_EQ(action->mError, noErr) << c.name;
        EXPECT_EQ(action->mDoneBytes, c.data.size() + c.resource.size()) << c.name;
        EXPECT_EQ(testsupport::ReadFile(Dest(c.name)), c.data) << c.name;
        EXPECT_EQ(Attribute(Dest(c.name), kResourceFork).value_or(""), c.resource) << c.name;
        EXPECT_EQ(Attribute(Dest(c.name), kFinderInfo), finderInfo) << c.name;
        EXPECT_EQ(Attribute(Dest(c.name), "user.comment"), "kept") << c.name;
        const struct stat copy = Status(Dest(c.name));
        EXPECT_EQ(copy.st_mode & 07777, 0640u) << c.name;
        EXPECT_EQ(copy.st_mtim.tv_sec, 1200000000) << c.name;
        EXPECT_EQ(copy.st_mtim.tv_nsec, 987654321) << c.name;
        EXPECT_FALSE(TemporaryFileLeft()) << c.name;
    }
}

TEST_F(CCopyFileThreadTest, ClonesLinksNodesCapabilitiesAndAcls)
{
    std::filesystem::create_symlink("../elsewhere/target", Source("link"));
    ASSERT_EQ(mkfifo(Source("fifo").c_str(), 0620), 0);
    ASSERT_EQ(mknod(Source("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    std::filesystem::copy_file("/bin/true", Source("program"));
    chmod(Source("program").c_str(), 0755);
    ASSERT_EQ(testsupport::RunProcess({"setcap", "cap_net_raw+ep", Source("program").string()}).exitStatus, 0);
    // An access list: owner rwx, user 1000 r, group r, mask r, others none.
    const unsigned char acl[] = {2, 0, 0, 0, 1, 0, 7, 0, 0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 4, 0, 0xE8, 3, 0, 0,
                                 4, 0, 4, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x10, 0, 4, 0, 0xFF, 0xFF, 0xFF, 0xFF,
                                 0x20, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    WriteText(Source("shared"), "with an access list");
    SetAttribute(Source("shared"), "system.posix_acl_access", std::string(reinterpret_cast<const char*>(acl), sizeof acl));

    for (const char* name : {"link", "fifo", "null", "program", "shared"}) {
        const auto action = Copy(name);
        EXPECT_EQ(action->mError, noErr) << name;
        const struct stat source = Status(Source(name));
        const struct stat copy = Status(Dest(name));
        EXPECT_EQ(copy.st_mode, source.st_mode) << name;
        EXPECT_EQ(copy.st_rdev, source.st_rdev) << name;
        EXPECT_EQ(copy.st_mtim.tv_nsec, source.st_mtim.tv_nsec) << name;
    }
    EXPECT_EQ(std::filesystem::read_symlink(Dest("link")), "../elsewhere/target");
    EXPECT_EQ(Attribute(Dest("program"), "security.capability"), Attribute(Source("program"), "security.capability"));
    EXPECT_TRUE(Attribute(Dest("program"), "security.capability"));
    EXPECT_FALSE(Attribute(Dest("program"), kFinderInfo)) << "a program's implied type is not stored";
    EXPECT_EQ(Attribute(Dest("shared"), "system.posix_acl_access"), Attribute(Source("shared"), "system.posix_acl_access"));
    EXPECT_FALSE(TemporaryFileLeft());
}

TEST_F(CCopyFileThreadTest, SocketsAndTheSameFolderAreLeftAlone)
{
    const std::string socketPath = Source("socket").string();
    ASSERT_EQ(testsupport::RunProcess({"python3", "-c", "import socket; socket.socket(socket.AF_UNIX).bind('" + socketPath + "')"}).exitStatus, 0);
    EXPECT_EQ(Copy("socket")->mError, noErr);
    EXPECT_FALSE(std::filesystem::exists(Dest("socket")));

    WriteText(Source("file"), "x");
    CCopyFileThread onItself(mVRefNum, mSourceID, PString("file"), mVRefNum, mSourceID);
    onItself.ExecuteAction(nullptr, nullptr, nullptr);
    EXPECT_EQ(onItself.mError, noErr);
    EXPECT_EQ(testsupport::ReadFile(Source("file")), "x");
}

TEST_F(CCopyFileThreadTest, ReplacesWhatHoldsTheName)
{
    // A locked file over a locked file: the copy is locked too.
    WriteText(Source("locked"), "new");
    WriteText(Dest("locked"), "old");
    Lock(Source("locked"));
    Lock(Dest("locked"));
    EXPECT_EQ(Copy("locked")->mError, noErr);
    EXPECT_EQ(testsupport::ReadFile(Dest("locked")), "new");
    EXPECT_TRUE(UFile::IsLocked(mVRefNum, mDestID, PString("locked")));
    Lock(Dest("locked"), false);
    Lock(Source("locked"), false);

    // A file over a folder of the same name: the folder goes with its content.
    WriteText(Source("item"), "file");
    std::filesystem::create_directories(Dest("item/inner"));
    WriteText(Dest("item/inner/deep"), "old");
    EXPECT_EQ(Copy("item")->mError, noErr);
    EXPECT_EQ(testsupport::ReadFile(Dest("item")), "file");

    // A leftover temporary file of an interrupted run is removed first.
    WriteText(Dest(kTemporaryName), "leftover");
    WriteText(Source("after"), "after");
    EXPECT_EQ(Copy("after")->mError, noErr);
    EXPECT_EQ(testsupport::ReadFile(Dest("after")), "after");
    EXPECT_FALSE(TemporaryFileLeft());
}

TEST_F(CCopyFileThreadTest, LongNamesArriveWhole)
{
    const std::string names[] = {std::string(40, 'n'), "Ελληνικά και πολύ μακρύ όνομα αρχείου.txt", "中文名字"};
    for (const std::string& name : names) {
        WriteText(Source(name), name);
        // The action gets the name the listing gives: the long name, or the catalog name.
        FSSpec spec = SpecOf(Source(name));
        Str255 longName{};
        UFile::GetFileLongName(mVRefNum, mSourceID, spec.name, longName);
        const auto action = Copy(Text(longName));
        EXPECT_EQ(action->mError, noErr) << name;
        EXPECT_EQ(testsupport::ReadFile(Dest(name)), name) << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(*this / "dest"), {}), 3);
}

TEST_F(CCopyFileThreadTest, CancelledCopyLeavesTheOldFileAndNoTemporaryFile)
{
    // Large but sparse, so that it fits the small volume.
    constexpr off_t kSize = 400LL * 1024 * 1024;
    const int fd = open(Source("large").c_str(), O_WRONLY | O_CREAT, 0644);
    for (off_t offset = 0; offset < kSize; offset += 4 * 1024 * 1024)
        ASSERT_EQ(pwrite(fd, "data", 4, offset), 4);
    ftruncate(fd, kSize);
    close(fd);
    WriteText(Dest("large"), "old");
    StoppingWalker walker(3);
    const auto action = Copy("large", &walker);
    EXPECT_EQ(action->mError, CBaseFileThread::kCancelledErr);
    EXPECT_GT(action->mDoneBytes, 0u);
    EXPECT_LT(action->mDoneBytes, UInt64(kSize));
    EXPECT_EQ(testsupport::ReadFile(Dest("large")), "old");
    EXPECT_FALSE(TemporaryFileLeft());
}

TEST_F(CCopyFileThreadTest, FullVolumeLeavesTheOldFileAndNoTemporaryFile)
{
    WriteText(Source("large"), std::string(4000000, 'n'));
    WriteText(Dest("large"), "old");
    WriteText(Source("small"), "s");
    // Fill the volume, then give a megabyte back: the copy runs out of room midway.
    testsupport::RunProcess({"dd", "if=/dev/zero", "of=" + (*this / "filler").string(), "bs=1M"});
    ASSERT_EQ(testsupport::RunProcess({"truncate", "-s", "-1M", (*this / "filler").string()}).exitStatus, 0);

    EXPECT_EQ(Copy("large")->mError, dskFulErr) << "the room check alone";
    const auto action = Copy<RoomyCopy>("large");
    EXPECT_EQ(action->mError, dskFulErr);
    EXPECT_EQ(action->mErrorClass, CCopyFileThread::kWriteClass);
    EXPECT_EQ(testsupport::ReadFile(Dest("large")), "old");
    EXPECT_FALSE(TemporaryFileLeft());

    // A listed size is a first guess: the file's own size decides when it does not fit.
    CCopyFileThread listed(mVRefNum, mSourceID, PString("small"), mVRefNum, mDestID, 4000);
    listed.ExecuteAction(nullptr, nullptr, nullptr);
    EXPECT_EQ(listed.mError, noErr);
    EXPECT_EQ(testsupport::ReadFile(Dest("small")), "s");
}

TEST_F(CCopyFileThreadTest, SparseFileOverTwoGigabytesStaysSparse)
{
    constexpr off_t kSize = 0x80000000LL + 8192;
    const int fd = open(Source("sparse").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    for (const off_t offset : {off_t(0), off_t(0x7FFFFFFELL), kSize - 5})
        ASSERT_EQ(pwrite(fd, "block", 5, offset), 5);
    close(fd);

    const auto action = Copy("sparse");
    EXPECT_EQ(action->mError, noErr);
    EXPECT_EQ(action->mDoneBytes, UInt64(kSize));
    const struct stat copy = Status(Dest("sparse"));
    EXPECT_EQ(copy.st_size, kSize);
    EXPECT_LE(copy.st_blocks, Status(Source("sparse")).st_blocks);
    const int copied = open(Dest("sparse").c_str(), O_RDONLY);
    for (const off_t offset : {off_t(0), off_t(0x7FFFFFFELL), kSize - 5}) {
        char text[6] = {};
        EXPECT_EQ(pread(copied, text, 5, offset), 5);
        EXPECT_STREQ(text, "block") << offset;
    }
    close(copied);
}

} // namespace

// The kernel copies a file only within one volume of these file systems, so a copy
// from another volume goes through the buffer: its zero blocks, written as data at the
// source, become holes, and the size is set at the end where the file ends in zeros.
TEST_F(CCopyFileThreadTest, BufferedCopyLeavesZeroBlocksOutAndKeepsTheSize)
{
    testsupport::LoopVolume other(Label("S"));
    std::string content(300000, '\0');
    content.replace(0, 5000, 5000, 'a');
    content.replace(100000, 6, "middle");
    content[40000] = 'z'; // one byte is enough to keep its block
    {
        std::ofstream(other / "holes", std::ios::binary) << content;
    }

    CCopyFileThread action(VolumeOf(other), fsRtDirID, PString("holes"), mVRefNum, mDestID);
    action.ExecuteAction(nullptr, nullptr, nullptr);
    ASSERT_EQ(action.mError, noErr);
    EXPECT_EQ(action.mDoneBytes, content.size());
    EXPECT_EQ(testsupport::ReadFile(Dest("holes")), content);
    const int fd = open(Dest("holes").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    // Data lies only in the 4 KB blocks that hold something; the zeros at the end
    // are a hole as well.
    const struct {
        off_t from;
        off_t data;
        off_t hole;
    } kRuns[] = {{0, 0, 8192}, {8192, 36864, 40960}, {40960, 98304, 102400}};
    for (const auto& run : kRuns) {
        EXPECT_EQ(lseek(fd, run.from, SEEK_DATA), run.data) << run.from;
        EXPECT_EQ(lseek(fd, run.data, SEEK_HOLE), run.hole) << run.from;
    }
    EXPECT_EQ(lseek(fd, 102400, SEEK_DATA), -1);
    close(fd);
    EXPECT_EQ(Status(Dest("holes")).st_size, off_t(content.size()));
}
