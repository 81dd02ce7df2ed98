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
{
}

CProfileLock::~CProfileLock()
{
    Unlock();
}

CProfileLock::EState CProfileLock::Lock()
{
    if (m_eState != EState::Held)
        m_eState = LockFile();
    return m_eState;
}

void CProfileLock::Unlock()
{
    if (m_eState == EState::Held)
        UnlockFile();
    m_eState = EState::Unlocked;
}
