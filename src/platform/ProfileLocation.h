#pragma once

#include <functional>
#include <string>

// The profile lives beside the executable, named like it with ".ini". When that folder is not
// writable (an installed program), it lives in the user's configuration folder instead:
// $XDG_CONFIG_HOME/quotino/ or ~/.config/quotino/, which is created when missing.

// "/opt/q/quotino" → "/opt/q/quotino.ini"; a three-letter extension is replaced
// ("quotino.exe" → "quotino.ini").
std::string ProfilePathBesideExecutable(const std::string& executablePath);

bool IsFolderWritable(const std::string& folder);

// The rule above with the executable's path and the environment passed in.
std::string LocateProfile(const std::string& executablePath, const std::string& xdgConfigHome,
    const std::string& home,
    const std::function<bool(const std::string&)>& isWritable = IsFolderWritable);

// The rule above for the running program and its environment.
std::string LocateProfile();
