#pragma once

#include "platform/Listeners.h"
#include "platform/Version.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CIniFile;
class CServerCache;
class CTexts;
class IClock;
class IUserInterface;

// Reads "[Section]Key=Value" into its three parts, each trimmed. False when the text does not
// begin with "[", lacks "]", has no "=" at least two places after the "]", or names no section.
bool ParseProfileAssignment(
    std::string_view text, std::string& section, std::string& key, std::string& value);

// Applies the list of servers that a CServerListRun fetched: adds new servers and updates the
// addresses, columns and list types of known ones, announces a newer program version, and
// applies the profile assignments that the list carries.
class CServerListUpdater {
public:
    CServerListUpdater(
        CIniFile& profile, CServerCache& cache, const CTexts& texts, const IClock& clock);

    // Applies a fetched list (the body as it came, heading first) line by line and stamps
    // ServerUpd. With a window (ui), the version notice is shown through it and the
    // listeners of OnServersChanged hear of it at the end.
    void ApplyServerList(std::string_view body, IUserInterface* ui);

    // listener runs after every update applied with a window, for as long as the subscription
    // lives (a server box refills itself from it).
    [[nodiscard]] CSubscription OnServersChanged(std::function<void()> listener)
    {
        return m_serversChanged.Subscribe(std::move(listener));
    }

    // The version of this program; a list announcing a newer one shows the notice.
    static constexpr int kMajorVersion = kVersionMajor;
    static constexpr int kMinorVersion = kVersionMinor;

    // What a list may create: real lists name a few hundred servers in rows of a few dozen
    // bytes; rows beyond these bounds are ignored like any other unusable row.
    static constexpr std::size_t kMaxServers = 1000;
    static constexpr std::size_t kMaxRowBytes = 4096;
    // Directive rows of one list (assignments and version rows) that are read; real lists
    // carry a handful.
    static constexpr std::size_t kMaxAssignments = 200;

private:
    void ApplyLine(std::string_view line, std::vector<std::string>& fields);
    void NoteVersion(const std::string& label, const std::string& version);
    void ApplyAssignment(const std::string& assignment, const std::string& condition);
    void ApplyServer(const std::vector<std::string>& fields, int count);

    CListeners m_serversChanged;
    std::size_t m_nAssignments = 0; // directive rows of the list being applied
    std::pair<int, int> m_announced { kMajorVersion, kMinorVersion }; // the highest version seen
    CIniFile& m_profile;
    CServerCache& m_cache;
    const CTexts& m_texts;
    const IClock& m_clock;
};
