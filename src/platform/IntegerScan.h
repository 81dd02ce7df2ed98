#pragma once

#include <cstddef>
#include <span>
#include <string_view>

// Reads the numbers of "%d.%d" (the version) and "%d-%d-%d" (a date) the way sscanf would,
// but with values beyond the int range saturating instead of undefined.

// One "%d" at the start of text: white space, an optional sign and at least one digit.
// Returns the number of bytes consumed, 0 when there is no number.
std::size_t ScanInteger(std::string_view text, int& value);

// Numbers separated by one literal character: how many of values were filled before the
// text stopped matching.
std::size_t ScanSeparatedIntegers(std::string_view text, char separator, std::span<int> values);
