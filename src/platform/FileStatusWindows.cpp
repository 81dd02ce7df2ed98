#include "platform/FileStatus.h"

#include "platform/Utf8Path.h"

#include <filesystem>
#include <sys/stat.h>

bool GetFileStatus(const std::string& path, CFileStatus& status)
{
    if (path.empty()) {
        status = CFileStatus {};
        return false;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(PathFromUtf8(path), error);
    status.m_szFullName = error ? path : Utf8FromPath(absolute.lexically_normal());
    status.m_mtime = 0;
    status.m_size = 0;

    struct _stat64 info;
    if (::_wstat64(PathFromUtf8(status.m_szFullName).c_str(), &info) != 0)
        return false;
    status.m_mtime = info.st_mtime;
    status.m_size = static_cast<std::uint64_t>(info.st_size);
    return true;
}
