#pragma once

#include <string_view>

// White space of the profile and the lists: space, tab, CR, LF, vertical tab, form feed.
constexpr bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);
std::string_view Trim(std::string_view text);

// The C library's atoi rules (leading white space, optional sign, digits up to the first other
// character, 0 without digits), except that a number beyond the int range saturates instead of
// being undefined.
int AsciiToInt(std::string_view text);
