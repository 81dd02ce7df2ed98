#pragma once

#include <string>
#include <string_view>

class CPlantCatalog;
class CServerCache;

// A server's prices as a price list file to share: what the price list reader takes back, and
// what a spreadsheet opens as a table.
class CPriceListFile {
public:
    // UTF-8 with its byte order mark (a spreadsheet would otherwise guess the system's code
    // page), tab-separated, CR LF: the heading, the date row as the reader expects it, one row
    // per catalogue plant with a price, in catalogue order. heading: Windows-1252, one text per
    // column.
    static std::string Text(const CServerCache& servers, const std::string& server,
        const CPlantCatalog& catalog, std::string_view nameHeading, std::string_view priceHeading);
    // Writes text to path (UTF-8) atomically: a failed write leaves an existing file as it was.
    // error: the system's error number of a failure.
    static bool Write(const std::string& path, const std::string& text, int& error);
    // "<server>.tsv" as a file name the system takes, in UTF-8.
    static std::string SuggestedName(const std::string& server);
};
