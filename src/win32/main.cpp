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

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
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
        window.Run();
        // Also after a failed load: the exit save.
        CWin32ExitSave(app).Run();
    }
    app.ExitInstance();
    return 0;
}
