#include "platform/ProfileLock.h"

#include "platform/RuntimeFolder.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A run that ends removes its lock file; a start that opened it just before may need to try
// again with the new one.
constexpr int kLockAttempts = 8;

int OpenLockFile(const std::string& path)
{
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EINTR)
            return fd;
    }
}

// Whether the locked file still has the name: a lock on a file its holder removed guards
// nothing.
bool StillNamed(int fd, const std::string& path)
{
    struct stat opened {
    }, named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0
        && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// flock belongs to the open file, not to the process: a second object of this process is
// kept out as another run is, and the lock goes with the descriptor when the process ends.
CProfileLock::EState LockFileAt(const std::string& path, int& held)
{
    using EState = CProfileLock::EState;
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        const int fd = OpenLockFile(path);
        if (fd < 0)
            return EState::Failed;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool busy = errno == EWOULDBLOCK;
            ::close(fd);
            return busy ? EState::HeldElsewhere : EState::Failed;
        }
        if (StillNamed(fd, path)) {
            held = fd;
            return EState::Held;
        }
        ::close(fd);
    }
    return EState::Failed;
}

} // namespace

CProfileLock::EState CProfileLock::LockBeside()
{
    int fd = -1;
    const EState state = LockFileAt(m_strLockPath, fd);
    if (state == EState::Held)
        m_held.push_back({ fd, m_strLockPath });
    return state;
}

CProfileLock::EState CProfileLock::LockPrivate(const std::string& key)
{
    const std::string folder = PrivateRuntimeFolder();
    if (folder.empty())
        return EState::Failed;
    const std::string path = folder + "/quotino-" + key + ".lock";
    int fd = -1;
    const EState state = LockFileAt(path, fd);
    if (state == EState::Held)
        m_held.push_back({ fd, path });
    return state;
}

std::string CProfileLock::FileIdentity() const
{
    struct stat status { };
    if (::stat(m_strCanonical.c_str(), &status) != 0)
        return "";
    char text[48];
    std::snprintf(text, sizeof text, "%llx-%llx", static_cast<unsigned long long>(status.st_dev),
        static_cast<unsigned long long>(status.st_ino));
    return text;
}

std::string CProfileLock::KeyOf(const std::string& canonicalPath)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : canonicalPath) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char text[24];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// Removed while still locked, so that no start can lock the old file after the name is gone.
void CProfileLock::Release(const SHeld& held)
{
    ::unlink(held.strPath.c_str());
    ::close(static_cast<int>(held.nHandle));
}
