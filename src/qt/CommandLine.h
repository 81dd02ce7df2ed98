#pragma once

#include <QStringList>

#include <string>

// The program's options: --help, --version and --profile FILE. Everything here works before
// any window system is touched, so the answers come without a display, and the window starts
// only when the options ask for a run.
class CCommandLine {
public:
    enum EStatus { kRun = -1, kSuccess = 0, kProfileUnusable = 1, kUsageError = 2 };

    // arguments: the program's name first, as in argv.
    explicit CCommandLine(const QStringList& arguments);

    bool ShouldRun() const { return m_nStatus == kRun; }
    // When the program is not to run: its exit status and what it prints.
    int ExitStatus() const { return m_nStatus; }
    const std::string& Output() const { return m_strOutput; }
    const std::string& Errors() const { return m_strErrors; }

    // The profile named by --profile as an absolute path, or "" for the usual place.
    const std::string& ProfilePath() const { return m_strProfilePath; }

    static QStringList ArgumentsOf(int argc, char** argv);

private:
    void UseProfile(const QString& path);

    int m_nStatus = kRun;
    std::string m_strOutput;
    std::string m_strErrors;
    std::string m_strProfilePath;
};
