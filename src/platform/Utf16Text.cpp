#include "platform/Utf16Text.h"

#include "platform/Cp1252.h"

#include <cstddef>
#include <utility>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

bool ConvertUtf16ToUtf8(std::string& text)
{
    if (text.size() < 2)
        return false;
    const auto byte = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const bool little = byte(0) == 0xFF && byte(1) == 0xFE;
    const bool big = byte(0) == 0xFE && byte(1) == 0xFF;
    if (!little && !big)
        return false;
    const auto unit = [&](std::size_t at) -> char32_t {
        return little ? byte(at) | byte(at + 1) << 8 : byte(at) << 8 | byte(at + 1);
    };
    std::string utf8;
    utf8.reserve(text.size());
    for (std::size_t at = 2; at + 1 < text.size(); at += 2) {
        char32_t cp = unit(at);
        if (IsHighSurrogate(cp) && at + 3 < text.size() && IsLowSurrogate(unit(at + 2))) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
            at += 2;
        } else if (IsHighSurrogate(cp) || IsLowSurrogate(cp)) {
            cp = kReplacement;
        }
        AppendUtf8(utf8, cp);
    }
    text = std::move(utf8);
    return true;
}
