#pragma once

#include <cstddef>

// The default profile as the program carries it (Windows-1252, CR LF), generated at build
// time from res/default_profile.ini. The array holds one extra terminating zero byte that is
// not counted in the size.
extern const unsigned char kDefaultProfileData[];
extern const std::size_t kDefaultProfileSize;
