#pragma once

#include "calc/OfferCalculator.h"
#include "config/PlantCatalog.h"
#include "config/Settings.h"
#include "config/Texts.h"
#include "prices/ServerCache.h"
#include "profile/IniFile.h"

#include <string>

// The run's objects filled from the embedded default profile by the real loaders, in German,
// with a few cached prices for "Server 1": what the calculator works on after a normal start.
// Built once per fuzzing process; targets must not change what later inputs rely on.
class CFuzzWorld {
public:
    CFuzzWorld();
    CFuzzWorld(const CFuzzWorld&) = delete;
    CFuzzWorld& operator=(const CFuzzWorld&) = delete;

    static CFuzzWorld& Shared();

    CIniFile m_profile;
    CTexts m_texts;
    CPlantCatalog m_catalog;
    CServerCache m_servers;
    CSettings m_settings;
    COfferCalculator m_calc;
};
