#include "platform/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int Open(const std::string& path, int flags)
{
    for (;;) {
        const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EINTR)
            return fd;
    }
}

} // namespace

int OpenFileToRead(const std::string& path)
{
    // Without O_NONBLOCK a named pipe that took the file's place would hold the open until a
    // writer comes; on a regular file the flag changes nothing.
    const int fd = Open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    struct stat info { };
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        const int reason = S_ISDIR(info.st_mode) ? EISDIR : ENXIO;
        ::close(fd);
        errno = reason;
        return -1;
    }
    return fd;
}

int OpenFileToWrite(const std::string& path)
{
    return Open(path, O_WRONLY | O_CREAT | O_TRUNC);
}

int CreateNewFile(const std::string& path)
{
    return Open(path, O_WRONLY | O_CREAT | O_EXCL);
}

std::ptrdiff_t ReadFromFile(int fd, char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t count = ::read(fd, buffer, size);
        if (count >= 0 || errno != EINTR)
            return count;
    }
}

std::ptrdiff_t WriteToFile(int fd, const char* data, std::size_t size)
{
    for (;;) {
        const ssize_t count = ::write(fd, data, size);
        if (count >= 0 || errno != EINTR)
            return count;
    }
}

std::size_t SizeOfFile(int fd)
{
    struct stat status { };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0)
        return 0;
    return static_cast<std::size_t>(status.st_size);
}

bool SyncFile(int fd)
{
    return ::fsync(fd) == 0;
}

bool CloseFile(int fd)
{
    return ::close(fd) == 0;
}
