#include "platform/ByteSource.h"

#include "platform/FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

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
    : m_fd(OpenFileToRead(path))
{
    // errno says why: the file is missing, unreadable or a folder (EISDIR).
    if (m_fd < 0)
        m_nError = errno;
}

CFileSource::~CFileSource()
{
    if (m_fd >= 0)
        CloseFile(m_fd);
}

std::ptrdiff_t CFileSource::Read(char* buffer, std::size_t size)
{
    if (m_fd < 0)
        return -1;
    const std::ptrdiff_t count = ReadFromFile(m_fd, buffer, size);
    if (count < 0)
        m_nError = errno;
    return count;
}

std::size_t CFileSource::ExpectedSize() const
{
    return m_fd >= 0 ? SizeOfFile(m_fd) : 0;
}
