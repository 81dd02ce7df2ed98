#include "servers/ServerCache.h"

#include "config/PlantCatalog.h"
#include "config/Texts.h"
#include "platform/TextCase.h"
#include "platform/TextUtil.h"
#include "profile/IniFile.h"
#include "servers/ServerName.h"

#include <algorithm>

namespace {
constexpr const char* kServerList = "Preislisten";
constexpr const char* kDefaultColumns = "1,2";
constexpr const char* kDefaultListType = "txt";
constexpr const char* kPlantDefault = "0,0";
// No profile value can hold a line end.
constexpr const char* kNoPrice = "\n";

std::string EntryOf(const CServerTable& table, const std::string& key)
{
    std::string value;
    table.Lookup(key, value);
    return value;
}

// Default columns and list type stay out of the file.
void SetUnlessDefault(
    CIniSection& section, const char* key, const std::string& value, const char* defaultValue)
{
    if (value == defaultValue)
        section.SetValue(key, std::nullopt);
    else
        section.SetValue(key, value);
}

} // namespace

CServerCache::CServerCache(CIniFile& profile, const CTexts& texts, const CPlantCatalog& catalog)
    : m_profile(profile)
    , m_texts(texts)
    , m_catalog(catalog)
{
}

void CServerCache::LoadServerTables()
{
    RemoveServerTables();
    const CIniSection* section = m_profile.FindSection(kServerList);
    if (!section)
        return;
    std::vector<std::string> names;
    section->GetKeys(names);
    for (const std::string& name : names) {
        const std::string address = m_profile.GetString(kServerList, name, "");
        if (!address.empty())
            LoadServerTable(name, address);
    }
}

bool CServerCache::IsUsableName(const std::string& name) const
{
    return IsUsableServerName(name, m_profile);
}

bool CServerCache::NamesProgramSection(const std::string& name) const
{
    return IsProgramSection(name, m_profile);
}

bool CServerCache::HasListedAddress(const std::string& name) const
{
    return !m_profile.GetString("Preislisten", name, "").empty();
}

std::string CServerCache::Key(std::string_view name)
{
    return MakeUpper(name);
}

CServerTable& CServerCache::AddTable(const std::string& name)
{
    auto& slot = m_mapServerTables[Key(name)];
    if (!slot) {
        slot = std::make_unique<CServerTable>();
        slot->m_strServerName = name;
        m_astrServers.push_back(name);
    }
    return *slot;
}

void CServerCache::LoadServerTable(const std::string& name, const std::string& address)
{
    CServerTable& table = AddTable(name);
    table.m_strUrl = address;
    table.m_bPlantDefaults = true;

    // The table keeps the spelling it was created with; the profile finds it in any case.
    const std::string& section = table.m_strServerName;
    table.SetAt("Aktualisiert",
        m_profile.GetString(section, "Aktualisiert", m_texts.GetText("Txt_DefaultDate")));
    table.SetAt("Stand", m_profile.GetString(section, "Stand", ""));
    table.SetAt("Selected", m_profile.GetInt(section, "Selected", 1) != 0 ? "1" : "0");

    // Older profiles named the columns setting Sortierung; it moves to Werte for good.
    std::string columns = m_profile.GetString(section, "Sortierung", "");
    if (!columns.empty()) {
        m_profile.WriteString(section, "Sortierung", std::nullopt);
        m_profile.WriteString(section, "Werte", columns);
    } else {
        columns = m_profile.GetString(section, "Werte", kDefaultColumns);
    }
    table.SetAt("Werte", std::move(columns));
    table.SetAt("ListType", m_profile.GetString(section, "ListType", kDefaultListType));

    // Only the prices the section holds: a server without prices costs a few entries.
    const CIniSection* prices = m_profile.FindSection(section);
    if (!prices)
        return;
    for (const std::string& plant : m_catalog.m_astrPlants) {
        std::string price = prices->GetValue(plant, kNoPrice);
        if (price != kNoPrice)
            table.SetAt(plant, std::move(price));
    }
}

void CServerCache::RemoveServerTables()
{
    m_mapServerTables.clear();
    m_astrServers.clear();
}

void CServerCache::SaveServerTables()
{
    // A server that an older profile named like one of the program's sections would write
    // its metadata into that section.
    for (const std::string& name : m_astrServers) {
        if (!IsProgramSection(name, m_profile))
            SaveServerTable(name, FindTable(name));
    }
}

void CServerCache::SaveServerTable(const std::string& name, CServerTable* table)
{
    if (!table)
        table = FindTable(name);
    if (!table)
        return;

    m_profile.WriteString(kServerList, name, table->m_strUrl);
    CIniSection* section = m_profile.GetSection(name);
    if (!section)
        return;

    // "Not loaded yet" is shown in the language of the moment, so it is never stored.
    const std::string stamp = EntryOf(*table, "Aktualisiert");
    section->SetValue("Aktualisiert", m_texts.IsDefaultDate(stamp) ? std::string() : stamp);
    for (const char* key : { "Stand", "Selected" })
        section->SetValue(key, EntryOf(*table, key));
    SetUnlessDefault(*section, "Werte", EntryOf(*table, "Werte"), kDefaultColumns);
    SetUnlessDefault(*section, "ListType", EntryOf(*table, "ListType"), kDefaultListType);

    std::string price;
    for (const std::string& plant : m_catalog.m_astrPlants) {
        if (table->Lookup(plant, price))
            section->SetValue(plant, price);
    }
}

bool CServerCache::IsCataloguePlant(const std::string& key) const
{
    const auto& plants = m_catalog.m_astrPlants;
    return std::find(plants.begin(), plants.end(), key) != plants.end();
}

CServerTable* CServerCache::FindTable(const std::string& name) const
{
    const auto found = m_mapServerTables.find(Key(name));
    return found == m_mapServerTables.end() ? nullptr : found->second.get();
}

std::string CServerCache::GetServerValue(
    const std::string& server, const std::string& key, const std::string& defaultValue) const
{
    std::string value;
    const CServerTable* table = FindTable(server);
    if (table && table->Lookup(key, value))
        return value;
    if (table && table->m_bPlantDefaults && IsCataloguePlant(key))
        return kPlantDefault;
    return defaultValue;
}

bool CServerCache::SetServerValue(
    const std::string& server, const std::string& key, const std::string& value)
{
    CServerTable* table = FindTable(server);
    if (!table)
        return false;
    table->SetAt(key, value);
    m_profile.WriteString(table->m_strServerName, key, value);
    return true;
}

bool CServerCache::SetServerAddress(const std::string& server, const std::string& address)
{
    CServerTable* table = FindTable(server);
    if (!table)
        return false;
    table->m_strUrl = address;
    m_profile.WriteString(kServerList, table->m_strServerName, address);
    return true;
}

int CServerCache::GetServerInt(
    const std::string& server, const std::string& key, int defaultValue) const
{
    const std::string value = GetServerValue(server, key, "?");
    return value == "?" ? defaultValue : AsciiToInt(value);
}

bool CServerCache::SetServerInt(const std::string& server, const std::string& key, int value)
{
    return SetServerValue(server, key, std::to_string(value));
}
