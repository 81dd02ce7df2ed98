#include "config/CatalogLoader.h"

#include "config/PlantCatalog.h"
#include "config/PlantTables.h"
#include "config/Texts.h"
#include "platform/TextCase.h"
#include "platform/TextUtil.h"
#include "profile/IniFile.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::size_t kFieldCount = 7;

// Names sort with accents folded; equal names stay in catalogue order. Each name's key is
// made once: comparing pairs afresh made a catalogue of n plants cost n² keys.
std::vector<std::string> SortedForReading(std::vector<std::string> names)
{
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names)
        keyed.emplace_back(SortingKey(name), std::move(name));
    std::stable_sort(keyed.begin(), keyed.end());
    names.clear();
    for (auto& entry : keyed)
        names.push_back(std::move(entry.second));
    return names;
}

} // namespace

std::vector<std::string> SplitPlantRecord(std::string_view record)
{
    std::vector<std::string> fields;
    std::string_view rest = TrimLeft(record);
    for (auto separator = rest.find(';'); separator != std::string_view::npos;
         separator = rest.find(';')) {
        fields.emplace_back(TrimRight(rest.substr(0, separator)));
        rest = TrimLeft(rest.substr(separator + 1));
    }
    fields.emplace_back(TrimRight(rest));
    fields.resize(kFieldCount);
    return fields;
}

void LoadPlantCatalog(
    CIniFile& profile, const CTexts& texts, CPlantCatalog& catalog, CPlantTables& tables)
{
    catalog.ReadPlantNames(profile);
    for (const std::string& name : catalog.m_astrPlants) {
        const std::string upper = MakeUpper(name);
        tables.m_astrPlantNames.push_back(name);
        catalog.m_mapPlantKeys[upper] = name;

        const auto fields = SplitPlantRecord(profile.GetString("Plants", name, ""));
        tables.m_mapLevel[upper] = fields[0];
        tables.m_mapOrigin[upper] = fields[1];
        tables.m_mapPoints[upper] = fields[2];
        tables.m_mapTime[upper] = fields[3];
        tables.m_mapFields[upper] = fields[4];
        tables.m_mapOriginPrice[upper] = fields[5];
        tables.m_mapNpcPrice[upper] = fields[6];
    }
    LoadDisplayNames(catalog, texts, tables);
}

void LoadDisplayNames(const CPlantCatalog& catalog, const CTexts& texts, CPlantTables& tables)
{
    tables.m_mapPlantToDisplay.clear();
    std::vector<std::string> displayNames;
    for (const std::string& name : catalog.m_astrPlants) {
        const std::string display = texts.GetText("Txt_" + name);
        displayNames.push_back(display);
        tables.m_mapPlantToDisplay[name] = display;
    }
    tables.m_astrDisplayNames = SortedForReading(std::move(displayNames));
}
