#include "config/Texts.h"

#include "config/Resource.h"
#include "config/SettingKeys.h"
#include "platform/ByteSource.h"
#include "platform/TextCase.h"
#include "profile/IniFile.h"

#include <algorithm>
#include <vector>

namespace {

constexpr const char* kDefaultTextSection = "Texts Deutsch";

// Copies a section's keys into texts; of a key written twice the first occurrence wins, and a
// key already present is kept.
void AddSection(const CIniSection& section, std::unordered_map<std::string, std::string>& texts)
{
    std::vector<std::string> keys;
    section.GetKeys(keys);
    for (const std::string& key : keys)
        texts.try_emplace(MakeUpper(key), section.GetValue(key));
}

// The built-in default profile, read once per run: it never changes.
CIniFile& BuiltInProfile()
{
    static CIniFile* const profile = [] {
        auto* document = new CIniFile;
        document->SetAutoReload(false);
        CResource resource;
        if (resource.Load(kDefaultProfileId, kDefaultProfileType)) {
            CMemorySource source(resource.Data(), resource.Size());
            document->ReadFrom(source);
        }
        return document;
    }();
    return *profile;
}

// Txt_DefaultDate of every text section that a profile's [Lang] names.
void AddDefaultDates(const CIniFile& profile, std::vector<std::string>& dates)
{
    const CIniSection* languages = profile.FindSection("Lang");
    if (!languages)
        return;
    std::vector<std::string> names;
    languages->GetKeys(names);
    for (const std::string& name : names) {
        const CIniSection* section = profile.FindSection(languages->GetValue(name));
        const std::string date = section ? section->GetValue("Txt_DefaultDate") : std::string();
        if (!date.empty())
            dates.push_back(date);
    }
}

bool Contains(const std::vector<std::string>& texts, std::string_view text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

} // namespace

std::string CTexts::GetText(std::string_view key) const
{
    const auto found = m_mapTexts.find(MakeUpper(key));
    return found == m_mapTexts.end() ? std::string() : found->second;
}

void CTexts::LoadTexts(CIniFile& profile)
{
    m_mapTexts.clear();
    const std::string language
        = profile.GetString(SettingKeys::kSection, SettingKeys::kLanguage, "");
    const std::string sectionName = profile.GetString("Lang", language, kDefaultTextSection);
    if (const CIniSection* section = profile.FindSection(sectionName))
        AddSection(*section, m_mapTexts);
    AddBuiltInTexts(language, sectionName);
    m_astrDefaultDates.clear();
    AddDefaultDates(profile, m_astrDefaultDates);
}

bool CTexts::IsDefaultDate(std::string_view stamp) const
{
    static const std::vector<std::string> builtIn = [] {
        std::vector<std::string> dates;
        AddDefaultDates(BuiltInProfile(), dates);
        return dates;
    }();
    return stamp.empty() || Contains(m_astrDefaultDates, stamp) || Contains(builtIn, stamp);
}

void CTexts::AddBuiltInTexts(const std::string& language, const std::string& sectionName)
{
    CIniFile& builtIn = BuiltInProfile();
    // The profile may name its own section for a language; the defaults of that language
    // still live under the built-in name.
    const std::string builtInName = builtIn.GetString("Lang", language, sectionName);
    if (const CIniSection* section = builtIn.FindSection(builtInName))
        AddSection(*section, m_mapTexts);
}

std::string CTexts::Fill(std::string_view text, std::string_view first, std::string_view second)
{
    return Fill(text, { first, second });
}

std::string CTexts::Fill(std::string_view text, std::initializer_list<std::string_view> values)
{
    std::string filled;
    filled.reserve(text.size() + 16 * values.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const std::size_t index
            = next >= '1' && next <= '9' ? std::size_t(next - '1') : values.size();
        if (text[i] == '%' && index < values.size()) {
            filled += values.begin()[index];
            ++i;
        } else if (text[i] == '\\' && next == 'n') {
            filled += '\n';
            ++i;
        } else {
            filled += text[i];
        }
    }
    return filled;
}
