#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <optional>

#include "platform/AccessWord.h"
#include "platform/MacDates.h"
#include "tests/platform/FilesTestSupport.h"

using namespace filestest;

namespace {

const char kTemporaryName[] = "QOREVTemporaryFile1247853912Zx";

class CatalogRecordTest : public VolumeTest {
protected:
    void SetUp() override
    {
        VolumeTest::SetUp();
        if (IsSkipped())
            return;
        std::filesystem::create_directories(*this / "source");
        std::filesystem::create_directories(*this / "clone");
        mSource = FolderID(*this / "source");
        mClone = FolderID(*this / "clone");
    }

    std::filesystem::path Source(const std::string& name) const { return *this / "source" / name; }
    std::filesystem::path Clone(const std::string& name) const { return *this / "clone" / name; }

    static void CopyFork(const FSSpec& from, const FSSpec& to, bool resource)
    {
        SInt16 in = 0, out = 0;
        ASSERT_EQ(resource ? FSpOpenRF(&from, fsRdPerm, &in) : FSpOpenDF(&from, fsRdPerm, &in), noErr);
        ASSERT_EQ(resource ? FSpOpenRF(&to, fsWrPerm, &out) : FSpOpenDF(&to, fsWrPerm, &out), noErr);
        char buffer[32768];
        for (;;) {
            UInt32 read = 0;
            const OSErr err = FSReadFork(in, fsAtMark, 0, sizeof buffer, buffer, &read);
            UInt32 written = 0;
            ASSERT_EQ(FSWriteFork(out, fsAtMark, 0, read, buffer, &written), noErr);
            if (err == eofErr)
                break;
            ASSERT_EQ(err, noErr);
        }
        FSCloseFork(in);
        FSCloseFork(out);
    }

    // Copies the item the way the copy engine does: both forks into a temporary
    // file, the final name, the classic record, owner and access, the full record,
    // the lock.
    void CloneLikeTheEngine(const std::string& name)
    {
        CInfoPBRec classic{};
        ASSERT_EQ(CatInfo(mVRefNum, mSource, name, &classic), noErr);
        FSSpec source{}, temporary{};
        ASSERT_EQ(FSMakeFSSpec(mVRefNum, mSource, PString(name), &source), noErr);
        ASSERT_EQ(FSMakeFSSpec(mVRefNum, mClone, PString(kTemporaryName), &temporary), fnfErr);
        ASSERT_EQ(FSpCreate(&temporary, 0, 0, 0), noErr);
        if (classic.hFileInfo.ioFlLgLen)
            CopyFork(source, temporary, false);
        if (classic.hFileInfo.ioFlRLgLen)
            CopyFork(source, temporary, true);

        FSRef sourceRef{};
        ASSERT_EQ(FSpMakeFSRef(&source, &sourceRef), noErr);
        FSCatalogInfo full{};
        ASSERT_EQ(FSGetCatalogInfo(&sourceRef, 0x307E1, &full, nullptr, nullptr, nullptr), noErr);
        HParamBlockRec access{};
        PString sourceName(name);
        access.accessParam.ioVRefNum = mVRefNum;
        access.accessParam.ioDirID = mSource;
        access.accessParam.ioNamePtr = sourceName;
        ASSERT_EQ(PBHGetDirAccessSync(&access), noErr);

        ASSERT_EQ(FSpRename(&temporary, PString(name)), noErr);
        PString cloneName(name);
        classic.hFileInfo.ioVRefNum = mVRefNum;
        classic.hFileInfo.ioDirID = mClone;
        classic.hFileInfo.ioNamePtr = cloneName;
        ASSERT_EQ(PBSetCatInfoSync(&classic), noErr);
        access.accessParam.ioDirID = mClone;
        access.accessParam.ioNamePtr = cloneName;
        ASSERT_EQ(PBHSetDirAccessSync(&access), noErr);
        FSSpec clone{};
        FSRef cloneRef{};
        ASSERT_EQ(FSMakeFSSpec(mVRefNum, mClone, PString(name), &clone), noErr);
        ASSERT_EQ(FSpMakeFSRef(&clone, &cloneRef), noErr);
        ASSERT_EQ(FSSetCatalogInfo(&cloneRef, 0x7E1, &full), noErr);
        if (classic.hFileInfo.ioFlAttrib & kioFlAttribLockedMask) {
            ASSERT_EQ(FSpSetFLock(&clone), noErr);
        }
    }

    std::vector<std::pair<std::string, std::string>> Attributes(const std::filesystem::path& path)
    {
        std::vector<std::pair<std::string, std::string>> result;
        char names[4096];
        const ssize_t size = llistxattr(path.c_str(), names, sizeof names);
        for (ssize_t at = 0; at < size; at += ssize_t(std::strlen(names + at)) + 1) {
            char value[4096];
            const ssize_t length = lgetxattr(path.c_str(), names + at, value, sizeof value);
            result.emplace_back(names + at, std::string(value, std::size_t(std::max<ssize_t>(length, 0))));
        }
        std::sort(result.begin(), result.end());
        return result;
    }

    void ExpectSameItem(const std::string& name)
    {
        struct stat source, clone;
        ASSERT_EQ(lstat(Source(name).c_str(), &source), 0);
        ASSERT_EQ(lstat(Clone(name).c_str(), &clone), 0);
        EXPECT_EQ(clone.st_mode, source.st_mode) << name;
        EXPECT_EQ(clone.st_uid, source.st_uid) << name;
        EXPECT_EQ(clone.st_gid, source.st_gid) << name;
        EXPECT_EQ(clone.st_rdev, source.st_rdev) << name;
        EXPECT_EQ(clone.st_size, source.st_size) << name;
        EXPECT_EQ(clone.st_mtim.tv_sec, source.st_mtim.tv_sec) << name;
        EXPECT_EQ(clone.st_mtim.tv_nsec, source.st_mtim.tv_nsec) << name;
        if (S_ISLNK(source.st_mode)) {
            EXPECT_EQ(std::filesystem::read_symlink(Clone(name)), std::filesystem::read_symlink(Source(name)));
        }
        if (S_ISREG(source.st_mode)) {
            EXPECT_EQ(testsupport::ReadFile(Clone(name)), testsupport::ReadFile(Source(name)));
        }
        EXPECT_EQ(Attributes(Clone(name)), Attributes(Source(name))) << name;
        EXPECT_FALSE(std::filesystem::exists(Clone(kTemporaryName)));
    }

    static void SetTimes(const std::filesystem::path& path, long nanoseconds)
    {
        const timespec times[2] = {{1600000000, nanoseconds}, {1500000000, nanoseconds + 1}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    }

    SInt32 mSource = 0;
    SInt32 mClone = 0;
};

TEST_F(CatalogRecordTest, FileWithBothForksAndFinderInformationClonesExactly)
{
    std::ofstream(Source("document")) << std::string(100000, 'd');
    FSSpec spec{};
    ASSERT_EQ(FSMakeFSSpec(mVRefNum, mSource, PString("document"), &spec), noErr);
    SInt16 fork = 0;
    ASSERT_EQ(FSpOpenRF(&spec, fsWrPerm, &fork), noErr);
    const std::string resource(1500, 'r');
    ASSERT_EQ(FSWriteFork(fork, fsFromStart, 0, UInt32(resource.size()), resource.data(), nullptr), noErr);
    ASSERT_EQ(FSCloseFork(fork), noErr);
    CInfoPBRec pb{};
    ASSERT_EQ(CatInfo(mVRefNum, mSource, "document", &pb), noErr);
    EXPECT_EQ(pb.hFileInfo.ioFlLgLen, 100000);
    EXPECT_EQ(pb.hFileInfo.ioFlRLgLen, 1500);
    pb.hFileInfo.ioFlFndrInfo.fdType = MakeOSType("TEXT");
    pb.hFileInfo.ioFlFndrInfo.fdCreator = MakeOSType("ttxt");
    pb.hFileInfo.ioFlFndrInfo.fdFlags = kIsInvisible;
    pb.hFileInfo.ioFlFndrInfo.fdLocation = Point{12, 34};
    PString name("document");
    pb.hFileInfo.ioNamePtr = name;
    pb.hFileInfo.ioDirID = mSource;
    ASSERT_EQ(PBSetCatInfoSync(&pb), noErr);
    SetTimes(Source("document"), 123456789);

    CloneLikeTheEngine("document");
    ExpectSameItem("document");
    ASSERT_EQ(CatInfo(mVRefNum, mClone, "document", &pb), noErr);
    EXPECT_EQ(pb.hFileInfo.ioFlFndrInfo.fdType, MakeOSType("TEXT"));
    EXPECT_EQ(pb.hFileInfo.ioFlFndrInfo.fdCreator, MakeOSType("ttxt"));
    EXPECT_EQ(pb.hFileInfo.ioFlFndrInfo.fdFlags, kIsInvisible);
    EXPECT_EQ(pb.hFileInfo.ioFlFndrInfo.fdLocation.h, 34);
    EXPECT_EQ(pb.hFileInfo.ioFlRLgLen, 1500);
}

TEST_F(CatalogRecordTest, SpecialFilesSurviveTheCloneAsTheyAre)
{
    std::filesystem::create_symlink("../somewhere/else", Source("link"));
    const std::string longLink(250, 'l');
    std::filesystem::create_symlink("target", Source(longLink));
    ASSERT_EQ(mkfifo(Source("fifo").c_str(), 0640), 0);
    ASSERT_EQ(mknod(Source("device").c_str(), S_IFCHR | 0600, makedev(1, 3)), 0);
    ASSERT_EQ(mknod(Source("block").c_str(), S_IFBLK | 0660, makedev(7, 200)), 0);
    ASSERT_EQ(lchown(Source("fifo").c_str(), 1234, 4321), 0);
    for (const char* name : {"link", "fifo", "device", "block"})
        SetTimes(Source(name), 987654321);

    CInfoPBRec pb{};
    ASSERT_EQ(CatInfo(mVRefNum, mSource, "link", &pb), noErr);
    EXPECT_EQ(pb.hFileInfo.ioFlFndrInfo.fdType, MakeOSType("slnk"));
    EXPECT_EQ(pb.hFileInfo.ioFlFndrInfo.fdCreator, MakeOSType("rhap"));
    EXPECT_EQ(pb.hFileInfo.ioFlLgLen, SInt32(std::string("../somewhere/else").size()));

    for (const std::string& name : {std::string("link"), std::string("fifo"), std::string("device"),
                                    std::string("block"), longLink}) {
        SCOPED_TRACE(name);
        CloneLikeTheEngine(name);
        ExpectSameItem(name);
    }
}

TEST_F(CatalogRecordTest, SocketsAreListedButNeverCreated)
{
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, Source("socket").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(listener);

    CInfoPBRec pb{};
    ASSERT_EQ(CatInfo(mVRefNum, mSource, "socket", &pb), noErr);
    EXPECT_FALSE(pb.hFileInfo.ioFlAttrib & kioFlAttribDirMask);
    EXPECT_EQ(pb.hFileInfo.ioFlLgLen, 0);
    FSRef socketRef = RefOf(Source("socket"));
    FSCatalogInfo info{};
    ASSERT_EQ(FSGetCatalogInfo(&socketRef, kFSCatInfoPermissions, &info, nullptr, nullptr, nullptr), noErr);
    EXPECT_EQ(info.permissions[2] & S_IFMT, 0xC000u);

    std::ofstream(Clone("socket"));
    FSRef cloneRef = RefOf(Clone("socket"));
    EXPECT_EQ(FSSetCatalogInfo(&cloneRef, kFSCatInfoPermissions, &info), paramErr);
    EXPECT_TRUE(std::filesystem::is_regular_file(Clone("socket")));
}

TEST_F(CatalogRecordTest, CapabilitiesAndAclSurviveAChangeOfOwner)
{
    std::ofstream(Source("ping")) << "program";
    ASSERT_EQ(lchown(Source("ping").c_str(), 1234, 1234), 0);
    ASSERT_EQ(chmod(Source("ping").c_str(), 04755), 0);
    // cap_net_raw+ep, revision 2.
    const unsigned char capability[20] = {0x01, 0, 0, 0x02, 0, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(lsetxattr(Source("ping").c_str(), "security.capability", capability, sizeof capability, 0), 0);
    // user::rwx, user 4242 r-x, group::r-x, mask r-x, other r-x
    const unsigned char acl[] = {2, 0, 0, 0,                      //
                                 1, 0, 7, 0, 0xFF, 0xFF, 0xFF, 0xFF, //
                                 2, 0, 5, 0, 0x92, 0x10, 0, 0,       //
                                 4, 0, 5, 0, 0xFF, 0xFF, 0xFF, 0xFF, //
                                 0x10, 0, 5, 0, 0xFF, 0xFF, 0xFF, 0xFF, //
                                 0x20, 0, 5, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    ASSERT_EQ(lsetxattr(Source("ping").c_str(), "system.posix_acl_access", acl, sizeof acl, 0), 0);
    ASSERT_EQ(lsetxattr(Source("ping").c_str(), "user.note", "kept", 4, 0), 0);
    CloneLikeTheEngine("ping");
    ExpectSameItem("ping");
}

TEST_F(CatalogRecordTest, SetUidNeverGoesToAnItemWhoseOwnerCouldNotBeSet)
{
    std::ofstream(Source("program")) << "program";
    ASSERT_EQ(lchown(Source("program").c_str(), 1234, 1234), 0);
    ASSERT_EQ(chmod(Source("program").c_str(), 06755), 0);
    ASSERT_EQ(chmod((*this / "clone").c_str(), 0777), 0);
    std::ofstream(Clone("program")) << "program";
    ASSERT_EQ(lchown(Clone("program").c_str(), testsupport::kNobody, testsupport::kNogroup), 0);

    const auto result = testsupport::RunProcess(
        testsupport::AsNobody({FILES_PROBE, "copy-record", Source("program").string(), Clone("program").string()}));
    EXPECT_EQ(result.output, std::to_string(permErr) + "\n");
    struct stat info;
    ASSERT_EQ(lstat(Clone("program").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, testsupport::kNobody);
    EXPECT_EQ(info.st_mode & 07777, 0755u);
    // The times are still written.
    struct stat source;
    ASSERT_EQ(lstat(Source("program").c_str(), &source), 0);
    EXPECT_EQ(info.st_mtim.tv_nsec, source.st_mtim.tv_nsec);
}

TEST_F(CatalogRecordTest, VolumeWithoutOwnersTakesWhatItCanAndRefusesResourceForks)
{
    if (!testsupport::LoopVolume::Supported(testsupport::LoopVolume::Kind::Vfat))
        GTEST_SKIP() << "this kernel has no vfat";
    testsupport::LoopVolume fat(Label("F"), testsupport::LoopVolume::Kind::Vfat, 8);
    const SInt16 vRefNum = VolumeOf(fat);
    FSSpec spec{};
    ASSERT_EQ(FSMakeFSSpec(vRefNum, fsRtDirID, PString("file"), &spec), fnfErr);
    ASSERT_EQ(FSpCreate(&spec, MakeOSType("ttxt"), MakeOSType("TEXT"), 0), noErr);

    std::ofstream(Source("owned")) << "x";
    ASSERT_EQ(lchown(Source("owned").c_str(), 1234, 1234), 0);
    FSRef source = RefOf(Source("owned")), target = RefOf(fat / "file");
    FSCatalogInfo info{};
    ASSERT_EQ(FSGetCatalogInfo(&source, 0x7E1, &info, nullptr, nullptr, nullptr), noErr);
    EXPECT_EQ(FSSetCatalogInfo(&target, 0x7E1, &info), noErr);
    struct stat status;
    ASSERT_EQ(lstat((fat / "file").c_str(), &status), 0);
    EXPECT_NEAR(double(status.st_mtim.tv_sec), double(info.exactModificationTime.tv_sec), 2.0); // FAT keeps 2 s

    SInt16 fork = 0;
    ASSERT_EQ(FSpOpenRF(&spec, fsWrPerm, &fork), noErr);
    EXPECT_EQ(FSWriteFork(fork, fsFromStart, 0, 4, "rsrc", nullptr), extFSErr);
    FSCloseFork(fork);
}

// Names of more attributes than the first read of the list holds are read in full.
TEST_F(CatalogRecordTest, EveryExtendedAttributeIsReadHoweverManyThereAre)
{
    std::ofstream(Source("many")) << "x";
    std::vector<std::pair<std::string, std::string>> written;
    for (int i = 0; i < 60; ++i) {
        written.emplace_back("user.an-attribute-with-a-long-name-" + std::to_string(i), std::to_string(i));
        ASSERT_EQ(lsetxattr(Source("many").c_str(), written.back().first.c_str(), written.back().second.data(),
                            written.back().second.size(), 0),
                  0);
    }
    FSRef ref = RefOf(Source("many"));
    FSCatalogInfo info{};
    ASSERT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoPermissions, &info, nullptr, nullptr, nullptr), noErr);
    ASSERT_TRUE(info.extendedAttributesRead);
    std::vector<std::pair<std::string, std::string>> read;
    for (const auto& attribute : info.extendedAttributes)
        read.emplace_back(attribute.name, attribute.value);
    std::sort(read.begin(), read.end());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(read, written);
}

TEST_F(CatalogRecordTest, RecordByFSSpecIsTheRecordByFSRef)
{
    // A long name stands for its short catalog form, which the FSSpec carries.
    for (const std::string name : {"plain", "a name longer than any catalog name"}) {
        std::ofstream(Source(name)) << "data";
        ASSERT_EQ(lsetxattr(Source(name).c_str(), "user.com.apple.ResourceFork", "rsrc", 4, 0), 0);
        ASSERT_EQ(lsetxattr(Source(name).c_str(), "user.note", "kept", 4, 0), 0);
        FSRef ref = RefOf(Source(name));
        FSSpec spec{};
        ASSERT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr), noErr) << name;
        FSCatalogInfo byRef{};
        FSCatalogInfo bySpec{};
        HFSUniStr255 refName{};
        HFSUniStr255 specName{};
        ASSERT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoGettableInfo, &byRef, &refName, nullptr, nullptr), noErr) << name;
        ASSERT_EQ(FSGetCatalogInfo(&spec, kFSCatInfoGettableInfo, &bySpec, &specName), noErr) << name;
        EXPECT_EQ(bySpec.nodeID, byRef.nodeID) << name;
        EXPECT_EQ(bySpec.dataLogicalSize, 4u) << name;
        EXPECT_EQ(bySpec.rsrcLogicalSize, 4u) << name;
        EXPECT_EQ(bySpec.permissions[2], byRef.permissions[2]) << name;
        EXPECT_EQ(bySpec.extendedAttributes, byRef.extendedAttributes) << name;
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(specName.unicode), specName.length),
                  std::u16string(name.begin(), name.end()));

        bySpec.permissions[2] = S_IFREG | 0600;
        bySpec.exactModificationTime = {1200000000, 123456789};
        bySpec.contentModDate = MacDates::UTCDateTimeFromTimespec(bySpec.exactModificationTime);
        ASSERT_EQ(FSSetCatalogInfo(&spec, kFSCatInfoPermissions | kFSCatInfoContentMod, &bySpec), noErr) << name;
        struct stat status;
        ASSERT_EQ(lstat(Source(name).c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0600u) << name;
        EXPECT_EQ(status.st_mtim.tv_nsec, 123456789) << name;
    }
    FSSpec missing{mVRefNum, mSource, {}};
    std::memcpy(missing.name, PString("missing").bytes, 8);
    FSCatalogInfo info{};
    EXPECT_EQ(FSGetCatalogInfo(&missing, kFSCatInfoNone, &info, nullptr), fnfErr);
    EXPECT_EQ(FSSetCatalogInfo(&missing, kFSCatInfoContentMod, &info), fnfErr);
    EXPECT_EQ(FSGetCatalogInfo(static_cast<const FSSpec*>(nullptr), kFSCatInfoNone, &info, nullptr), paramErr);
    EXPECT_EQ(FSSetCatalogInfo(&missing, kFSCatInfoContentMod, nullptr), paramErr);
}

TEST_F(CatalogRecordTest, RecordMadeFromScratchLeavesExtendedAttributesAlone)
{
    std::ofstream(Source("kept")) << "x";
    ASSERT_EQ(lsetxattr(Source("kept").c_str(), "user.note", "kept", 4, 0), 0);
    FSRef ref = RefOf(Source("kept"));
    FSCatalogInfo info{};
    info.permissions[0] = 0;
    info.permissions[1] = 0;
    info.permissions[2] = S_IFREG | 0600;
    ASSERT_EQ(FSSetCatalogInfo(&ref, kFSCatInfoPermissions, &info), noErr);
    EXPECT_EQ(Attributes(Source("kept")), (std::vector<std::pair<std::string, std::string>>{{"user.note", "kept"}}));
    struct stat status;
    ASSERT_EQ(lstat(Source("kept").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
}

TEST_F(CatalogRecordTest, AccessWordRoundTripsEveryModeAndKeepsSpecialBits)
{
    std::ofstream(Source("file")) << "x";
    ASSERT_EQ(chmod(Source("file").c_str(), 06000), 0);
    PString name("file");
    for (mode_t mode = 0; mode <= 0777; ++mode) {
        HParamBlockRec pb{};
        pb.accessParam.ioVRefNum = mVRefNum;
        pb.accessParam.ioDirID = mSource;
        pb.accessParam.ioNamePtr = name;
        ASSERT_EQ(PBHGetDirAccessSync(&pb), noErr);
        pb.accessParam.ioACAccess = SInt32(AccessWord::FromMode(mode));
        ASSERT_EQ(PBHSetDirAccessSync(&pb), noErr);
        struct stat info;
        ASSERT_EQ(lstat(Source("file").c_str(), &info), 0);
        ASSERT_EQ(info.st_mode & 07777, 06000 | mode) << std::oct << mode;
        ASSERT_EQ(PBHGetDirAccessSync(&pb), noErr);
        ASSERT_EQ(UInt32(pb.accessParam.ioACAccess) & 0xFFFFFF, AccessWord::FromMode(mode)) << std::oct << mode;
    }
}

TEST_F(CatalogRecordTest, LockedFileCannotBeChangedUntilUnlocked)
{
    std::ofstream(Source("locked")) << "x";
    FSSpec spec{};
    ASSERT_EQ(FSMakeFSSpec(mVRefNum, mSource, PString("locked"), &spec), noErr);
    ASSERT_EQ(FSpSetFLock(&spec), noErr);
    CInfoPBRec pb{};
    ASSERT_EQ(CatInfo(mVRefNum, mSource, "locked", &pb), noErr);
    EXPECT_TRUE(pb.hFileInfo.ioFlAttrib & kioFlAttribLockedMask);
    EXPECT_EQ(FSpDelete(&spec), fLckdErr);
    EXPECT_EQ(FSpRename(&spec, PString("other")), fLckdErr);
    SInt16 fork = 0;
    EXPECT_NE(FSpOpenDF(&spec, fsWrPerm, &fork), noErr);
    ASSERT_EQ(FSpRstFLock(&spec), noErr);
    ASSERT_EQ(CatInfo(mVRefNum, mSource, "locked", &pb), noErr);
    EXPECT_FALSE(pb.hFileInfo.ioFlAttrib & kioFlAttribLockedMask);
    EXPECT_EQ(FSpDelete(&spec), noErr);
}

TEST_F(CatalogRecordTest, ResourceForkBeyondWhatTheVolumeHoldsIsRefusedClearly)
{
    std::ofstream(Source("big")) << "x";
    FSSpec spec{};
    ASSERT_EQ(FSMakeFSSpec(mVRefNum, mSource, PString("big"), &spec), noErr);
    SInt16 fork = 0;
    ASSERT_EQ(FSpOpenRF(&spec, fsWrPerm, &fork), noErr);
    const std::string small(100, 's');
    ASSERT_EQ(FSWriteFork(fork, fsFromStart, 0, UInt32(small.size()), small.data(), nullptr), noErr);
    const std::string huge(200000, 'h');
    UInt32 written = 0;
    EXPECT_EQ(FSWriteFork(fork, fsFromStart, 0, UInt32(huge.size()), huge.data(), &written), fsDataTooBigErr);
    EXPECT_EQ(written, 0u);
    SInt64 size = 0;
    ASSERT_EQ(FSGetForkSize(fork, &size), noErr);
    EXPECT_EQ(size, 100);
    ASSERT_EQ(FSCloseFork(fork), noErr);
    EXPECT_EQ(Attributes(Source("big")).size(), 1u);
}

// A time zone away from UTC for one test, so local time shows.
class TimeZone {
public:
    explicit TimeZone(const char* zone)
    {
        if (const char* old = getenv("TZ"))
            mOld = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone()
    {
        if (mOld)
            setenv("TZ", mOld->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> mOld;
};

TEST_F(CatalogRecordTest, DatesAreMacSecondsInLocalTimeAndKeepTheirNanoseconds)
{
    TimeZone zone("America/New_York");
    std::ofstream(Source("dated")) << "x";
    SetTimes(Source("dated"), 250000000);
    const time_t modified = 1500000000;
    struct tm local;
    localtime_r(&modified, &local);
    const UInt32 macSeconds = UInt32(modified + 2082844800 + local.tm_gmtoff);
    ASSERT_NE(local.tm_gmtoff, 0);

    CInfoPBRec pb{};
    ASSERT_EQ(CatInfo(mVRefNum, mSource, "dated", &pb), noErr);
    EXPECT_EQ(pb.hFileInfo.ioFlMdDat, macSeconds);
    EXPECT_EQ(pb.hFileInfo.ioFlBkDat, 0u);
    FSRef ref = RefOf(Source("dated"));
    FSCatalogInfo info{};
    ASSERT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoContentMod, &info, nullptr, nullptr, nullptr), noErr);
    EXPECT_EQ(info.contentModDate.lowSeconds, UInt32(modified + 2082844800));
    EXPECT_EQ(info.contentModDate.fraction, 0x4000); // a quarter second and 1 ns

    // A classic date of the same second keeps the nanoseconds; another second is set as given.
    PString name("dated");
    pb.hFileInfo.ioNamePtr = name;
    pb.hFileInfo.ioDirID = mSource;
    ASSERT_EQ(PBSetCatInfoSync(&pb), noErr);
    struct stat status;
    ASSERT_EQ(lstat(Source("dated").c_str(), &status), 0);
    EXPECT_EQ(status.st_mtim.tv_nsec, 250000001);
    pb.hFileInfo.ioFlMdDat = macSeconds + 60;
    ASSERT_EQ(PBSetCatInfoSync(&pb), noErr);
    ASSERT_EQ(lstat(Source("dated").c_str(), &status), 0);
    EXPECT_EQ(status.st_mtim.tv_sec, modified + 60);
    EXPECT_EQ(status.st_mtim.tv_nsec, 0);
}

TEST_F(CatalogRecordTest, ImpliedFinderInformation)
{
    std::ofstream(Source(".profile")) << "x";
    std::ofstream(Source("program")) << "\x7F" "ELF\x02\x01\x01";
    std::filesystem::permissions(Source("program"), std::filesystem::perms::owner_all);
    CInfoPBRec pb{};
    ASSERT_EQ(CatInfo(mVRefNum, mSource, ".profile", &pb), noErr);
    EXPECT_EQ(pb.hFileInfo.ioFlFndrInfo.fdFlags & kIsInvisible, kIsInvisible);
    ASSERT_EQ(CatInfo(mVRefNum, mSource, "program", &pb), noErr);
    EXPECT_EQ(pb.hFileInfo.ioFlFndrInfo.fdType, MakeOSType("APPL"));
    // Written back unchanged, it stores nothing.
    PString name("program");
    pb.hFileInfo.ioNamePtr = name;
    pb.hFileInfo.ioDirID = mSource;
    ASSERT_EQ(PBSetCatInfoSync(&pb), noErr);
    EXPECT_TRUE(Attributes(Source("program")).empty());
}

} // namespace
