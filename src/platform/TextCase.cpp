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

unsigned char Upper(char c)
{
    return g_upperCase[static_cast<unsigned char>(c)];
}

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

} // namespace

std::string SortingKey(std::string_view text)
{
    static const std::array<std::string, 256> table = MakeSortTable();
    std::string key;
    key.reserve(text.size());
    for (char c : text)
        key += table[static_cast<unsigned char>(c)];
    return key;
}

char UpperChar(char c)
{
    return static_cast<char>(Upper(c));
}

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

// The table's rules, for eight bytes at once: a key with an umlaut is common, and a lookup in
// the table byte by byte cost several times this.
std::uint64_t UpperWordWithLatin(std::uint64_t word)
{
    const std::uint64_t high = word & kEveryHighBit;
    const std::uint64_t low7 = word & ~kEveryHighBit;
    // a-z, and à-þ but ÷ (0xE0-0xFE but 0xF7), lie 0x20 above their partners.
    const std::uint64_t ascii = BytesBetween(low7, 'a', 'z') & ~high;
    const std::uint64_t latin
        = BytesBetween(low7, 0x60, 0x7E) & ~BytesBetween(low7, 0x77, 0x77) & high;
    // š, œ, ž (0x9A, 0x9C, 0x9E, the even ones from 0x9A to 0x9E) lie 0x10 above theirs.
    const std::uint64_t caron = BytesBetween(low7, 0x1A, 0x1E) & ~(low7 << 7) & high;
    // ÿ (0xFF) lies 0x60 above Ÿ (0x9F).
    const std::uint64_t diaeresis = BytesBetween(low7, 0x7F, 0x7F) & high;
    // Each byte loses at most its own value: no borrow from the next one.
    return word - ((ascii | latin | diaeresis) >> 2) - (caron >> 3) - (diaeresis >> 1);
}

int CompareForSorting(std::string_view a, std::string_view b)
{
    const int folded = SortingKey(a).compare(SortingKey(b));
    if (folded != 0)
        return folded;
    return a.compare(b);
}
