#pragma once

#include <string>
#include <string_view>

// The one upper-casing of the program: a-z and the Windows-1252 letters that have an upper-case
// partner (ä→Ä, é→É, š→Š, œ→Œ, ÿ→Ÿ …). Letters without one (ß, µ) and all other bytes stay.
// Every case-insensitive lookup and comparison goes through these.
char UpperChar(char c);
std::string MakeUpper(std::string_view text);
// Byte-wise comparison of the upper-cased texts: negative, zero or positive.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualNoCase(std::string_view a, std::string_view b);
