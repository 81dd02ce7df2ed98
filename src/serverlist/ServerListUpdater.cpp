#include "serverlist/ServerListUpdater.h"

#include "config/SettingKeys.h"
#include "config/Texts.h"
#include "net/Fetcher.h"
#include "platform/Clock.h"
#include "platform/IntegerScan.h"
#include "platform/TextCase.h"
#include "platform/UserInterface.h"
#include "prices/PriceList.h"
#include "profile/IniFile.h"
#include "servers/ServerCache.h"
#include "servers/ServerName.h"
#include "servers/ServerTable.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <memory>
#include <optional>

namespace {

std::string_view Trim(std::string_view text)
{
    const auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// Writes a value, or deletes the key when the value is the reader's default anyway.
std::optional<std::string_view> UnlessDefault(const std::string& value, std::string_view fallback)
{
    if (value == fallback)
        return std::nullopt;
    return value;
}

} // namespace

bool ParseProfileAssignment(
    std::string_view text, std::string& section, std::string& key, std::string& value)
{
    if (text.empty() || text.front() != '[')
        return false;
    const std::size_t close = text.find(']');
    const std::size_t equals = text.find('=');
    if (close == std::string_view::npos || equals == std::string_view::npos || equals < close + 2)
        return false;
    section = Trim(text.substr(1, close - 1));
    key = Trim(text.substr(close + 1, equals - close - 1));
    value = Trim(text.substr(equals + 1));
    return !section.empty();
}

CServerListUpdater::CServerListUpdater(
    CIniFile& profile, CServerCache& cache, const CTexts& texts, const IClock& clock)
    : m_profile(profile)
    , m_cache(cache)
    , m_texts(texts)
    , m_clock(clock)
{
}

void CServerListUpdater::ApplyServerList(std::string_view body, IUserInterface* ui)
{
    std::vector<std::string> fields;
    bool heading = true;
    m_nAssignments = 0;
    m_announced = { kMajorVersion, kMinorVersion };
    ForEachBodyLine(body, [&](const std::string& line) {
        if (!heading)
            ApplyLine(line, fields);
        heading = false;
    });

    const std::tm today = LocalTime(m_clock.Now());
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d", &today);
    m_profile.WriteString(SettingKeys::kSection, SettingKeys::kServerUpdate, date);
    // One notice per list, however many version rows it carries.
    if (ui && m_announced != std::pair { kMajorVersion, kMinorVersion })
        ui->ShowUpdateNotice(m_announced.first, m_announced.second);
    if (ui)
        m_serversChanged.Notify();
}

void CServerListUpdater::ApplyLine(std::string_view line, std::vector<std::string>& fields)
{
    // The profile refuses NUL bytes: a row holding one would make a server it never stores.
    if (line.size() > kMaxRowBytes || line.find('\0') != std::string_view::npos)
        return;
    constexpr std::size_t kUsedFields = 4;
    const int count = SplitFields(line, fields, '\t', kUsedFields);
    if (count < 3)
        return;
    if (fields[0].empty() && !fields[1].empty() && !fields[2].empty()) {
        if (m_nAssignments < kMaxAssignments) {
            ++m_nAssignments;
            NoteVersion(fields[1], fields[2]);
            ApplyAssignment(fields[1], fields[2]);
        }
        return;
    }
    if (fields[0].empty() || fields[1].empty())
        return;
    ApplyServer(fields, count);
}

void CServerListUpdater::NoteVersion(const std::string& label, const std::string& version)
{
    if (!EqualNoCase(label, "Version"))
        return;
    std::array<int, 2> numbers {};
    if (ScanSeparatedIntegers(version, '.', numbers) < 2)
        return;
    // The minor number counts as an integer: 1.4 is older than 1.39, 1.40 newer.
    m_announced = std::max(m_announced, std::pair { numbers[0], numbers[1] });
}

void CServerListUpdater::ApplyAssignment(
    const std::string& assignment, const std::string& condition)
{
    std::string section, key, value;
    if (!ParseProfileAssignment(assignment, section, key, value))
        return;
    std::string whereSection, whereKey, whereValue;
    if (ParseProfileAssignment(condition, whereSection, whereKey, whereValue)
        && !EqualNoCase(m_profile.GetString(whereSection, whereKey, ""), whereValue))
        return;

    if (key.empty())
        m_profile.WriteString(section, std::nullopt, std::nullopt);
    else if (value.empty())
        m_profile.WriteString(section, key, std::nullopt);
    else
        m_profile.WriteString(section, key, value);
}

void CServerListUpdater::ApplyServer(const std::vector<std::string>& fields, int count)
{
    CServerTable* table = m_cache.FindTable(fields[0]);
    if (!table) {
        if (m_cache.Names().size() >= kMaxServers || !IsUsableServerName(fields[0], m_profile))
            return;
        table = &m_cache.AddTable(fields[0]);
        table->SetAt("Aktualisiert", m_texts.GetText("Txt_DefaultDate"));
        // Empty, so that the next start shows no date until the first download.
        m_profile.WriteString(fields[0], "Aktualisiert", "");
    }
    // A known server keeps the spelling it has, whatever letter case the list uses.
    const std::string& name = table->m_strServerName;

    table->m_strUrl = fields[1];
    m_profile.WriteString("Preislisten", name, fields[1]);

    const std::string werte = fields[2].empty() ? "1,2" : fields[2];
    table->SetAt("Werte", werte);
    m_profile.WriteString(name, "Werte", UnlessDefault(werte, "1,2"));

    std::string listType = "txt";
    if (count >= 4 && EqualNoCase(fields[3], "csv"))
        listType = "csv";
    table->SetAt("ListType", listType);
    m_profile.WriteString(name, "ListType", UnlessDefault(listType, "txt"));
}
