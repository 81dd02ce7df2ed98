#include "win32/Win32SingleInstance.h"

#include "win32/Win32MessageBox.h"
#include "window/ProfileInUse.h"

#include <windows.h>

#include <string>

namespace {

constexpr DWORD kLookAgainMs = 50;

std::wstring ClassNameFor(const std::string& key)
{
    return L"Quotino." + std::wstring(key.begin(), key.end());
}

// The user a process runs as, as the bytes of its security identifier; empty when unknown.
std::string OwnerOf(DWORD processId)
{
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return {};
    std::string sid;
    HANDLE token = nullptr;
    if (OpenProcessToken(process, TOKEN_QUERY, &token)) {
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        std::string buffer(size, '\0');
        if (size && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
            const PSID user = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
            sid.assign(static_cast<const char*>(user), GetLengthSid(user));
        }
        CloseHandle(token);
    }
    CloseHandle(process);
    return sid;
}

// A window of another user's, or of another session, that took the class name first must not
// swallow this user's starts.
bool IsOurs(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    DWORD session = 0, ownSession = 0;
    if (!ProcessIdToSessionId(processId, &session)
        || !ProcessIdToSessionId(GetCurrentProcessId(), &ownSession) || session != ownSession)
        return false;
    const std::string owner = OwnerOf(processId);
    return !owner.empty() && owner == OwnerOf(GetCurrentProcessId());
}

HWND FindOurWindow(const std::wstring& windowClass)
{
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, windowClass.c_str(), nullptr)))
        if (IsOurs(window))
            return window;
    return nullptr;
}

} // namespace

CWin32SingleInstance::CWin32SingleInstance(const std::string& profilePath)
    : m_strProfilePath(profilePath)
    , m_lock(profilePath)
{
    m_lock.Lock();
    m_strWindowClass = ClassNameFor(m_lock.Key());
}

int CWin32SingleInstance::HandOver() const
{
    if (m_lock.State() == CProfileLock::EState::HeldElsewhere && ReachFirst())
        return 0;
    const SProfileInUse message = ProfileInUseMessage(m_strProfilePath, m_lock);
    ShowMessageBox(nullptr, message.strTitle, message.strText, MB_OK | MB_ICONWARNING);
    return SProfileInUse::kExitStatus;
}

bool CWin32SingleInstance::ReachFirst() const
{
    const ULONGLONG deadline = GetTickCount64() + kReachMs;
    do {
        if (HWND first = FindOurWindow(m_strWindowClass)) {
            // The system lets only the foreground's process hand the foreground on: this start
            // allows the first run, which then brings itself forward (or flashes).
            DWORD process = 0;
            GetWindowThreadProcessId(first, &process);
            AllowSetForegroundWindow(process);
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(
                first, BringToFrontMessage(), 0, 0, SMTO_ABORTIFHUNG, kReachMs, &answer);
            return true;
        }
        Sleep(kLookAgainMs);
    } while (GetTickCount64() < deadline);
    return false;
}

unsigned CWin32SingleInstance::BringToFrontMessage()
{
    static const UINT message = RegisterWindowMessageW(L"Quotino.BringToFront");
    return message;
}
