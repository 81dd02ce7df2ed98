#include "win32/Win32Clipboard.h"

#include "win32/Win32Text.h"

namespace {

// Another program may hold the clipboard open for a moment.
constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryMs = 10;

bool OpenClipboardSoon()
{
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (OpenClipboard(nullptr))
            return true;
        Sleep(kOpenRetryMs);
    }
    return false;
}

} // namespace

std::string CWin32Clipboard::GetClipboardText()
{
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboardSoon())
        return {};
    std::wstring text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* locked = static_cast<const wchar_t*>(GlobalLock(data))) {
            const size_t limit = GlobalSize(data) / sizeof(wchar_t);
            text.assign(locked, wcsnlen(locked, limit));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return Cp1252FromWide(text);
}

bool CWin32Clipboard::HoldsOwnText()
{
    const DWORD sequence = GetClipboardSequenceNumber();
    DWORD process = 0;
    if (HWND owner = GetClipboardOwner())
        GetWindowThreadProcessId(owner, &process);
    if (process == GetCurrentProcessId()) {
        m_nOwnSequence = sequence;
        return true;
    }
    return m_nOwnSequence != 0 && sequence == m_nOwnSequence;
}
