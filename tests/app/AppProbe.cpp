// The application's executable in a test package: the real entry function, watched
// from within. Each window that comes up is noted ("window <ID>") and grabbed to
// "<ID>.png" in $VARNO_PROBE_GRABS when given; an alert is answered with its default
// button. Once the main window is up and the welcome window has gone, the run's
// state is noted and the application is told to quit. Notes go, one per line with
// the process ID, to $VARNO_PROBE_LOG when given, else to standard output. A run
// that does not end within 30 seconds ends with status 3.

#include <unistd.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/CApp.h"
#include "app/CMainWindow.h"
#include "app/VarnoMain.h"
#include "framework/LStdButton.h"
#include "framework/UDesktop.h"
#include "toolkit/CListStructs.h"
#include "ui/CToolTips.h"

namespace {

void Note(const std::string& line)
{
    const char* log = std::getenv("VARNO_PROBE_LOG");
    FILE* out = log != nullptr ? std::fopen(log, "a") : stdout;
    if (out == nullptr)
        return;
    std::fprintf(out, "%d %s\n", int(getpid()), line.c_str());
    std::fflush(out);
    if (out != stdout)
        std::fclose(out);
}

void Watch()
{
    for (LWindow* window : UDesktop::GetWindowList()) {
        // Marked on its widget: a later window may get the address of a closed one.
        QWidget* widget = window->GetWidget();
        if (!window->IsVisible() || widget->property("probeSeen").toBool())
            continue;
        widget->setProperty("probeSeen", true);
        const std::string id = std::to_string(window->GetPaneID());
        Note("window " + id);
        if (const char* grabs = std::getenv("VARNO_PROBE_GRABS"))
            window->GetWidget()->grab().save(QString::fromStdString(std::string(grabs) + "/" + id + ".png"));
        if (auto* dialog = dynamic_cast<LDialogBox*>(window); dialog != nullptr && dialog->GetDefaultButton()) {
            if (auto* button = qobject_cast<QAbstractButton*>(dialog->GetDefaultButton()->GetWidget()))
                QTimer::singleShot(50, button, &QAbstractButton::click);
        }
    }
    CApp* application = CApp::sApplication;
    if (application == nullptr || CApp::sMainWindow == nullptr || application->GetWelcomeWindow() != nullptr)
        return;
    static bool quitting = false;
    if (quitting)
        return;
    quitting = true;
    Note("state bootableCD=" + std::to_string(int(CApp::sBootableCD)) +
         " listCD=" + std::to_string(CApp::sListBootableCD->GetCount()) +
         " listMini=" + std::to_string(CApp::sListBootableMini->GetCount()) +
         " toolTips=" + std::to_string(int(CToolTips::sActive)) + " euid=" + std::to_string(geteuid()) +
         " pluginPath=" + (std::getenv("QT_PLUGIN_PATH") ? std::getenv("QT_PLUGIN_PATH") : "-") +
         " path=" + (std::getenv("PATH") ? std::getenv("PATH") : "-"));
    application->DoQuit();
}

void InstallWatch()
{
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, Watch);
    timer->start(100);
    QTimer::singleShot(30000, [] { std::_Exit(3); });
}

// The report viewer's place: what reached it.
void NoteReport(const ReportHeaderStruct& header, std::unique_ptr<CListStructs> log)
{
    Note("report volume=" + std::to_string(header.vRefNum) +
         " entries=" + std::to_string(log->GetCount()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallWatch)

int main(int argc, char** argv)
{
    Note("start");
    CApp::sReportViewer = NoteReport;
    const int status = VarnoMain(argc, argv);
    Note("end " + std::to_string(status));
    return status;
}
