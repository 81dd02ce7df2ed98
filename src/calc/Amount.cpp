#include "calc/Amount.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Keeps only the last point: the others are thousands separators.
std::string UnifyDecimalMark(std::string_view text)
{
    std::string copy(text);
    for (char& c : copy) {
        if (c == ',')
            c = '.';
    }
    const size_t last = copy.rfind('.');
    if (last == std::string::npos)
        return copy;
    std::string result;
    result.reserve(copy.size());
    for (size_t i = 0; i < copy.size(); ++i) {
        if (copy[i] != '.' || i == last)
            result += copy[i];
    }
    return result;
}

// Length of the longest prefix of an unsigned number that atof would read:
// digits, at most one point, and an exponent only when digits follow it.
size_t NumberLength(std::string_view text)
{
    size_t pos = 0;
    size_t digits = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
        ++digits;
    }
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && IsDigit(text[pos])) {
            ++pos;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        size_t exponent = pos + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        if (exponent < text.size() && IsDigit(text[exponent])) {
            pos = exponent;
            while (pos < text.size() && IsDigit(text[pos]))
                ++pos;
        }
    }
    return pos;
}

} // namespace

double ParseAmount(std::string_view text)
{
    const std::string copy = UnifyDecimalMark(text);
    std::string_view rest(copy);
    while (!rest.empty() && IsSpace(rest.front()))
        rest.remove_prefix(1);
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    const std::string_view number = rest.substr(0, NumberLength(rest));
    if (number.empty())
        return 0.0;

    double value = 0.0;
    const auto [end, error] = std::from_chars(
        number.data(), number.data() + number.size(), value, std::chars_format::general);
    // Too large or too small for a double reads as unreadable, as does one beyond the bound.
    if (error != std::errc() || !std::isfinite(value) || value > kMaxAmount)
        return 0.0;
    return negative ? -value : value;
}

std::string FormatFixed(double value, int decimals)
{
    // Large enough for the longest fixed rendering of a double with a few decimals.
    char buffer[std::numeric_limits<double>::max_exponent10 + 64];
    const auto [end, error]
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc())
        return {};
    return std::string(buffer, end);
}

std::string ReplaceDecimal(std::string piece, std::string_view decimal)
{
    if (decimal == ".")
        return piece;
    std::string result;
    result.reserve(piece.size());
    for (char c : piece) {
        if (c == '.')
            result += decimal;
        else
            result += c;
    }
    return result;
}
