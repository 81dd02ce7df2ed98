#include "config/PlantCatalog.h"

#include "platform/TextCase.h"
#include "profile/IniFile.h"

std::string CPlantCatalog::TranslatePlantName(std::string_view name) const
{
    const auto found = m_mapPlantKeys.find(MakeUpper(name));
    if (found != m_mapPlantKeys.end() && !found->second.empty())
        return found->second;
    return std::string(name);
}

void CPlantCatalog::ReadPlantNames(CIniFile& profile)
{
    const CIniSection* section = profile.FindSection("Plants");
    if (!section)
        section = profile.FindSection("Bauernhof");
    if (section)
        section->GetKeys(m_astrPlants);
}

void CPlantCatalog::LoadTranslations(CIniFile& profile)
{
    const CIniSection* section = profile.FindSection("Umsetzen");
    if (!section)
        return;
    std::vector<std::string> keys;
    section->GetKeys(keys);
    // Backwards, so that of a name written twice the first occurrence wins.
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
        std::string canonical = section->GetValue(*key);
        if (!canonical.empty())
            m_mapPlantKeys[MakeUpper(*key)] = std::move(canonical);
    }
}
