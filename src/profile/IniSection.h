#pragma once

#include "profile/KeyIndex.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One section of the profile document: its lines in file order (each trimmed, header line
// excluded) and a map from key, in any letter case, to value, derived from the lines. The map
// tells where in its line a value stands rather than holding a copy of it.
class CIniSection {
public:
    explicit CIniSection(std::string_view name);

    // The value of a key, looked up without case; defaultValue when the key is absent.
    std::string GetValue(std::string_view key, std::string_view defaultValue = {}) const;
    // Sets a key, or deletes it when value is nullopt. Always true.
    bool SetValue(std::string_view key, std::optional<std::string_view> value);
    // Keys in line order up to the last key line, as written (or "key=value" when withValues).
    bool GetKeys(std::vector<std::string>& keys, bool withValues = false) const;
    const std::string& GetName(bool upper = false) const { return upper ? m_strNameUpper : m_strName; }
    // Rederives m_mapValues and m_nLastKeyLine from the lines. Always true.
    bool RebuildMap();
    virtual void RemoveAll();
    virtual ~CIniSection() = default;

    // The lines, for the reader and writer of the document.
    std::vector<std::string>& Lines() { return m_lines; }
    const std::vector<std::string>& Lines() const { return m_lines; }

    // Splits a key line; false for blank lines, comments and lines without "=".
    static bool ParseKeyLine(std::string_view line, std::string_view& key, std::string_view& value);

private:
    int FindLastKeyLine(std::string_view key) const;
    void RemoveLine(int line);

    std::vector<std::string> m_lines;
    std::string m_strName;
    std::string m_strNameUpper;
    int m_nLastKeyLine = -1;
    CKeyIndex m_mapValues;
};
