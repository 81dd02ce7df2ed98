#include "platform/ProfileLocation.h"

#include "platform/FileKind.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ExecutablePath()
{
    std::error_code error;
    const fs::path path = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string("quotino") : path.string();
}

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return ".";
}

std::string SystemReason()
{
    return std::strerror(errno);
}

// A file without any write permission bit was made read-only on purpose, also for root.
std::string FileUnusableReason(const fs::path& file)
{
    std::error_code error;
    if (const std::string reason = NotAFileReason(KindOfFile(file.string())); !reason.empty())
        return reason;
    if (::access(file.c_str(), R_OK) != 0)
        return "it cannot be read: " + SystemReason();
    constexpr fs::perms anyWrite
        = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((fs::status(file, error).permissions() & anyWrite) == fs::perms::none)
        return "it is read-only";
    if (::access(file.c_str(), W_OK) != 0)
        return "it cannot be written: " + SystemReason();
    return {};
}

} // namespace

std::string UserProfileFolder(const std::string& xdgConfigHome, const std::string& home)
{
    // A relative XDG_CONFIG_HOME is invalid and to be ignored.
    const fs::path base = !xdgConfigHome.empty() && fs::path(xdgConfigHome).is_absolute()
        ? fs::path(xdgConfigHome)
        : fs::path(home) / ".config";
    return (base / "quotino").string();
}

std::string LocateProfile()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    return LocateProfile(ExecutablePath(), UserProfileFolder(xdg ? xdg : "", HomeFolder()));
}

std::string ProfileUnusableReason(const std::string& path)
{
    std::error_code error;
    // A link is followed: the save replaces the file it points to, in that file's folder.
    const fs::path file = fs::weakly_canonical(fs::absolute(path, error), error);
    if (error)
        return error.message();
    const fs::path folder = file.parent_path();
    if (!fs::is_directory(folder, error))
        return "the folder " + folder.string() + " does not exist";
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return "the folder " + folder.string() + " cannot be written: " + SystemReason();
    if (fs::exists(file, error))
        return FileUnusableReason(file);
    return {};
}
