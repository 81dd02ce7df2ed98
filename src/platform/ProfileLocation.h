#pragma once

#include <string>

// Where the profile lives. A profile that already exists beside the executable, named like it
// with ".ini", is used there: a portable copy keeps its settings on the stick it runs from, and
// every existing user keeps the file they have. Otherwise the profile is "quotino.ini" in the
// user's configuration folder for the program (created when missing): an installed program
// never writes beside its executable, which would scatter files into ~/.local/bin or fail
// under /usr/bin.
//
// The decision is the same on every system; only the executable's path and the user's
// configuration folder come from the system (ProfileLocationPosix.cpp on Linux,
// ProfileLocationWindows.cpp on Windows, where the folder is %APPDATA%\quotino).

// "/opt/q/quotino" → "/opt/q/quotino.ini"; a three-letter extension is replaced
// ("quotino.exe" → "quotino.ini").
std::string ProfilePathBesideExecutable(const std::string& executablePath);

// The rule above with the executable's path and the user's folder for the program
// (e.g. "~/.config/quotino") passed in. Creates that folder only when it is chosen.
std::string LocateProfile(const std::string& executablePath, const std::string& userFolder);

#ifndef _WIN32
// The user's folder for the program, from the XDG rule: $XDG_CONFIG_HOME/quotino when that
// variable holds an absolute path, else <home>/.config/quotino.
std::string UserProfileFolder(const std::string& xdgConfigHome, const std::string& home);
#endif

// The rule above for the running program and its environment.
std::string LocateProfile();

// For a profile the user names (--profile): why it cannot be the run's profile, or "" when it
// can. A missing file is fine where the folder can take it, as the run creates it there; the
// folder must exist and be writable, since saves and copies of downloads go there. A file that
// cannot be read or written is refused, so that a run never ends with its changes lost
// without a word.
std::string ProfileUnusableReason(const std::string& path);
