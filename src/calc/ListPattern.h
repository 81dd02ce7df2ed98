#pragma once

#include <string>
#include <string_view>
#include <vector>

// White space as the C library's isspace sees it in the C locale.
inline bool IsScanSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One value read by a scan pattern: the characters converted and, for "%d", their number.
struct CScanValue {
    bool bNumber = false;
    int nNumber = 0;
    std::string strText;
};

// Words longer than this are not read at all (see ScanListPattern).
inline constexpr size_t kMaxScanWord = 127;

// Matches text against a shopping-list template with the rules of sscanf: white space in the
// pattern matches any run of white space, also none; "%d" skips white space and reads an
// optionally signed decimal integer that fits 32 bits; "%s" skips white space and reads a
// word of non-white-space; any other character must match exactly. Fills values with the
// conversions made before the first mismatch or the end of the text and returns their count.
//
// A word of more than kMaxScanWord characters is rejected, not cut: cutting would leave the
// word's tail to be read as the next word, so a mismatch there is the honest result. Any other
// "%" conversion is a mismatch as well.
int ScanListPattern(
    std::string_view text, std::string_view pattern, std::vector<CScanValue>& values);
