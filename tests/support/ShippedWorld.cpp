#include "support/ShippedWorld.h"

#include "config/CatalogLoader.h"
#include "config/DefaultProfileData.h"
#include "platform/ByteSource.h"

CShippedWorld::CShippedWorld(const std::string& language)
    : m_servers(m_profile, m_texts, m_catalog)
    , m_settings(m_profile)
    , m_calc(m_catalog, m_texts, m_servers, m_settings)
{
    m_profile.SetAutoReload(false);
    m_profile.SetAutoSave(false);
    CMemorySource source(kDefaultProfileData, kDefaultProfileSize);
    m_profile.ReadFrom(source);
    m_profile.WriteString("Settings", "Lang", language);
    m_settings.ReadMirrors();
    m_texts.LoadTexts(m_profile);
    LoadPlantCatalog(m_profile, m_texts, m_catalog, m_calc.TablesToLoad());
    m_calc.TemplatesToLoad().Load(m_profile);
    m_catalog.LoadTranslations(m_profile);
    m_profile.WriteString("Server 1", "Karotte", "0,10");
    m_profile.WriteString("Server 1", "gelbe Teichrose", "12,00");
    m_servers.LoadServerTables();
    m_calc.SelectServer("Server 1");
    m_calc.SetDateLabel(m_texts.GetText("Txt_Date"));
    m_calc.ReadTexts();
    m_calc.RebuildMarketPrices();
}
