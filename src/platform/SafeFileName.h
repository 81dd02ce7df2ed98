#pragma once

#include <string>
#include <string_view>

// Turns outside text (a server name from a downloaded server list) into a file name that stays
// inside its folder on every platform and still reads like the original: separators, "..",
// control characters, the characters Windows forbids, trailing dots and blanks become "_",
// Windows device names (CON, COM1, LPT1.txt, ...) get a "_" in front, an empty name becomes
// "_", and an overlong name is shortened, keeping a short extension. Windows-1252 in and out.
std::string SafeFileName(std::string_view name);
