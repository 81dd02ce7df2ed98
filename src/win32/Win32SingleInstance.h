#pragma once

#include "platform/ProfileLock.h"

#include <string>

// One run per profile. The first start locks the profile; its main window has a window class
// named after the profile, by which a later start on the same profile finds it, brings it to
// the front and ends without touching the profile. Only a window of this user's in this
// session counts: anyone can register a class of that name.
class CWin32SingleInstance {
public:
    // How long a later start looks for the first's window, which may be starting up itself.
    static constexpr unsigned kReachMs = 3000;
    explicit CWin32SingleInstance(const std::string& profilePath);

    // True when this start holds the profile's lock and runs.
    bool IsFirst() const { return m_lock.State() == CProfileLock::EState::Held; }
    // The main window's class name for this profile.
    const std::wstring& WindowClass() const { return m_strWindowClass; }
    // For any other start: brings the first run's window forward (0), or tells the user why
    // this start does not run (SProfileInUse::kExitStatus).
    int HandOver() const;
    // The message a later start sends the first run's window: come to the front.
    static unsigned BringToFrontMessage();

private:
    bool ReachFirst() const;

    std::string m_strProfilePath;
    CProfileLock m_lock;
    std::wstring m_strWindowClass;
};
