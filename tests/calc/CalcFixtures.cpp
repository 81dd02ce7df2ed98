#include "calc/CalcFixtures.h"

#include "platform/TextCase.h"

#include <algorithm>

CListTemplates DefaultListTemplates()
{
    CListTemplates templates;
    templates.m_astrTitel = { "Einkaufsliste", "Shopping list", "Winkellijst", "Liste de courses",
        "Lista de la compra", "Lista de compras", "Ink\xF6pslista", "Lista spesa" };
    templates.m_astrZeile = { "%d x %s %s %s %s" };
    templates.m_astrTotal = { "Summe: %s %s", "Total: %s %s", "Totaal: %s %s", "Suma: %s %s",
        "Soma: %s %s", "Belopp: %s %s %s", "Totale: %s %s" };
    templates.m_astrFrage = { "Produkte jetzt verkaufen?", "Sell products now?",
        "Producten nu verkopen?", "Vendre des produits tout de suite?",
        "\xBFVender productos ahora?", "Vender os produtos agora?", "Vill du s\xE4lja produkterna?",
        "Vendere i prodotti adesso?" };
    return templates;
}

namespace {

struct CTextRow {
    const char* key;
    const char* german;
    const char* english;
};

const CTextRow kTexts[] = {
    { "Txt_DefaultDate", "(noch nicht geladen)", "(not loaded yet)" },
    { "Txt_Article", "Artikel", "Article" },
    { "Txt_Origin", "Herkunft", "Origin" },
    { "Txt_Market", "Markt", "Market" },
    { "Txt_Total", "Summe", "Total" },
    { "Txt_Currency", "wT", "gB" },
    { "Txt_FarmPrice", "vom Bauernhofpreis", "of farm price" },
    { "Txt_MarketPrice", "vom Marktpreis", "of market price" },
    { "Txt_MinusTen", "minus 10% Geb\xFChr", "minus 10% market fees" },
    { "Txt_Decimal", ",", "." },
    { "Txt_Date", "Daten von:", "Data from:" },
    { "Txt_DateMarket", "Marktpreise von:", "Market prices from:" },
    { "Txt_Points", "Punkte", "Points" },
    { "Txt_Pirk", "PIrk", "NPC" },
};

struct CPlantRow {
    const char* name;
    std::vector<std::string> fields;
    const char* english;
};

// Rows of the shipped catalogue: each origin, levels from 1 to 19, own and derived points,
// own and derived NPC prices.
const CPlantRow kPlants[] = {
    { "Karotte", { "1", "0", "0", "10", "1", "0,06", "0,05" }, "Carrots" },
    { "Salat", { "1", "0", "1", "14", "1", "0,08", "0,07" }, "Lettuce" },
    { "Ringelblume", { "5", "2", "0", "360", "1", "1,80", "1,20" }, "Marigold" },
    { "Himbeere", { "10", "1", "0", "2880", "1", "7,60", "7,60" }, "Raspberries" },
    { "Brombeere", { "11", "1", "0", "2880", "1", "30,00", "12,50" }, "Blackberries" },
    { "K\xFCrbis", { "13", "0", "0", "8640", "1", "22,80", "19,00" }, "Pumpkin" },
    { "Steinpilz", { "17", "4", "0", "720", "4", "32,00", "32,00" }, "Porcini" },
    { "gelbe Teichrose", { "19", "3", "240", "600", "1", "13,80", "11,50" }, "Cow lily" },
};

} // namespace

CCalcWorld::CCalcWorld(Language language)
    : m_servers(m_profile, m_texts, m_catalog)
    , m_settings(m_profile)
    , m_calc(m_catalog, m_texts, m_servers, m_settings)
{
    for (const CTextRow& row : kTexts)
        m_texts.m_mapTexts[MakeUpper(row.key)]
            = language == Language::German ? row.german : row.english;
    for (const CPlantRow& row : kPlants) {
        const std::string display = language == Language::German ? row.name : row.english;
        m_texts.m_mapTexts[MakeUpper(std::string("Txt_") + row.name)] = display;
        AddPlant(row.name, row.fields, display);
        m_catalog.m_mapPlantKeys[MakeUpper(row.english)] = row.name;
    }
    m_calc.TemplatesToLoad() = DefaultListTemplates();
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
