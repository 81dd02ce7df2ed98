#include "config/Texts.h"

#include "platform/TextCase.h"
#include "profile/IniFile.h"

#include <vector>

std::string CTexts::GetText(std::string_view key) const
{
    const auto found = m_mapTexts.find(MakeUpper(key));
    return found == m_mapTexts.end() ? std::string() : found->second;
}

void CTexts::LoadTexts(CIniFile& profile)
{
    m_mapTexts.clear();
    const std::string language = profile.GetString("Settings", "Lang", "");
    const std::string sectionName = profile.GetString("Lang", language, "Texts Deutsch");
    const CIniSection* section = profile.FindSection(sectionName);
    if (!section)
        return;

    std::vector<std::string> keys;
    section->GetKeys(keys);
    // Backwards, so that of a key written twice the first occurrence wins.
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
        m_mapTexts[MakeUpper(*key)] = section->GetValue(*key);
}
