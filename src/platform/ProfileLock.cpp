#include "platform/ProfileLock.h"

#include "platform/Utf8Path.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string Canonical(const std::string& path)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(PathFromUtf8(path), error);
    const fs::path resolved = fs::weakly_canonical(absolute, error);
    return Utf8FromPath(error ? absolute.lexically_normal() : resolved);
}

} // namespace

CProfileLock::CProfileLock(const std::string& profilePath)
    : m_strCanonical(Canonical(profilePath))
    , m_strLockPath(m_strCanonical + ".lock")
    , m_strKey(KeyOf(m_strCanonical))
{
}

CProfileLock::~CProfileLock()
{
    Unlock();
}

CProfileLock::EState CProfileLock::Lock()
{
    if (m_eState == EState::Held)
        return m_eState;
    // The file beside the profile is also seen by other users' runs and by other machines on a
    // shared folder, so it comes first.
    EState state = LockBeside();
    if (state == EState::Failed)
        state = LockPrivate("path-" + m_strKey);
    if (state == EState::Held) {
        if (const std::string identity = FileIdentity(); !identity.empty())
            state = LockPrivate("file-" + identity);
    }
    if (state != EState::Held)
        ReleaseAll();
    m_eState = state;
    return m_eState;
}

void CProfileLock::Unlock()
{
    ReleaseAll();
    m_eState = EState::Unlocked;
}

// Last taken, first let go: a start that meets the file's lock free finds the others free too.
void CProfileLock::ReleaseAll()
{
    while (!m_held.empty()) {
        Release(m_held.back());
        m_held.pop_back();
    }
}
