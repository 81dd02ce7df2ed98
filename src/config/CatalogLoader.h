#pragma once

#include <string>
#include <string_view>
#include <vector>

class CIniFile;
class CPlantCatalog;
class CTexts;
struct CPlantTables;

// The seven fields of a [Plants] record, blanks around each removed; missing fields are
// empty and fields beyond the seventh are dropped.
std::vector<std::string> SplitPlantRecord(std::string_view record);

// Reads the catalogue into the calculator's tables: the field maps, the display names of the
// chosen language, and each plant's entry in the name translation.
void LoadPlantCatalog(
    CIniFile& profile, const CTexts& texts, CPlantCatalog& catalog, CPlantTables& tables);

// Replaces the display names by those of the texts' language, sorted the way a reader looks
// for them (case and accents folded).
void LoadDisplayNames(const CPlantCatalog& catalog, const CTexts& texts, CPlantTables& tables);
