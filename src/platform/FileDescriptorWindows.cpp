#include "platform/FileDescriptor.h"

#include "platform/Utf8Path.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace {

// Without _O_BINARY the runtime writes "\n" as "\r\n" (a profile's "\r\n" became "\r\r\n")
// and stops reading at byte 0x1A.
constexpr int kCommonFlags = _O_BINARY | _O_NOINHERIT;

int Open(const std::string& path, int flags)
{
    return ::_wopen(PathFromUtf8(path).c_str(), flags | kCommonFlags, _S_IREAD | _S_IWRITE);
}

unsigned int Portion(std::size_t size)
{
    return static_cast<unsigned int>(std::min<std::size_t>(size, INT_MAX));
}

} // namespace

int OpenFileToRead(const std::string& path)
{
    const int fd = Open(path, _O_RDONLY);
    struct _stat64 info { };
    if (fd >= 0 && (::_fstat64(fd, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG)) {
        const int reason = (info.st_mode & _S_IFDIR) != 0 ? EISDIR : ENXIO;
        ::_close(fd);
        errno = reason;
        return -1;
    }
    return fd;
}

int OpenFileToWrite(const std::string& path)
{
    return Open(path, _O_WRONLY | _O_CREAT | _O_TRUNC);
}

int CreateNewFile(const std::string& path)
{
    return Open(path, _O_WRONLY | _O_CREAT | _O_EXCL);
}

std::ptrdiff_t ReadFromFile(int fd, char* buffer, std::size_t size)
{
    return ::_read(fd, buffer, Portion(size));
}

std::ptrdiff_t WriteToFile(int fd, const char* data, std::size_t size)
{
    return ::_write(fd, data, Portion(size));
}

std::size_t SizeOfFile(int fd)
{
    struct _stat64 status { };
    if (::_fstat64(fd, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG
        || status.st_size < 0)
        return 0;
    return static_cast<std::size_t>(status.st_size);
}

// _commit flushes the system's buffers of the file to the disk (FlushFileBuffers).
bool SyncFile(int fd)
{
    return ::_commit(fd) == 0;
}

bool CloseFile(int fd)
{
    return ::_close(fd) == 0;
}
