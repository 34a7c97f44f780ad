#include "app/VarnoMain.h"

#include <QApplication>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/CApp.h"
#include "app/SetuidRun.h"

int VarnoMain(int argc, char** argv)
{
    if (!SetuidRun::Prepare()) {
        std::fprintf(stderr, "Varno: could not give up root's rights; not starting.\n");
        return 1;
    }
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    QApplication toolkit(toolkitArgc, toolkitArgv);

    CApp application;
    CApp::sApplication = &application;
    application.SetLaunchDocuments(std::vector<std::string>(argv + 1, argv + argc));
    int status = 0;
    try {
        application.Run();
    } catch (const std::exception& exception) {
        if (!application.CatchException(exception)) {
            std::fprintf(stderr, "Varno: stopped by an unexpected error (%s).\n", exception.what());
            status = 1;
        }
    }
    CApp::sApplication = nullptr;
    return status;
}
