#pragma once

#include "platform/ProfileLock.h"

#include <string>

// One run per profile. The first start locks the profile; its main window has a window class
// named after the profile, by which a later start on the same profile finds it, brings it to
// the front and ends without touching the profile.
class CWin32SingleInstance {
public:
    // How long a later start looks for the first's window, which may be starting up itself.
    static constexpr unsigned kReachMs = 3000;
    // Exit status of a later start that could not reach the first run.
    static constexpr int kFirstUnreachable = 1;

    explicit CWin32SingleInstance(const std::string& profilePath);

    // False when another run works on the profile. A lock that cannot be made at all (a
    // folder without locks) does not keep the program from running.
    bool IsFirst() const { return m_lock.State() != CProfileLock::EState::HeldElsewhere; }
    // The main window's class name for this profile.
    const std::wstring& WindowClass() const { return m_strWindowClass; }
    // For a later start: brings the first run's window forward (0), or tells the user in their
    // language that it cannot be reached (kFirstUnreachable).
    int HandOver() const;

private:
    void ShowUnreachable() const;

    std::string m_strProfilePath;
    CProfileLock m_lock;
    std::wstring m_strWindowClass;
};
