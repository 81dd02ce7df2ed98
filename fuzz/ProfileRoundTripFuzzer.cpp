// Any bytes read as a profile, written back and read again give the same document; the
// section map agrees with the section array, every key line is found by its key, and editing
// one key leaves every other value as it was.
#include "FuzzCheck.h"

#include "platform/ByteSink.h"
#include "platform/ByteSource.h"
#include "platform/TextCase.h"
#include "platform/TextUtil.h"
#include "profile/IniFile.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Delivers the bytes in uneven pieces, so that lines and CR LF pairs straddle the reads.
class CUnevenSource : public CByteSource {
public:
    CUnevenSource(std::string_view data, std::uint8_t seed)
        : m_data(data)
        , m_seed(seed | 1)
    {
    }

    std::ptrdiff_t Read(char* buffer, std::size_t size) override
    {
        m_seed = static_cast<std::uint8_t>(m_seed * 5 + 1);
        const std::size_t piece
            = std::min({ size, m_data.size(), std::size_t { m_seed % 7u + 1 } });
        std::copy_n(m_data.data(), piece, buffer);
        m_data.remove_prefix(piece);
        return static_cast<std::ptrdiff_t>(piece);
    }

private:
    std::string_view m_data;
    std::uint8_t m_seed;
};

void Read(CIniFile& profile, std::string_view text)
{
    CMemorySource source(text.data(), text.size());
    FuzzCheck(profile.ReadFrom(source), "reading from memory succeeds");
}

std::string Written(const CIniFile& profile)
{
    CMemorySink sink;
    FuzzCheck(profile.WriteTo(sink), "writing to memory succeeds");
    return sink.m_data;
}

// A text of nothing but a "[]" header reads as one empty nameless section, which writes as
// nothing: both are the empty document.
std::size_t SectionCount(const CIniFile& profile)
{
    const bool onlyEmptyNameless = profile.GetSize() == 1 && profile.GetAt(0)->GetName().empty()
        && profile.GetAt(0)->Lines().empty();
    return onlyEmptyNameless ? 0 : profile.GetSize();
}

void CheckSameDocument(const CIniFile& a, const CIniFile& b)
{
    FuzzCheck(SectionCount(a) == SectionCount(b), "same number of sections");
    if (SectionCount(a) == 0)
        return;
    for (std::size_t i = 0; i < a.GetSize(); ++i) {
        FuzzCheck(a.GetAt(i)->GetName() == b.GetAt(i)->GetName(), "same section names");
        FuzzCheck(a.GetAt(i)->Lines() == b.GetAt(i)->Lines(), "same lines");
    }
}

// Upper-cased key -> value of its first key line, by the profile's own rules written out here:
// a key line is not empty, does not begin with ";" and holds "=".
std::map<std::string, std::string> ExpectedValues(const CIniSection& section)
{
    std::map<std::string, std::string> values;
    for (const std::string& line : section.Lines()) {
        const std::string_view text = Trim(line);
        const std::size_t equals = text.find('=');
        if (text.empty() || text.front() == ';' || equals == std::string_view::npos)
            continue;
        values.emplace(
            MakeUpper(Trim(text.substr(0, equals))), std::string(Trim(text.substr(equals + 1))));
    }
    return values;
}

std::vector<std::string> KeysInLineOrder(const CIniSection& section)
{
    std::vector<std::string> keys;
    for (const std::string& line : section.Lines()) {
        const std::string_view text = Trim(line);
        const std::size_t equals = text.find('=');
        if (!text.empty() && text.front() != ';' && equals != std::string_view::npos)
            keys.emplace_back(Trim(text.substr(0, equals)));
    }
    return keys;
}

void CheckValues(const CIniSection& section, const std::map<std::string, std::string>& expected)
{
    for (const auto& [upperKey, value] : expected)
        FuzzCheck(section.GetValue(upperKey, "\x01missing") == value, "every key finds its value");
}

void CheckMapAndArray(const CIniFile& profile)
{
    std::set<std::string> upperNames;
    for (std::size_t i = 0; i < profile.GetSize(); ++i) {
        const CIniSection* section = profile.GetAt(i);
        // Brackets around the name keep a name that has its own brackets from losing them.
        FuzzCheck(profile.FindSection("[" + section->GetName() + "]") == section,
            "FindSection of a section's name returns it");
        FuzzCheck(section->GetName(true) == MakeUpper(section->GetName()), "upper-cased name");
        upperNames.insert(section->GetName(true));

        std::vector<std::string> keys;
        section->GetKeys(keys);
        FuzzCheck(keys == KeysInLineOrder(*section), "GetKeys lists every key line in order");
        CheckValues(*section, ExpectedValues(*section));
    }
    FuzzCheck(upperNames.size() == profile.GetSize(), "no two sections share a name");
}

// Adds a key, changes one and deletes one in every section: the other values stay readable.
void CheckEdits(CIniFile& profile)
{
    for (std::size_t i = 0; i < profile.GetSize(); ++i) {
        CIniSection& section = *profile.GetAt(i);
        std::map<std::string, std::string> expected = ExpectedValues(section);
        const std::vector<std::string> keys = KeysInLineOrder(section);

        const std::string added = "FuzzAdded" + std::to_string(expected.size());
        if (expected.count(MakeUpper(added)) == 0) {
            section.SetValue(added, "new");
            expected[MakeUpper(added)] = "new";
            CheckValues(section, expected);
        }
        if (!keys.empty()) {
            section.SetValue(keys.front(), "changed");
            expected[MakeUpper(keys.front())] = "changed";
            CheckValues(section, expected);

            section.SetValue(keys.back(), std::nullopt);
            expected.erase(MakeUpper(keys.back()));
            FuzzCheck(
                section.GetValue(keys.back(), "\x01gone") == "\x01gone", "a deleted key is gone");
            CheckValues(section, expected);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    CIniFile first;
    first.SetAutoReload(false);
    first.SetAutoSave(false);
    Read(first, input);
    CheckMapAndArray(first);

    CIniFile uneven;
    uneven.SetAutoReload(false);
    uneven.SetAutoSave(false);
    CUnevenSource source(input, size ? data[0] : 0);
    FuzzCheck(uneven.ReadFrom(source), "reading in pieces succeeds");
    CheckSameDocument(first, uneven);

    const std::string text = Written(first);
    CIniFile second;
    second.SetAutoReload(false);
    second.SetAutoSave(false);
    Read(second, text);
    CheckSameDocument(first, second);
    FuzzCheck(Written(second) == text, "writing is stable");

    CheckEdits(second);
    CIniFile third;
    third.SetAutoReload(false);
    third.SetAutoSave(false);
    Read(third, Written(second));
    CheckMapAndArray(third);
    return 0;
}
