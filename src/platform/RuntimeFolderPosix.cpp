#include "platform/RuntimeFolder.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string AbsoluteFromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? value : "";
}

// Not followed if it is a link: a link may lead into a folder that someone else controls.
bool IsPrivateFolder(const std::string& path)
{
    struct stat status { };
    return !path.empty() && ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)
        && status.st_uid == ::geteuid() && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

} // namespace

std::string PrivateRuntimeFolder()
{
    if (const std::string runtime = AbsoluteFromEnvironment("XDG_RUNTIME_DIR");
        IsPrivateFolder(runtime))
        return runtime;
    std::string temporary = AbsoluteFromEnvironment("TMPDIR");
    if (temporary.empty())
        temporary = "/tmp";
    const std::string own = temporary + "/quotino-" + std::to_string(::geteuid());
    if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST)
        return "";
    return IsPrivateFolder(own) ? own : "";
}
