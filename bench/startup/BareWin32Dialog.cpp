// The Windows yardstick for the program's start-up: one empty dialog in the template font,
// shown once. After its first paint it prints the wall clock ("shown <microseconds since the
// epoch>") and closes, as the program does after its first report when measured.
#include <windows.h>

#include <chrono>
#include <cstdio>

namespace {

constexpr UINT kAfterFirstPaint = WM_APP + 1;

// An in-memory template: no controls, 8 point "MS Shell Dlg" as the program's templates use.
struct alignas(4) SBareTemplate {
    DLGTEMPLATE dialog;
    WORD menu = 0;
    WORD windowClass = 0;
    WCHAR title[5] = L"bare";
    WORD pointSize = 8;
    WCHAR font[13] = L"MS Shell Dlg";
};

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM, LPARAM)
{
    static bool s_bPainted = false;
    if (message == WM_PAINT && !s_bPainted) {
        s_bPainted = true;
        // Posted, so the painted window reaches the screen before the clock is read.
        PostMessageW(dialog, kAfterFirstPaint, 0, 0);
        return FALSE;
    }
    if (message == kAfterFirstPaint) {
        using namespace std::chrono;
        const auto now = duration_cast<microseconds>(system_clock::now().time_since_epoch());
        std::printf("shown %lld\n", static_cast<long long>(now.count()));
        std::fflush(stdout);
        EndDialog(dialog, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

} // namespace

int main()
{
    SBareTemplate bare {};
    bare.dialog.style = DS_SETFONT | DS_CENTER | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | WS_POPUP;
    bare.dialog.cx = 300;
    bare.dialog.cy = 200;
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &bare.dialog, nullptr, Procedure, 0);
    return 0;
}
