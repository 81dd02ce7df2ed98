#include "platform/ProfileLock.h"

#include <cerrno>
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
    return ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0
        && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

// flock belongs to the open file, not to the process: a second object of this process is
// kept out as another run is, and the lock goes with the descriptor when the process ends.
CProfileLock::EState CProfileLock::LockFile()
{
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        const int fd = OpenLockFile(m_strLockPath);
        if (fd < 0)
            return EState::Failed;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool held = errno == EWOULDBLOCK;
            ::close(fd);
            return held ? EState::HeldElsewhere : EState::Failed;
        }
        if (StillNamed(fd, m_strLockPath)) {
            m_nFile = fd;
            return EState::Held;
        }
        ::close(fd);
    }
    return EState::Failed;
}

// Removed while still locked, so that no start can lock the old file after the name is gone.
void CProfileLock::UnlockFile()
{
    ::unlink(m_strLockPath.c_str());
    ::close(static_cast<int>(m_nFile));
    m_nFile = -1;
}
