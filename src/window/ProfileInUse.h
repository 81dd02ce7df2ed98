#pragma once

#include <string>

class CProfileLock;

// What a start tells the user when it does not run on its profile: another run holds the
// profile and could not be reached, or no lock could be taken at all, which names the file to
// remove. In the language of the profile, which is read but never written. Each face only
// shows it and ends with kExitStatus.
struct SProfileInUse {
    static constexpr int kExitStatus = 1;
    std::string strTitle;
    std::string strText;
};

SProfileInUse ProfileInUseMessage(const std::string& profilePath, const CProfileLock& lock);
