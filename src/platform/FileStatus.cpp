#include "platform/FileStatus.h"

#include <filesystem>
#include <sys/stat.h>

bool GetFileStatus(const std::string& path, CFileStatus& status)
{
    if (path.empty()) {
        status = CFileStatus {};
        return false;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    status.m_szFullName = error ? path : absolute.lexically_normal().string();
    status.m_mtime = 0;
    status.m_size = 0;

    struct stat info;
    if (::stat(status.m_szFullName.c_str(), &info) != 0)
        return false;
    status.m_mtime = info.st_mtime;
    status.m_size = static_cast<std::uint64_t>(info.st_size);
    return true;
}
