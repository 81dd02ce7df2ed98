#include "platform/ProfileLock.h"

#include "platform/Utf8Path.h"

#include <windows.h>

#include <sddl.h>

#include <cstdio>
#include <cwctype>

namespace {

// The user's security identifier as text: kernel object names in the session's namespace are
// open to every user of the session, so the name says whose lock it is.
std::wstring UserSid()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return L"";
    std::wstring text;
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    LPWSTR sid = nullptr;
    if (size && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)
        && ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
        text = sid;
        ::LocalFree(sid);
    }
    ::CloseHandle(token);
    return text;
}

} // namespace

// The lock file is opened without sharing: nobody else can open it while it is held, and the
// system closes the handle, deleting the file, when the holder ends however it ends. A file
// left behind anyway (a power cut) is opened by the next start like any other.
CProfileLock::EState CProfileLock::LockBeside()
{
    const HANDLE file
        = ::CreateFileW(PathFromUtf8(m_strLockPath).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_SHARING_VIOLATION ? EState::HeldElsewhere : EState::Failed;
    m_held.push_back({ reinterpret_cast<std::intptr_t>(file), "" });
    return EState::Held;
}

// A named mutex of the session, which the system removes with the last handle: it cannot be
// left behind by a crash. Creating one that exists is a lock held elsewhere; one that another
// user made first cannot be opened (access denied), which counts as no lock at all.
CProfileLock::EState CProfileLock::LockPrivate(const std::string& key)
{
    const std::wstring sid = UserSid();
    if (sid.empty())
        return EState::Failed;
    const std::wstring name
        = L"Local\\Quotino." + sid + L"." + std::wstring(key.begin(), key.end());
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
    if (!mutex)
        return EState::Failed;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return EState::HeldElsewhere;
    }
    m_held.push_back({ reinterpret_cast<std::intptr_t>(mutex), "" });
    return EState::Held;
}

std::string CProfileLock::FileIdentity() const
{
    const HANDLE file = ::CreateFileW(PathFromUtf8(m_strCanonical).c_str(), 0,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    BY_HANDLE_FILE_INFORMATION information {};
    const bool known = ::GetFileInformationByHandle(file, &information);
    ::CloseHandle(file);
    if (!known)
        return "";
    char text[40];
    std::snprintf(text, sizeof text, "%08lx-%08lx%08lx",
        static_cast<unsigned long>(information.dwVolumeSerialNumber),
        static_cast<unsigned long>(information.nFileIndexHigh),
        static_cast<unsigned long>(information.nFileIndexLow));
    return text;
}

// Letter case does not count in Windows paths.
std::string CProfileLock::KeyOf(const std::string& canonicalPath)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : canonicalPath) {
        hash ^= static_cast<unsigned char>(std::towlower(static_cast<unsigned char>(c)));
        hash *= 1099511628211ull;
    }
    char text[24];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

void CProfileLock::Release(const SHeld& held)
{
    ::CloseHandle(reinterpret_cast<HANDLE>(held.nHandle));
}
