#pragma once

#include <string>
#include <unordered_map>
#include <vector>

// The catalogue as the calculation reads it: one map per record field, keyed by the
// upper-cased catalogue name, holding the field's text as written in the profile.
struct CPlantTables {
    using FieldMap = std::unordered_map<std::string, std::string>;

    FieldMap m_mapOriginPrice;
    FieldMap m_mapPoints;
    FieldMap m_mapTime;
    FieldMap m_mapFields;
    FieldMap m_mapNpcPrice;
    FieldMap m_mapLevel;
    FieldMap m_mapOrigin;
    std::vector<std::string> m_astrDisplayNames; // chosen language, sorted ignoring case
    FieldMap m_mapPlantToDisplay; // catalogue spelling -> display name
    std::vector<std::string> m_astrPlantNames; // catalogue order

    // A plant that the catalogue does not know reads as empty fields.
    static const std::string& Field(const FieldMap& map, const std::string& upperName)
    {
        static const std::string empty;
        const auto found = map.find(upperName);
        return found == map.end() ? empty : found->second;
    }
};
