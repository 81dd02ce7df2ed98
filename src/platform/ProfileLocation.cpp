#include "platform/ProfileLocation.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

std::string ProfilePathBesideExecutable(const std::string& executablePath)
{
    fs::path profile(executablePath);
    if (profile.extension().string().size() == 4)
        profile.replace_extension(".ini");
    else
        profile += ".ini";
    return profile.string();
}

bool IsFolderWritable(const std::string& folder)
{
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

std::string LocateProfile(const std::string& executablePath, const std::string& xdgConfigHome,
    const std::string& home, const std::function<bool(const std::string&)>& isWritable)
{
    const fs::path beside(ProfilePathBesideExecutable(executablePath));
    if (isWritable(beside.parent_path().string()))
        return beside.string();

    // A relative XDG_CONFIG_HOME is invalid and to be ignored.
    const fs::path base = !xdgConfigHome.empty() && fs::path(xdgConfigHome).is_absolute()
        ? fs::path(xdgConfigHome)
        : fs::path(home) / ".config";
    const fs::path folder = base / "quotino";
    std::error_code error;
    fs::create_directories(folder, error);
    return (folder / beside.filename()).string();
}

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

} // namespace

std::string LocateProfile()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    return LocateProfile(ExecutablePath(), xdg ? xdg : "", HomeFolder());
}
