#include <sys/mount.h>
#include <sys/statfs.h>

#include <vector>

#include "tests/platform/FilesTestSupport.h"

using namespace filestest;
using testsupport::LoopVolume;

namespace {

struct ListedVolume {
    SInt16 vRefNum;
    std::string name;
};

std::vector<ListedVolume> ListVolumes()
{
    std::vector<ListedVolume> volumes;
    for (SInt16 index = 1;; ++index) {
        Str255 name{};
        HParamBlockRec pb{};
        pb.volumeParam.ioVolIndex = index;
        pb.volumeParam.ioNamePtr = name;
        if (PBHGetVInfoSync(&pb) != noErr)
            break;
        volumes.push_back({pb.volumeParam.ioVRefNum, Text(name)});
    }
    return volumes;
}

class VolumeCallsTest : public VolumeTest {
};

TEST_F(VolumeCallsTest, ListsStartupVolumeFirstAndLoopVolumesByLabel)
{
    LoopVolume second(Label("S"));
    const auto volumes = ListVolumes();
    ASSERT_FALSE(volumes.empty());
    EXPECT_EQ(volumes.front().vRefNum, kStartupVolumeRefNum);
    const auto named = [&](const std::string& name) {
        return std::count_if(volumes.begin(), volumes.end(), [&](const ListedVolume& v) { return v.name == name; });
    };
    EXPECT_EQ(named(Label()), 1);
    EXPECT_EQ(named(Label("S")), 1);
    EXPECT_NE(VolumeOf(second), mVRefNum);

    // The same volume keeps its number across enumerations.
    const auto again = ListVolumes();
    EXPECT_EQ(again.size(), volumes.size());
    EXPECT_EQ(VolumeOf(second), RefOf(second.MountPoint()).vRefNum);
}

TEST_F(VolumeCallsTest, FindsVolumeByNameAndReportsItsSizes)
{
    HParamBlockRec pb{};
    PString name(Label());
    pb.volumeParam.ioVolIndex = -1;
    pb.volumeParam.ioNamePtr = name;
    ASSERT_EQ(PBHGetVInfoSync(&pb), noErr);
    EXPECT_EQ(pb.volumeParam.ioVRefNum, mVRefNum);
    EXPECT_EQ(pb.volumeParam.ioVAtrb & (kSoftwareLockMask | kHardwareLockMask), 0);

    struct statfs fs;
    ASSERT_EQ(statfs(Volume().MountPoint().c_str(), &fs), 0);
    XVolumeParam x{};
    x.ioVRefNum = mVRefNum;
    ASSERT_EQ(PBXGetVolInfoSync(&x), noErr);
    EXPECT_EQ(x.ioVTotalBytes, UInt64(fs.f_blocks) * fs.f_frsize);
    EXPECT_EQ(x.ioVFreeBytes, UInt64(fs.f_bavail) * fs.f_frsize);
    EXPECT_EQ(x.ioVFilCnt, SInt32(fs.f_files - fs.f_ffree));

    PString path(Label() + ":");
    pb.volumeParam.ioNamePtr = path;
    ASSERT_EQ(PBHGetVInfoSync(&pb), noErr);
    EXPECT_EQ(pb.volumeParam.ioVRefNum, mVRefNum);
    EXPECT_EQ(FlushVol(nullptr, mVRefNum), noErr);
    EXPECT_EQ(FlushVol(name, 0), noErr);

    PString missing("NoSuchVolumeHere");
    pb.volumeParam.ioNamePtr = missing;
    EXPECT_EQ(PBHGetVInfoSync(&pb), nsvErr);
    EXPECT_EQ(FlushVol(missing, 0), nsvErr);
}

TEST_F(VolumeCallsTest, ReadOnlyMountIsSoftwareLocked)
{
    ASSERT_EQ(mount(nullptr, Volume().MountPoint().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    HParamBlockRec pb{};
    pb.volumeParam.ioVRefNum = mVRefNum;
    ASSERT_EQ(PBHGetVInfoSync(&pb), noErr);
    EXPECT_TRUE(pb.volumeParam.ioVAtrb & kSoftwareLockMask);
    UInt32 flags = 0;
    ASSERT_EQ(GetMountFlags(Volume().MountPoint().c_str(), &flags), noErr);
    EXPECT_TRUE(flags & MNT_RDONLY);
}

TEST_F(VolumeCallsTest, ReadOnlyDeviceIsHardwareLocked)
{
    LoopVolume locked(Label("R"), LoopVolume::Kind::Ext4, 16, {}, "ro");
    HParamBlockRec pb{};
    pb.volumeParam.ioVRefNum = VolumeOf(locked);
    ASSERT_EQ(PBHGetVInfoSync(&pb), noErr);
    EXPECT_TRUE(pb.volumeParam.ioVAtrb & kHardwareLockMask);
    EXPECT_TRUE(pb.volumeParam.ioVAtrb & kSoftwareLockMask);
    pb.volumeParam.ioVRefNum = mVRefNum;
    ASSERT_EQ(PBHGetVInfoSync(&pb), noErr);
    EXPECT_FALSE(pb.volumeParam.ioVAtrb & kHardwareLockMask);
}

TEST_F(VolumeCallsTest, OnlyVolumesWithoutOwnersIgnoreOwnership)
{
    if (!LoopVolume::Supported(LoopVolume::Kind::Vfat))
        GTEST_SKIP() << "this kernel has no vfat";
    LoopVolume fat(Label("F"), LoopVolume::Kind::Vfat, 8);
    UInt32 flags = 0;
    ASSERT_EQ(GetMountFlags(fat.MountPoint().c_str(), &flags), noErr);
    EXPECT_TRUE(flags & MNT_IGNORE_OWNERSHIP);
    ASSERT_EQ(GetMountFlags(Volume().MountPoint().c_str(), &flags), noErr);
    EXPECT_FALSE(flags & MNT_IGNORE_OWNERSHIP);
}

TEST_F(VolumeCallsTest, LocalVolumesHaveNoMountInformation)
{
    HParamBlockRec pb{};
    SInt16 size = 0;
    pb.mountInfoParam.ioVRefNum = mVRefNum;
    pb.mountInfoParam.ioBuffer = reinterpret_cast<Ptr>(&size);
    EXPECT_NE(PBHGetVolMountInfoSize(&pb), noErr);
}

TEST_F(VolumeCallsTest, UnmountedVolumeIsGone)
{
    LoopVolume other(Label("G"));
    const SInt16 vRefNum = VolumeOf(other);
    ASSERT_EQ(PBUnmountVol(vRefNum), noErr);
    HParamBlockRec pb{};
    pb.volumeParam.ioVRefNum = vRefNum;
    EXPECT_EQ(PBHGetVInfoSync(&pb), nsvErr);
}

} // namespace
