#include "app/CommandLine.h"

#include "platform/ProfileLocation.h"
#include "platform/Utf8Path.h"
#include "platform/Version.h"

#include <filesystem>

namespace {

constexpr const char* kProgram = "quotino";

} // namespace

CCommandLine::CCommandLine(const std::vector<std::string>& arguments)
{
    if (const std::string error = Read(arguments); !error.empty()) {
        m_strErrors = std::string(kProgram) + ": " + error + "\n" + Usage();
        m_nStatus = kUsageError;
    } else if (m_bHelp) {
        m_strOutput = Usage();
        m_nStatus = kSuccess;
    } else if (m_bVersion) {
        m_strOutput = std::string(kProgram) + " " + kVersionText + "\n";
        m_nStatus = kSuccess;
    } else if (m_bProfileGiven) {
        UseProfile(m_strProfile);
    }
}

std::string CCommandLine::Usage()
{
    return std::string("Usage: ") + kProgram
        + " [options]\n"
          "Prices a shopping list from the clipboard at farm, market and customer prices.\n"
          "\n"
          "Options:\n"
          "  -h, --help        Show this help and exit.\n"
          "  -v, --version     Show the program's version and exit.\n"
          "  --profile <file>  Run on the profile <file>; copies of downloaded lists go to\n"
          "                    its folder.\n";
}

// Short options may be run together ("-hv"); "--" ends the options.
std::string CCommandLine::Read(const std::vector<std::string>& arguments)
{
    bool optionsEnded = false;
    for (std::size_t next = 0; next < arguments.size();) {
        const std::string& argument = arguments[next++];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-')
            return "Unexpected argument '" + argument + "'.";
        if (argument == "--") {
            optionsEnded = true;
        } else if (argument[1] == '-') {
            if (std::string error = ReadLong(argument, arguments, next); !error.empty())
                return error;
        } else {
            for (const char letter : argument.substr(1)) {
                if (letter != 'h' && letter != 'v')
                    return std::string("Unknown option '") + letter + "'.";
                (letter == 'h' ? m_bHelp : m_bVersion) = true;
            }
        }
    }
    return "";
}

std::string CCommandLine::ReadLong(
    const std::string& argument, const std::vector<std::string>& arguments, std::size_t& next)
{
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(2, equals == std::string::npos ? equals : equals - 2);
    if (name == "help" || name == "version") {
        if (equals != std::string::npos)
            return "Unexpected value after '--" + name + "'.";
        (name == "help" ? m_bHelp : m_bVersion) = true;
        return "";
    }
    if (name != "profile")
        return "Unknown option '" + name + "'.";
    // A second name would leave it to chance which file the run writes.
    if (m_bProfileGiven)
        return "--profile given twice.";
    if (equals == std::string::npos && next == arguments.size())
        return "Missing value after '--profile'.";
    m_strProfile = equals == std::string::npos ? arguments[next++] : argument.substr(equals + 1);
    m_bProfileGiven = true;
    return "";
}

void CCommandLine::UseProfile(const std::string& path)
{
    if (path.empty()) {
        m_strErrors = std::string(kProgram) + ": --profile needs a file name\n";
        m_nStatus = kUsageError;
        return;
    }
    if (const std::string reason = ProfileUnusableReason(path); !reason.empty()) {
        m_strErrors
            = std::string(kProgram) + ": cannot use the profile " + path + ": " + reason + "\n";
        m_nStatus = kProfileUnusable;
        return;
    }
    std::error_code error;
    m_strProfilePath = Utf8FromPath(std::filesystem::absolute(PathFromUtf8(path), error));
}
