#include "app/CommandLine.h"
#include "app/QuotinoApp.h"
#include "config/Texts.h"
#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "platform/ProfileLocation.h"
#include "win32/Win32ExitSave.h"
#include "win32/Win32MainWindow.h"
#include "win32/Win32MessageBox.h"
#include "win32/Win32SingleInstance.h"
#include "win32/Win32Text.h"
#include "window/ControlIds.h"

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWindowFailed = 1;

// The runtime splits the command line (wmain): the shell's splitter would load the shell, and
// the COM libraries with it, into every start.
std::vector<std::string> Arguments(int argc, wchar_t** argv)
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(Utf8FromWide(argv[i]));
    return arguments;
}

bool WriteTo(HANDLE handle, const std::string& text)
{
    DWORD written = 0;
    if (GetFileType(handle) == FILE_TYPE_CHAR) {
        const std::wstring wide = WideFromUtf8(text);
        return WriteConsoleW(
            handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    }
    return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// A window program has no console of its own: an answer goes to the stream that the caller
// redirected, else to the console it was started from, else into a message box.
void Answer(const std::string& text, DWORD stream, UINT icon)
{
    if (text.empty())
        return;
    const HANDLE handle = GetStdHandle(stream);
    if (handle && handle != INVALID_HANDLE_VALUE && WriteTo(handle, text))
        return;
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        const bool written = console != INVALID_HANDLE_VALUE && WriteTo(console, text);
        if (console != INVALID_HANDLE_VALUE)
            CloseHandle(console);
        FreeConsole();
        if (written)
            return;
    }
    ShowMessageBox(nullptr, "quotino", Utf8ToCp1252(text), MB_OK | icon);
}

// For start-up measurements only (QUOTINO_EXIT_AFTER_FIRST_REPORT=1): once the first paint is
// done, before the work that waits for it, prints the wall clock ("shown <microseconds since
// the epoch>") and the report, and closes the window.
void ExitAfterFirstReport(CWin32MainWindow& window)
{
    window.WhenFirstPainted([&window] {
        GdiFlush();
        using namespace std::chrono;
        const auto now = duration_cast<microseconds>(system_clock::now().time_since_epoch());
        const HWND report = GetDlgItem(window.Handle(), IDC_REPORT);
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(report)) + 1, L'\0');
        text.resize(static_cast<size_t>(
            GetWindowTextW(report, text.data(), static_cast<int>(text.size()))));
        std::printf(
            "shown %lld\n%s\n", static_cast<long long>(now.count()), Utf8FromWide(text).c_str());
        std::fflush(stdout);
        PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
    });
}

// The window could not be made (the system refused it, or memory ran out): the player is told,
// in the profile's language where its texts are known, instead of the program vanishing.
void ShowWindowFailed(CQuotinoApp& app, const std::string& reason)
{
    if (app.GetText("Txt_NoWindow").empty())
        app.ReloadTexts();
    std::string text = app.GetText("Txt_NoWindow");
    if (text.empty())
        text = "No window: %1";
    const std::string title = app.GetText("Txt_Title");
    ShowMessageBox(nullptr, title.empty() ? "Quotino" : title, CTexts::Fill(text, reason, ""),
        MB_OK | MB_ICONERROR);
}

int RunWindow(CQuotinoApp& app, const std::wstring& windowClass)
{
    std::unique_ptr<CWin32MainWindow> window;
    try {
        // The window loads the configuration itself and closes at once when that fails.
        window = std::make_unique<CWin32MainWindow>(app, nullptr, nullptr, windowClass);
    } catch (const std::exception& error) {
        ShowWindowFailed(app, error.what());
        return kWindowFailed;
    }
    if (const char* exit = std::getenv("QUOTINO_EXIT_AFTER_FIRST_REPORT"); exit && *exit == '1')
        ExitAfterFirstReport(*window);
    window->Run();
    // Also after a failed load: the exit save.
    CWin32ExitSave(app).Run();
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const CCommandLine commandLine(Arguments(argc, argv));
    if (!commandLine.ShouldRun()) {
        Answer(commandLine.Output(), STD_OUTPUT_HANDLE, MB_ICONINFORMATION);
        Answer(commandLine.Errors(), STD_ERROR_HANDLE, MB_ICONWARNING);
        return commandLine.ExitStatus();
    }
    const std::string profilePath
        = commandLine.ProfilePath().empty() ? LocateProfile() : commandLine.ProfilePath();

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
    const int status = RunWindow(app, instance.WindowClass());
    app.ExitInstance();
    return status;
}
