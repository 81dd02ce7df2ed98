#include "FuzzWorld.h"

#include "FuzzCheck.h"

#include "config/CatalogLoader.h"
#include "config/Resource.h"
#include "platform/ByteSource.h"

CFuzzWorld::CFuzzWorld()
    : m_servers(m_profile, m_texts, m_catalog)
    , m_settings(m_profile)
    , m_calc(m_catalog, m_texts, m_servers, m_settings)
{
    m_profile.m_bAutoReload = m_profile.m_bAutoSave = false;
    CResource resource;
    FuzzCheck(resource.Load(129, "TXT"), "the default profile is embedded");
    CMemorySource source(resource.Data(), resource.Size());
    FuzzCheck(m_profile.ReadFrom(source), "the default profile reads");

    m_profile.WriteString("Settings", "Lang", "Deutsch");
    m_settings.ReadMirrors();
    m_texts.LoadTexts(m_profile);
    LoadPlantCatalog(m_profile, m_texts, m_catalog, m_calc.m_tables);
    m_calc.m_templates.Load(m_profile);
    m_catalog.LoadTranslations(m_profile);
    m_profile.WriteString("Server 1", "Karotte", "0,10");
    m_profile.WriteString("Server 1", "gelbe Teichrose", "12,00");
    m_profile.WriteString("Server 1", "Stand", "05.12.2026 18:00");
    m_servers.LoadServerTables();
    m_calc.m_strServer = "Server 1";
    m_calc.m_strDateLabel = m_texts.GetText("Txt_Date");
    m_calc.ReadTexts();
    m_calc.RebuildMarketPrices();
    FuzzCheck(!m_catalog.m_astrPlants.empty() && !m_calc.m_templates.m_astrZeile.empty(),
              "the catalogue and the list templates are loaded");
}

CFuzzWorld& CFuzzWorld::Shared()
{
    static CFuzzWorld world;
    return world;
}
