#pragma once

#include "prices/PriceList.h"
#include "prices/PriceRows.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CPlantCatalog;

// Reads published price lists into the rows to apply. It keeps its own copy of the
// catalogue's names and never changes after construction, so a list can be read on the
// transfer worker while the window goes on with the catalogue.
class CPriceListReader {
public:
    explicit CPriceListReader(const CPlantCatalog& catalog);

    // Every line of a body as it came (UTF-8).
    CPriceRows ReadBody(std::string_view body, const SPriceColumns& columns) const;
    // One line (Windows-1252). False when the line lacks a column or a plant's price cell is
    // no price, or a negative or absurd one (beyond kMaxAmount); true otherwise (also for
    // lines that name no plant).
    bool ReadLine(std::string_view line, const SPriceColumns& columns, CPriceRows& rows) const;

private:
    bool ReadLine(std::string_view line, const SPriceColumns& columns, CPriceRows& rows,
        std::vector<std::string>& fields) const;
    // The catalogue's spelling of the plant a list's name stands for, or nullptr.
    const std::string* FindPlant(const std::string& field) const;

    std::unordered_map<std::string, std::string> m_mapPlantKeys; // as the catalogue's
    std::unordered_map<std::string, std::string> m_mapPlants; // upper-cased -> catalogue's
};
