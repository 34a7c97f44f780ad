#include "app/CApp.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "app/CMainWindow.h"
#include "app/StartupPrivilegeStep.h"
#include "filesystem/CFileObject.h"
#include "filesystem/UFile.h"
#include "framework/LDialogBox.h"
#include "framework/LView.h"
#include "framework/LWindow.h"
#include "framework/UDesktop.h"
#include "framework/UEventLoop.h"
#include "framework/UException.h"
#include "framework/UReanimator.h"
#include "framework/URegistrar.h"
#include "platform/Folders.h"
#include "platform/Gestalt.h"
#include "platform/InternetConfig.h"
#include "platform/MacRoman.h"
#include "platform/Resources.h"
#include "privileges/ExecuteAsRootTools.h"
#include "toolkit/CListStructs.h"
#include "toolkit/CStr255.h"
#include "toolkit/UDate.h"
#include "ui/CFileIconRef.h"
#include "ui/CPictureMasked.h"
#include "ui/CStaticTextButton.h"
#include "ui/CToolTips.h"

CApp* CApp::sApplication = nullptr;
Boolean CApp::sBootableCD = false;
CMainWindow* CApp::sMainWindow = nullptr;
PreferencesStruct CApp::sPreferences;
std::unique_ptr<CListStructs> CApp::sListBootableCD;
std::unique_ptr<CListStructs> CApp::sListBootableMini;
CApp::ReportViewer CApp::sReportViewer = nullptr;

namespace {

constexpr ResIDT kFileNamesList = 128;
constexpr SInt16 kPreferencesFileIndex = 1;
constexpr SInt16 kHelpFileIndex = 4;
constexpr ResIDT kWebList = 129;
constexpr SInt16 kMakerSiteIndex = 1;
constexpr SInt16 kUpdatePageIndex = 2;
constexpr SInt16 kNumberFormatIndex = 4;
constexpr ResIDT kVolumesWindowID = 233;

constexpr CommandT cmd_Help = CommandT(MakeOSType("HeLp"));
constexpr CommandT cmd_Update = CommandT(MakeOSType("upda"));
constexpr CommandT cmd_UpdateMenuItem = -9975489;
constexpr CommandT cmd_WebSite = CommandT(MakeOSType("WebS"));
constexpr CommandT cmd_ListVolumes = CommandT(MakeOSType("LisV"));

constexpr OSType kCreator = MakeOSType("Vrno");
constexpr OSType kPreferencesType = MakeOSType("pref");
constexpr long kBootableRecordStep = 260;
constexpr long kModernSystem = 0x1040;

// A bootable list: records that carry their own one-byte length.
std::unique_ptr<CListStructs> NewRecordList()
{
    return std::make_unique<CListStructs>(nullptr, CListStructs::kOwnLength8, kBootableRecordStep);
}

long SystemVersion()
{
    long version = 0;
    return Gestalt(gestaltSystemVersion, &version) == noErr ? version : 0;
}

// A list file of the Resources folder read into `list`; nothing when it is missing or unreadable.
void ReadResourceList(const char* name, CListStructs* list)
{
    SInt16 volume = 0;
    long folder = 0;
    if (!UFile::GetThisAppResourceFolderFSSpec(&volume, &folder))
        return;
    Str255 fileName;
    TextToStr255(name, fileName);
    CFileObject file(volume, folder, fileName);
    if (file.ExistsOnDisk() && file.OpenDataFork(fsRdPerm) == noErr) {
        file.ReadFromFile(list, true);
        file.Close();
    }
}

Boolean RunsFromLockedStartupVolume()
{
    FSSpec application;
    return UFile::GetThisApplicationFSSpec(&application) == noErr &&
           application.vRefNum == UFile::GetNthVolumeVRefNum(1) && UFile::IsVolumeLocked(application.vRefNum);
}

} // namespace

CApp::CApp() : CDocApplication(kWelcomeID, kAboutID, kWelcomeTicks)
{
    RegisterClasses();
    UEventLoop::AddAttachment(&mYield);
    UEventLoop::SetSleepTime(6);
    sBootableCD = RunsFromLockedStartupVolume();
    Str255 numberFormat;
    GetIndString(numberFormat, kWebList, kNumberFormatIndex);
    if (numberFormat[0] != 0 && numberFormat[1] != '0')
        CStr255::sNumberFormat = 1;
}

CApp::~CApp()
{
    sListBootableCD.reset();
    sListBootableMini.reset();
}

void CApp::RegisterClasses()
{
    URegistrar::RegisterClass<CFileIconRef>(MakeOSType("icRf"));
    URegistrar::RegisterClass<CPictureMasked>(MakeOSType("PicM"));
    URegistrar::RegisterClass<CStaticTextButton, QLabel>(MakeOSType("CTex"));
    URegistrar::RegisterClass<CToolTips>(MakeOSType("WTip"));
    URegistrar::RegisterClass<CWindow>(MakeOSType("Dlog"));
    URegistrar::RegisterClass<CMainWindow>(MakeOSType("MWin"));
}

Boolean CApp::ObeyCommand(CommandT command, void* ioParam)
{
    switch (command) {
    case cmd_Help:
        DoHelp();
        return true;
    case cmd_Update:
    case cmd_UpdateMenuItem:
        OpenWebPage(kUpdatePageIndex);
        return true;
    case cmd_WebSite:
        OpenWebPage(kMakerSiteIndex);
        return true;
    case cmd_ListVolumes:
        for (LWindow* window : UDesktop::GetWindowList()) {
            if (window->GetPaneID() == kVolumesWindowID) {
                window->Select();
                return true;
            }
        }
        LWindow::CreateWindow(kVolumesWindowID, this);
        return true;
    default:
        return CDocApplication::ObeyCommand(command, ioParam);
    }
}

void CApp::FindCommandStatus(CommandT command, Boolean& outEnabled)
{
    if (command == cmd_Help || command == cmd_ListVolumes || command == cmd_Update)
        outEnabled = true;
    else
        CDocApplication::FindCommandStatus(command, outEnabled);
}

void CApp::DoHelp()
{
    Str255 helpName;
    GetIndString(helpName, kFileNamesList, kHelpFileIndex);
    // The process's default folder: volume 0, folder 0.
    if (UFile::ExistsOnDisk(0, 0, helpName)) {
        UFile::SendOpenFileOrFolderEvent(0, 0, helpName, false);
        return;
    }
    Str255 folderName;
    if (UFile::GetVolumeName(0, folderName) != noErr)
        folderName[0] = 0;
    if (CWindow::DoStandardDialog(kHelpMissingAlert, this, helpName, folderName))
        OpenWebPage(kUpdatePageIndex);
}

void CApp::OpenWebPage(SInt16 index)
{
    Str255 address;
    GetIndString(address, kWebList, index);
    ICLaunchURL(kCreator, address);
}

Boolean CApp::AttemptQuitSelf(SInt32 saveOption)
{
    SavePreferences();
    return !IsBusy() && CDocApplication::AttemptQuitSelf(saveOption);
}

void CApp::OpenDocument(FSSpec* spec)
{
    ReportHeaderStruct header;
    std::unique_ptr<CListStructs> log(UReportFile::NewLog());
    // A file that is no report, or a report cut short, is left alone.
    if (UReportFile::Read(spec, &header, log.get()) != UReportFile::DecodeResult::kOK)
        return;
    // At a volume's root the report belongs to that volume, whatever it was written on.
    if (spec->parID == fsRtDirID)
        header.vRefNum = spec->vRefNum;
    if (sReportViewer != nullptr)
        sReportViewer(header, std::move(log));
}

void CApp::GetVersion(Str255 outVersion)
{
    UFile::GetShortVersion(outVersion);
}

void CApp::GetAboutInfos(Str255 s0, Str255 s1, Str255 s2, Str255 s3)
{
    GetVersion(s0);
    s1[0] = s2[0] = s3[0] = 0;
}

Boolean CApp::GetPreferencesFolder(short* volume, long* folder)
{
    SInt32 found = 0;
    if (FindFolder(kOnSystemDisk, kPreferencesFolderType, kDontCreateFolder, volume, &found) != noErr)
        return false;
    *folder = found;
    return true;
}

void CApp::LoadPreferences()
{
    sPreferences.updateReminderTime = UDate::Now() + kFirstReminder;
    short volume = 0;
    long folder = 0;
    if (!GetPreferencesFolder(&volume, &folder))
        return;
    CFileObject file(volume, folder, kFileNamesList, kPreferencesFileIndex);
    if (!file.ExistsOnDisk() || file.OpenDataFork(fsRdPerm) != noErr)
        return;
    const long size = std::min<long>(file.GetFileDataSize(), long(PreferencesStruct::kSize));
    PreferencesBytes bytes{};
    if (size > 0 && file.ReadBytes(bytes.data(), size) == noErr)
        ReadPreferencesOver(sPreferences, std::span<const UInt8>(bytes.data(), std::size_t(size)));
    file.Close();
}

void CApp::SavePreferences()
{
    short volume = 0;
    long folder = 0;
    if (!GetPreferencesFolder(&volume, &folder))
        return;
    CFileObject file(volume, folder, kFileNamesList, kPreferencesFileIndex);
    if (!file.ExistsOnDisk())
        file.Create(kCreator, kPreferencesType, true);
    if (file.OpenDataFork(fsWrPerm) != noErr)
        return;
    file.SetFileDataSize(0);
    sPreferences.savedMark = 1;
    const PreferencesBytes bytes = EncodePreferences(sPreferences);
    file.WriteBytes(bytes.data(), long(bytes.size()));
    file.Close();
}

Boolean CApp::RunPrivilegeStep()
{
    if (sBootableCD)
        return true;
    return RunStartupPrivilegeStep(*this);
}

void CApp::OpenAtStart()
{
    CToolTips::sActive = sPreferences.toolTipsOff != 1;
    if (SystemVersion() < 0x1000) {
        long carbon = 0;
        if (Gestalt(MakeOSType("cbon"), &carbon) != noErr || carbon < 0x140)
            CWindow::DoStandardDialog(kOldSystemAlert, this, nullptr);
    }
    ReadBootableLists();
    if (!sBootableCD && sListBootableCD->GetCount() == 0) {
        CWindow::DoStandardDialog(kCannotGoOnAlert, this, nullptr);
        DoQuit();
        return;
    }
    sMainWindow = dynamic_cast<CMainWindow*>(LWindow::CreateWindow(CMainWindow::kResID, this));
    ThrowIfNil_(sMainWindow);
    sMainWindow->Show();
    if (!sBootableCD && sPreferences.updateReminderTime < UDate::Now())
        ShowUpdateReminder();
}

void CApp::ReadBootableLists()
{
    sListBootableCD = NewRecordList();
    sListBootableMini = NewRecordList();
    ReadResourceList(SystemVersion() >= kModernSystem ? "BootableCD104.data" : "BootableCD.data",
                     sListBootableCD.get());
    ReadResourceList("BootableMini.data", sListBootableMini.get());
    if (sListBootableMini->GetCount() != 0)
        return;
    for (long i = 1; i <= sListBootableCD->GetCount(); ++i) {
        UInt8 record[kBootableRecordStep];
        const long length = sListBootableCD->GetNthStruct(i, record, kBootableRecordStep);
        sListBootableMini->AddStructToList(record, length);
    }
}

void CApp::ShowUpdateReminder()
{
    sPreferences.updateReminderTime = UDate::Now() + kNextReminder;
    auto* window = dynamic_cast<CWindow*>(LWindow::CreateWindow(kUpdateReminderID, this));
    if (window == nullptr)
        return;
    UReanimator::LinkListenerToControls(window, window, kUpdateReminderID);
    Str255 version;
    Str255 address;
    GetVersion(version);
    GetIndString(address, kWebList, kUpdatePageIndex);
    static const UInt8 placeholder0[] = "\2^0";
    static const UInt8 placeholder1[] = "\2^1";
    window->ReplaceInDialog(placeholder0, version);
    window->ReplaceInDialog(placeholder1, address);
    window->Show();
}

void CApp::ReOpenApplication()
{
    FSSpec package;
    char packagePath[1024];
    SInt16 volume = 0;
    long resources = 0;
    char toolPath[1024];
    Str255 toolName;
    TextToStr255("com.qor.VarnoLaunch", toolName);
    FSSpec tool;
    if (UFile::GetThisAppPackageFSSpec(&package) != noErr ||
        !UFile::CreatePathFromFSSpec(&package, packagePath, sizeof packagePath) ||
        !UFile::GetThisAppResourceFolderFSSpec(&volume, &resources) ||
        UFile::MakeFileExecutable(volume, resources, toolName) != noErr ||
        UFile::MakeFileSpec(volume, resources, toolName, &tool) != noErr ||
        !UFile::CreatePathFromFSSpec(&tool, toolPath, sizeof toolPath))
        return;
    const pid_t child = fork();
    if (child == 0) {
        char* const argv[] = {toolPath, packagePath, nullptr};
        execv(toolPath, argv);
        _exit(1);
    }
}

Boolean CApp::InitExecuteAsRootTools()
{
    return ::InitExecuteAsRootTools();
}
