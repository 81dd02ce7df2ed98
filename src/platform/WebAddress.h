#pragma once

#include <string_view>

// Whether text is an address the program may open or fetch: "http://" or "https://" (the
// scheme in any letter case) and a host, with no white space or control character anywhere.
// Links and price-list addresses share this rule.
bool IsWebAddress(std::string_view text);
