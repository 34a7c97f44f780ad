#pragma once
// The application object: the window classes it registers, the preferences it keeps
// for the run, the bootable lists read from its Resources folder, its own commands
// (help, the web pages, the volumes window), the report files the desktop hands it,
// quitting, and the relaunch through com.qor.VarnoLaunch.

#include <memory>

#include "app/CDocApplication.h"
#include "app/PreferencesStruct.h"
#include "engine/UReportFile.h"
#include "framework/LYieldAttachment.h"
#include "platform/Files.h"

class CListStructs;
class CMainWindow;

class CApp : public CDocApplication {
public:
    static constexpr ResIDT kWelcomeID = 25000;
    static constexpr ResIDT kAboutID = 25001;
    static constexpr SInt16 kWelcomeTicks = 100;
    static constexpr ResIDT kUpdateReminderID = 2189;
    static constexpr ResIDT kHelpMissingAlert = 24900;
    static constexpr ResIDT kCannotGoOnAlert = 24997;
    static constexpr ResIDT kOldSystemAlert = 24999;
    static constexpr ResIDT kReportWindowID = 232;
    static constexpr UInt32 kFirstReminder = 604800; // 7 days
    static constexpr UInt32 kNextReminder = 5184000; // 60 days

    CApp();
    ~CApp() override;

    Boolean ObeyCommand(CommandT command, void* ioParam) override;
    void FindCommandStatus(CommandT command, Boolean& outEnabled) override;
    // Saves the preferences, then refuses while a window is busy.
    Boolean AttemptQuitSelf(SInt32 saveOption) override;
    void StartUp() override {}
    // A report file: its header and log go to the report viewer.
    void OpenDocument(FSSpec* file) override;

    void LoadPreferences() override;
    void OpenAtStart() override;
    void GetAboutInfos(Str255 s0, Str255 s1, Str255 s2, Str255 s3) override;

    static void GetVersion(Str255 outVersion);
    static Boolean GetPreferencesFolder(short* volume, long* folder);
    static void SavePreferences();
    static void RegisterClasses();
    static Boolean InitExecuteAsRootTools();
    // Starts com.qor.VarnoLaunch on the package and returns without waiting.
    static void ReOpenApplication();

    // The report viewer: handed a report's header and log (owned by the viewer from
    // then on). None is connected until the viewer exists; the report is dropped.
    using ReportViewer = void (*)(const ReportHeaderStruct& header, std::unique_ptr<CListStructs> log);
    static ReportViewer sReportViewer;

    static CApp* sApplication;
    static Boolean sBootableCD;
    static CMainWindow* sMainWindow;
    static PreferencesStruct sPreferences;
    static std::unique_ptr<CListStructs> sListBootableCD;
    static std::unique_ptr<CListStructs> sListBootableMini;

protected:
    Boolean RunPrivilegeStep() override;

private:
    void DoHelp();
    static void OpenWebPage(SInt16 index);
    static void ReadBootableLists();
    void ShowUpdateReminder();

    // Gives the cooperative threads their turn on every pass of the event loop, for
    // the application's life.
    LYieldAttachment mYield;
};
