#include "profile/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/ByteSink.h"
#include "platform/ByteSource.h"
#include "platform/TextCase.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <utility>

namespace {

// The section name that an argument designates, as a view into it. Inline: every lookup
// starts here.
inline std::string_view NormalizedView(std::string_view name)
{
    name = Trim(name);
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        name = Trim(name.substr(1, name.size() - 2));
    return name;
}

constexpr std::size_t kReadChunk = 16 * 1024;

// Reads the source to its end, straight into text; false on a read error, with the bytes
// read before it in text. The document keeps the text as long as it lives, so room is made
// for the size the source expects and one byte more (for the read that finds the end), rather
// than doubled into: most of a doubled buffer would stay unused for the whole run.
bool ReadAll(CByteSource& source, std::string& text)
{
    std::size_t used = text.size();
    const std::size_t expected = source.ExpectedSize();
    text.resize(used + (expected > 0 && expected < SIZE_MAX ? expected + 1 : kReadChunk));
    for (;;) {
        if (text.size() == used)
            text.resize(std::max(2 * text.size(), used + kReadChunk));
        const std::size_t room = text.size() - used;
        const std::ptrdiff_t count = source.Read(text.data() + used, room);
        if (count <= 0 || count > static_cast<std::ptrdiff_t>(room)) {
            text.resize(used);
            return count == 0;
        }
        used += static_cast<std::size_t>(count);
    }
}

// The text between begin and end as a line is kept: trimmed, and without CRs, which are
// removed in place.
std::string_view TrimmedWithoutCR(char* begin, char* end)
{
    const std::string_view line
        = Trim(std::string_view(begin, static_cast<std::size_t>(end - begin)));
    if (line.find('\r') == std::string_view::npos)
        return line;
    // Trimming before the CRs are gone is the same as after: CR is a blank itself.
    char* const first = begin + (line.data() - begin);
    char* const last = std::remove(first, first + line.size(), '\r');
    return std::string_view(first, static_cast<std::size_t>(last - first));
}

// Collects small pieces of text and hands them to a sink in large blocks.
class CWriteBuffer {
public:
    explicit CWriteBuffer(CByteSink& sink)
        : m_sink(sink)
    {
    }

    bool Add(std::string_view text)
    {
        if (text.size() > sizeof m_buffer - m_nUsed && !Flush())
            return false;
        if (text.size() > sizeof m_buffer)
            return m_sink.Write(text.data(), text.size());
        std::memcpy(m_buffer + m_nUsed, text.data(), text.size());
        m_nUsed += text.size();
        return true;
    }

    bool Flush()
    {
        const std::size_t used = std::exchange(m_nUsed, 0);
        return used == 0 || m_sink.Write(m_buffer, used);
    }

private:
    CByteSink& m_sink;
    char m_buffer[16 * 1024];
    std::size_t m_nUsed = 0;
};

} // namespace

CIniFile::CIniFile(std::optional<std::string_view> path)
{
    if (path)
        Load(path);
}

CIniFile::~CIniFile() = default;

std::string CIniFile::NormalizeSectionName(std::string_view name)
{
    return std::string(NormalizedView(name));
}

std::string CIniFile::GetString(
    std::string_view section, std::string_view key, std::string_view defaultValue)
{
    if (m_bAutoReload) // tested here as well: a lookup that does not reload makes no call
        ReloadIfChanged();
    // The key's hash does not depend on the section: hashed first, it is computed while the
    // processor waits for the section's lookup to reach memory.
    const CKeyIndex::CHashedKey hashedKey = m_mapSections.Hashed(Trim(key));
    const CIniSection* found = FindSection(section);
    return found ? found->GetValue(hashedKey, defaultValue) : std::string(defaultValue);
}

bool CIniFile::WriteString(std::string_view section, std::optional<std::string_view> key,
    std::optional<std::string_view> value)
{
    // A NUL byte would end the line for every reader of the file: such a write is refused.
    const auto hasNul = [](std::optional<std::string_view> text) {
        return text && text->find('\0') != std::string_view::npos;
    };
    if (hasNul(section) || hasNul(key) || hasNul(value))
        return false;
    ReloadIfChanged();
    if (key) {
        CIniSection* target = GetSection(section);
        if (!target)
            return false;
        target->SetValue(*key, value);
    } else if (!RemoveSection(section)) {
        return true;
    }
    return m_bAutoSave ? Save() : true;
}

int CIniFile::GetInt(std::string_view section, std::string_view key, int defaultValue)
{
    const std::string text = GetString(section, key, "*");
    return text == "*" ? defaultValue : AsciiToInt(text);
}

bool CIniFile::WriteInt(std::string_view section, std::string_view key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

CIniSection* CIniFile::FindSection(std::string_view name) const
{
    const CKeyIndex::CKeyRef* found = m_mapSections.Find(NormalizedView(name), m_astrSectionNames);
    return found ? m_sections[static_cast<std::size_t>(found->m_nLine)].get() : nullptr;
}

CIniSection* CIniFile::GetSection(std::string_view name)
{
    if (CIniSection* found = FindSection(name))
        return found;
    try {
        m_sections.reserve(m_sections.size() + 1);
        m_astrSectionNames.reserve(m_sections.size() + 1);
        m_sections.push_back(std::make_unique<CIniSection>(NormalizedView(name)));
        CIniSection* created = m_sections.back().get();
        const std::string_view stored = created->GetName();
        m_astrSectionNames.push_back(stored);
        const int index = static_cast<int>(m_sections.size() - 1);
        m_mapSections.Insert(
            CKeyIndex::CKeyRef(index, stored, stored, stored.substr(stored.size())),
            m_astrSectionNames);
        return created;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Returns false when there is no such section.
bool CIniFile::RemoveSection(std::string_view name)
{
    const CKeyIndex::CKeyRef* found = m_mapSections.Find(NormalizedView(name), m_astrSectionNames);
    if (!found)
        return false;
    const auto index = static_cast<std::size_t>(found->m_nLine);
    if (m_pCurSection == m_sections[index].get())
        m_pCurSection = nullptr;
    m_mapSections.LineRemoved(static_cast<int>(index));
    m_astrSectionNames.erase(m_astrSectionNames.begin() + static_cast<std::ptrdiff_t>(index));
    m_sections.erase(m_sections.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void CIniFile::RemoveAll()
{
    m_mapSections.Clear();
    m_astrSectionNames.clear();
    while (!m_sections.empty())
        m_sections.pop_back();
    m_pCurSection = nullptr;
    m_strText = std::string();
}

bool CIniFile::Load(std::optional<std::string_view> path)
{
    const std::string target = path ? std::string(*path) : m_status.m_szFullName;
    if (target.empty())
        return false;
    GetFileStatus(target, m_status);
    CFileSource file(m_status.m_szFullName);
    m_nFileError = file.Error();
    if (!file.IsOpen())
        return false;
    const bool read = ReadFrom(file);
    m_nFileError = read ? 0 : (file.Error() != 0 ? file.Error() : EIO);
    return read;
}

bool CIniFile::ReadFrom(CByteSource& source)
{
    RemoveAll();
    bool ok = false;
    try {
        ok = ReadLines(source);
    } catch (const std::bad_alloc&) {
    }
    // Its room, as large as the largest section, is not needed again until the next read.
    m_astrPending = {};
    // Each map is derived once, when all lines of its section are there (a section may come
    // in several parts), and after a failed read too, so that what was read can be looked up.
    for (const auto& section : m_sections)
        section->RebuildMap();
    return ok;
}

// Splits the text into lines: LF ends a line, CR is dropped wherever it stands, and a last
// line without LF counts unless it holds nothing but CRs. After a read error the incomplete
// last line is left out.
bool CIniFile::ReadLines(CByteSource& source)
{
    std::string& text = m_strText;
    const bool complete = ReadAll(source, text);
    char* position = text.data();
    char* const end = position + text.size();
    while (position < end) {
        auto* lf = static_cast<char*>(std::memchr(position, '\n', end - position));
        if (!lf && (!complete || std::all_of(position, end, [](char c) { return c == '\r'; })))
            break;
        char* const stop = lf ? lf : end;
        if (!ProcessLine(TrimmedWithoutCR(position, stop)))
            return false;
        position = stop + 1;
    }
    FinishSection();
    return complete;
}

bool CIniFile::ProcessLine(std::string_view line)
{
    if (!m_pCurSection && !(m_pCurSection = GetSection({})))
        return false;
    if (!line.empty() && line[0] == '[') {
        FinishSection();
        m_pCurSection = GetSection(line);
        return m_pCurSection != nullptr;
    }
    m_astrPending.push_back(line);
    return true;
}

// Hands the lines gathered for the current section over in one piece, so that its array
// grows once, not line by line.
void CIniFile::FinishSection()
{
    if (m_pCurSection)
        m_pCurSection->AppendLines(m_astrPending);
    m_astrPending.clear();
}

bool CIniFile::Save(std::optional<std::string_view> path)
{
    const std::string target = path ? std::string(*path) : m_status.m_szFullName;
    if (target.empty())
        return false;
    if (m_bKeepFile && (!path || target == m_status.m_szFullName)) {
        m_nFileError = EACCES;
        return false;
    }
    // The old file stays whole until the new one is complete on the disk.
    if (!ReplaceFileAtomically(
            target, [this](CByteSink& sink) { return WriteTo(sink); }, &m_nFileError))
        return false;
    m_nFileError = 0;
    GetFileStatus(target, m_status);
    return true;
}

bool CIniFile::WriteTo(CByteSink& sink) const
{
    // Gathered into large writes: a sink call per line would cost more than the copying.
    CWriteBuffer buffer(sink);
    for (const auto& section : m_sections) {
        const std::string& name = section->GetName();
        if (!name.empty() && !(buffer.Add("[") && buffer.Add(name) && buffer.Add("]\r\n")))
            return false;
        for (std::size_t i = 0; i < section->GetLineCount(); ++i) {
            if (!buffer.Add(section->GetLine(i)) || !buffer.Add("\r\n"))
                return false;
        }
    }
    return buffer.Flush();
}

bool CIniFile::ReloadIfChanged()
{
    if (!m_bAutoReload || m_status.m_szFullName.empty())
        return false;
    CFileStatus current;
    if (!GetFileStatus(m_status.m_szFullName, current))
        return false;
    return current.m_mtime > m_status.m_mtime && Load();
}
