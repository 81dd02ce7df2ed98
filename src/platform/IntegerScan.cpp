#include "platform/IntegerScan.h"

#include "platform/TextUtil.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::size_t ScanInteger(std::string_view text, int& value)
{
    const std::string_view number = TrimLeft(text);
    std::size_t length = 0;
    if (length < number.size() && (number[length] == '+' || number[length] == '-'))
        ++length;
    const std::size_t firstDigit = length;
    while (length < number.size() && IsDigit(number[length]))
        ++length;
    if (length == firstDigit)
        return 0;
    value = AsciiToInt(number.substr(0, length));
    return text.size() - number.size() + length;
}

std::size_t ScanSeparatedIntegers(std::string_view text, char separator, std::span<int> values)
{
    std::size_t found = 0;
    while (found < values.size()) {
        if (found > 0) {
            if (text.empty() || text.front() != separator)
                break;
            text.remove_prefix(1);
        }
        const std::size_t used = ScanInteger(text, values[found]);
        if (used == 0)
            break;
        text.remove_prefix(used);
        ++found;
    }
    return found;
}
