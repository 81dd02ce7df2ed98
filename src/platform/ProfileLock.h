#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Keeps a second run of the program off a profile that a run is working on, which would
// otherwise save its older document over the first run's changes. The lock is a file beside
// the profile ("<profile>.lock") locked through the system, which releases it when its holder
// ends however it ends: a lock file that a crashed run left behind is taken over by the next
// start. Every name of one profile (a relative path, a symbolic link, a hard link) gives the
// same lock.
//
// A lock file that cannot be taken (its name is a folder or a link, another user's crashed run
// left it) never means "no lock": a lock of the user's own, keyed by the profile's path, takes
// its place. Beside either, the profile's file identity is locked the same way, which is what
// a hard link shares.
class CProfileLock {
public:
    enum class EState { Unlocked, Held, HeldElsewhere, Failed };

    explicit CProfileLock(const std::string& profilePath);
    ~CProfileLock();
    CProfileLock(const CProfileLock&) = delete;
    CProfileLock& operator=(const CProfileLock&) = delete;

    // Held when this object holds the lock now; HeldElsewhere when another run (or another
    // object) does; Failed when no lock could be made at all: the program must then not run.
    EState Lock();
    void Unlock();
    EState State() const { return m_eState; }

    // The profile's path with links followed, the same for every name of the file.
    const std::string& CanonicalPath() const { return m_strCanonical; }
    const std::string& LockPath() const { return m_strLockPath; }
    // A short name for the canonical path, fit for file and object names.
    const std::string& Key() const { return m_strKey; }

private:
    // One lock taken: a descriptor (a handle on Windows), and the file to remove with it.
    struct SHeld {
        std::intptr_t nHandle;
        std::string strPath;
    };

    // The lock file beside the profile.
    EState LockBeside();
    // A lock only this user's runs meet, named by key.
    EState LockPrivate(const std::string& key);
    // The profile's device and file number as text; "" while the profile does not exist.
    std::string FileIdentity() const;
    void Release(const SHeld& held);
    void ReleaseAll();
    static std::string KeyOf(const std::string& canonicalPath);

    std::string m_strCanonical;
    std::string m_strLockPath;
    std::string m_strKey;
    EState m_eState = EState::Unlocked;
    std::vector<SHeld> m_held;
};
