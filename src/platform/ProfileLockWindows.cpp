#include "platform/ProfileLock.h"

#include "platform/Utf8Path.h"

#include <windows.h>

// The lock file is opened without sharing: nobody else can open it while it is held, and the
// system closes the handle, deleting the file, when the holder ends however it ends. A file
// left behind anyway (a power cut) is opened by the next start like any other.
CProfileLock::EState CProfileLock::LockFile()
{
    const HANDLE file
        = ::CreateFileW(PathFromUtf8(m_strLockPath).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_SHARING_VIOLATION ? EState::HeldElsewhere : EState::Failed;
    m_nFile = reinterpret_cast<std::intptr_t>(file);
    return EState::Held;
}

void CProfileLock::UnlockFile()
{
    ::CloseHandle(reinterpret_cast<HANDLE>(m_nFile));
    m_nFile = -1;
}
