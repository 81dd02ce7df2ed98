#pragma once

#include "servers/ServerTable.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CIniFile;
class CPlantCatalog;
class CTexts;

// The price tables of every server, read once from the profile. Reads go to the cache; every
// write goes to the cache and, in the same step, into the profile document.
class CServerCache {
public:
    CServerCache(CIniFile& profile, const CTexts& texts, const CPlantCatalog& catalog);

    static std::string Key(std::string_view name);

    // Every server with a table: [Preislisten] order, later additions at the end.
    const std::vector<std::string>& Names() const { return m_astrServers; }

    // Replaces the cache with the servers of [Preislisten] that have an address.
    void LoadServerTables();
    // Creates or refreshes the table of one server from its profile section.
    void LoadServerTable(const std::string& name, const std::string& address);
    void RemoveServerTables();
    // Writes every table into the profile, in the order of Names().
    void SaveServerTables();
    void SaveServerTable(const std::string& name, CServerTable* table = nullptr);
    // Found without regard to letter case.
    CServerTable* FindTable(const std::string& name) const;
    // The table of name, created empty and listed last when there is none.
    CServerTable& AddTable(const std::string& name);

    // A table read from the profile answers "0,0" for a catalogue plant without a price,
    // without holding an entry for it.
    std::string GetServerValue(
        const std::string& server, const std::string& key, const std::string& defaultValue) const;
    // False, changing nothing, when the server is unknown.
    bool SetServerValue(
        const std::string& server, const std::string& key, const std::string& value);
    // The address of the server's price list, in the table and in [Preislisten]; the prices
    // stay until the next download. False, changing nothing, when the server is unknown.
    bool SetServerAddress(const std::string& server, const std::string& address);
    int GetServerInt(const std::string& server, const std::string& key, int defaultValue) const;
    bool SetServerInt(const std::string& server, const std::string& key, int value);

    // A server's name as ServerName.h judges it against this profile.
    bool IsUsableName(const std::string& name) const;
    bool NamesProgramSection(const std::string& name) const;
    // Whether [Preislisten] gives the server an address (or "-" for none).
    bool HasListedAddress(const std::string& name) const;

private:
    bool IsCataloguePlant(const std::string& key) const;

    // Keyed by Key(name): the profile does not tell names apart by letter case, so neither
    // does the cache, or "server 1" from a server list would share the section of "Server 1".
    std::unordered_map<std::string, std::unique_ptr<CServerTable>> m_mapServerTables;
    std::vector<std::string> m_astrServers;

    CIniFile& m_profile;
    const CTexts& m_texts;
    const CPlantCatalog& m_catalog;
};
