// Any server-list body, served over loopback HTTP and applied to a profile by the real update,
// and every field of it read as a remote profile assignment. The update always succeeds and
// stamps the day; the server cache holds each listed server once with the address, columns
// and list type of its last row; where the list carries no assignments the profile says the
// same and the program's own sections are untouched; the version notice shows at most once,
// for newer versions only.
#include "FuzzCheck.h"

#include "config/PlantCatalog.h"
#include "config/Texts.h"
#include "net/Fetcher.h"
#include "platform/ByteSource.h"
#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "platform/TextCase.h"
#include "platform/TextUtil.h"
#include "platform/UserInterface.h"
#include "prices/PriceList.h"
#include "profile/IniFile.h"
#include "serverlist/ServerListUpdater.h"
#include "servers/ServerCache.h"
#include "servers/ServerName.h"
#include "servers/ServerTable.h"
#include "support/RunToEnd.h"

#include <httplib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

// The assignment rule, written out once more: "[", a section, "]", a key of at least one
// character, "=", a value; each part trimmed, the section not empty.
void CheckAssignment(std::string_view text)
{
    std::string section, key, value;
    const bool usable = ParseProfileAssignment(text, section, key, value);
    const std::size_t close = text.find(']');
    const std::size_t equals = text.find('=');
    const bool expected = !text.empty() && text.front() == '[' && close != std::string_view::npos
        && equals != std::string_view::npos && equals >= close + 2
        && !Trim(text.substr(1, close - 1)).empty();
    FuzzCheck(usable == expected, "an assignment is usable exactly as the rule says");
    if (!usable)
        return;
    FuzzCheck(
        section == Trim(text.substr(1, close - 1)), "the section stands between the brackets");
    FuzzCheck(key == Trim(text.substr(close + 1, equals - close - 1)),
        "the key stands before the first =");
    FuzzCheck(value == Trim(text.substr(equals + 1)), "the value is the rest");

    // Written back in the same form, it reads as the same three parts.
    const std::string again = "[" + section + "]" + (key.empty() ? " " : key) + "=" + value;
    std::string section2, key2, value2;
    FuzzCheck(ParseProfileAssignment(again, section2, key2, value2) && section2 == section
            && key2 == key && value2 == value,
        "an assignment written back reads the same");
}

// The lines as the fetch delivers them: split at LF, CR dropped, converted from UTF-8.
std::vector<std::string> BodyLines(std::string_view body)
{
    std::vector<std::string> lines;
    while (!body.empty()) {
        const std::size_t end = body.find('\n');
        std::string line(body.substr(0, end));
        std::erase(line, '\r');
        lines.push_back(Utf8ToCp1252(line));
        body.remove_prefix(end == std::string_view::npos ? body.size() : end + 1);
    }
    return lines;
}

struct CExpectedServer {
    std::string url, werte, listType;
};

// What the list should leave behind, worked out from its rows alone.
struct CExpectation {
    std::map<std::string, CExpectedServer> servers;
    std::vector<std::string> order; // new servers in the order of their first row
    bool hasDirectives = false;
    std::size_t directiveRows = 0;
    int versionRows = 0; // among the directive rows within the bound
    int plainNewerVersions = 0;
};

// A version that is digits, a point and digits, newer than 1.39.
bool IsPlainNewerVersion(std::string_view version)
{
    const std::size_t point = version.find('.');
    if (point == std::string_view::npos || point == 0 || point > 4 || version.size() - point - 1 > 4
        || version.size() == point + 1)
        return false;
    for (std::size_t i = 0; i < version.size(); ++i)
        if (i != point && !IsDigit(version[i]))
            return false;
    const int major = std::atoi(std::string(version.substr(0, point)).c_str());
    const int minor = std::atoi(std::string(version.substr(point + 1)).c_str());
    return major > 1 || (major == 1 && minor > 39);
}

// Server rows create a server only under a usable name and within the bound; names that
// differ in letter case are one server, which keeps the spelling it had first.
CExpectation Expect(
    const std::vector<std::string>& lines, const std::set<std::string>& known, CIniFile& profile)
{
    CExpectation expected;
    std::vector<std::string> fields;
    std::size_t servers = known.size();
    for (std::size_t i = 1; i < lines.size(); ++i) {
        SplitFields(lines[i], fields, '\t');
        for (const std::string& field : fields)
            CheckAssignment(field);
        if (fields.size() < 3 || lines[i].size() > CServerListUpdater::kMaxRowBytes)
            continue;
        if (fields[0].empty() && !fields[1].empty() && !fields[2].empty()) {
            expected.hasDirectives = true;
            if (++expected.directiveRows <= CServerListUpdater::kMaxAssignments
                && EqualNoCase(fields[1], "Version")) {
                ++expected.versionRows;
                expected.plainNewerVersions += IsPlainNewerVersion(fields[2]);
            }
            continue;
        }
        if (fields[0].empty() || fields[1].empty())
            continue;
        const std::string key = MakeUpper(fields[0]);
        if (!expected.servers.count(key) && !known.count(key)) {
            if (servers >= CServerListUpdater::kMaxServers
                || !IsUsableServerName(fields[0], profile))
                continue;
            ++servers;
            expected.order.push_back(fields[0]);
        }
        const std::string listType
            = fields.size() >= 4 && EqualNoCase(fields[3], "csv") ? "csv" : "txt";
        expected.servers[key] = { fields[1], fields[2].empty() ? "1,2" : fields[2], listType };
    }
    return expected;
}

class CCountingUi : public IUserInterface {
public:
    bool ChooseLanguage(const std::vector<std::string>&, std::string&) override { return false; }
    void ShowUpdateNotice(int, int) override { ++m_nNotices; }
    int m_nNotices = 0;
};

// The loopback server that hands out the current input as the server list.
class CListServer {
public:
    CListServer()
    {
        setenv("no_proxy", "127.0.0.1,localhost", 1);
        // Without it, the split header and body writes wait for a delayed acknowledgement.
        m_server.set_tcp_nodelay(true);
        m_server.Get("/list", [this](const httplib::Request&, httplib::Response& response) {
            std::lock_guard lock(m_mutex);
            response.set_content(m_strBody, "text/plain");
        });
        m_nPort = m_server.bind_to_any_port("127.0.0.1");
        std::thread([this] { m_server.listen_after_bind(); }).detach();
    }

    void Serve(std::string body)
    {
        std::lock_guard lock(m_mutex);
        m_strBody = std::move(body);
    }

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_nPort) + "/list"; }

private:
    httplib::Server m_server;
    std::mutex m_mutex;
    std::string m_strBody;
    int m_nPort = 0;
};

std::time_t FixedNow()
{
    std::tm local {};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 6;
    local.tm_hour = 9;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

const char kBaseProfile[]
    = "[Settings]\r\nLang=Deutsch\r\nServerList=%URL%\r\n"
      "[Texts Deutsch]\r\nTxt_DefaultDate=(noch nicht geladen)\r\n"
      "[Plants]\r\nKarotte=1;0;0;10;1;0,06;0,05\r\n"
      "[Preislisten]\r\nServer 1=http://127.0.0.1:9/one\r\n"
      "Server 2=http://127.0.0.1:9/two\r\n"
      "[Server 1]\r\nAktualisiert=6.12.26 09:05\r\nWerte=1,3\r\nKarotte=0,10\r\n";

// Sections that no server list row may reach; only assignments may change them.
const char* const kOwnedSections[] = { "Settings", "Texts Deutsch", "Plants" };

std::vector<std::string> OwnedLines(CIniFile& profile)
{
    std::vector<std::string> lines;
    for (const char* name : kOwnedSections) {
        lines.push_back(std::string("[") + name + "]");
        if (const CIniSection* section = profile.FindSection(name))
            for (const std::string& line : section->Lines())
                if (line.rfind("ServerUpd=", 0) != 0)
                    lines.push_back(line);
    }
    return lines;
}

void CheckProfile(CIniFile& profile, CServerCache& cache, const CExpectation& expected)
{
    for (const auto& [key, server] : expected.servers) {
        const std::string& name = cache.FindTable(key)->m_strServerName;
        FuzzCheck(profile.GetString("Preislisten", name, "\x01") == server.url,
            "the address is in [Preislisten]");
        FuzzCheck(
            profile.GetString(name, "Werte", "1,2") == server.werte, "Werte is in the profile");
        FuzzCheck(profile.GetString(name, "ListType", "txt") == server.listType,
            "ListType is in the profile");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Never destroyed: its thread keeps listening until the process ends.
    static CListServer& server = *new CListServer;
    static CFetcher fetcher;
    static const CFixedClock clock(FixedNow());
    const std::string body(reinterpret_cast<const char*>(data), size);
    server.Serve(body);

    std::string base = kBaseProfile;
    base.replace(base.find("%URL%"), 5, server.Url());
    CIniFile profile;
    profile.SetAutoReload(false);
    profile.SetAutoSave(false);
    CMemorySource source(base.data(), base.size());
    profile.ReadFrom(source);
    CTexts texts;
    texts.LoadTexts(profile);
    CPlantCatalog catalog;
    catalog.ReadPlantNames(profile);
    CServerCache cache(profile, texts, catalog);
    cache.LoadServerTables();
    const std::vector<std::string> before = cache.Names();
    std::set<std::string> known;
    for (const std::string& name : before)
        known.insert(MakeUpper(name));
    const std::vector<std::string> ownedBefore = OwnedLines(profile);

    CheckAssignment(body);
    const CExpectation expected = Expect(BodyLines(body), known, profile);

    CCountingUi ui;
    CServerListUpdater updater(profile, cache, texts, clock);
    FuzzCheck(UpdateServerList(updater, profile, fetcher, &ui), "a served list is applied");
    FuzzCheck(
        profile.GetString("Settings", "ServerUpd", "") == "2026-12-06", "the update is stamped");

    std::vector<std::string> order = before;
    order.insert(order.end(), expected.order.begin(), expected.order.end());
    FuzzCheck(cache.Names() == order, "servers keep their order, new ones at the end");
    FuzzCheck(std::all_of(order.begin(), order.end(),
                  [&cache](const std::string& name) { return cache.FindTable(name) != nullptr; }),
        "a table per listed server");
    for (const auto& [key, server] : expected.servers) {
        const CServerTable* table = cache.FindTable(key);
        FuzzCheck(table != nullptr, "every listed server has a table");
        std::string werte, listType;
        table->Lookup("Werte", werte);
        table->Lookup("ListType", listType);
        FuzzCheck(
            table->m_strUrl == server.url && werte == server.werte && listType == server.listType,
            "a server's table holds its last row");
    }
    if (!expected.hasDirectives) {
        CheckProfile(profile, cache, expected);
        FuzzCheck(OwnedLines(profile) == ownedBefore,
            "server rows leave the program's own sections alone");
    }
    FuzzCheck(ui.m_nNotices <= std::min(expected.versionRows, 1)
            && ui.m_nNotices >= std::min(expected.plainNewerVersions, 1),
        "one notice per list, for newer versions only");
    return 0;
}
