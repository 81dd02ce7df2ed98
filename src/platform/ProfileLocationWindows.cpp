#include "platform/ProfileLocation.h"

#include "platform/Utf8Path.h"

#include <windows.h>

#include <cwchar>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string ExecutablePath()
{
    // The name is cut short, not refused, when the buffer is too small: grow until it fits.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length
            = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return "quotino";
        if (length < buffer.size()) {
            buffer.resize(length);
            return Utf8FromPath(fs::path(buffer));
        }
        buffer.resize(buffer.size() * 2);
    }
}

fs::path EnvironmentPath(const wchar_t* name)
{
    const wchar_t* value = ::_wgetenv(name);
    return value && *value ? fs::path(value) : fs::path();
}

// The roaming application-data folder, where Windows programs keep a user's settings.
fs::path ApplicationDataFolder()
{
    const fs::path appData = EnvironmentPath(L"APPDATA");
    if (!appData.empty())
        return appData;
    const fs::path profile = EnvironmentPath(L"USERPROFILE");
    return profile.empty() ? fs::path(".") : profile / "AppData" / "Roaming";
}

std::string SystemReason(DWORD error)
{
    return std::system_category().message(static_cast<int>(error));
}

// Access rights live in the folder's access control list, which the runtime's access() does
// not read: the sure answer is to create a file there.
std::string FolderUnwritableReason(const fs::path& folder)
{
    const fs::path probe
        = folder / (L".quotino-write-test-" + std::to_wstring(::GetCurrentProcessId()));
    const HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return SystemReason(::GetLastError());
    ::CloseHandle(file);
    return {};
}

std::string FileUnusableReason(const fs::path& file)
{
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return "it is a folder";
    // The attribute a user sets in the file's properties to keep it as it is.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return "it is read-only";
    const HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return "it cannot be read and written: " + SystemReason(::GetLastError());
    // A console, a serial port or a pipe opens like a file but never ends or waits.
    const bool disk = ::GetFileType(handle) == FILE_TYPE_DISK;
    ::CloseHandle(handle);
    return disk ? std::string() : std::string("it is a device or pipe, not a file");
}

} // namespace

std::string LocateProfile()
{
    return LocateProfile(ExecutablePath(), Utf8FromPath(ApplicationDataFolder() / "quotino"));
}

std::string ProfileUnusableReason(const std::string& path)
{
    std::error_code error;
    const fs::path file = fs::absolute(PathFromUtf8(path), error).lexically_normal();
    if (error)
        return error.message();
    const fs::path folder = file.parent_path();
    if (!fs::is_directory(folder, error))
        return "the folder " + Utf8FromPath(folder) + " does not exist";
    if (const std::string reason = FolderUnwritableReason(folder); !reason.empty())
        return "the folder " + Utf8FromPath(folder) + " cannot be written: " + reason;
    if (fs::exists(file, error))
        return FileUnusableReason(file);
    return {};
}
