// UFile: compiled scripts, the desktop's file manager, and the application package.

#include "filesystem/UFile.h"

#include <cstdlib>

#include "platform/MacRoman.h"
#include "platform/OSA.h"
#include "tests/platform/FilesTestSupport.h"

using filestest::PString;
using filestest::Text;

namespace {

FSSpec SpecOf(const std::filesystem::path& path)
{
    const FSRef ref = filestest::RefOf(path);
    FSSpec spec{};
    EXPECT_EQ(UFile::ConvertFSRefToFSSpec(&ref, &spec), noErr) << path;
    return spec;
}

// Sets an environment variable for one scope.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : mName(name)
    {
        if (const char* old = std::getenv(name))
            mOld = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnvironment() { mOld ? setenv(mName, mOld->c_str(), 1) : unsetenv(mName); }

private:
    const char* mName;
    std::optional<std::string> mOld;
};

class UFileScriptTest : public ::testing::Test {
protected:
    testsupport::TempFolder mFolder;
};

TEST_F(UFileScriptTest, ScriptGetsTheHandlerAndTheTextAndReportsFailure)
{
    struct Case {
        const char* exitStatus;
        bool failed;
    };
    for (const Case& c : {Case{"0", false}, Case{"3", true}}) {
        const auto script = mFolder.WriteFile("Script.scpt", std::string("#!/bin/sh\nprintf '%s|%s' \"$1\" \"$2\" > \"") +
                                                                (mFolder / "ran").string() + "\"\nexit " +
                                                                c.exitStatus + "\n");
        Str255 text{};
        TextToStr255(MacRomanFromText("Volume \xC3\xA9t\xC3\xA9"), text);
        const FSSpec spec = SpecOf(script);
        EXPECT_EQ(UFile::RunAppleScript(&spec, text), c.failed) << c.exitStatus;
        EXPECT_EQ(testsupport::ReadFile(mFolder / "ran"), "applescriptentry|Volume \xC3\xA9t\xC3\xA9") << c.exitStatus;
    }
}

TEST_F(UFileScriptTest, MissingOrEmptyScriptRunsNothing)
{
    FSSpec missing = SpecOf(mFolder.Path());
    missing.parID = SInt32(filestest::FolderID(mFolder.Path()));
    std::memcpy(missing.name, PString("Missing.scpt").bytes, 13);
    EXPECT_FALSE(UFile::RunAppleScript(&missing, PString("x")));
    const FSSpec empty = SpecOf(mFolder.WriteFile("Empty.scpt", ""));
    EXPECT_FALSE(UFile::RunAppleScript(&empty, PString("x")));
}

TEST_F(UFileScriptTest, ScriptErrorTextAndResultText)
{
    const auto script = mFolder.WriteFile("Talk.scpt", "#!/bin/sh\necho \"said $2\"\n[ \"$2\" = good ]\n");
    AEDesc code;
    std::string bytes = testsupport::ReadFile(script);
    ASSERT_EQ(AECreateDesc(typeOSAGenericStorage, bytes.data(), Size(bytes.size()), &code), noErr);
    for (const char* argument : {"good", "bad"}) {
        const ProcessSerialNumber self{0, kCurrentProcess};
        AEAddressDesc target;
        AppleEvent event;
        AEDescList list;
        AEDesc text;
        AECreateDesc(typeProcessSerialNumber, &self, sizeof self, &target);
        AECreateAppleEvent(kASAppleScriptSuite, kASSubroutineEvent, &target, 0, 0, &event);
        AECreateList(&list);
        AECreateDesc(typeChar, argument, Size(std::strlen(argument)), &text);
        AEPutDesc(&list, 0, &text);
        AEPutParamDesc(&event, keyDirectObject, &list);
        AEPutParamPtr(&event, keyASSubroutineName, typeChar, "run", 3);
        AEDesc result;
        const OSErr err = UFile::ExecuteCompiledAppleScriptEvent(&code, &event, &result);
        EXPECT_EQ(err, std::string(argument) == "good" ? OSErr(noErr) : OSErr(errOSAScriptError)) << argument;
        EXPECT_EQ(result.data, "said " + std::string(argument) + "\n") << argument;
    }
}

TEST(UFilePackageTest, PackageIsTheFolderAboveContents)
{
    testsupport::TempFolder folder;
    std::filesystem::create_directories(folder / "Tool.app/Contents/MacOS");
    const auto inside = folder.WriteFile("Tool.app/Contents/MacOS/Tool", "#!/bin/sh\n", 0755);
    const auto outside = folder.WriteFile("Loose", "#!/bin/sh\n", 0755);
    std::filesystem::create_directories(folder / "Other/NotContents/MacOS");
    const auto elsewhere = folder.WriteFile("Other/NotContents/MacOS/Tool", "#!/bin/sh\n", 0755);

    FSSpec package{};
    FSSpec app = SpecOf(inside);
    ASSERT_EQ(UFile::GetPackageOfApplication(&app, &package), noErr);
    EXPECT_EQ(Text(package.name), "Tool.app");
    EXPECT_EQ(package.parID, filestest::FolderID(folder.Path()));
    for (const auto& path : {outside, elsewhere}) {
        app = SpecOf(path);
        ASSERT_EQ(UFile::GetPackageOfApplication(&app, &package), noErr);
        EXPECT_EQ(std::memcmp(&package, &app, sizeof app), 0) << path;
    }
}

TEST(UFilePackageTest, RunningProgramIsItsOwnFileAndFront)
{
    FSSpec self{};
    ASSERT_EQ(UFile::GetThisApplicationFSSpec(&self), noErr);
    EXPECT_EQ(Text(self.name), "filesystem_tests");
    EXPECT_TRUE(UFile::IsFrontProcess());
    EXPECT_EQ(UFile::SetMeFrontProcess(), noErr);
    // Names with neither volume nor folder are looked up beside the package.
    FSSpec beside{};
    ASSERT_EQ(UFile::MakeFileSpec(0, 0, PString("filesystem_tests"), &beside), noErr);
    EXPECT_EQ(std::memcmp(&beside, &self, sizeof self), 0);
    short vRefNum = 0;
    long dirID = 0;
    EXPECT_FALSE(UFile::GetThisAppResourceFolderFSSpec(&vRefNum, &dirID)); // not in a package
    long owner = 0;
    EXPECT_EQ(UFile::GetThisApplicationOwner(&owner), noErr);
    EXPECT_EQ(owner, long(geteuid()));
    EXPECT_FALSE(UFile::ThisApplicationSetuidBit());
}

TEST(UFileVersionTest, ShortVersionOfTheVersionRecordAtMost31Characters)
{
    testsupport::TempFolder resources;
    SetResourceFolderForTesting(resources.Path().string());
    Str255 version{};
    VersRec record{};
    EXPECT_FALSE(UFile::GetVersionRecord(&record));
    UFile::GetShortVersion(version);
    EXPECT_EQ(version[0], 0);

    resources.WriteFile("1.vers", "2.1.4\nVarno 2.1.4\n");
    ASSERT_TRUE(UFile::GetVersionRecord(&record));
    EXPECT_EQ(record.numericVersion.majorRev, 2);
    UFile::GetShortVersion(version);
    EXPECT_EQ(Text(version), "2.1.4");
    resources.WriteFile("1.vers", std::string(40, '9') + "\n");
    UFile::GetShortVersion(version);
    EXPECT_EQ(Text(version), std::string(31, '9'));
    SetResourceFolderForTesting("");
}

TEST(UFileProcessTest, FileManagerIsAProcessOnlyInADesktopSession)
{
    ProcessSerialNumber psn{};
    ProcessInfoRec info{};
    {
        ScopedEnvironment display("DISPLAY", ":0");
        ScopedEnvironment bus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nowhere");
        ASSERT_EQ(UFile::FindAProcess(kFinderType, kFinderSignature, &psn, &info), noErr);
        EXPECT_EQ(info.processSignature, kFinderSignature);
        EXPECT_EQ(UFile::NewSendActivateFinderAppleEvent(), noErr);
    }
    ScopedEnvironment display("DISPLAY", nullptr);
    ScopedEnvironment wayland("WAYLAND_DISPLAY", nullptr);
    EXPECT_EQ(UFile::FindAProcess(kFinderType, kFinderSignature, &psn, &info), procNotFound);
}

TEST(UFileIconTest, IconsNameThemeIcons)
{
    testsupport::TempFolder folder;
    std::filesystem::create_directory(folder / "sub");
    folder.WriteFile("doc", "text");
    const FSSpec inside = SpecOf(folder / "doc");
    struct Case {
        short vol;
        long dir;
        std::string name;
        const char* icon;
    };
    const Case cases[] = {
        {inside.vRefNum, inside.parID, "sub", "folder"},
        {inside.vRefNum, inside.parID, "doc", "text-x-generic"},
    };
    for (const Case& c : cases) {
        IconRef icon = nullptr;
        ASSERT_EQ(UFile::GetFileIconRef(c.vol, c.dir, PString(c.name), &icon), noErr) << c.name;
        EXPECT_EQ(IconRefThemeName(icon), c.icon) << c.name;
        ReleaseIconRef(icon);
    }
    IconRef icon = nullptr;
    EXPECT_NE(UFile::GetFileIconRef(inside.vRefNum, inside.parID, PString("missing"), &icon), noErr);
    ASSERT_EQ(UFile::GetGenericFolderIconRef(&icon), noErr);
    EXPECT_EQ(IconRefThemeName(icon), "folder");
    AcquireIconRef(icon);
    ReleaseIconRef(icon);
    EXPECT_EQ(IconRefThemeName(icon), "folder"); // still held once
    ReleaseIconRef(icon);
}

// Opening and revealing run the desktop's programs: stand-ins on the PATH record them.
TEST(UFileFinderTest, OpenRunsXdgOpenAndRevealCallsTheFileManager)
{
    testsupport::TempFolder bin;
    testsupport::TempFolder items;
    for (const char* program : {"xdg-open", "dbus-send"}) {
        bin.WriteFile(program, std::string("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"") + (bin / program).string() +
                                   ".log\"\n",
                      0755);
    }
    const std::string path = std::string(std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin");
    ScopedEnvironment search("PATH", (bin.Path().string() + ":" + path).c_str());
    const auto document = items.WriteFile("A document, 1.txt", "text");
    const long folder = filestest::FolderID(items.Path());
    const FSSpec spec = SpecOf(document);

    EXPECT_EQ(UFile::SendOpenFileOrFolderEvent(spec.vRefNum, folder, spec.name, false), noErr);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return std::filesystem::exists(bin / "xdg-open.log"); }));
    EXPECT_TRUE(testsupport::WaitUntil([&] { return testsupport::ReadFile(bin / "xdg-open.log") == document.string() + "\n"; }));

    EXPECT_EQ(UFile::SendOpenFileOrFolderEvent(spec.vRefNum, folder, spec.name, true), noErr);
    const std::string uri = "file://" + items.Path().string() + "/A%20document%2C%201.txt";
    const std::string expected = "--session\n--type=method_call\n--dest=org.freedesktop.FileManager1\n"
                                 "/org/freedesktop/FileManager1\norg.freedesktop.FileManager1.ShowItems\n"
                                 "array:string:" + uri + "\nstring:\n";
    EXPECT_TRUE(testsupport::WaitUntil([&] { return testsupport::ReadFile(bin / "dbus-send.log") == expected; }))
        << testsupport::ReadFile(bin / "dbus-send.log");

    EXPECT_EQ(UFile::SendOpenFileOrFolderEvent(spec.vRefNum, folder, PString("missing"), false), fnfErr);
    EXPECT_EQ(UFile::NewSendOpenFileAppleEvent(&spec, 0), paramErr);
}

} // namespace
