#include "platform/ProfileLocation.h"

#include "platform/Utf8Path.h"

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kProfileName = "quotino.ini";

// Creates the folder and any missing parents, private to the user as the XDG rule asks for
// folders it creates; folders that already exist keep their permissions.
void CreateUserFolder(const fs::path& folder)
{
    std::vector<fs::path> missing;
    std::error_code error;
    for (fs::path path = folder;
         !path.empty() && fs::symlink_status(path, error).type() == fs::file_type::not_found;
         path = path.parent_path()) {
        missing.push_back(path);
        if (path == path.parent_path())
            break;
    }
    fs::create_directories(folder, error);
    for (const fs::path& created : missing)
        fs::permissions(created, fs::perms::owner_all, fs::perm_options::replace, error);
}

} // namespace

std::string ProfilePathBesideExecutable(const std::string& executablePath)
{
    fs::path profile = PathFromUtf8(executablePath);
    if (Utf8FromPath(profile.extension()).size() == 4)
        profile.replace_extension(".ini");
    else
        profile += ".ini";
    return Utf8FromPath(profile);
}

std::string LocateProfile(const std::string& executablePath, const std::string& userFolder)
{
    const std::string beside = ProfilePathBesideExecutable(executablePath);
    // Whatever stands there, even a dangling link, is the user's: use it, never go around it.
    std::error_code error;
    if (fs::exists(fs::symlink_status(PathFromUtf8(beside), error)))
        return beside;

    CreateUserFolder(PathFromUtf8(userFolder));
    return Utf8FromPath(PathFromUtf8(userFolder) / kProfileName);
}
