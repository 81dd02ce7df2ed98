#include "app/CommandLine.h"
#include "app/QuotinoApp.h"
#include "platform/Clock.h"
#include "platform/ProfileLocation.h"
#include "qt/ExitSave.h"
#include "qt/FirstReportExit.h"
#include "qt/ProgramIcon.h"
#include "qt/QuotinoDlg.h"
#include "qt/SessionEnd.h"
#include "qt/SingleInstance.h"
#include "window/ControlIds.h"

#include <QApplication>
#include <QPlainTextEdit>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const CCommandLine commandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    if (!commandLine.ShouldRun()) {
        std::cout << commandLine.Output() << std::flush;
        std::cerr << commandLine.Errors() << std::flush;
        return commandLine.ExitStatus();
    }
    // Qt sees no arguments: every one was ours, and a file name after --profile must never be
    // taken for one of Qt's own options. The window system is chosen through the environment.
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QApplication::setWindowIcon(ProgramIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("example.quotino.quotino"));

    const std::string profilePath
        = commandLine.ProfilePath().empty() ? LocateProfile() : commandLine.ProfilePath();
    CSingleInstance instance(profilePath);
    if (!instance.IsFirst())
        return instance.HandOver();

    CSystemClock clock;
    CQuotinoApp app(profilePath, clock);
    app.InitInstance();
    CSessionEnd sessionEnd(app);
    {
        // The window's modal run is the program's whole active life; it loads the
        // configuration itself and closes at once when that fails.
        CQuotinoDlg window(app);
        sessionEnd.Watch(window);
        // Start-up measurements end the run once the first report is on screen.
        if (qgetenv("QUOTINO_EXIT_AFTER_FIRST_REPORT") == "1")
            new CFirstReportExit(window, *window.Control<QPlainTextEdit>(IDC_REPORT), std::cout);
        if (!sessionEnd.EndRequested())
            window.exec();
        // Also after a failed load: the exit save.
        CExitSave(app, &window).Run();
    }
    app.ExitInstance();
    return 0;
}
