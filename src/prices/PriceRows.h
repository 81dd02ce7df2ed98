#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// What a price list sets in a server's table, reduced while the list is read: each key (a
// catalogue plant, or the list's date) once, with the value of its last row, in the order of
// its first row. However long the list, this holds at most one entry per plant.
class CPriceRows {
public:
    using Entry = std::pair<std::string, std::string>;

    void Set(const std::string& key, const std::string& value);
    // A row that gave a plant its price; positive: above zero.
    void CountPrice(bool positive = true)
    {
        ++m_nPriceRows;
        m_bPositive = m_bPositive || positive;
    }

    const std::vector<Entry>& Entries() const { return m_entries; }
    std::size_t PriceRows() const { return m_nPriceRows; }
    bool HasPositivePrice() const { return m_bPositive; }

private:
    std::vector<Entry> m_entries;
    std::unordered_map<std::string, std::size_t> m_index; // key -> its entry
    std::size_t m_nPriceRows = 0;
    bool m_bPositive = false;
};
