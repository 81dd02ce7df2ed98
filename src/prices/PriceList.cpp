#include "prices/PriceList.h"

#include "config/IntegerScan.h"
#include "config/PlantCatalog.h"
#include "platform/TextCase.h"
#include "prices/Fetcher.h"
#include "prices/SafeFileName.h"
#include "prices/ServerTable.h"
#include "profile/IniFile.h"

#include <algorithm>
#include <array>
#include <climits>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string CleanField(std::string_view field)
{
    while (!field.empty() && IsSpace(field.front()))
        field.remove_prefix(1);
    while (!field.empty() && IsSpace(field.back()))
        field.remove_suffix(1);
    if (field.size() > 2 && field.front() == '"' && field.back() == '"')
        field = field.substr(1, field.size() - 2);
    return std::string(field);
}

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

}  // namespace

int SplitFields(std::string_view line, std::vector<std::string>& fields, char separator,
                std::size_t maxFields)
{
    fields.clear();
    std::size_t count = 1;
    std::size_t end;
    while ((end = line.find(separator)) != std::string_view::npos) {
        if (fields.size() < maxFields)
            fields.push_back(CleanField(line.substr(0, end)));
        line.remove_prefix(end + 1);
        ++count;
    }
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    if (fields.size() < maxFields)
        fields.push_back(CleanField(line));
    return static_cast<int>(std::min<std::size_t>(count, INT_MAX));
}

CPriceList::CPriceList(CIniFile& profile, const CPlantCatalog& catalog, CFetcher& fetcher)
    : m_profile(profile), m_catalog(catalog), m_fetch(fetcher)
{
}

bool CPriceList::ReadColumns(std::string_view werte, int& nameColumn, int& firstPriceColumn,
                             int& lastPriceColumn)
{
    // Read as "%d,%d-%d" would: each number may follow white space, each separator may not.
    std::array<int, 3> numbers {};
    std::size_t found = 0;
    for (const char separator : {'\0', ',', '-'}) {
        if (separator != '\0') {
            if (werte.empty() || werte.front() != separator)
                break;
            werte.remove_prefix(1);
        }
        const std::size_t used = ScanInteger(werte, numbers[found]);
        if (used == 0)
            break;
        werte.remove_prefix(used);
        ++found;
    }
    if (found < 2 || numbers[0] < 1 || numbers[1] < 1 || (found == 3 && numbers[2] < 1))
        return false;
    nameColumn = numbers[0] - 1;
    firstPriceColumn = numbers[1] - 1;
    lastPriceColumn = found == 3 ? numbers[2] - 1 : -1;
    return true;
}

bool CPriceList::DownloadPriceList(CServerTable* table)
{
    SPriceColumns columns;
    if (!table || !m_fetch.HasSession() || !TableColumns(*table, columns))
        return false;
    const std::string saveName = CopyName(*table);
    const STransferResponse response = m_fetch.Wait(m_fetch.StartFetch(table->m_strUrl));
    if (!m_fetch.FinishFetch(response, table->m_strUrl, &saveName))
        return false;
    return ApplyPriceBody(*table, response.body, columns) > 0;
}

bool CPriceList::TableColumns(const CServerTable& table, SPriceColumns& columns)
{
    std::string werte = "1,2";
    table.Lookup("Werte", werte);
    return ReadColumns(werte, columns.name, columns.firstPrice, columns.lastPrice);
}

void CPriceList::ApplyPriceLines(CServerTable& table, const std::vector<std::string>& lines,
                                 const SPriceColumns& columns)
{
    for (const std::string& line : lines)
        ParsePriceLine(table, line, columns.name, columns.firstPrice, columns.lastPrice);
}

int CPriceList::ApplyPriceBody(CServerTable& table, std::string_view body,
                               const SPriceColumns& columns)
{
    int prices = 0;
    std::string key, value, dateKey, date;
    ForEachBodyLine(body, [&](const std::string& line) {
        const ELine kind = ReadPriceLine(line, columns, key, value);
        if (kind == ELine::Price) {
            Store(table, key, value);
            ++prices;
        } else if (kind == ELine::Date) {
            dateKey = key;
            date = value;
        }
    });
    if (prices > 0 && !dateKey.empty())
        Store(table, dateKey, date);
    return prices;
}

std::string CPriceList::CopyName(const CServerTable& table)
{
    return SafeFileName(table.m_strServerName) + ".txt";
}

bool CPriceList::ParsePriceLine(CServerTable& table, std::string_view line, int nameColumn,
                                int firstPriceColumn, int lastPriceColumn)
{
    std::string key, value;
    const ELine kind = ReadPriceLine(line, {nameColumn, firstPriceColumn, lastPriceColumn}, key, value);
    if (kind == ELine::Price || kind == ELine::Date)
        Store(table, key, value);
    return kind != ELine::Unusable;
}

CPriceList::ELine CPriceList::ReadPriceLine(std::string_view line, const SPriceColumns& columns,
                                            std::string& key, std::string& value)
{
    const int nameColumn = columns.name;
    const int firstPriceColumn = columns.firstPrice;
    const int lastPriceColumn = columns.lastPrice < 0 ? firstPriceColumn : columns.lastPrice;
    // Columns 2 and 3 hold the list's own date.
    constexpr int kDateColumns = 3;
    const int needed = std::max({nameColumn, firstPriceColumn, lastPriceColumn, kDateColumns - 1});
    std::vector<std::string>& fields = m_fields;
    const int count = SplitFields(line, fields, '\t', static_cast<std::size_t>(needed) + 1);
    const auto inRange = [count](int column) { return column >= 0 && column < count; };
    if (!inRange(nameColumn) || !inRange(firstPriceColumn) || !inRange(lastPriceColumn))
        return ELine::Unusable;

    const int priceColumn = ChoosePriceColumn(fields, firstPriceColumn, lastPriceColumn);
    const std::string name = MapPlantName(fields[nameColumn]);
    const auto plant = std::find_if(m_catalog.m_astrPlants.begin(), m_catalog.m_astrPlants.end(),
                                    [&](const std::string& p) { return EqualNoCase(p, name); });
    if (plant != m_catalog.m_astrPlants.end()) {
        bool positive = false;
        if (!ReadPrice(fields[priceColumn], value, positive))
            return ELine::Unusable;
        key = *plant;
        return ELine::Price;
    }
    // The list's own date stands in columns 2 and 3, whatever Werte says; a row that names
    // the date but holds none (possible with Werte "1,1") keeps the stored one.
    if (EqualNoCase(name, "Stand") && count > 1) {
        value = fields[1];
        if (count > 2)
            value += " " + fields[2];
        key = name;
        return ELine::Date;
    }
    return ELine::Other;
}

std::string CPriceList::MapPlantName(const std::string& field) const
{
    const auto mapped = m_catalog.m_mapPlantKeys.find(MakeUpper(field));
    if (mapped != m_catalog.m_mapPlantKeys.end() && !mapped->second.empty())
        return mapped->second;
    return field;
}

void CPriceList::Store(CServerTable& table, const std::string& key, const std::string& value)
{
    table.SetAt(key, value);
    m_profile.WriteString(table.m_strServerName, key, value);
}
