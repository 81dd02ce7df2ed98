#include "profile/IniSection.h"

#include "platform/TextCase.h"
#include "platform/TextUtil.h"

CIniSection::CIniSection(std::string_view name)
    : m_strName(Trim(name))
    , m_strNameUpper(MakeUpper(m_strName))
{
}

bool CIniSection::ParseKeyLine(std::string_view line, std::string_view& key, std::string_view& value)
{
    line = TrimLeft(line);
    if (line.empty() || line[0] == ';')
        return false;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return false;
    key = TrimRight(line.substr(0, equals));
    value = Trim(line.substr(equals + 1));
    return true;
}

std::string CIniSection::GetValue(std::string_view key, std::string_view defaultValue) const
{
    const auto found = m_mapValues.find(MakeUpper(Trim(key)));
    if (found == m_mapValues.end())
        return std::string(defaultValue);
    const CValueRef& ref = found->second;
    // Lines changed behind the map's back give a stale value, never a read out of bounds.
    if (ref.m_nLine >= static_cast<int>(m_lines.size()) || m_lines[ref.m_nLine].size() < ref.m_nStart + ref.m_nLength)
        return std::string(defaultValue);
    return m_lines[ref.m_nLine].substr(ref.m_nStart, ref.m_nLength);
}

bool CIniSection::SetValue(std::string_view key, std::optional<std::string_view> value)
{
    key = Trim(key);
    std::string upperKey = MakeUpper(key);
    const auto entry = m_mapValues.find(upperKey);
    int line = entry != m_mapValues.end() ? FindLastKeyLine(upperKey) : -1;

    if (!value) {
        if (entry != m_mapValues.end()) {
            m_mapValues.erase(entry);
            if (line >= 0)
                RemoveLine(line);
        }
        return true;
    }

    std::string text;
    text.reserve(key.size() + 1 + value->size());
    text.append(key).append("=").append(*value);
    if (line >= 0) {
        m_lines[line] = std::move(text);
    } else {
        // A new key goes right after the last key line, ahead of trailing comments and blanks.
        line = ++m_nLastKeyLine;
        m_lines.insert(m_lines.begin() + line, std::move(text));
    }
    // The value as passed, blanks included, until the document is read again.
    const CValueRef ref { line, key.size() + 1, value->size() };
    if (entry != m_mapValues.end())
        entry->second = ref;
    else
        m_mapValues.emplace(std::move(upperKey), ref);
    return true;
}

// Removes a key line; the lines after it move up, and so do the map's references to them.
void CIniSection::RemoveLine(int line)
{
    m_lines.erase(m_lines.begin() + line);
    --m_nLastKeyLine;
    for (auto& [key, ref] : m_mapValues) {
        if (ref.m_nLine > line)
            --ref.m_nLine;
    }
}

// The key line of the last occurrence of a key: walks back from the last key line.
int CIniSection::FindLastKeyLine(std::string_view upperKey) const
{
    for (int i = m_nLastKeyLine; i >= 0; --i) {
        std::string_view key, value;
        if (ParseKeyLine(m_lines[i], key, value) && EqualNoCase(key, upperKey))
            return i;
    }
    return -1;
}

bool CIniSection::GetKeys(std::vector<std::string>& keys, bool withValues) const
{
    keys.clear();
    try {
        for (int i = 0; i <= m_nLastKeyLine; ++i) {
            std::string_view key, value;
            if (!ParseKeyLine(m_lines[i], key, value))
                continue;
            if (withValues)
                keys.push_back(std::string(key) + "=" + GetValue(key));
            else
                keys.emplace_back(key);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool CIniSection::RebuildMap()
{
    m_nLastKeyLine = -1;
    m_mapValues.clear();
    m_mapValues.reserve(m_lines.size());
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        const std::string& line = m_lines[i];
        std::string_view key, value;
        if (!ParseKeyLine(line, key, value))
            continue;
        m_nLastKeyLine = i;
        // The first occurrence of a key is the one that counts.
        m_mapValues.try_emplace(MakeUpper(key), CValueRef { i, static_cast<std::size_t>(value.data() - line.data()), value.size() });
    }
    return true;
}

void CIniSection::RemoveAll()
{
    m_nLastKeyLine = -1;
    m_mapValues.clear();
    m_lines.clear();
}
