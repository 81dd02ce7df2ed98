#include "platform/SafeFileName.h"

#include "platform/Cp1252.h"
#include "platform/TextCase.h"

#include <array>
#include <cstring>

namespace {

// Well below the 255 bytes that common file systems allow, leaving room for a temporary suffix.
constexpr std::size_t kMaxNameBytes = 200;
constexpr std::size_t kMaxExtensionBytes = 8;

// Bytes that one Windows-1252 character takes in UTF-8, the file system's encoding.
std::size_t Utf8Bytes(char c)
{
    const char32_t codePoint = Cp1252ToCodePoint(static_cast<unsigned char>(c));
    return codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : 3;
}

std::size_t Utf8Length(std::string_view cp1252)
{
    std::size_t length = 0;
    for (const char c : cp1252)
        length += Utf8Bytes(c);
    return length;
}

// The longest start of text that fits into budget UTF-8 bytes, found in one pass: a name from
// the network may be megabytes long.
std::size_t FittingPrefix(std::string_view text, std::size_t budget)
{
    std::size_t used = 0;
    std::size_t count = 0;
    for (; count < text.size(); ++count) {
        used += Utf8Bytes(text[count]);
        if (used > budget)
            break;
    }
    return count;
}

void Shorten(std::string& name)
{
    if (Utf8Length(name) <= kMaxNameBytes)
        return;
    std::string extension;
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0 && name.size() - dot <= kMaxExtensionBytes) {
        extension = name.substr(dot);
        name.erase(dot);
    }
    name.erase(FittingPrefix(name, kMaxNameBytes - Utf8Length(extension)));
    name += extension;
}

bool IsForbidden(unsigned char c)
{
    return c < 0x20 || c == 0x7F || std::strchr("<>:\"/\\|?*", c) != nullptr;
}

bool IsReservedDeviceName(std::string_view name)
{
    static constexpr std::array<std::string_view, 6> kPlain
        = { "CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$" };
    std::string base = MakeUpper(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (std::string_view reserved : kPlain) {
        if (base == reserved)
            return true;
    }
    // COM1..COM9 and LPT1..LPT9; Windows also reserves the superscript digits 1, 2 and 3.
    if (base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT"))) {
        const char digit = base[3];
        return (digit >= '1' && digit <= '9') || digit == '\xB9' || digit == '\xB2'
            || digit == '\xB3';
    }
    return false;
}

} // namespace

std::string SafeFileName(std::string_view name)
{
    std::string safe(name);
    Shorten(safe);
    for (char& c : safe) {
        if (IsForbidden(static_cast<unsigned char>(c)))
            c = '_';
    }
    for (std::size_t i = 0; i + 1 < safe.size(); ++i) {
        if (safe[i] == '.' && safe[i + 1] == '.')
            safe[i] = safe[i + 1] = '_';
    }
    for (auto c = safe.rbegin(); c != safe.rend() && (*c == '.' || *c == ' '); ++c)
        *c = '_';
    if (safe.empty())
        return "_";
    if (IsReservedDeviceName(safe))
        safe = "_" + safe;
    return safe;
}
