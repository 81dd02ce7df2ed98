#include "app/QuotinoApp.h"
#include "platform/Clock.h"
#include "platform/ProfileLocation.h"
#include "platform/Utf8Path.h"
#include "platform/Version.h"
#include "win32/Win32ExitSave.h"
#include "win32/Win32MainWindow.h"
#include "win32/Win32MessageBox.h"
#include "win32/Win32SingleInstance.h"
#include "win32/Win32Text.h"
#include "window/ControlIds.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 2;
constexpr int kProfileUnusable = 1;

std::vector<std::string> Arguments()
{
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i)
        arguments.push_back(Utf8FromWide(wide[i]));
    LocalFree(wide);
    return arguments;
}

// The options a window program takes: --profile <file>, and --version, which answers on the
// standard output for scripts and installers and starts no window. Returns the exit status of
// a run that must not start, or -1.
int ReadArguments(std::string& profilePath)
{
    const std::vector<std::string> arguments = Arguments();
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--version" || argument == "-v") {
            std::fputs((std::string("quotino ") + kVersionText + "\n").c_str(), stdout);
            std::fflush(stdout);
            return 0;
        }
        if (argument == "--profile" && i + 1 < arguments.size())
            profilePath = arguments[++i];
        else if (argument.rfind("--profile=", 0) == 0)
            profilePath = argument.substr(10);
        else
            profilePath.clear();
        if (profilePath.empty()) {
            ShowMessageBox(
                nullptr, "quotino", "Usage: quotino [--profile <file>] [--version]", MB_OK);
            return kUsageError;
        }
    }
    if (!profilePath.empty()) {
        if (const std::string reason = ProfileUnusableReason(profilePath); !reason.empty()) {
            ShowMessageBox(nullptr, "quotino",
                "Cannot use the profile " + profilePath + ": " + reason, MB_OK | MB_ICONWARNING);
            return kProfileUnusable;
        }
        std::error_code error;
        profilePath = Utf8FromPath(std::filesystem::absolute(PathFromUtf8(profilePath), error));
    }
    return -1;
}

// For start-up measurements only (QUOTINO_EXIT_AFTER_FIRST_REPORT=1): once the first report is
// painted, prints the wall clock ("shown <microseconds since the epoch>") and the report, and
// closes the window.
void ExitAfterFirstReport(CWin32MainWindow& window)
{
    const HWND report = GetDlgItem(window.Handle(), IDC_REPORT);
    window.Show();
    while (window.RunPending() && GetWindowTextLengthW(report) == 0)
        WaitMessage();
    if (!window.IsOpen())
        return;
    RedrawWindow(window.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    using namespace std::chrono;
    const auto now = duration_cast<microseconds>(system_clock::now().time_since_epoch());
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(report)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(report, text.data(), static_cast<int>(text.size()))));
    std::printf(
        "shown %lld\n%s\n", static_cast<long long>(now.count()), Utf8FromWide(text).c_str());
    std::fflush(stdout);
    PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
}

} // namespace

int main()
{
    std::string profilePath;
    if (const int status = ReadArguments(profilePath); status >= 0)
        return status;
    if (profilePath.empty())
        profilePath = LocateProfile();

    const INITCOMMONCONTROLSEX controls
        = { sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES };
    InitCommonControlsEx(&controls);
    CWin32SingleInstance instance(profilePath);
    if (!instance.IsFirst())
        return instance.HandOver();
    CWin32MainWindow::RegisterWindowClass(instance.WindowClass());

    CSystemClock clock;
    CQuotinoApp app(profilePath, clock);
    app.InitInstance();
    {
        // The window loads the configuration itself and closes at once when that fails.
        CWin32MainWindow window(app, nullptr, nullptr, instance.WindowClass());
        if (const char* exit = std::getenv("QUOTINO_EXIT_AFTER_FIRST_REPORT"); exit && *exit == '1')
            ExitAfterFirstReport(window);
        window.Run();
        // Also after a failed load: the exit save.
        CWin32ExitSave(app).Run();
    }
    app.ExitInstance();
    return 0;
}
