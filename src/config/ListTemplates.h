#pragma once

#include <string>
#include <vector>

class CIniFile;

// The wording of the game's shopping lists, from [Liste]: title lines, item-line patterns,
// total-line patterns and question lines, each family in number order.
struct CListTemplates {
    std::vector<std::string> m_astrTitel;
    std::vector<std::string> m_astrZeile;
    std::vector<std::string> m_astrTotal;
    std::vector<std::string> m_astrFrage;

    // Appends each family from Key1 upwards until the first missing or empty key.
    void Load(CIniFile& profile);
};
