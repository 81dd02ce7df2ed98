#include "profile/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/ByteSink.h"
#include "platform/ByteSource.h"
#include "platform/TextCase.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// The section name that an argument designates, as a view into it.
std::string_view NormalizedView(std::string_view name)
{
    name = Trim(name);
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        name = Trim(name.substr(1, name.size() - 2));
    return name;
}

constexpr std::size_t kReadChunk = 16 * 1024;

// Reads the source to its end; false on a read error, with the bytes read before it in text.
bool ReadAll(CByteSource& source, std::string& text)
{
    char chunk[kReadChunk];
    for (;;) {
        const std::ptrdiff_t count = source.Read(chunk, sizeof chunk);
        if (count < 0 || count > static_cast<std::ptrdiff_t>(sizeof chunk))
            return false;
        if (count == 0)
            return true;
        text.append(chunk, static_cast<std::size_t>(count));
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

} // namespace

CIniFile::CIniFile(std::optional<std::string_view> path)
{
    if (path)
        Load(path);
}

CIniFile::~CIniFile() = default;

bool CIniFile::CNameEqual::operator()(std::string_view a, std::string_view b) const
{
    return a.size() == b.size() && EqualNoCase(a, b);
}

std::string CIniFile::NormalizeSectionName(std::string_view name)
{
    return std::string(NormalizedView(name));
}

std::string CIniFile::GetString(std::string_view section, std::string_view key,
                                std::string_view defaultValue)
{
    ReloadIfChanged();
    const CIniSection* found = FindSection(section);
    return found ? found->GetValue(key, defaultValue) : std::string(defaultValue);
}

bool CIniFile::WriteString(std::string_view section, std::optional<std::string_view> key,
                           std::optional<std::string_view> value)
{
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
    const auto found = m_mapSections.find(NormalizedView(name));
    return found != m_mapSections.end() ? found->second : nullptr;
}

CIniSection* CIniFile::GetSection(std::string_view name)
{
    const std::string_view normalized = NormalizedView(name);
    const auto found = m_mapSections.find(normalized);
    if (found != m_mapSections.end())
        return found->second;
    try {
        m_sections.push_back(std::make_unique<CIniSection>(normalized));
        CIniSection* created = m_sections.back().get();
        m_mapSections.emplace(std::string(normalized), created);
        return created;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Returns false when there is no such section.
bool CIniFile::RemoveSection(std::string_view name)
{
    const auto found = m_mapSections.find(NormalizedView(name));
    if (found == m_mapSections.end())
        return false;
    CIniSection* section = found->second;
    m_mapSections.erase(found);
    if (m_pCurSection == section)
        m_pCurSection = nullptr;
    const auto owner = std::find_if(m_sections.rbegin(), m_sections.rend(),
        [section](const auto& candidate) { return candidate.get() == section; });
    m_sections.erase(std::next(owner).base());
    return true;
}

void CIniFile::RemoveAll()
{
    while (!m_sections.empty())
        m_sections.pop_back();
    m_mapSections.clear();
    m_pCurSection = nullptr;
}

bool CIniFile::Load(std::optional<std::string_view> path)
{
    const std::string target = path ? std::string(*path) : m_status.m_szFullName;
    if (target.empty())
        return false;
    GetFileStatus(target, m_status);
    CFileSource file(m_status.m_szFullName);
    if (!file.IsOpen())
        return false;
    return ReadFrom(file);
}

bool CIniFile::ReadFrom(CByteSource& source)
{
    RemoveAll();
    bool ok = false;
    try {
        ok = ReadLines(source);
    } catch (const std::bad_alloc&) {
    }
    m_astrPending.clear();
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
    std::string text;
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
    if (m_pCurSection) {
        std::vector<std::string>& lines = m_pCurSection->Lines();
        lines.insert(lines.end(), m_astrPending.begin(), m_astrPending.end());
    }
    m_astrPending.clear();
}

bool CIniFile::Save(std::optional<std::string_view> path)
{
    const std::string target = path ? std::string(*path) : m_status.m_szFullName;
    if (target.empty())
        return false;
    // The old file stays whole until the new one is complete on the disk.
    if (!ReplaceFileAtomically(target, [this](CByteSink& sink) { return WriteTo(sink); }))
        return false;
    GetFileStatus(target, m_status);
    return true;
}

bool CIniFile::WriteTo(CByteSink& sink) const
{
    static constexpr char kLineEnd[] = "\r\n";
    for (const auto& section : m_sections) {
        const std::string& name = section->GetName();
        if (!name.empty()
            && !(sink.Write("[", 1) && sink.Write(name.data(), name.size())
                && sink.Write("]\r\n", 3)))
            return false;
        for (const std::string& line : section->Lines()) {
            if (!sink.Write(line.data(), line.size()) || !sink.Write(kLineEnd, 2))
                return false;
        }
    }
    return true;
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
