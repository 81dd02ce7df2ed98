#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CIniFile;

// The user-interface texts of the chosen language, keyed by the upper-cased "Txt_" key.
class CTexts {
public:
    std::unordered_map<std::string, std::string> m_mapTexts;

    // Empty when the key is missing: there is no fallback to another language.
    std::string GetText(std::string_view key) const;
    // Copies the text section that [Lang] names for [Settings] Lang ("Texts Deutsch" when the
    // language is not listed) into m_mapTexts. Keys that the section lacks but the built-in
    // default profile has for the same language are taken from there, so that a profile written
    // before a text existed still shows it.
    void LoadTexts(CIniFile& profile);

    // Whether a server's download stamp says "never loaded": empty, or the Txt_DefaultDate of
    // any language, from the profile or built in. Such a stamp is shown in the current language
    // and never stored.
    bool IsDefaultDate(std::string_view stamp) const;
    // text with "%1" and "%2" replaced by first and second and "\n" by a line break, in one
    // pass: what is filled in (a path, say) is never read as a placeholder or line break.
    static std::string Fill(std::string_view text, std::string_view first, std::string_view second);
    // The same for "%1" to "%9", as many as values are given; other placeholders stay as written.
    static std::string Fill(std::string_view text, std::initializer_list<std::string_view> values);

private:
    void AddBuiltInTexts(const std::string& language, const std::string& sectionName);

    std::vector<std::string> m_astrDefaultDates; // of every language the profile lists
};
