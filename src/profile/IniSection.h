#pragma once

#include "profile/KeyIndex.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One section of the profile document: its lines in file order (each trimmed, header line
// excluded) and a map from key, in any letter case, to value, derived from the lines. The map
// tells where in its line a value stands rather than holding a copy of it. A line read from a
// file is a view into the document's copy of the text, so reading allocates nothing per line;
// only a line that is written gets storage of its own.
class CIniSection {
public:
    explicit CIniSection(std::string_view name);

    // The value of a key, looked up without case; defaultValue when the key is absent.
    std::string GetValue(std::string_view key, std::string_view defaultValue = {}) const;
    // The same for a trimmed key hashed ahead (CKeyIndex::Hashed).
    std::string GetValue(const CKeyIndex::CHashedKey& key, std::string_view defaultValue) const;
    // Sets a key, or deletes it when value is nullopt. Always true.
    bool SetValue(std::string_view key, std::optional<std::string_view> value);
    // Keys in line order up to the last key line, as written (or "key=value" when withValues).
    bool GetKeys(std::vector<std::string>& keys, bool withValues = false) const;
    const std::string& GetName(bool upper = false) const
    {
        return upper ? m_strNameUpper : m_strName;
    }
    // Rederives m_mapValues and m_nLastKeyLine from the lines. Always true.
    bool RebuildMap();
    virtual void RemoveAll();
    virtual ~CIniSection() = default;

    std::size_t GetLineCount() const { return m_lines.size(); }
    std::string_view GetLine(std::size_t index) const { return m_lines[index]; }
    // A copy of the lines, for tests and tools.
    std::vector<std::string> Lines() const { return { m_lines.begin(), m_lines.end() }; }
    // For the reader: lines that stay valid as long as the section (the document's text).
    void AppendLines(std::span<const std::string_view> lines);

    // Splits a key line; false for blank lines, comments and lines without "=".
    static bool ParseKeyLine(std::string_view line, std::string_view& key, std::string_view& value);

private:
    int FindLastKeyLine(std::string_view key) const;
    // Stores key=value as line index, or as a new line there; the line's text.
    std::string_view PutLine(int index, bool insert, std::string_view key, std::string_view value);
    void RemoveLine(int line);

    // Views: into the document's text for lines read, into m_owned for lines written.
    std::vector<std::string_view> m_lines;
    // Empty, or beside m_lines: the storage of each written line, null for a line read.
    std::vector<std::unique_ptr<char[]>> m_owned;
    std::string m_strName;
    std::string m_strNameUpper;
    int m_nLastKeyLine = -1;
    CKeyIndex m_mapValues;
};
