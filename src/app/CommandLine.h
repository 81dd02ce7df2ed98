#pragma once

#include <string>
#include <vector>

// The program's options, the same in every face: --help, --version and --profile FILE.
// Everything here works before any window system is touched, so the answers come without a
// display, and the window starts only when the options ask for a run. Arguments are taken as
// the system hands them over: a file name's bytes are never decoded, so a name that is not
// valid UTF-8 still names its own file.
class CCommandLine {
public:
    enum EStatus { kRun = -1, kSuccess = 0, kProfileUnusable = 1, kUsageError = 2 };

    // arguments: without the program's name.
    explicit CCommandLine(const std::vector<std::string>& arguments);

    bool ShouldRun() const { return m_nStatus == kRun; }
    // When the program is not to run: its exit status and what it prints on the standard
    // output and on the error output.
    int ExitStatus() const { return m_nStatus; }
    const std::string& Output() const { return m_strOutput; }
    const std::string& Errors() const { return m_strErrors; }

    // The profile named by --profile as an absolute path, or "" for the usual place.
    const std::string& ProfilePath() const { return m_strProfilePath; }

    static std::string Usage();

private:
    // The reason the arguments make no sense, or "".
    std::string Read(const std::vector<std::string>& arguments);
    std::string ReadLong(
        const std::string& argument, const std::vector<std::string>& arguments, std::size_t& next);
    void UseProfile(const std::string& path);

    bool m_bHelp = false;
    bool m_bVersion = false;
    bool m_bProfileGiven = false;
    std::string m_strProfile;

    int m_nStatus = kRun;
    std::string m_strOutput;
    std::string m_strErrors;
    std::string m_strProfilePath;
};
