#include "prices/PriceListReader.h"

#include "calc/Amount.h"
#include "config/PlantCatalog.h"
#include "net/Fetcher.h"
#include "platform/IntegerScan.h"
#include "platform/TextCase.h"

#include <algorithm>
#include <array>

namespace {

// A price cell holds "integer,integer" once full stops are commas; text after it may follow.
// Fills the cell's text as stored and whether the price is above zero.
bool ReadPrice(std::string_view cell, std::string& text, bool& positive)
{
    text = cell;
    std::replace(text.begin(), text.end(), '.', ',');
    std::array<int, 2> parts {};
    if (ScanSeparatedIntegers(text, ',', parts) < 2)
        return false;
    positive = parts[0] > 0 || (parts[0] == 0 && parts[1] > 0);
    return true;
}

// The column of the last positive price met when visiting first..last (in either direction),
// stopping at the first cell that is no price; first when none is positive.
int ChoosePriceColumn(const std::vector<std::string>& fields, int first, int last)
{
    int chosen = first;
    if (first == last)
        return chosen;
    const int step = last < first ? -1 : 1;
    for (int column = first;; column += step) {
        std::string text;
        bool positive = false;
        if (!ReadPrice(fields[column], text, positive))
            break;
        if (positive)
            chosen = column;
        if (column == last)
            break;
    }
    return chosen;
}

// Whether the calculator can take the price: not negative, and not beyond the bound that it
// reads as garbage (ParseAmount gives 0 there, while the cell's digits say more).
bool IsSanePrice(const std::string& text, bool positive)
{
    const double amount = ParseAmount(text);
    return amount >= 0 && (amount > 0 || !positive);
}

} // namespace

CPriceListReader::CPriceListReader(const CPlantCatalog& catalog)
    : m_mapPlantKeys(catalog.m_mapPlantKeys)
{
    // The first of several plants that differ only in letter case wins, as a search would.
    for (const std::string& plant : catalog.m_astrPlants)
        m_mapPlants.try_emplace(MakeUpper(plant), plant);
}

CPriceRows CPriceListReader::ReadBody(std::string_view body, const SPriceColumns& columns) const
{
    CPriceRows rows;
    // Reused from line to line: a list of millions of lines allocates nothing per line.
    std::vector<std::string> fields;
    ForEachBodyLine(body, [&](const std::string& line) { ReadLine(line, columns, rows, fields); });
    return rows;
}

bool CPriceListReader::ReadLine(
    std::string_view line, const SPriceColumns& columns, CPriceRows& rows) const
{
    std::vector<std::string> fields;
    return ReadLine(line, columns, rows, fields);
}

bool CPriceListReader::ReadLine(std::string_view line, const SPriceColumns& columns,
    CPriceRows& rows, std::vector<std::string>& fields) const
{
    const int nameColumn = columns.name;
    const int firstPriceColumn = columns.firstPrice;
    const int lastPriceColumn = columns.lastPrice < 0 ? firstPriceColumn : columns.lastPrice;
    // Columns 2 and 3 hold the list's own date.
    constexpr int kDateColumns = 3;
    const int needed
        = std::max({ nameColumn, firstPriceColumn, lastPriceColumn, kDateColumns - 1 });
    const int count = SplitFields(line, fields, '\t', static_cast<std::size_t>(needed) + 1);
    const auto inRange = [count](int column) { return column >= 0 && column < count; };
    if (!inRange(nameColumn) || !inRange(firstPriceColumn) || !inRange(lastPriceColumn))
        return false;

    const int priceColumn = ChoosePriceColumn(fields, firstPriceColumn, lastPriceColumn);
    const auto mapped = m_mapPlantKeys.find(MakeUpper(fields[nameColumn]));
    const std::string& name = mapped != m_mapPlantKeys.end() && !mapped->second.empty()
        ? mapped->second
        : fields[nameColumn];
    if (const std::string* plant = FindPlant(name)) {
        std::string price;
        bool positive = false;
        if (!ReadPrice(fields[priceColumn], price, positive) || !IsSanePrice(price, positive))
            return false;
        rows.Set(*plant, price);
        rows.CountPrice(positive);
        return true;
    }
    // The list's own date stands in columns 2 and 3, whatever Werte says; a row that names
    // the date but holds none (possible with Werte "1,1") keeps the stored one.
    if (EqualNoCase(name, "Stand") && count > 1) {
        std::string date = fields[1];
        if (count > 2)
            date += " " + fields[2];
        rows.Set(name, date);
    }
    return true;
}

const std::string* CPriceListReader::FindPlant(const std::string& field) const
{
    const auto found = m_mapPlants.find(MakeUpper(field));
    return found == m_mapPlants.end() ? nullptr : &found->second;
}
