#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

// The cached price table of one server: its metadata (Aktualisiert, Stand, Selected, Werte,
// ListType) and one market price per catalogue plant, keyed case-sensitively.
class CServerTable {
public:
    using Map = std::unordered_map<std::string, std::string>;

    std::string m_strServerName;
    std::string m_strUrl;
    // Read from the profile, where a catalogue plant without a price line costs "0,0"; a
    // server that a server list just created has no prices at all until the next start.
    bool m_bPlantDefaults = false;

    bool Lookup(const std::string& key, std::string& value) const;
    void SetAt(const std::string& key, std::string value);
    bool RemoveKey(const std::string& key);
    std::size_t GetCount() const { return m_map.size(); }
    const Map& Entries() const { return m_map; }

private:
    Map m_map;
};
