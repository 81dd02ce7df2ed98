#include "prices/PriceListFile.h"

#include "calc/Amount.h"
#include "config/PlantCatalog.h"
#include "platform/AtomicFile.h"
#include "platform/ByteSink.h"
#include "platform/Cp1252.h"
#include "platform/IntegerScan.h"
#include "platform/SafeFileName.h"
#include "servers/ServerCache.h"

#include <algorithm>
#include <array>

namespace {

// A stored price as the reader reads it back ("12,50" or "12.50", text after it allowed); one
// that it would not read, such as "12" typed into the profile, is written as "12,00".
std::string ExportedPrice(const std::string& stored)
{
    std::string commas = stored;
    std::replace(commas.begin(), commas.end(), '.', ',');
    std::array<int, 2> parts {};
    if (ScanSeparatedIntegers(commas, ',', parts) >= 2)
        return stored;
    return ReplaceDecimal(FormatFixed(ParseAmount(stored), 2), ",");
}

void AddRow(std::string& text, std::string_view first, std::string_view second)
{
    text += Cp1252ToUtf8(first);
    text += '\t';
    text += Cp1252ToUtf8(second);
    text += "\r\n";
}

} // namespace

std::string CPriceListFile::Text(const CServerCache& servers, const std::string& server,
    const CPlantCatalog& catalog, std::string_view nameHeading, std::string_view priceHeading)
{
    std::string text = "\xEF\xBB\xBF";
    AddRow(text, nameHeading, priceHeading);
    AddRow(text, "Stand", servers.GetServerValue(server, "Stand", ""));
    for (const std::string& plant : catalog.m_astrPlants) {
        const std::string price = servers.GetServerValue(server, plant, "0,0");
        if (ParseAmount(price) > 0.0)
            AddRow(text, plant, ExportedPrice(price));
    }
    return text;
}

bool CPriceListFile::Write(const std::string& path, const std::string& text, int& error)
{
    return ReplaceFileAtomically(
        path, [&text](CByteSink& sink) { return sink.Write(text.data(), text.size()); }, &error);
}

std::string CPriceListFile::SuggestedName(const std::string& server)
{
    return Cp1252ToUtf8(SafeFileName(server)) + ".tsv";
}
