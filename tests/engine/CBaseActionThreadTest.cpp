#include <gtest/gtest.h>

#include <memory>

#include "engine/CActionThread.h"
#include "tests/platform/FilesTestSupport.h"

using filestest::PString;
using filestest::Text;

namespace {

// A thread that is never started: its texts alone.
std::unique_ptr<CActionThread> IdleThread()
{
    const ActionSettingsStruct settings;
    return std::make_unique<CActionThread>(&settings);
}

} // namespace

TEST(CBaseActionThreadTest, PathTextFollowsTheLevelAndStopsSeparatingNearTheEnd)
{
    auto thread = IdleThread();
    thread->SetFolderName(PString("Disk"));
    thread->mLevel = 1;
    thread->SetFolderName(PString("usr"));
    thread->mLevel = 2;
    thread->SetFolderName(PString("lib"));
    EXPECT_EQ(Text(thread->mPathText), "Disk/usr/lib");
    thread->SetFolderName(nullptr);
    thread->mLevel = 1;
    EXPECT_EQ(Text(thread->mPathText), "Disk/usr");
    thread->SetFolderName(PString("share"));
    EXPECT_EQ(Text(thread->mPathText), "Disk/share") << "a sibling replaces the folder left";

    // Names that reach the end of the text: no separator once it is 254 bytes long.
    thread->mLevel = 0;
    thread->SetFolderName(nullptr);
    thread->SetFolderName(PString(std::string(254, 'a')));
    thread->mLevel = 1;
    thread->SetFolderName(PString("b"));
    EXPECT_EQ(Text(thread->mPathText), std::string(254, 'a') + "b");
}

TEST(CBaseActionThreadTest, FileTextShowsTheNameAndSize)
{
    struct Case {
        std::string name;
        UInt32 sizeKB;
        std::string expected;
    };
    const Case cases[] = {
        {"notes.txt", 12, "notes.txt (12K)"},
        {"large.img", 9999, "large.img (9999K)"},
        {"larger.img", 10000, "larger.img (9M)"},
        {"huge.img", 5 * 1024 * 1024, "huge.img (5120M)"},
        {std::string(60, 'n'), 0, std::string(50, 'n') + " (0K)"},
    };
    auto thread = IdleThread();
    for (const Case& c : cases) {
        CompFolderStruct record{};
        PString name(c.name);
        std::memcpy(record.name, name.bytes, c.name.size() + 1);
        record.recordLength = UInt8(27 + c.name.size());
        record.sizeKB = c.sizeKB;
        thread->DisplayFile(&record);
        EXPECT_EQ(Text(thread->mFileText), c.expected) << c.name;
    }
}
