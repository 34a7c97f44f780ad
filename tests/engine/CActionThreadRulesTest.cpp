// Which items take part in an action run, and what becomes of each.

#include "engine/UReportFile.h"
#include "tests/engine/ActionRunTest.h"
#include "toolkit/BigEndian.h"

using namespace actionruntest;
namespace fs = std::filesystem;

namespace {

struct RestrictionEntry {
    UInt8 depth;
    UInt16 next;
    const char* name;
};

// Depth-first entries: length, depth, next index of the same depth (big-endian), name.
CListStructs* RestrictionList(const std::vector<RestrictionEntry>& entries)
{
    auto* list = new CListStructs(nullptr, CListStructs::kOwnLength8, 0);
    for (const RestrictionEntry& e : entries) {
        UInt8 record[64] = {};
        const UInt8 length = UInt8(std::strlen(e.name));
        record[0] = UInt8(length + 5);
        record[1] = e.depth;
        PutBigEndian16(record + 2, e.next);
        record[4] = length;
        std::memcpy(record + 5, e.name, length);
        list->AddStructToList(record, record[0]);
    }
    return list;
}

class CActionThreadRulesTest : public ActionRunTest {
protected:
    // Paths that must exist at the destination after the run, and paths that must not.
    void ExpectDest(const std::vector<std::string>& present, const std::vector<std::string>& absent)
    {
        for (const std::string& path : present)
            EXPECT_TRUE(fs::exists(fs::symlink_status(Dest(path)))) << path << " should be at the destination";
        for (const std::string& path : absent)
            EXPECT_FALSE(fs::exists(fs::symlink_status(Dest(path)))) << path << " should not be at the destination";
    }
};

} // namespace

TEST_F(CActionThreadRulesTest, SpotlightFoldersAtTheRootAreNeitherCopiedNorDeleted)
{
    Write(Source(".Spotlight-V100/store"), "index");
    Write(Source("sub/.Spotlight-V100/store"), "index one level deeper");
    Write(Dest(".Spotlight-V100/old"), "the destination's own index");
    const RunResult result = Run(CloneSettings());
    EXPECT_EQ(result.header.errors, 0u);
    ExpectDest({".Spotlight-V100/old", "sub/.Spotlight-V100/store"}, {".Spotlight-V100/store"});
}

TEST_F(CActionThreadRulesTest, UserFoldersLeaveOutHomesButKeepSharedAndLocalized)
{
    for (const char* path : {"Users/.localized", "Users/note.txt", "Users/Shared/.localized", "Users/Shared/doc.txt",
                             "Users/Shared/inner/file", "Users/alice/file"})
        Write(Source(path), "x");
    Write(Dest("Users/bob/file"), "the destination's own home");
    ActionSettingsStruct settings = CloneSettings();
    settings.userFolders = 1;
    EXPECT_EQ(Run(settings).header.errors, 0u);
    ExpectDest({"Users/.localized", "Users/Shared/.localized", "Users/bob/file"},
               {"Users/note.txt", "Users/Shared/doc.txt", "Users/Shared/inner", "Users/alice"});

    // A "Users" folder only at the destination's root stays too.
    fs::remove_all(Source("Users"));
    Run(settings);
    ExpectDest({"Users/bob/file", "Users/Shared/.localized"}, {});
}

TEST_F(CActionThreadRulesTest, ReportFileIsNeverCopiedNorDeleted)
{
    Write(Source(kReportName), "the source's report");
    SetModificationTime(Source(kReportName), 1000000000);
    Write(Source("sub/file"), "x");
    Write(Dest(kReportName), "the destination's report");
    Write(Dest(std::string("sub/") + kReportName), "stale");
    Run(CloneSettings(), ([](CActionThread& thread) { thread.mWriteReport = false; }));
    EXPECT_EQ(Read(Dest(kReportName)), "the destination's report");
    EXPECT_EQ(Read(Dest(std::string("sub/") + kReportName)), "stale");
}

TEST_F(CActionThreadRulesTest, LanguageFilterCopiesOnlyTheListedLanguageFolders)
{
    for (const char* path : {"App/English.lproj/strings", "App/French.lproj/strings", "App/Resources/icon"})
        Write(Source(path), "x");
    Write(Dest("App/German.lproj/strings"), "the destination's own");
    Run(CloneSettings(), ([](CActionThread& thread) { thread.mLanguageFilter = true; }));
    ExpectDest({"App/English.lproj/strings", "App/Resources/icon", "App/German.lproj/strings"}, {"App/French.lproj"});
}

TEST_F(CActionThreadRulesTest, DeveloperFilesAreLeftOutWhenAsked)
{
    for (const char* path : {"lib/Headers/api.h", "lib/libx_debug", "lib/libx_profile", "lib/libx"})
        Write(Source(path), "x");
    Run(CloneSettings(),
        ([](CActionThread& thread) { thread.mSkipDeveloperFiles = true; }));
    ExpectDest({"lib/libx"}, {"lib/Headers", "lib/libx_debug", "lib/libx_profile"});
}

TEST_F(CActionThreadRulesTest, DestinationOnlyItemsFollowTheDeletionSettings)
{
    struct Case {
        const char* name;
        bool keepDestinationRoot;
        bool noDeletions;
        std::vector<std::string> kept;
        std::vector<std::string> deleted;
        UInt32 deletedCount;
    };
    const Case cases[] = {
        {"deletions", false, false, {}, {"root.txt", "rootfolder", "sub/file.txt"}, 3},
        {"keep destination root", true, false, {"root.txt", "rootfolder/inner"}, {"sub/file.txt"}, 1},
        {"no deletions", false, true, {"root.txt", "rootfolder/inner", "sub/file.txt"}, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write(Source("sub/kept.txt"), "x");
        Write(Dest("root.txt"), "only here");
        Write(Dest("rootfolder/inner"), "only here");
        Write(Dest("sub/file.txt"), "only here");
        ActionSettingsStruct settings = CloneSettings();
        settings.keepDestinationRoot = c.keepDestinationRoot;
        settings.noDeletions = c.noDeletions;
        const RunResult result = Run(settings);
        ExpectDest(c.kept, c.deleted);
        EXPECT_EQ(result.header.deletedFiles, c.deletedCount);
        EXPECT_EQ(result.header.errors, 0u);
        EXPECT_TRUE(result.log.empty());
        for (const char* path : {"root.txt", "rootfolder", "sub"})
            fs::remove_all(Dest(path));
    }
}

TEST_F(CActionThreadRulesTest, RestrictionListLimitsTheCopyToItsTree)
{
    for (const char* path : {"etc/ssh/config", "etc/ssh/keys/key", "etc/passwd", "etc/other/file", "usr/bin/tool",
                             "var/log/syslog", "top.txt"})
        Write(Source(path), "x");
    CListStructs* restriction = RestrictionList({{0, 0xFFFF, "etc"}, {1, 0xFFFF, "ssh"}, {1, 0, "passwd"},
                                                 {0, 0xFFFF, "usr"}});
    Run(CloneSettings(), ([&](CActionThread& thread) {
            thread.mRestrictionList = restriction;
            thread.mOwnsRestrictionList = true;
        }));
    ExpectDest({"etc/ssh/config", "etc/ssh/keys/key", "etc/passwd", "usr/bin/tool"},
               {"etc/other", "var", "top.txt"});
}

TEST_F(CActionThreadRulesTest, RestrictionListThatPointsBackwardsStillEnds)
{
    for (const char* path : {"etc/passwd", "etc/other", "zzz/file"})
        Write(Source(path), "x");
    // The first entry names itself as the next of its depth.
    CListStructs* restriction = RestrictionList({{0, 1, "zzz"}, {0, 0xFFFF, "etc"}, {1, 0xFFFF, "passwd"}});
    Run(CloneSettings(), ([&](CActionThread& thread) {
            thread.mRestrictionList = restriction;
            thread.mOwnsRestrictionList = true;
        }));
    ExpectDest({"etc/passwd", "zzz/file"}, {"etc/other"});
}

TEST_F(CActionThreadRulesTest, VolumesFolderAtTheRootIsMadeEmpty)
{
    Write(Source("Volumes/Other Disk/file"), "x");
    Write(Source("sub/Volumes/file"), "x");
    Run(CloneSettings());
    EXPECT_TRUE(fs::is_empty(Dest("Volumes")));
    ExpectDest({"sub/Volumes/file"}, {});
}

TEST_F(CActionThreadRulesTest, RootOwnerGivesCopiesToRootWithStandardRights)
{
    Write(Source("app/bin/tool"), "x");
    for (const char* path : {"app/bin/tool", "app/bin", "app"}) {
        ASSERT_EQ(chown(Source(path).c_str(), 1000, 1000), 0);
        ASSERT_EQ(chmod(Source(path).c_str(), 0700), 0);
    }
    Run(CloneSettings(), ([](CActionThread& thread) { thread.mSetRootOwner = true; }));
    struct Case {
        const char* path;
        long rights; // the rights bytes of the access word
    };
    for (const Case& c : {Case{"app/bin/tool", 0x030707}, Case{"app/bin", 0x030307}, Case{"app", 0x030307}}) {
        const fs::path path = Dest(c.path);
        long owner = -1, group = -1, access = 0;
        ASSERT_EQ(UFile::GetOwner(mDestVRefNum, filestest::FolderID(path.parent_path()), PString(path.filename()),
                                  &owner, &group, &access),
                  noErr)
            << c.path;
        EXPECT_EQ(owner, 0) << c.path;
        EXPECT_EQ(group, 0) << c.path;
        EXPECT_EQ(access & 0x070707, c.rights) << c.path;
    }
}
