#include "calc/CalcFixtures.h"

#include "config/ProfileTestText.h"
#include "platform/TextCase.h"

#include <algorithm>

CListTemplates DefaultListTemplates()
{
    CIniFile profile;
    ReadDefaultProfile(profile);
    CListTemplates templates;
    templates.Load(profile);
    return templates;
}

namespace {

// Plants of the shipped catalogue: each origin, levels from 1 to 19, own and derived points,
// own and derived NPC prices.
const char* const kPlants[] = { "Karotte", "Salat", "Ringelblume", "Himbeere", "Brombeere",
    "K\xFCrbis", "Steinpilz", "gelbe Teichrose" };

} // namespace

CCalcWorld::CCalcWorld(Language language)
    : m_servers(m_profile, m_texts, m_catalog)
    , m_settings(m_profile)
    , m_calc(m_catalog, m_texts, m_servers, m_settings)
{
    // The shipped profile's texts, templates and name translations, loaded by the real loaders.
    CShippedWorld shipped(language == Language::German ? "Deutsch" : "English");
    m_texts = shipped.m_texts;
    m_catalog.m_mapPlantKeys = shipped.m_catalog.m_mapPlantKeys;
    m_calc.TemplatesToLoad() = shipped.m_calc.TemplatesToLoad();
    const CPlantTables& tables = shipped.m_calc.TablesToLoad();
    for (const char* plant : kPlants) {
        const std::string key = MakeUpper(plant);
        std::vector<std::string> fields;
        for (const CPlantTables::FieldMap* map :
            { &tables.m_mapLevel, &tables.m_mapOrigin, &tables.m_mapPoints, &tables.m_mapTime,
                &tables.m_mapFields, &tables.m_mapOriginPrice, &tables.m_mapNpcPrice })
            fields.push_back(CPlantTables::Field(*map, key));
        AddPlant(plant, fields, tables.m_mapPlantToDisplay.at(plant));
    }
    m_calc.SetDateLabel(m_texts.GetText("Txt_Date"));
    m_calc.ReadTexts();
}

void CCalcWorld::AddPlant(
    const std::string& name, const std::vector<std::string>& fields, const std::string& displayName)
{
    m_catalog.m_astrPlants.push_back(name);
    m_catalog.m_mapPlantKeys[MakeUpper(name)] = name;

    CPlantTables& tables = m_calc.TablesToLoad();
    const std::string key = MakeUpper(name);
    CPlantTables::FieldMap* maps[] = { &tables.m_mapLevel, &tables.m_mapOrigin, &tables.m_mapPoints,
        &tables.m_mapTime, &tables.m_mapFields, &tables.m_mapOriginPrice, &tables.m_mapNpcPrice };
    for (size_t field = 0; field < 7; ++field)
        (*maps[field])[key] = field < fields.size() ? fields[field] : std::string();
    tables.m_astrPlantNames.push_back(name);
    tables.m_mapPlantToDisplay[name] = displayName;
    const auto before
        = std::find_if(tables.m_astrDisplayNames.begin(), tables.m_astrDisplayNames.end(),
            [&](const std::string& entry) { return CompareNoCase(displayName, entry) < 0; });
    tables.m_astrDisplayNames.insert(before, displayName);
}

CServerTable& CCalcWorld::AddServer(
    const std::string& name, const std::vector<std::pair<std::string, std::string>>& values)
{
    CServerTable& table = m_servers.AddTable(name);
    table.m_strUrl = "https://prices.example.org/" + name;
    table.SetAt("Aktualisiert", "6.12.26 09:05");
    table.SetAt("Stand", "05.12.2026 18:00");
    table.SetAt("Selected", "1");
    for (const std::string& plant : m_catalog.m_astrPlants)
        table.SetAt(plant, "0,0");
    for (const auto& [key, value] : values)
        table.SetAt(key, value);
    m_calc.SelectServer(name);
    return table;
}

void AddExampleServer(CCalcWorld& world)
{
    world.AddServer("Server 1", { { "Karotte", "0,10" }, { "gelbe Teichrose", "12,00" } });
    world.m_calc.RebuildMarketPrices();
}
