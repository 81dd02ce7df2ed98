#include "servers/ServerName.h"

#include "config/SettingKeys.h"
#include "platform/TextCase.h"
#include "profile/IniFile.h"

#include <array>
#include <vector>

namespace {

constexpr std::array<std::string_view, 10> kOwnedSections
    = { SettingKeys::kSection, "Lang", "Plants", "Liste", "Umsetzen", "Preislisten",
          "Texts Deutsch", "Texts English", "Texts NL", "Texts Francais" };

// The text sections that [Lang] names, besides the built-in four.
bool IsTextSection(std::string_view section, CIniFile& profile)
{
    const CIniSection* languages = profile.FindSection("Lang");
    if (!languages)
        return false;
    std::vector<std::string> keys;
    languages->GetKeys(keys);
    for (const std::string& language : keys) {
        const std::string textSection = languages->GetValue(language);
        if (EqualNoCase(CIniFile::NormalizeSectionName(textSection), section))
            return true;
    }
    return false;
}

// Text that stays one key of [Preislisten]: no "=" inside, and no start that the reader takes
// for a comment or a section header.
bool ReadsBackAsKey(std::string_view name)
{
    return name.find('=') == std::string_view::npos && name.front() != ';' && name.front() != '[';
}

} // namespace

bool IsUsableServerName(std::string_view name, CIniFile& profile)
{
    if (name.empty() || name.size() > kMaxServerNameBytes || !ReadsBackAsKey(name))
        return false;
    // A name with blanks or brackets around it shares the section of the bare name.
    return CIniFile::NormalizeSectionName(name) == name && !IsProgramSection(name, profile);
}

bool IsProgramSection(std::string_view name, CIniFile& profile)
{
    const std::string section = CIniFile::NormalizeSectionName(name);
    if (section.empty())
        return true;
    for (std::string_view owned : kOwnedSections) {
        if (EqualNoCase(section, owned))
            return true;
    }
    return IsTextSection(section, profile);
}
