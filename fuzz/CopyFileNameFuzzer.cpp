// Any bytes as a server name become a copy-file name that stays in its folder on every
// platform: short, without separators, "..", control or forbidden characters, trailing dots
// or blanks, and no device name; a name that needed no change comes back as it was.
#include "FuzzCheck.h"

#include "platform/Cp1252.h"
#include "platform/SafeFileName.h"
#include "platform/TextCase.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kMaxBytes = 200;

bool IsForbidden(unsigned char c)
{
    return c < 0x20 || c == 0x7F || std::strchr("<>:\"/\\|?*", c) != nullptr;
}

bool IsDeviceName(std::string_view name)
{
    std::string base = MakeUpper(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$"
        || base == "CONOUT$")
        return true;
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT"))
        && ((base[3] >= '1' && base[3] <= '9') || base[3] == '\xB9' || base[3] == '\xB2'
            || base[3] == '\xB3');
}

bool NeedsNoChange(std::string_view name)
{
    if (name.empty() || Cp1252ToUtf8(name).size() > kMaxBytes || IsDeviceName(name)
        || name.find("..") != std::string_view::npos || name.back() == '.' || name.back() == ' ')
        return false;
    for (const char c : name)
        if (IsForbidden(static_cast<unsigned char>(c)))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    const std::string safe = SafeFileName(name);

    FuzzCheck(!safe.empty(), "a name is never empty");
    // A device name gets one "_" in front, after shortening.
    FuzzCheck(Cp1252ToUtf8(safe).size() <= kMaxBytes + 1, "a name fits into 200 UTF-8 bytes");
    for (const char c : safe)
        FuzzCheck(!IsForbidden(static_cast<unsigned char>(c)),
            "no separator, control or forbidden character");
    FuzzCheck(safe.find("..") == std::string::npos, "no parent folder");
    FuzzCheck(safe.back() != '.' && safe.back() != ' ', "no trailing dot or blank");
    FuzzCheck(!IsDeviceName(safe), "no device name");
    if (NeedsNoChange(name))
        FuzzCheck(safe == name, "a harmless name stays as it is");
    return 0;
}
