#include "app/StartupPrivilegeStep.h"

#include "app/CApp.h"
#include "app/SetuidRun.h"
#include "platform/DateTimeUtils.h"
#include "privileges/URootPrivileges.h"
#include "toolkit/UDate.h"
#include "ui/CWindow.h"

namespace {

constexpr ResIDT kNoPrivilegesAlert = 3223;
// Not a privilege step of its own: a user who is no administrator started a set-uid
// copy, which gave up root's rights.
constexpr ResIDT kNotAdministratorAlert = 24996;
constexpr unsigned long kToolStartTicks = 15;
constexpr unsigned long kRelaunchTicks = 10;
constexpr UInt32 kRelaunchAgain = 3;
constexpr UInt32 kRelaunchWindow = 10;

} // namespace

Boolean RunStartupPrivilegeStep(CApp& application)
{
    auto& preferences = CApp::sPreferences;
    const UInt32 now = UDate::Now();

    if (SetuidRun::GetOutcome() == SetuidRun::Outcome::PrivilegesGivenUp)
        CWindow::DoStandardDialog(kNotAdministratorAlert, &application, nullptr);
    if (!CApp::InitExecuteAsRootTools()) {
        CWindow::DoStandardDialog(CApp::kCannotGoOnAlert, &application, nullptr);
        application.DoQuit();
        return false;
    }
    if (URootPrivileges::ApplicationHasRootPrivileges()) {
        preferences.privilegeRelaunchTime = 0;
        return true;
    }
    const Boolean toolHadRoot = URootPrivileges::ToolHasRootPrivileges();
    if (!toolHadRoot) {
        URootPrivileges::RegisterToolWithRootPrivileges();
        // The bundle returns as soon as the tool has started.
        Delay(kToolStartTicks, nullptr);
    }
    if (URootPrivileges::ToolHasRootPrivileges()) {
        if (preferences.privilegeRelaunchTime < now - kRelaunchWindow) {
            preferences.privilegeRelaunchTime = now;
            CApp::SavePreferences();
        }
        URootPrivileges::RegisterApplicationWithRootPrivileges();
        if (toolHadRoot && preferences.privilegeRelaunchTime > now - kRelaunchAgain) {
            CWindow::DoStandardDialog(CApp::kCannotGoOnAlert, &application, nullptr);
        } else {
            CApp::ReOpenApplication();
            Delay(kRelaunchTicks, nullptr);
        }
    } else {
        CWindow::DoStandardDialog(kNoPrivilegesAlert, &application, nullptr);
    }
    application.DoQuit();
    return false;
}
