#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CIniFile;
class CPlantCatalog;
class CPriceRows;
class CServerTable;

// Splits a line at separator into fields with white space trimmed and enclosing double quotes
// removed (from fields longer than two characters). Returns the number of fields: a line
// without separator gives one, an empty line one empty field. Only the first maxFields are
// filled in, so that a line of a million separators costs no million strings; the count is
// that of the whole line.
int SplitFields(std::string_view line, std::vector<std::string>& fields, char separator,
    std::size_t maxFields = SIZE_MAX);

// The columns of a price list that a server's Werte names, counted from 0; last is -1 without
// a range.
struct SPriceColumns {
    int name = 0;
    int firstPrice = 0;
    int lastPrice = -1;
};

// Reads a published price list (tab-separated) into a server's table and profile section.
class CPriceList {
public:
    CPriceList(CIniFile& profile, const CPlantCatalog& catalog);

    // The columns that the table's Werte names ("x,y" or "x,y-z", counted from 1, default
    // "1,2"); false when it is unusable.
    static bool TableColumns(const CServerTable& table, SPriceColumns& columns);
    // Applies a list that arrived for the table, by download or from a file, as a whole body
    // as it came (UTF-8), one line at a time. Returns the number of price rows read; without
    // one (or with only zero prices) the body is no price list and nothing is stored.
    int ApplyPriceBody(CServerTable& table, std::string_view body, const SPriceColumns& columns);
    // Writes what a list was reduced to (CPriceListReader) into the table and the profile,
    // unless it holds no price row or none above zero. Returns the number of price rows, 0
    // when nothing was written.
    int ApplyRows(CServerTable& table, const CPriceRows& rows);
    // The name of the copy that a download of the table's list leaves.
    static std::string CopyName(const CServerTable& table);

    // Applies one line; columns counted from 0, lastPriceColumn -1 for no range. False when the
    // line lacks a column or a plant's price cell is no price; true otherwise (also for
    // lines that name no plant).
    bool ParsePriceLine(CServerTable& table, std::string_view line, int nameColumn,
        int firstPriceColumn, int lastPriceColumn);

    // Reads "x,y" or "x,y-z" into 0-based columns (last -1 without a range); false when unusable.
    static bool ReadColumns(
        std::string_view werte, int& nameColumn, int& firstPriceColumn, int& lastPriceColumn);

    const CPlantCatalog& Catalog() const { return m_catalog; }

private:
    void StoreRows(CServerTable& table, const CPriceRows& rows);
    void Store(CServerTable& table, const std::string& key, const std::string& value);

    CIniFile& m_profile;
    const CPlantCatalog& m_catalog;
};
