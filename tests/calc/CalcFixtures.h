#pragma once

#include "calc/OfferCalculator.h"
#include "config/ListTemplates.h"
#include "config/PlantCatalog.h"
#include "config/Settings.h"
#include "config/Texts.h"
#include "profile/IniFile.h"
#include "servers/ServerCache.h"
#include "support/ShippedWorld.h"

#include <string>
#include <utility>
#include <vector>

// The [Liste] templates the program ships with.
CListTemplates DefaultListTemplates();

enum class Language { German, English };

// The run's objects around a calculator, filled as the configuration loader fills them: the
// texts of one language, a part of the shipped catalogue with display names that translate
// back, the shipped templates, and price servers written straight into the cache.
class CCalcWorld {
public:
    explicit CCalcWorld(Language language);

    // A plant record of seven fields, "Level;Origin;Points;Time;Fields;OriginPrice;NpcPrice".
    void AddPlant(const std::string& name, const std::vector<std::string>& fields,
        const std::string& displayName);
    // A cached price table, as if downloaded; the server becomes the selected one.
    CServerTable& AddServer(
        const std::string& name, const std::vector<std::pair<std::string, std::string>>& values);

    CIniFile m_profile;
    CTexts m_texts;
    CPlantCatalog m_catalog;
    CServerCache m_servers;
    CSettings m_settings;
    COfferCalculator m_calc;
};

// The prices of the worked example: Karotte 0,10 and gelbe Teichrose 12,00 on "Server 1".
void AddExampleServer(CCalcWorld& world);
