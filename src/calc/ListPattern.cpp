#include "calc/ListPattern.h"

#include <climits>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

void SkipSpace(std::string_view text, size_t& pos)
{
    while (pos < text.size() && IsScanSpace(text[pos]))
        ++pos;
}

bool ReadNumber(std::string_view text, size_t& pos, CScanValue& value)
{
    const size_t start = pos;
    const bool negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        ++pos;
    const size_t digits = pos;
    long long number = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
        number = number * 10 + (text[pos] - '0');
        if (number > static_cast<long long>(INT_MAX) + 1)
            return false;
    }
    if (pos == digits)
        return false;
    if (negative)
        number = -number;
    if (number > INT_MAX || number < INT_MIN)
        return false;
    value.bNumber = true;
    value.nNumber = static_cast<int>(number);
    value.strText = text.substr(start, pos - start);
    return true;
}

bool ReadWord(std::string_view text, size_t& pos, CScanValue& value)
{
    const size_t start = pos;
    while (pos < text.size() && !IsScanSpace(text[pos]))
        ++pos;
    if (pos == start || pos - start > kMaxScanWord)
        return false;
    value.bNumber = false;
    value.strText = text.substr(start, pos - start);
    return true;
}

} // namespace

int ScanListPattern(
    std::string_view text, std::string_view pattern, std::vector<CScanValue>& values)
{
    values.clear();
    size_t pos = 0;
    for (size_t p = 0; p < pattern.size(); ++p) {
        const char c = pattern[p];
        if (IsScanSpace(c)) {
            SkipSpace(text, pos);
        } else if (c == '%') {
            const char kind = p + 1 < pattern.size() ? pattern[++p] : '\0';
            SkipSpace(text, pos);
            CScanValue value;
            const bool converted = kind == 'd' ? ReadNumber(text, pos, value)
                : kind == 's'                  ? ReadWord(text, pos, value)
                                               : false;
            if (!converted)
                break;
            values.push_back(std::move(value));
        } else if (pos < text.size() && text[pos] == c) {
            ++pos;
        } else {
            break;
        }
    }
    return static_cast<int>(values.size());
}
