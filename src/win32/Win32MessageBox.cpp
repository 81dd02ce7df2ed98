#include "win32/Win32MessageBox.h"

#include "win32/Win32Text.h"

namespace {

// The box is made inside MessageBoxW; a hook on this thread sees it before it shows.
thread_local const ButtonTexts* t_pButtons = nullptr;
thread_local HHOOK t_hook = nullptr;

LRESULT CALLBACK RenameButtons(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && t_pButtons) {
        const auto box = reinterpret_cast<HWND>(wParam);
        for (const auto& [id, text] : *t_pButtons) {
            if (!text.empty())
                SetDlgItemTextW(box, id, WideFromCp1252(text).c_str());
        }
        t_pButtons = nullptr;
    }
    return CallNextHookEx(t_hook, code, wParam, lParam);
}

} // namespace

int ShowMessageBox(HWND owner, const std::string& title, const std::string& text, UINT type,
    const ButtonTexts& buttons)
{
    if (!buttons.empty()) {
        t_pButtons = &buttons;
        t_hook = SetWindowsHookExW(WH_CBT, RenameButtons, nullptr, GetCurrentThreadId());
    }
    const int answer
        = MessageBoxW(owner, WideFromCp1252(text).c_str(), WideFromCp1252(title).c_str(), type);
    if (t_hook) {
        UnhookWindowsHookEx(t_hook);
        t_hook = nullptr;
    }
    t_pButtons = nullptr;
    return answer;
}
