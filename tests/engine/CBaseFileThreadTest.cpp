#include <functional>
#include <optional>
#include <stdexcept>

#include "engine/CBaseFileThread.h"
#include "engine/CBaseThread.h"
#include "platform/DateTimeUtils.h"
#include "tests/engine/TwoFoldersTest.h"
#include "tests/engine/WorkThread.h"
#include "tests/filesystem/FileObjectTestSupport.h"

using namespace filestest;
using namespace fileobjecttest;

namespace {

const std::string kTemporaryName = "QOREVTemporaryFile1247853912Zx";

// An action whose work the test gives.
class Action : public CBaseFileThread {
public:
    Action(SInt16 srcVRefNum, SInt32 srcDirID, const std::string& name, SInt16 dstVRefNum, SInt32 dstDirID)
        : CBaseFileThread(srcVRefNum, srcDirID, PString(name), dstVRefNum, dstDirID)
    {
    }
    void DoFileAction() override
    {
        if (mWork)
            mWork(*this);
    }
    void DoIfError() override { ++mErrorCalls; }
    UInt32 GetFreeSize(SInt16 vRefNum) override
    {
        return mFreeKB ? *mFreeKB : CBaseFileThread::GetFreeSize(vRefNum);
    }
    void CalcDestFileSize() override
    {
        if (mCalculatedKB)
            mNeededKB = mCalculatedKB;
        else
            CBaseFileThread::CalcDestFileSize();
    }

    UInt32 SizeKB() const { return mSizeKB; }
    std::function<void(Action&)> mWork;
    std::optional<UInt32> mFreeKB;
    UInt32 mCalculatedKB = 0;
    int mErrorCalls = 0;
};

class CBaseFileThreadTest : public TwoFoldersTest {
protected:
    Action ActionOn(const std::string& name, SInt32 srcDirID, SInt32 dstDirID)
    {
        return Action(mVRefNum, srcDirID, name, mVRefNum, dstDirID);
    }
};

TEST_F(CBaseFileThreadTest, ThrowingActionEndsWithIoErrClassOneAndNoTemporaryFile)
{
    WriteText(*this / "source/file", "x");
    struct Case {
        const char* what;
        OSErr setBeforeThrow;
        OSErr expected;
        SInt16 expectedClass;
    };
    const Case cases[] = {
        {"an exception alone", noErr, ioErr, 1},
        {"an error the action had set stays", dskFulErr, dskFulErr, 0},
    };
    for (const Case& c : cases) {
        Action action = ActionOn("file", mSourceID, mDestID);
        action.mWork = [&](Action& self) {
            WriteText(*this / "dest" / kTemporaryName, "half a copy");
            self.mError = c.setBeforeThrow;
            throw std::runtime_error("copy failed");
        };
        action.ExecuteAction(nullptr, nullptr, nullptr);
        EXPECT_EQ(action.mError, c.expected) << c.what;
        EXPECT_EQ(action.mErrorClass, c.expectedClass) << c.what;
        EXPECT_FALSE(std::filesystem::exists(*this / "dest" / kTemporaryName)) << c.what;
    }
}

TEST_F(CBaseFileThreadTest, SuccessfulActionKeepsItsTemporaryFileAndSkipsTheErrorStep)
{
    Action action = ActionOn("file", mSourceID, mDestID);
    action.mWork = [&](Action&) { WriteText(*this / "dest" / kTemporaryName, "copy"); };
    action.ExecuteAction(nullptr, nullptr, nullptr);
    EXPECT_EQ(action.mError, noErr);
    EXPECT_EQ(action.mErrorCalls, 0);
    EXPECT_TRUE(std::filesystem::exists(*this / "dest" / kTemporaryName));

    action.mWork = [](Action& self) { self.mError = fnfErr; };
    action.ExecuteAction(nullptr, nullptr, nullptr);
    EXPECT_EQ(action.mErrorCalls, 1);
    EXPECT_FALSE(std::filesystem::exists(*this / "dest" / kTemporaryName));
}

TEST_F(CBaseFileThreadTest, LeftoverTemporaryFileIsRemovedOrReported)
{
    Action action = ActionOn("file", mSourceID, mDestID);
    EXPECT_TRUE(action.DeleteTemporaryFile()) << "none there";
    WriteText(*this / "dest" / kTemporaryName, "leftover");
    Lock(*this / "dest" / kTemporaryName);
    EXPECT_TRUE(action.DeleteTemporaryFile());
    EXPECT_FALSE(std::filesystem::exists(*this / "dest" / kTemporaryName));

    // In a locked folder it can be neither deleted nor moved to the trash.
    WriteText(*this / "dest" / kTemporaryName, "leftover");
    Lock(*this / "dest");
    EXPECT_FALSE(action.DeleteTemporaryFile());
    Lock(*this / "dest", false);
    EXPECT_EQ(action.mError, fBsyErr);
    EXPECT_EQ(action.mErrorClass, 1);
    EXPECT_TRUE(std::filesystem::exists(*this / "dest" / kTemporaryName));
}

TEST_F(CBaseFileThreadTest, SpecialEntriesAtAVolumeRootBecomeEmptyFolders)
{
    struct Case {
        const char* name;
        bool sourceAtRoot;
        bool destAtRoot;
        bool special;
        bool invisible;
    };
    const Case cases[] = {
        {".vol", true, true, true, true},
        {"dev", true, false, true, true},
        {"automount", false, true, true, false},
        {"dev", false, false, false, false},
        {".vol", false, false, false, false},
        {"Dev", true, true, false, false},
        {"devices", true, true, false, false},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(*this / "dest");
        std::filesystem::remove_all(*this / c.name);
        std::filesystem::create_directories(*this / "dest");
        const SInt32 dest = c.destAtRoot ? fsRtDirID : FolderID(*this / "dest");
        Action action = ActionOn(c.name, c.sourceAtRoot ? fsRtDirID : mSourceID, dest);
        const std::string what = std::string(c.name) + (c.sourceAtRoot ? " from the root" : "") +
                                 (c.destAtRoot ? " to the root" : "");
        EXPECT_EQ(action.CheckIfSpecialMacOSXSystemFile(), c.special) << what;
        const auto made = (c.destAtRoot ? Volume().MountPoint() : *this / "dest") / c.name;
        EXPECT_EQ(std::filesystem::is_directory(made), c.special) << what;
        if (!c.special)
            continue;
        EXPECT_TRUE(std::filesystem::is_empty(made)) << what;
        CInfoPBRec pb;
        ASSERT_EQ(CatInfo(mVRefNum, dest, c.name, &pb), noErr) << what;
        EXPECT_EQ((pb.dirInfo.ioDrUsrWds.frFlags & kIsInvisible) != 0, c.invisible) << what;
        EXPECT_TRUE(action.CheckIfSpecialMacOSXSystemFile()) << what << ": handled also when it exists";
    }
}

TEST_F(CBaseFileThreadTest, DestinationSizeCheckAcceptsExactlyEnoughRoom)
{
    WriteText(*this / "source/file", std::string(2049, 'x')); // 3 KB rounded up
    struct Case {
        const char* what;
        UInt32 freeKB;
        UInt32 calculatedKB;
        bool fits;
    };
    const Case cases[] = {
        {"exactly the item's size", 3, 0, true},
        {"one kilobyte short", 2, 0, false},
        {"short of the item, enough for what the copy needs", 2, 2, true},
        {"short of both", 1, 2, false},
    };
    for (const Case& c : cases) {
        Action action = ActionOn("file", mSourceID, mDestID);
        ASSERT_EQ(action.SizeKB(), 3u);
        action.mFreeKB = c.freeKB;
        action.mCalculatedKB = c.calculatedKB;
        Str255 volumeName{};
        EXPECT_EQ(action.CheckVolumeSize(volumeName), c.fits) << c.what;
        EXPECT_EQ(action.mError, c.fits ? noErr : dskFulErr) << c.what;
        EXPECT_EQ(Text(volumeName), Volume().MountPoint().filename().string()) << c.what;
    }
    Action deletion(mVRefNum, mSourceID, "file", 0, 0);
    deletion.mFreeKB = 0;
    EXPECT_TRUE(deletion.CheckVolumeSize(nullptr)) << "no destination, nothing to fit";
}

TEST_F(CBaseFileThreadTest, RealVolumeHasRoomForASmallFile)
{
    WriteText(*this / "source/file", "small");
    Action action = ActionOn("file", mSourceID, mDestID);
    EXPECT_TRUE(action.CheckDestVolumeSize(mVRefNum, nullptr));
    EXPECT_GT(action.GetFreeSize(mVRefNum), 1000u);
}

class IdleThread : public CBaseThread {
};

// The exception is thrown and caught on the walker's own stack; the walk goes on.
TEST_F(CBaseFileThreadTest, ActionOnAWalkingThreadEndsThereAndTheWalkGoesOn)
{
    Action action = ActionOn("file", mSourceID, mDestID);
    action.mWork = [](Action& self) {
        self.YieldSelf();
        throw std::runtime_error("lost the source");
    };
    bool walkedOn = false;
    auto* walker = new WorkThread([&](WorkThread& self) {
        UInt32 progress = 0;
        action.ExecuteAction(&self, &progress, nullptr);
        walkedOn = true;
    });
    walker->Resume();
    ASSERT_TRUE(testsupport::WaitUntil([&] {
        LThread::Yield();
        return walker->ThreadFinished();
    }));
    EXPECT_TRUE(walkedOn);
    EXPECT_EQ(action.mError, ioErr);
    EXPECT_EQ(action.mErrorClass, 1);
    walker->Resume();
    LThread::Yield();
    EXPECT_EQ(LThread::CountThreads(), 0u);
}

TEST_F(CBaseFileThreadTest, YieldPublishesProgressAndAnswersCancellation)
{
    SetTickCountForTesting(1000);
    IdleThread walker;
    UInt32 progress = 7;
    Action action = ActionOn("file", mSourceID, mDestID);
    std::vector<bool> stops;
    action.mWork = [&](Action& self) {
        self.mDoneBytes = 1025;
        stops.push_back(self.YieldSelf());
        walker.CancelThread();
        stops.push_back(self.YieldSelf());
    };
    action.ExecuteAction(&walker, &progress, nullptr);
    SetTickCountForTesting(std::nullopt);
    EXPECT_EQ(progress, 7u + 2u);
    EXPECT_EQ(stops, (std::vector<bool>{false, true}));

    Action alone = ActionOn("file", mSourceID, mDestID);
    alone.mWork = [&](Action& self) { stops.push_back(self.YieldSelf()); };
    alone.ExecuteAction(nullptr, nullptr, nullptr);
    EXPECT_FALSE(stops.back()) << "without a walker nothing stops it";
}

} // namespace
