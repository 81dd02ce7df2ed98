#include "prices/PriceList.h"

#include "platform/IntegerScan.h"
#include "platform/SafeFileName.h"
#include "prices/PriceListReader.h"
#include "profile/IniFile.h"
#include "servers/ServerTable.h"

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

} // namespace

int SplitFields(
    std::string_view line, std::vector<std::string>& fields, char separator, std::size_t maxFields)
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

CPriceList::CPriceList(CIniFile& profile, const CPlantCatalog& catalog)
    : m_profile(profile)
    , m_catalog(catalog)
{
}

bool CPriceList::ReadColumns(
    std::string_view werte, int& nameColumn, int& firstPriceColumn, int& lastPriceColumn)
{
    // Read as "%d,%d-%d" would: each number may follow white space, each separator may not.
    std::array<int, 3> numbers {};
    std::size_t found = 0;
    for (const char separator : { '\0', ',', '-' }) {
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

bool CPriceList::TableColumns(const CServerTable& table, SPriceColumns& columns)
{
    std::string werte = "1,2";
    table.Lookup("Werte", werte);
    return ReadColumns(werte, columns.name, columns.firstPrice, columns.lastPrice);
}

int CPriceList::ApplyPriceBody(
    CServerTable& table, std::string_view body, const SPriceColumns& columns)
{
    return ApplyRows(table, CPriceListReader(m_catalog).ReadBody(body, columns));
}

int CPriceList::ApplyRows(CServerTable& table, const CPriceRows& rows)
{
    // A body without one price row is no price list: not even its date is taken. Nor is one
    // whose prices are all zero (a list of placeholders), though a zero among others is a price.
    if (rows.PriceRows() == 0 || !rows.HasPositivePrice())
        return 0;
    StoreRows(table, rows);
    return static_cast<int>(rows.PriceRows());
}

void CPriceList::StoreRows(CServerTable& table, const CPriceRows& rows)
{
    for (const auto& [key, value] : rows.Entries())
        Store(table, key, value);
}

std::string CPriceList::CopyName(const CServerTable& table)
{
    return SafeFileName(table.m_strServerName) + ".txt";
}

bool CPriceList::ParsePriceLine(CServerTable& table, std::string_view line, int nameColumn,
    int firstPriceColumn, int lastPriceColumn)
{
    CPriceRows rows;
    const bool read = CPriceListReader(m_catalog).ReadLine(
        line, { nameColumn, firstPriceColumn, lastPriceColumn }, rows);
    // One line is a row, not a list: its date is taken on its own.
    StoreRows(table, rows);
    return read;
}

void CPriceList::Store(CServerTable& table, const std::string& key, const std::string& value)
{
    table.SetAt(key, value);
    m_profile.WriteString(table.m_strServerName, key, value);
}
