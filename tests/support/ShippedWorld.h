#pragma once

#include "calc/OfferCalculator.h"
#include "config/PlantCatalog.h"
#include "config/Settings.h"
#include "config/Texts.h"
#include "profile/IniFile.h"
#include "servers/ServerCache.h"

#include <string>

// The run's objects filled from the embedded default profile by the real loaders, in the
// language named as in [Lang], with the worked example's prices (Karotte 0,10, gelbe Teichrose
// 12,00) cached for "Server 1", the selected server. Shared by tests, benchmarks and fuzzers.
class CShippedWorld {
public:
    explicit CShippedWorld(const std::string& language = "Deutsch");
    CShippedWorld(const CShippedWorld&) = delete;
    CShippedWorld& operator=(const CShippedWorld&) = delete;

    CIniFile m_profile;
    CTexts m_texts;
    CPlantCatalog m_catalog;
    CServerCache m_servers;
    CSettings m_settings;
    COfferCalculator m_calc;
};
