#include "FuzzWorld.h"

#include "FuzzCheck.h"

CFuzzWorld::CFuzzWorld()
{
    m_servers.SetServerValue("Server 1", "Stand", "05.12.2026 18:00");
    FuzzCheck(!m_catalog.m_astrPlants.empty() && !m_calc.Templates().m_astrZeile.empty(),
        "the catalogue and the list templates are loaded");
}

CFuzzWorld& CFuzzWorld::Shared()
{
    static CFuzzWorld world;
    return world;
}
