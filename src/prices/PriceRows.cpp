#include "prices/PriceRows.h"

void CPriceRows::Set(const std::string& key, const std::string& value)
{
    const auto [found, added] = m_index.try_emplace(key, m_entries.size());
    if (added)
        m_entries.emplace_back(key, value);
    else
        m_entries[found->second].second = value;
}
