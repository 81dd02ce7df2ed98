#include "servers/ServerTable.h"

bool CServerTable::Lookup(const std::string& key, std::string& value) const
{
    const auto found = m_map.find(key);
    if (found == m_map.end())
        return false;
    value = found->second;
    return true;
}

void CServerTable::SetAt(const std::string& key, std::string value)
{
    m_map[key] = std::move(value);
}

bool CServerTable::RemoveKey(const std::string& key)
{
    return m_map.erase(key) != 0;
}
