#include "platform/TextCase.h"

#include <array>
#include <string>
#include <utility>

namespace {

constexpr std::array<unsigned char, 256> MakeUpperTable()
{
    std::array<unsigned char, 256> table {};
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i);
    for (int c = 'a'; c <= 'z'; ++c)
        table[c] = static_cast<unsigned char>(c - 'a' + 'A');
    // à..þ sit 0x20 above À..Þ; ÷ (0xF7) is the one non-letter in that row.
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7)
            table[c] = static_cast<unsigned char>(c - 0x20);
    table[0x9A] = 0x8A; // š → Š
    table[0x9C] = 0x8C; // œ → Œ
    table[0x9E] = 0x8E; // ž → Ž
    table[0xFF] = 0x9F; // ÿ → Ÿ
    return table;
}

} // namespace

constexpr std::array<unsigned char, 256> g_upperCase = MakeUpperTable();

namespace {

unsigned char Upper(char c) { return g_upperCase[static_cast<unsigned char>(c)]; }

// Each byte's letters for sorting: the upper-case letter without its accent, two letters for
// the ligatures and ß, Þ.
std::array<std::string, 256> MakeSortTable()
{
    std::array<std::string, 256> table;
    for (int i = 0; i < 256; ++i)
        table[i] = std::string(1, static_cast<char>(g_upperCase[i]));
    const std::pair<const char*, const char*> letters[] = {
        { "\xC0\xC1\xC2\xC3\xC4\xC5\xE0\xE1\xE2\xE3\xE4\xE5\xAA", "A" },
        { "\xC6\xE6", "AE" },
        { "\xC7\xE7", "C" },
        { "\xD0\xF0", "D" },
        { "\xC8\xC9\xCA\xCB\xE8\xE9\xEA\xEB", "E" },
        { "\x83", "F" },
        { "\xCC\xCD\xCE\xCF\xEC\xED\xEE\xEF", "I" },
        { "\xD1\xF1", "N" },
        { "\xD2\xD3\xD4\xD5\xD6\xD8\xF2\xF3\xF4\xF5\xF6\xF8\xBA", "O" },
        { "\x8C\x9C", "OE" },
        { "\x8A\x9A", "S" },
        { "\xDF", "SS" },
        { "\xDE\xFE", "TH" },
        { "\xD9\xDA\xDB\xDC\xF9\xFA\xFB\xFC", "U" },
        { "\xDD\xFD\x9F\xFF", "Y" },
        { "\x8E\x9E", "Z" },
    };
    for (const auto& [bytes, folded] : letters)
        for (const char* c = bytes; *c; ++c)
            table[static_cast<unsigned char>(*c)] = folded;
    return table;
}

std::string SortKey(std::string_view text)
{
    static const std::array<std::string, 256> table = MakeSortTable();
    std::string key;
    key.reserve(text.size());
    for (char c : text)
        key += table[static_cast<unsigned char>(c)];
    return key;
}

} // namespace

char UpperChar(char c) { return static_cast<char>(Upper(c)); }

std::string MakeUpper(std::string_view text)
{
    std::string result(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i)
        result[i] = static_cast<char>(Upper(text[i]));
    return result;
}

int CompareNoCase(std::string_view a, std::string_view b)
{
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        const int difference = Upper(a[i]) - Upper(b[i]);
        if (difference != 0)
            return difference;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

std::uint64_t UpperWordByTable(std::uint64_t word)
{
    std::uint64_t upper = 0;
    for (unsigned shift = 0; shift < 64; shift += 8)
        upper |= std::uint64_t { g_upperCase[(word >> shift) & 0xFF] } << shift;
    return upper;
}

namespace {

bool WordsDifferNoCase(std::uint64_t x, std::uint64_t y)
{
    // Most words of a key asked for match the stored key as they are.
    return x != y && UpperWord(x) != UpperWord(y);
}

} // namespace

bool EqualNoCase(std::string_view a, std::string_view b)
{
    const std::size_t size = a.size();
    if (size != b.size())
        return false;
    if (size < 8)
        return !WordsDifferNoCase(LoadWord(a.data(), size), LoadWord(b.data(), size));
    // Whole words from the front, then the last eight bytes, which may overlap the word before
    // them: no word is partial, which spares the branches on how many bytes are left.
    for (std::size_t i = 0; i + 8 < size; i += 8) {
        if (WordsDifferNoCase(LoadWord(a.data() + i, 8), LoadWord(b.data() + i, 8)))
            return false;
    }
    return !WordsDifferNoCase(LoadWord(a.data() + size - 8, 8), LoadWord(b.data() + size - 8, 8));
}

int CompareForSorting(std::string_view a, std::string_view b)
{
    const int folded = SortKey(a).compare(SortKey(b));
    if (folded != 0)
        return folded;
    return a.compare(b);
}
