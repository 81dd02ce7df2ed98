#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// White space of the profile and the lists: space, tab, CR, LF, vertical tab, form feed.
constexpr bool IsBlank(char c)
{
    // Space and the codes 9 to 13 (tab, LF, vertical tab, form feed, CR) as bits of one word.
    constexpr std::uint64_t kBlanks
        = (std::uint64_t { 1 } << ' ') | (std::uint64_t { 0x1F } << '\t');
    const auto code = static_cast<unsigned char>(c);
    return code <= ' ' && ((kBlanks >> code) & 1) != 0;
}

// Inline: every lookup trims its section and key, which nearly always have no blanks to lose.
inline std::string_view TrimLeft(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

inline std::string_view TrimRight(std::string_view text)
{
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

inline std::string_view Trim(std::string_view text)
{
    return TrimRight(TrimLeft(text));
}

// The C library's atoi rules (leading white space, optional sign, digits up to the first other
// character, 0 without digits), except that a number beyond the int range saturates instead of
// being undefined.
int AsciiToInt(std::string_view text);
