#include "profile/IniSection.h"

#include "platform/TextCase.h"
#include "platform/TextUtil.h"

CIniSection::CIniSection(std::string_view name)
    : m_strName(Trim(name))
    , m_strNameUpper(MakeUpper(m_strName))
{
}

bool CIniSection::ParseKeyLine(
    std::string_view line, std::string_view& key, std::string_view& value)
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
    return GetValue(m_mapValues.Hashed(Trim(key)), defaultValue);
}

std::string CIniSection::GetValue(
    const CKeyIndex::CHashedKey& key, std::string_view defaultValue) const
{
    const CKeyIndex::CKeyRef* ref = m_mapValues.Find(key, m_lines);
    if (!ref)
        return std::string(defaultValue);
    // Lines changed behind the map's back give a stale value, never a read out of bounds.
    const std::string_view line = m_lines[ref->m_nLine];
    if (line.size() < ref->m_nValueStart)
        return std::string(defaultValue);
    return std::string(line.substr(ref->m_nValueStart));
}

bool CIniSection::SetValue(std::string_view key, std::optional<std::string_view> value)
{
    key = Trim(key);
    const CKeyIndex::CKeyRef* entry = m_mapValues.Find(key, m_lines);
    int line = -1;
    if (entry) {
        line = FindLastKeyLine(key);
        // A key that its own line does not read back as (one that holds "=" or begins with
        // ";") is found by no walk; its entry knows its line, so no second line is added.
        if (line < 0)
            line = entry->m_nLine;
    }

    if (!value) {
        if (entry) {
            m_mapValues.Erase(key, m_lines);
            // The line may belong to another key ("a" removes the line of "a=b", which reads
            // as "a" in the file): that key is gone with it.
            RemoveLine(line);
        }
        return true;
    }

    const bool insert = line < 0;
    if (insert) {
        // A new key goes right after the last key line, ahead of trailing comments and blanks.
        line = ++m_nLastKeyLine;
    } else if (entry->m_nLine != line) {
        m_mapValues.ForgetLine(line);
    }
    // The value as passed, blanks included, until the document is read again.
    const std::string_view written = PutLine(line, insert, key, *value);
    m_mapValues.Assign(CKeyIndex::CKeyRef(line, written, written.substr(0, key.size()),
                           written.substr(key.size() + 1)),
        m_lines);
    return true;
}

std::string_view CIniSection::PutLine(
    int index, bool insert, std::string_view key, std::string_view value)
{
    const std::size_t size = key.size() + 1 + value.size();
    auto text = std::make_unique<char[]>(size);
    key.copy(text.get(), key.size());
    text[key.size()] = '=';
    value.copy(text.get() + key.size() + 1, value.size());
    const std::string_view view(text.get(), size);
    m_owned.resize(m_lines.size());
    if (insert) {
        m_lines.insert(m_lines.begin() + index, view);
        m_owned.insert(m_owned.begin() + index, std::move(text));
    } else {
        m_lines[index] = view;
        m_owned[index] = std::move(text);
    }
    return view;
}

void CIniSection::AppendLines(std::span<const std::string_view> lines)
{
    m_lines.insert(m_lines.end(), lines.begin(), lines.end());
    if (!m_owned.empty())
        m_owned.resize(m_lines.size());
}

// Removes a key line and the map's entry for it; the lines after it move up, and so do the
// map's references to them.
void CIniSection::RemoveLine(int line)
{
    m_lines.erase(m_lines.begin() + line);
    if (!m_owned.empty())
        m_owned.erase(m_owned.begin() + line);
    --m_nLastKeyLine;
    m_mapValues.LineRemoved(line);
}

// The key line of the last occurrence of a key: walks back from the last key line.
int CIniSection::FindLastKeyLine(std::string_view key) const
{
    for (int i = m_nLastKeyLine; i >= 0; --i) {
        std::string_view lineKey, value;
        if (ParseKeyLine(m_lines[i], lineKey, value) && EqualNoCase(lineKey, key))
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
    m_mapValues.Clear();
    m_mapValues.Reserve(m_lines.size());
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        std::string_view key, value;
        if (!ParseKeyLine(m_lines[i], key, value))
            continue;
        m_nLastKeyLine = i;
        // The first occurrence of a key is the one that counts: Insert keeps it.
        m_mapValues.Insert(CKeyIndex::CKeyRef(i, m_lines[i], key, value), m_lines);
    }
    return true;
}

void CIniSection::RemoveAll()
{
    m_nLastKeyLine = -1;
    m_mapValues.Clear();
    m_lines.clear();
    m_owned.clear();
}
