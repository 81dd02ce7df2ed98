// Any text read as an amount: finite and within ±10^12; on texts made only of digits, signs,
// points, commas, exponents and blanks it agrees with the C library's strtod after the
// thousands separators are dropped, or is 0 beyond the bound; amounts written with two
// decimals read back.
#include "FuzzCheck.h"

#include "calc/Amount.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool IsSimple(std::string_view text)
{
    return text.find_first_not_of("0123456789+-.,eE \t") == std::string_view::npos;
}

// Commas are points, and only the last point is the decimal point.
std::string KeepLastPoint(std::string text)
{
    for (char& c : text)
        if (c == ',')
            c = '.';
    const std::size_t last = text.rfind('.');
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '.' || i == last)
            result += text[i];
    return result;
}

double Reference(std::string_view text)
{
    const std::string copy = KeepLastPoint(std::string(text));
    return std::strtod(copy.c_str(), nullptr);
}

void CheckWellFormed(double value)
{
    FuzzCheck(std::isfinite(value) && std::fabs(value) <= 1e12, "finite and within the bound");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double value = ParseAmount(text);
    CheckWellFormed(value);

    std::string pointed = text;
    for (char& c : pointed)
        if (c == ',')
            c = '.';
    const double samePointed = ParseAmount(pointed);
    FuzzCheck(samePointed == value || (std::isnan(samePointed) && std::isnan(value)),
        "a comma reads as a point");

    if (IsSimple(text)) {
        double expected = Reference(text);
        if (std::fabs(expected) > 1e12)
            expected = 0.0;
        // Results below the smallest normal double may come back as 0.
        const bool tiny = std::fabs(expected) < DBL_MIN && value == 0.0;
        FuzzCheck(value == expected || tiny, "agrees with strtod");
    }

    if (std::isfinite(value) && std::fabs(value) < 1e15) {
        const std::string written = FormatFixed(value, 2);
        const double again = ParseAmount(ReplaceDecimal(written, ","));
        FuzzCheck(std::fabs(again - value) <= 0.005 + std::fabs(value) * 1e-15,
            "an amount written with two decimals reads back");
        FuzzCheck(again == ParseAmount(written), "the decimal comma reads like the point");
    }
    return 0;
}
