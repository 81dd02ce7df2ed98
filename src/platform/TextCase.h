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

// The order in which a reader looks names up: letters compared without case and without
// accents (É as E, ß as SS, Æ as AE, for every Windows-1252 letter); names that are equal that
// way fall back to byte order, so that the order never depends on where a name started.
int CompareForSorting(std::string_view a, std::string_view b);
