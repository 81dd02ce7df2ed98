#include "win32/Win32SingleInstance.h"

#include "config/Texts.h"
#include "platform/Cp1252.h"
#include "profile/IniFile.h"
#include "win32/Win32MessageBox.h"

#include <windows.h>

#include <cstdint>
#include <cwctype>

namespace {

constexpr DWORD kLookAgainMs = 50;

// The same for every spelling of the path that the file system takes for the same: letter
// case does not count on Windows.
std::wstring ClassNameFor(const std::string& canonicalPath)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : canonicalPath) {
        hash ^= static_cast<unsigned char>(std::towlower(static_cast<unsigned char>(c)));
        hash *= 1099511628211ull;
    }
    wchar_t name[40];
    swprintf(name, 40, L"Quotino.%016llx", static_cast<unsigned long long>(hash));
    return name;
}

} // namespace

CWin32SingleInstance::CWin32SingleInstance(const std::string& profilePath)
    : m_strProfilePath(profilePath)
    , m_lock(profilePath)
{
    m_lock.Lock();
    m_strWindowClass = ClassNameFor(m_lock.CanonicalPath());
}

int CWin32SingleInstance::HandOver() const
{
    const ULONGLONG deadline = GetTickCount64() + kReachMs;
    do {
        if (HWND first = FindWindowW(m_strWindowClass.c_str(), nullptr)) {
            if (IsIconic(first))
                ShowWindow(first, SW_RESTORE);
            SetForegroundWindow(GetLastActivePopup(first));
            return 0;
        }
        Sleep(kLookAgainMs);
    } while (GetTickCount64() < deadline);
    ShowUnreachable();
    return kFirstUnreachable;
}

// In the language of the profile, read but never written.
void CWin32SingleInstance::ShowUnreachable() const
{
    CIniFile profile;
    profile.m_bAutoReload = false;
    profile.m_bAutoSave = false;
    profile.Load(m_strProfilePath);
    CTexts texts;
    texts.LoadTexts(profile);
    const std::string text
        = CTexts::Fill(texts.GetText("Txt_ProfileInUse"), Utf8ToCp1252(m_strProfilePath), "");
    ShowMessageBox(nullptr, texts.GetText("Txt_Title"), text, MB_OK | MB_ICONWARNING);
}
