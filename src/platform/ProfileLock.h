#pragma once

#include <cstdint>
#include <string>

// Keeps a second run of the program off a profile that a run is working on, which would
// otherwise save its older document over the first run's changes. The lock is a file beside
// the profile ("<profile>.lock") locked through the system, which releases it when its holder
// ends however it ends: a lock file that a crashed run left behind is taken over by the next
// start. Every name of one profile (a relative path, a symbolic link) gives the same lock.
class CProfileLock {
public:
    enum class EState { Unlocked, Held, HeldElsewhere, Failed };

    explicit CProfileLock(const std::string& profilePath);
    ~CProfileLock();
    CProfileLock(const CProfileLock&) = delete;
    CProfileLock& operator=(const CProfileLock&) = delete;

    // Held when this object holds the lock now; HeldElsewhere when another run (or another
    // object) does; Failed when the lock file cannot be made, as on a folder without write
    // permission or a file system without locks.
    EState Lock();
    void Unlock();
    EState State() const { return m_eState; }

    // The profile's path with links followed, the same for every name of the file.
    const std::string& CanonicalPath() const { return m_strCanonical; }
    const std::string& LockPath() const { return m_strLockPath; }

private:
    EState LockFile();
    void UnlockFile();

    std::string m_strCanonical;
    std::string m_strLockPath;
    EState m_eState = EState::Unlocked;
    // The open lock file: a descriptor, or a handle on Windows; -1 when none.
    std::intptr_t m_nFile = -1;
};
