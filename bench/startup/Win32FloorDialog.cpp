// The floor for the Windows program's start-up: the program's main window as its template
// makes it, with the program's resources (the manifest that themes the controls, the icon),
// shown once and nothing of the program behind it. Once its first paint is done it prints the
// wall clock ("shown <microseconds since the epoch>") and ends, as the program does when
// measured. What the program takes beyond this is its own work: profile, clipboard, texts,
// calculation.
#include "win32/Win32DialogTemplate.h"
#include "window/ControlIds.h"
#include "window/DialogTemplate.h"

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>

namespace {

INT_PTR CALLBACK Procedure(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

} // namespace

int main()
{
    const INITCOMMONCONTROLSEX controls
        = { sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES };
    InitCommonControlsEx(&controls);
    const CDialogTemplate layout = CDialogTemplate::Load(IDD_MAIN);
    HWND dialog = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), CWin32DialogTemplate(layout).Get(), nullptr, Procedure, 0);
    if (!dialog)
        return 1;
    ShowWindow(dialog, SW_SHOW);
    // The system makes the paint messages only when nothing else waits: once the queue is
    // empty, the first paint is done.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    GdiFlush();
    using namespace std::chrono;
    const auto now = duration_cast<microseconds>(system_clock::now().time_since_epoch());
    std::printf("shown %lld\n", static_cast<long long>(now.count()));
    std::fflush(stdout);
    DestroyWindow(dialog);
    return 0;
}
