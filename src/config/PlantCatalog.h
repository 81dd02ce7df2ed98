#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CIniFile;

// The catalogue's plant names and the map that turns any plant name, foreign name or
// variant into the catalogue's canonical name.
class CPlantCatalog {
public:
    std::vector<std::string> m_astrPlants; // [Plants] order
    std::unordered_map<std::string, std::string> m_mapPlantKeys; // upper-cased name -> canonical

    // An unknown name comes back exactly as passed.
    std::string TranslatePlantName(std::string_view name) const;
    // The keys of [Plants], or of [Bauernhof] in older profiles; unchanged when neither exists.
    void ReadPlantNames(CIniFile& profile);
    // Adds the foreign names of [Umsetzen]; they may replace a plant's own entry.
    void LoadTranslations(CIniFile& profile);
};
