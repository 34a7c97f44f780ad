// A clone of a small Linux system, checked by rsync, then an incremental run.

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <sstream>

#include "engine/UReportFile.h"
#include "tests/engine/ActionRunTest.h"

using namespace actionruntest;

namespace {

// An access list: owner rwx, user 1000 r, group r, mask r, others none.
const unsigned char kAcl[] = {2, 0, 0, 0, 1, 0, 7, 0, 0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 4, 0, 0xE8, 3, 0, 0,
                              4, 0, 4, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x10, 0, 4, 0, 0xFF, 0xFF, 0xFF, 0xFF,
                              0x20, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};

class CActionThreadCloneTest : public ActionRunTest {
protected:
    int DestMegabytes() const override { return 64; }

    void Own(const std::string& relative, uid_t owner, gid_t group, mode_t mode)
    {
        ASSERT_EQ(lchown(Source(relative).c_str(), owner, group), 0) << relative;
        ASSERT_EQ(chmod(Source(relative).c_str(), mode), 0) << relative;
    }

    void BuildSmallSystem()
    {
        Write(Source("etc/hostname"), "machine\n");
        Write(Source("etc/ssh/sshd_config"), "PermitRootLogin no\n");
        Write(Source("etc/ssh/keys/host_key"), "secret key");
        Own("etc/ssh/keys/host_key", 0, 0, 0600);
        Write(Source("etc/locked.conf"), "never changes");
        Write(Source(".hidden"), "invisible at the root");

        std::filesystem::create_directories(Source("usr/bin"));
        std::filesystem::copy_file("/bin/true", Source("usr/bin/ping"));
        Own("usr/bin/ping", 0, 0, 0755);
        ASSERT_EQ(testsupport::RunProcess({"setcap", "cap_net_raw+ep", Source("usr/bin/ping").string()}).exitStatus, 0);
        std::filesystem::copy_file("/bin/true", Source("usr/bin/su"));
        Own("usr/bin/su", 0, 0, 04755);
        Write(Source("usr/lib/libx.so.1.0"), std::string(20000, 'L'));
        std::filesystem::create_symlink("libx.so.1.0", Source("usr/lib/libx.so.1"));
        std::filesystem::create_symlink("missing.so", Source("usr/lib/dangling.so"));
        std::filesystem::create_directory_symlink("usr/lib", Source("lib"));
        Write(Source("usr/share/first"), "shared content");
        std::filesystem::create_hard_link(Source("usr/share/first"), Source("usr/share/second"));

        Write(Source("home/alice/.bashrc"), "alias ll='ls -l'\n");
        Write(Source("home/alice/.config/app/settings.conf"), "theme=dark\n");
        Write(Source("home/alice/" + std::string(200, 'l') + ".txt"), "a long name");
        Write(Source("home/alice/Ελληνικά.txt"), "not in Mac Roman");
        Write(Source("home/alice/notes.txt"), "with an attribute");
        ASSERT_EQ(setxattr(Source("home/alice/notes.txt").c_str(), "user.comment", "kept", 4, 0), 0);
        for (const char* path : {"home/alice/.config/app/settings.conf", "home/alice/.bashrc", "home/alice/notes.txt"})
            Own(path, 1000, 1000, 0640);
        for (const char* path : {"home/alice/.config/app", "home/alice/.config", "home/alice"})
            Own(path, 1000, 1000, 0750);

        std::filesystem::create_directories(Source("var/spool"));
        ASSERT_EQ(mkfifo(Source("var/spool/queue").c_str(), 0620), 0);
        std::filesystem::create_directories(Source("srv/devices"));
        ASSERT_EQ(mknod(Source("srv/devices/null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        std::filesystem::create_directories(Source("var/lib"));
        fileobjecttest::WriteText(Source("var/lib/disk.img"), "start");
        std::filesystem::resize_file(Source("var/lib/disk.img"), 8 * 1024 * 1024);
        Write(Source("srv/shared.txt"), "with an access list");
        ASSERT_EQ(setxattr(Source("srv/shared.txt").c_str(), "system.posix_acl_access", kAcl, sizeof kAcl, 0), 0);
        Write(Source("srv/www/index.html"), "<html></html>");
        Own("srv/www/index.html", 33, 33, 0644);
        Own("srv/www", 33, 33, 02775);
        std::filesystem::create_directories(Source("scratch"));
        Own("scratch", 0, 0, 01777);
        Write(Source("srv/report.csv"), "a,b\n");
        Own("srv/report.csv", 0, 100, 0640);

        Write(Source("root/.profile"), "umask 077\n");
        Write(Source("root/secret"), "only root");
        Own("root/secret", 0, 0, 0600);
        Own("root", 0, 0, 0700);

        // Times that differ from the moment of the copy, in whole seconds and beyond.
        for (const char* path : {"etc/hostname", "usr/lib/libx.so.1.0", "home/alice/notes.txt"}) {
            const timespec times[2] = {{1500000000, 250000000}, {1500000000, 750000000}};
            ASSERT_EQ(utimensat(AT_FDCWD, Source(path).c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
        }
        fileobjecttest::Lock(Source("etc/locked.conf"));
    }

    // rsync's list of what differs, less the report and the root folder's own time,
    // which a volume's root does not take from its source.
    std::vector<std::string> Differences()
    {
        const testsupport::ProcessResult result = testsupport::RunProcess(
            {"rsync", "-aAXn", "--delete", "--itemize-changes", std::string("--exclude=/") + kReportName,
             Source("").string() + "/", Dest("").string() + "/"});
        EXPECT_EQ(result.exitStatus, 0) << result.output;
        std::vector<std::string> lines;
        std::istringstream in(result.output);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line != ".d..t...... ./")
                lines.push_back(line);
        }
        return lines;
    }

    void TearDown() override
    {
        if (mSource)
            fileobjecttest::Lock(Source("etc/locked.conf"), false);
        if (mDest && std::filesystem::exists(Dest("etc/locked.conf")))
            fileobjecttest::Lock(Dest("etc/locked.conf"), false);
        ActionRunTest::TearDown();
    }
};

} // namespace

TEST_F(CActionThreadCloneTest, CloneMatchesItsSourceThenCopiesOnlyWhatChanged)
{
    BuildSmallSystem();
    const RunResult first = Run(CloneSettings());
    EXPECT_EQ(first.header.errors, 0u);
    EXPECT_EQ(first.header.finished, 1);
    EXPECT_EQ(first.header.cancelled, 0);
    EXPECT_EQ(first.header.replacedFiles, 0u);
    EXPECT_EQ(first.header.deletedFiles, 0u);
    EXPECT_TRUE(first.log.empty());
    EXPECT_EQ(Differences(), std::vector<std::string>{});
    EXPECT_TRUE(UFile::IsLocked(mDestVRefNum, filestest::FolderID(Dest("etc")), PString("locked.conf")));
    // Holes stay holes.
    struct stat sparse {};
    ASSERT_EQ(stat(Dest("var/lib/disk.img").c_str(), &sparse), 0);
    EXPECT_LT(sparse.st_blocks * 512, 1024 * 1024);

    // The report at the destination is the run's.
    ReportHeaderStruct header;
    std::unique_ptr<CListStructs> log(UReportFile::NewLog());
    const std::string report = Read(Dest(kReportName));
    ASSERT_EQ(UReportFile::Decode(std::span(reinterpret_cast<const UInt8*>(report.data()), report.size()), &header,
                                  log.get()),
              UReportFile::DecodeResult::kOK);
    EXPECT_EQ(header.newFiles, first.header.newFiles);
    EXPECT_EQ(header.finished, 1);

    // Change, add and delete; give one file another group only.
    const ino_t untouched = Inode(Dest("etc/ssh/sshd_config"));
    const ino_t regrouped = Inode(Dest("srv/report.csv"));
    Write(Source("etc/hostname"), "renamed machine\n");
    SetModificationTime(Source("etc/hostname"), 1500000017);
    Write(Source("home/alice/new.txt"), "new");
    Write(Source("opt/app/bin/run"), "#!/bin/sh\n");
    std::filesystem::remove(Source("usr/share/second"));
    std::filesystem::remove_all(Source("etc/ssh/keys"));
    ASSERT_EQ(lchown(Source("srv/report.csv").c_str(), 0, 4), 0);

    // rsync sees each of them before the run.
    const std::vector<std::string> pending = Differences();
    for (const char* item : {"etc/hostname", "home/alice/new.txt", "opt/app/bin/run", "usr/share/second",
                             "etc/ssh/keys/host_key", "srv/report.csv"}) {
        EXPECT_TRUE(std::any_of(pending.begin(), pending.end(),
                                [&](const std::string& line) { return line.ends_with(item); }))
            << item;
    }

    const RunResult second = Run(CloneSettings());
    EXPECT_EQ(second.header.errors, 0u);
    EXPECT_EQ(second.header.newFiles, 2u);
    EXPECT_EQ(second.header.replacedFiles, 1u);
    EXPECT_EQ(second.header.deletedFiles, 2u) << "one file, and one inside a deleted folder";
    EXPECT_EQ(second.filesHandled, 4u) << "three copies and the file inside the deleted folder";
    EXPECT_EQ(Differences(), std::vector<std::string>{});
    EXPECT_EQ(Inode(Dest("etc/ssh/sshd_config")), untouched);
    EXPECT_EQ(Inode(Dest("srv/report.csv")), regrouped) << "a group-only difference is repaired, not copied";
}
