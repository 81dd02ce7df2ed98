#include "window/ProfileFormat.h"

#include <cstdio>

namespace {

// Length of the conversion at the start of text that we fill ("%d", "%02d"), else 0.
size_t FilledConversion(std::string_view text, int& width)
{
    if (text.starts_with("%d")) {
        width = 0;
        return 2;
    }
    if (text.starts_with("%02d")) {
        width = 2;
        return 4;
    }
    return 0;
}

} // namespace

std::string FormatNumbers(std::string_view text, std::initializer_list<int> numbers)
{
    std::string result;
    const int* next = numbers.begin();
    size_t i = 0;
    while (i < text.size()) {
        const std::string_view rest = text.substr(i);
        int width = 0;
        if (rest.starts_with("%%")) {
            result += '%';
            i += 2;
        } else if (const size_t length = FilledConversion(rest, width);
                   length && next != numbers.end()) {
            char digits[16];
            std::snprintf(digits, sizeof digits, "%0*d", width, *next++);
            result += digits;
            i += length;
        } else {
            result += text[i++];
        }
    }
    return result;
}

std::string RemoveAll(std::string text, std::string_view what)
{
    if (what.empty())
        return text;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at))
        text.erase(at, what.size());
    return text;
}

std::string ExpandLineBreaks(std::string_view text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            result += '\n';
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}
