// UFile: the mounted volumes, on real loop volumes.

#include "filesystem/UFile.h"

#include <sys/statfs.h>

#include <fstream>

#include "platform/Gestalt.h"
#include "tests/platform/FilesTestSupport.h"

using filestest::PString;
using filestest::Text;
using testsupport::LoopVolume;

namespace {

class UFileVolumesTest : public filestest::VolumeTest {};

TEST_F(UFileVolumesTest, TwoVolumesOfOneNameFirstAndLast)
{
    LoopVolume second(Label());
    const SInt16 secondRefNum = filestest::VolumeOf(second);
    ASSERT_NE(secondRefNum, mVRefNum);
    // Numbers go down in mount order: the first mounted is met first.
    EXPECT_EQ(UFile::GetMountedVolume(PString(Label()), false), mVRefNum);
    EXPECT_EQ(UFile::GetMountedVolume(PString(Label()), true), secondRefNum);
    EXPECT_EQ(UFile::GetMountedVolume(PString(Label() + "x"), false), 0);
}

// Free and total bytes as statfs gives them; kilobytes drop their partial kilobyte.
void ExpectKilobytes(const LoopVolume& volume, bool partial)
{
    struct statfs info;
    ASSERT_EQ(statfs(volume.MountPoint().c_str(), &info), 0);
    const UInt64 freeBytes = UInt64(info.f_bavail) * info.f_frsize;
    const UInt64 totalBytes = UInt64(info.f_blocks) * info.f_frsize;
    if (partial) {
        ASSERT_NE(freeBytes % 1024, 0u);
    }
    unsigned long used = 0;
    unsigned long free = 0;
    const SInt16 vRefNum = filestest::VolumeOf(volume);
    ASSERT_EQ(UFile::GetSizeInVolume(vRefNum, &used, &free), noErr);
    EXPECT_EQ(free, freeBytes / 1024);
    EXPECT_EQ(used, totalBytes / 1024 - freeBytes / 1024);
    EXPECT_EQ(UFile::GetVolumeSizeKB(vRefNum), totalBytes / 1024);
    EXPECT_EQ(UFile::GetSizeInVolume(vRefNum, nullptr, nullptr), noErr);
}

TEST_F(UFileVolumesTest, KilobytesOfUsedAndFreeSpace)
{
    ExpectKilobytes(Volume(), false);
    unsigned long used = 1;
    unsigned long free = 1;
    EXPECT_NE(UFile::GetSizeInVolume(-32000, &used, &free), noErr);
    EXPECT_EQ(used + free, 0u);
}

TEST_F(UFileVolumesTest, KilobytesDropThePartialKilobyte)
{
    if (!LoopVolume::Supported(LoopVolume::Kind::Vfat))
        GTEST_SKIP() << "the kernel mounts no vfat";
    // 512-byte clusters leave half kilobytes free; one more cluster used shows one.
    LoopVolume small(Label("K"), LoopVolume::Kind::Vfat, 16, {"-s", "1", "-S", "512"});
    struct statfs info;
    ASSERT_EQ(statfs(small.MountPoint().c_str(), &info), 0);
    if ((UInt64(info.f_bavail) * info.f_frsize) % 1024 == 0)
        std::ofstream(small / "one") << "x";
    ExpectKilobytes(small, true);
}

TEST_F(UFileVolumesTest, PathIsTheRealMountPoint)
{
    char path[1024];
    ASSERT_EQ(UFile::GetVolumePath(mVRefNum, path), noErr);
    EXPECT_EQ(std::string(path), Volume().MountPoint().string());
    ASSERT_EQ(UFile::GetVolumePath(kStartupVolumeRefNum, path), noErr);
    EXPECT_EQ(std::string(path), "/");
    EXPECT_EQ(UFile::GetNthVolumeVRefNum(1), kStartupVolumeRefNum);
    EXPECT_EQ(UFile::GetNthVolumeVRefNum(0x7FFF), 0);
}

TEST_F(UFileVolumesTest, RecordsByReferenceNumber)
{
    std::ofstream(*this / "one") << "1";
    struct statfs info;
    ASSERT_EQ(statfs(Volume().MountPoint().c_str(), &info), 0);
    EXPECT_EQ(UFile::GetNumFilesInVolume(mVRefNum), (unsigned long)(info.f_files - info.f_ffree));
    EXPECT_EQ(UFile::GetNumFilesInVolume(-32000), 0u);

    short real = 0;
    EXPECT_EQ(UFile::DetermineVRefNum(0, &real), noErr);
    EXPECT_EQ(real, kStartupVolumeRefNum);
    Str255 name{};
    UInt64 freeBytes = 0;
    UInt64 totalBytes = 0;
    ASSERT_EQ(UFile::GetVolumeInfoX(mVRefNum, name, &real, &freeBytes, &totalBytes), noErr);
    EXPECT_EQ(real, mVRefNum);
    EXPECT_EQ(Text(name), Label());
    EXPECT_EQ(totalBytes, UInt64(info.f_blocks) * info.f_frsize);
    HVolumeParam pb;
    EXPECT_EQ(UFile::GetVolumeInfo(mVRefNum, nullptr, nullptr), paramErr);
    EXPECT_EQ(UFile::GetVolumeInfo(mVRefNum, &pb, nullptr), noErr);
    EXPECT_EQ(UFile::UnmountAndEjectVolume(0), noErr);
}

TEST_F(UFileVolumesTest, OnlyTheVolumesOwnTripleIsTheVolume)
{
    EXPECT_TRUE(UFile::IsVolume(mVRefNum, fsRtParID, PString(Label())));
    EXPECT_TRUE(UFile::IsVolume(mVRefNum, 0, PString(Label())));
    EXPECT_FALSE(UFile::IsVolume(mVRefNum, fsRtDirID, PString(Label())));
    EXPECT_FALSE(UFile::IsVolume(mVRefNum, fsRtParID, PString("other")));
    FSSpec spec{};
    ASSERT_EQ(UFile::GetVolumeSpec(mVRefNum, &spec), noErr);
    EXPECT_EQ(spec.parID, fsRtParID);
    EXPECT_EQ(Text(spec.name), Label());
}

TEST_F(UFileVolumesTest, LocksOwnershipAndServers)
{
    EXPECT_FALSE(UFile::IsVolumeLocked(mVRefNum));
    EXPECT_TRUE(UFile::IsVolumeLocked(-32000)); // no such volume
    EXPECT_FALSE(UFile::IsServer(mVRefNum));
    EXPECT_FALSE(UFile::DoesVolumeIgnorePermissions(mVRefNum));
    LoopVolume readOnly(Label("R"), LoopVolume::Kind::Ext4, 16, {}, "ro");
    EXPECT_TRUE(UFile::IsVolumeLocked(filestest::VolumeOf(readOnly)));
    if (LoopVolume::Supported(LoopVolume::Kind::Vfat)) {
        LoopVolume fat(Label("F"), LoopVolume::Kind::Vfat);
        EXPECT_TRUE(UFile::DoesVolumeIgnorePermissions(filestest::VolumeOf(fat)));
        EXPECT_TRUE(UFile::DoesVolumeIgnorePermissions(fat.MountPoint().c_str()));
    }
}

TEST_F(UFileVolumesTest, OwnerAndModeOfTheMountPoint)
{
    EXPECT_EQ(UFile::SetVolumePermissions(mVRefNum, 0750), noErr);
    EXPECT_EQ(UFile::SetVolumeOwner(mVRefNum, testsupport::kNobody, testsupport::kNogroup), noErr);
    struct stat info;
    stat(Volume().MountPoint().c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0750u);
    EXPECT_EQ(info.st_uid, testsupport::kNobody);
}

TEST(UFileSystemVersionTest, VersionThresholds)
{
    struct Case {
        long version;
        bool macOSX;
        bool macOS9;
    };
    for (const Case& c : {Case{0x1049, true, true}, Case{0x0FFF, false, true}, Case{0x0900, false, true},
                          Case{0x08FF, false, false}}) {
        SetSystemVersionForTesting(c.version);
        EXPECT_EQ(UFile::IsMacOS_X_orHigher(), c.macOSX) << std::hex << c.version;
        EXPECT_EQ(UFile::IsMacOS_9_orHigher(), c.macOS9) << std::hex << c.version;
    }
    SetSystemVersionForTesting(0);
}

} // namespace
