// The application from start to quit, in a test package under the offscreen platform:
// its preferences, the bootable lists, the welcome, main and reminder windows, and the
// report files it is handed. The package's executable is already root-owned and
// set-uid, so the privilege step lets the start go on.

#include <gtest/gtest.h>

#include <QImage>

#include "engine/UReportFile.h"
#include "platform/Files.h"
#include "platform/SystemCommands.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/LoopVolume.h"
#include "toolkit/CListStructs.h"

namespace {

using namespace apptest;

class CAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!testsupport::RunningAsRoot())
            GTEST_SKIP() << "the package's executable is made root-owned and set-uid";
        TestPackage::SetOwnerAndMode(mPackage.Executable(), kRoot, 04755);
    }

    TestPackage mPackage;
};

TEST_F(CAppTest, StartsShowsItsWindowsAndQuits)
{
    const testsupport::ProcessResult result = testsupport::RunProcess(mPackage.Command());
    EXPECT_EQ(result.exitStatus, 0) << result.output;
    const std::string notes = mPackage.Notes();
    EXPECT_TRUE(Has(notes, "window 25000")) << notes;
    EXPECT_TRUE(Has(notes, "window 128")) << notes;
    EXPECT_TRUE(Has(notes, "state bootableCD=0 listCD=10 listMini=10 toolTips=1")) << notes;
    EXPECT_TRUE(Has(notes, "end 0")) << notes;
    // A first start has no preferences: the reminder waits 7 days.
    EXPECT_FALSE(Has(notes, "window 2189")) << notes;
    for (const char* window : {"25000", "128"}) {
        const QImage grab(QString::fromStdString((mPackage.Grabs() / (std::string(window) + ".png")).string()));
        EXPECT_FALSE(grab.isNull()) << window;
    }

    const PreferencesStruct saved = mPackage.ReadPreferences();
    EXPECT_EQ(fs::file_size(mPackage.PreferencesFile()), PreferencesStruct::kSize);
    EXPECT_EQ(saved.savedMark, 1);
    EXPECT_NEAR(double(saved.updateReminderTime), double(MacNow() + 604800), 30.0);
}

TEST_F(CAppTest, ReminderTimeZeroShowsTheReminderAndStoresSixtyDays)
{
    PreferencesStruct preferences;
    preferences.updateReminderTime = 0;
    preferences.reserved5[7] = 0x5A; // bytes the application does not know stay
    mPackage.WritePreferences(preferences);

    const std::string notes = mPackage.Run();
    EXPECT_TRUE(Has(notes, "window 2189")) << notes;
    const PreferencesStruct saved = mPackage.ReadPreferences();
    EXPECT_NEAR(double(saved.updateReminderTime), double(MacNow() + 5184000), 30.0);
    EXPECT_EQ(saved.reserved5[7], 0x5A);
}

TEST_F(CAppTest, ToolTipsAreOffOnlyForOne)
{
    const struct {
        UInt8 toolTipsOff;
        const char* state;
    } cases[] = {{0, "toolTips=1"}, {1, "toolTips=0"}, {2, "toolTips=1"}};
    for (const auto& c : cases) {
        PreferencesStruct preferences;
        preferences.updateReminderTime = 0xFFFFFFFF;
        preferences.toolTipsOff = c.toolTipsOff;
        mPackage.WritePreferences(preferences);
        fs::remove(mPackage.Log());
        const std::string notes = mPackage.Run();
        EXPECT_TRUE(Has(notes, c.state)) << int(c.toolTipsOff) << "\n" << notes;
        EXPECT_EQ(mPackage.ReadPreferences().toolTipsOff, c.toolTipsOff) << int(c.toolTipsOff);
    }
}

TEST_F(CAppTest, ShortPreferencesFileFillsOnlyTheStartOfTheRecord)
{
    // 336 bytes: up to the middle of the relaunch time; the reminder keeps its
    // default of seven days.
    std::vector<UInt8> bytes(336, 0);
    bytes[334] = 1;
    bytes[335] = 2;
    mPackage.WritePreferences(bytes);

    const std::string notes = mPackage.Run();
    EXPECT_FALSE(Has(notes, "window 2189")) << notes;
    const PreferencesStruct saved = mPackage.ReadPreferences();
    // The privileged run clears the relaunch time before it saves.
    EXPECT_EQ(saved.privilegeRelaunchTime, 0u);
    EXPECT_NEAR(double(saved.updateReminderTime), double(MacNow() + 604800), 30.0);
    EXPECT_EQ(fs::file_size(mPackage.PreferencesFile()), PreferencesStruct::kSize);
}

TEST_F(CAppTest, MinimalListIsTheFullOneWithoutItsFile)
{
    ASSERT_FALSE(fs::exists(mPackage.Resources() / "BootableMini.data"));
    EXPECT_TRUE(Has(mPackage.Run(), "listCD=10 listMini=10"));

    // With a file of its own, the minimal list is what the file holds.
    fs::copy_file(mPackage.Resources() / "BootableCD104.data", mPackage.Resources() / "BootableMini.data");
    CListStructs shorter(nullptr, CListStructs::kOwnLength8, 260);
    const UInt8 record[] = {8, 0, 0, 0, 3, 'u', 's', 'r'};
    shorter.AddStructToList(record, sizeof record);
    std::vector<UInt8> bytes;
    shorter.WriteToBytes(bytes, true);
    std::ofstream(mPackage.Resources() / "BootableMini.data", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    fs::remove(mPackage.Log());
    EXPECT_TRUE(Has(mPackage.Run(), "listCD=10 listMini=1"));
}

TEST_F(CAppTest, EmptyFullListStopsTheStart)
{
    fs::remove(mPackage.Resources() / "BootableCD104.data");
    const std::string notes = mPackage.Run();
    EXPECT_TRUE(Has(notes, "window 24997")) << notes;
    EXPECT_FALSE(Has(notes, "window 128")) << notes;
    EXPECT_TRUE(Has(notes, "end 0")) << notes;
}

TEST_F(CAppTest, LockedStartupVolumeSkipsPrivilegesReminderAndListCheck)
{
    // The executable is no longer privileged: a privilege step would relaunch or stop.
    TestPackage::SetOwnerAndMode(mPackage.Executable(), kRoot, 0755);
    fs::remove(mPackage.Resources() / "BootableCD104.data");
    PreferencesStruct preferences;
    preferences.updateReminderTime = 0;
    mPackage.WritePreferences(preferences);

    // The startup volume read-only in a mount namespace of the run's own; notes on
    // standard output, since no file can be written there.
    std::vector<std::string> command = mPackage.Command();
    std::erase_if(command, [](const std::string& arg) { return arg.starts_with("VARNO_PROBE_"); });
    std::string shell = "mount --make-rprivate / && mount -o remount,bind,ro / && exec";
    for (const std::string& arg : command)
        shell += " '" + arg + "'";
    const testsupport::ProcessResult result = testsupport::RunProcess({"unshare", "-m", "sh", "-c", shell});
    if (Has(result.output, "mount:"))
        GTEST_SKIP() << result.output;

    EXPECT_TRUE(Has(result.output, "window 128")) << result.output;
    EXPECT_TRUE(Has(result.output, "bootableCD=1 listCD=0 listMini=0")) << result.output;
    EXPECT_FALSE(Has(result.output, "window 2189")) << result.output;
    EXPECT_FALSE(Has(result.output, "window 24997")) << result.output;
    EXPECT_FALSE(TestPackage::IsRootSetuid(mPackage.Tool()));
    EXPECT_FALSE(TestPackage::IsRootSetuid(mPackage.Executable()));
}

// A report file as the desktop hands it over: the header with the volume it was
// written on, and a log of one entry.
void WriteReport(const fs::path& path, SInt16 volume)
{
    ReportHeaderStruct header;
    header.vRefNum = volume;
    const std::unique_ptr<CListStructs> log(UReportFile::NewLog());
    const LogEntryStruct entry = UReportFile::MakeLogEntry(reinterpret_cast<ConstStr255Param>("\x04" "file"), 0, false, 4);
    log->AddStructToList(&entry, entry.length);
    const std::vector<UInt8> bytes = UReportFile::Encode(header, *log);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

SInt16 VolumeOf(const fs::path& path)
{
    FSRef ref{};
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr), noErr) << path;
    return ref.vRefNum;
}

TEST_F(CAppTest, ReportAtAVolumeRootShowsThatVolume)
{
    testsupport::LoopVolume volume("VarnoReports" + std::to_string(getpid()));
    fs::create_directories(volume / "folder");
    WriteReport(volume / "Varno Report", 1234);
    WriteReport(volume / "folder/Varno Report", 1234);
    const fs::path notReport = volume / "notes.txt";
    std::ofstream(notReport) << "VrnoZVRX and more text than a header needs, by far, to be read at all";

    const std::string notes =
        mPackage.Run({(volume / "Varno Report").string(), (volume / "folder/Varno Report").string(),
                      notReport.string(), (volume / "missing").string()});
    const std::string atRoot = "report volume=" + std::to_string(VolumeOf(volume.MountPoint())) + " entries=1";
    EXPECT_TRUE(Has(notes, atRoot)) << notes;
    EXPECT_TRUE(Has(notes, "report volume=1234 entries=1")) << notes;
    // The file that is no report and the missing one are passed over.
    std::size_t reports = 0;
    for (std::size_t at = notes.find("report volume="); at != std::string::npos; at = notes.find("report volume=", at + 1))
        ++reports;
    EXPECT_EQ(reports, 2u) << notes;
    EXPECT_TRUE(Has(notes, "window 128")) << notes;
}

TEST(Package, OpeningThePackageStartsItsExecutable)
{
    const std::string package = testsupport::PackagePath().string();
    const std::vector<std::string> command = MapCommandLine({"/usr/bin/open", package});
    ASSERT_EQ(command.size(), 1u);
    EXPECT_EQ(command[0], package + "/Contents/MacOS/Varno");
    EXPECT_TRUE(fs::exists(command[0]));
}

TEST(Package, DesktopEntryStartsThePackagesExecutableWithDocuments)
{
    const std::string entry = testsupport::ReadFile(testsupport::PackagePath() / "Contents/Resources/Varno.desktop");
    const std::string executable = (testsupport::PackagePath() / "Contents/MacOS/Varno").string();
    EXPECT_TRUE(Has(entry, "\nExec=\"" + executable + "\" %F\n")) << entry;
    EXPECT_TRUE(Has(entry, "\nMimeType=application/x-varno-report;\n")) << entry;
    const std::size_t icon = entry.find("\nIcon=");
    ASSERT_NE(icon, std::string::npos);
    const std::size_t start = icon + 6;
    EXPECT_TRUE(fs::exists(entry.substr(start, entry.find('\n', start) - start))) << entry;
}

} // namespace
