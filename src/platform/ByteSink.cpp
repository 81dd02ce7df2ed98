#include "platform/ByteSink.h"

#include "platform/FileDescriptor.h"

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

bool CMemorySink::Write(const char* data, std::size_t size)
{
    m_data.append(data, size);
    return true;
}

CFileSink::CFileSink(const std::string& path)
    : CFileSink(OpenFileToWrite(path))
{
}

CFileSink::CFileSink(int fd)
    : m_fd(fd)
{
    m_buffer.reserve(kBufferSize);
}

CFileSink::~CFileSink()
{
    Close();
}

bool CFileSink::Write(const char* data, std::size_t size)
{
    if (m_fd < 0 || m_bFailed)
        return false;
    if (m_buffer.size() + size > kBufferSize) {
        if (!Flush())
            return false;
        if (size >= kBufferSize)
            return WriteAll(data, size);
    }
    m_buffer.append(data, size);
    return true;
}

bool CFileSink::Flush()
{
    if (m_fd < 0 || m_bFailed)
        return false;
    const bool ok = WriteAll(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
    return ok;
}

bool CFileSink::Sync()
{
    return Flush() && SyncFile(m_fd);
}

bool CFileSink::Close()
{
    if (m_fd < 0)
        return false;
    const bool flushed = Flush();
    const bool closed = CloseFile(m_fd);
    m_fd = -1;
    return flushed && closed;
}

bool CFileSink::WriteAll(const char* data, std::size_t size)
{
    while (size > 0) {
        const std::ptrdiff_t written = WriteToFile(m_fd, data, size);
        if (written <= 0) {
            m_bFailed = true;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}
