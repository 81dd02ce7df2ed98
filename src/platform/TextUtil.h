#pragma once

#include <cstddef>
#include <string_view>

// White space of the profile and the lists: space, tab, CR, LF, vertical tab, form feed.
constexpr bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Inline: every lookup trims its section and key, which nearly always have no blanks to lose.
inline std::string_view TrimLeft(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    return text.substr(start);
}

inline std::string_view TrimRight(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    return text.substr(0, end);
}

inline std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

// The C library's atoi rules (leading white space, optional sign, digits up to the first other
// character, 0 without digits), except that a number beyond the int range saturates instead of
// being undefined.
int AsciiToInt(std::string_view text);
