#include "win32/Win32Notifier.h"

#include "win32/Win32LateLibrary.h"
#include "win32/Win32Text.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>

namespace {

constexpr UINT kIconId = 1;

template <std::size_t N> void CopyTruncated(wchar_t (&target)[N], const std::wstring& text)
{
    const std::size_t length = std::min(text.size(), N - 1);
    std::wmemcpy(target, text.data(), length);
    target[length] = L'\0';
}

// Most runs show no balloon: the shell is loaded with the first.
BOOL NotifyIcon(DWORD message, NOTIFYICONDATAW& data)
{
    static const auto notify
        = LateFunction<decltype(&Shell_NotifyIconW)>(L"shell32.dll", "Shell_NotifyIconW");
    return notify && notify(message, &data);
}

} // namespace

CWin32Notifier::CWin32Notifier(
    std::function<HWND()> owner, UINT callbackMessage, std::function<void()> onClick)
    : m_fnOwner(std::move(owner))
    , m_nCallbackMessage(callbackMessage)
    , m_fnClicked(std::move(onClick))
{
}

CWin32Notifier::~CWin32Notifier()
{
    if (m_bAdded) {
        NOTIFYICONDATAW data = Data(0);
        NotifyIcon(NIM_DELETE, data);
    }
}

NOTIFYICONDATAW CWin32Notifier::Data(UINT flags) const
{
    NOTIFYICONDATAW data {};
    data.cbSize = sizeof(data);
    data.hWnd = m_fnOwner();
    data.uID = kIconId;
    data.uFlags = flags;
    return data;
}

void CWin32Notifier::Notify(const std::string& title, const std::string& text)
{
    if (!m_bAdded) {
        NOTIFYICONDATAW icon = Data(NIF_ICON | NIF_MESSAGE | NIF_TIP);
        icon.uCallbackMessage = m_nCallbackMessage;
        icon.hIcon = reinterpret_cast<HICON>(SendMessageW(icon.hWnd, WM_GETICON, ICON_SMALL, 0));
        CopyTruncated(icon.szTip, WideFromCp1252(title));
        m_bAdded = NotifyIcon(NIM_ADD, icon) != FALSE;
    }
    // A newer verdict replaces the balloon still on screen.
    NOTIFYICONDATAW balloon = Data(NIF_INFO);
    balloon.dwInfoFlags = NIIF_INFO;
    CopyTruncated(balloon.szInfoTitle, WideFromCp1252(title));
    CopyTruncated(balloon.szInfo, WideFromCp1252(text));
    NotifyIcon(NIM_MODIFY, balloon);
}

void CWin32Notifier::OnMessage(LPARAM lParam)
{
    if ((LOWORD(lParam) == NIN_BALLOONUSERCLICK || LOWORD(lParam) == WM_LBUTTONUP) && m_fnClicked)
        m_fnClicked();
}
