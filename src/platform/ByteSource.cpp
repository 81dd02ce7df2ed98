#include "platform/ByteSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CMemorySource::CMemorySource(const void* data, std::size_t size)
    : m_data(static_cast<const char*>(data))
    , m_size(data ? size : 0)
{
}

std::ptrdiff_t CMemorySource::Read(char* buffer, std::size_t size)
{
    const std::size_t count = std::min(size, m_size - m_position);
    if (count > 0)
        std::memcpy(buffer, m_data + m_position, count);
    m_position += count;
    return static_cast<std::ptrdiff_t>(count);
}

CFileSource::CFileSource(const std::string& path)
{
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info;
    if (m_fd >= 0 && (::fstat(m_fd, &info) != 0 || S_ISDIR(info.st_mode))) {
        ::close(m_fd);
        m_fd = -1;
    }
}

CFileSource::~CFileSource()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::ptrdiff_t CFileSource::Read(char* buffer, std::size_t size)
{
    if (m_fd < 0)
        return -1;
    for (;;) {
        const ssize_t count = ::read(m_fd, buffer, size);
        if (count >= 0)
            return count;
        if (errno != EINTR)
            return -1;
    }
}
