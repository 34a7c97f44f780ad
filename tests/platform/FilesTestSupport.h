#pragma once
// Small helpers of the File Manager tests: Pascal strings, the volume of a loop
// volume, FSSpecs and references by path.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/Files.h"
#include "tests/support/LoopVolume.h"
#include "tests/support/TestSupport.h"

namespace filestest {

struct PString {
    explicit PString(const std::string& text)
    {
        bytes[0] = UInt8(text.size());
        std::memcpy(bytes + 1, text.data(), text.size());
    }
    operator StringPtr() { return bytes; }
    Str255 bytes{};
};

inline std::string Text(ConstStr255Param name)
{
    return std::string(reinterpret_cast<const char*>(name + 1), name[0]);
}

inline FSRef RefOf(const std::filesystem::path& path)
{
    FSRef ref{};
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr), noErr) << path;
    return ref;
}

inline SInt16 VolumeOf(const testsupport::LoopVolume& volume)
{
    return RefOf(volume.MountPoint()).vRefNum;
}

// The directory ID of the folder at `path`.
inline SInt32 FolderID(const std::filesystem::path& path)
{
    FSRef ref = RefOf(path);
    FSCatalogInfo info{};
    EXPECT_EQ(FSGetCatalogInfo(&ref, kFSCatInfoNodeID, &info, nullptr, nullptr, nullptr), noErr) << path;
    return SInt32(info.nodeID);
}

inline OSErr CatInfo(SInt16 vRefNum, SInt32 dirID, const std::string& name, CInfoPBRec* pb)
{
    PString pascal(name);
    *pb = CInfoPBRec{};
    pb->hFileInfo.ioVRefNum = vRefNum;
    pb->hFileInfo.ioDirID = dirID;
    pb->hFileInfo.ioNamePtr = pascal;
    const OSErr err = PBGetCatInfoSync(pb);
    pb->hFileInfo.ioNamePtr = nullptr;
    return err;
}

// Catalog entry `index` of a folder; its catalog name in `name`.
inline OSErr IndexedInfo(SInt16 vRefNum, SInt32 dirID, SInt16 index, CInfoPBRec* pb, std::string* name)
{
    Str255 buffer{};
    *pb = CInfoPBRec{};
    pb->hFileInfo.ioVRefNum = vRefNum;
    pb->hFileInfo.ioDirID = dirID;
    pb->hFileInfo.ioFDirIndex = index;
    pb->hFileInfo.ioNamePtr = buffer;
    const OSErr err = PBGetCatInfoSync(pb);
    pb->hFileInfo.ioNamePtr = nullptr;
    if (name)
        *name = Text(buffer);
    return err;
}

// Each test of these suites gets a fresh ext4 volume; without root they skip.
class VolumeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!testsupport::RunningAsRoot())
            GTEST_SKIP() << "loop volumes need root";
        mVolume = std::make_unique<testsupport::LoopVolume>(Label());
        mVRefNum = VolumeOf(*mVolume);
    }
    // Labels are unique per test process, so processes running side by side never
    // see each other's volume under the name they look for.
    static std::string Label(const std::string& stem = "T")
    {
        return "V" + stem + std::to_string(getpid());
    }
    const testsupport::LoopVolume& Volume() const { return *mVolume; }
    std::filesystem::path operator/(const std::string& relative) const { return *mVolume / relative; }

    std::unique_ptr<testsupport::LoopVolume> mVolume;
    SInt16 mVRefNum = 0;
};

} // namespace filestest
