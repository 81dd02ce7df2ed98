#pragma once

#include "prices/ServerTable.h"

#include <memory>
#include <string>
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

    std::unordered_map<std::string, std::unique_ptr<CServerTable>> m_mapServerTables;
    std::vector<std::string> m_astrServers;  // [Preislisten] order, later additions at the end

    // Replaces the cache with the servers of [Preislisten] that have an address.
    void LoadServerTables();
    // Creates or refreshes the table of one server from its profile section.
    void LoadServerTable(const std::string& name, const std::string& address);
    void RemoveServerTables();
    // Writes every table into the profile, in the order of m_astrServers.
    void SaveServerTables();
    void SaveServerTable(const std::string& name, CServerTable* table = nullptr);
    CServerTable* FindTable(const std::string& name) const;

    std::string GetServerValue(const std::string& server, const std::string& key,
                               const std::string& defaultValue) const;
    // False, changing nothing, when the server is unknown.
    bool SetServerValue(const std::string& server, const std::string& key, const std::string& value);
    int GetServerInt(const std::string& server, const std::string& key, int defaultValue) const;
    bool SetServerInt(const std::string& server, const std::string& key, int value);

private:
    CIniFile& m_profile;
    const CTexts& m_texts;
    const CPlantCatalog& m_catalog;
};
