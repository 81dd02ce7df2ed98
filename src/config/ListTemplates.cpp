#include "config/ListTemplates.h"

#include "profile/IniFile.h"

namespace {

// A family runs from Key1 upwards; the first missing or empty key ends it.
void LoadFamily(CIniFile& profile, const std::string& prefix, std::vector<std::string>& list)
{
    for (int number = 1;; ++number) {
        std::string pattern = profile.GetString("Liste", prefix + std::to_string(number), "");
        if (pattern.empty())
            return;
        list.push_back(std::move(pattern));
    }
}

} // namespace

void CListTemplates::Load(CIniFile& profile)
{
    LoadFamily(profile, "Titel", m_astrTitel);
    LoadFamily(profile, "Zeile", m_astrZeile);
    LoadFamily(profile, "Total", m_astrTotal);
    LoadFamily(profile, "Frage", m_astrFrage);
}
