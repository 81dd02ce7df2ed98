#include "window/PriceLine.h"

std::optional<SPriceLine> SPriceLine::Parse(std::string_view line)
{
    line = line.substr(0, kMaxLength);
    const size_t firstTab = line.find('\t');
    if (firstTab == std::string_view::npos)
        return std::nullopt;
    const size_t secondTab = line.find('\t', firstTab + 1);
    if (secondTab == std::string_view::npos)
        return std::nullopt;
    return SPriceLine { std::string(line.substr(0, firstTab)),
        std::string(line.substr(secondTab + 1)), secondTab + 1 };
}

std::string SPriceLine::Committed(std::string_view typed)
{
    // White space and the no-break space that a pasted price may bring along.
    constexpr std::string_view kBlanks = " \t\n\v\f\r\xA0";
    const size_t first = typed.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return std::string(typed.substr(first, typed.find_last_not_of(kBlanks) - first + 1));
}
