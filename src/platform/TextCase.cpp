#include "platform/TextCase.h"

#include <array>

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

constexpr std::array<unsigned char, 256> kUpper = MakeUpperTable();

unsigned char Upper(char c) { return kUpper[static_cast<unsigned char>(c)]; }

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

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}
