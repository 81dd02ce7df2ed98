#include "platform/WebAddress.h"

#include "platform/TextCase.h"

#include <algorithm>

bool IsWebAddress(std::string_view text)
{
    const std::size_t colon = text.find("://");
    if (colon == std::string_view::npos)
        return false;
    const std::string scheme = MakeUpper(text.substr(0, colon));
    if (scheme != "HTTP" && scheme != "HTTPS")
        return false;
    const std::string_view rest = text.substr(colon + 3);
    if (rest.empty() || rest.front() == '/' || rest.front() == '?' || rest.front() == '#')
        return false;
    // A blank or a line break would end the address in a profile line or a curl call.
    return std::none_of(text.begin(), text.end(),
        [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == '\x7f'; });
}
