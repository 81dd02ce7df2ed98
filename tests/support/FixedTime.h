#pragma once

#include <ctime>

// The tests' "now": 09:05 local time on 6 December 2026.
inline std::time_t FixedNow()
{
    std::tm local {};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 6;
    local.tm_hour = 9;
    local.tm_min = 5;
    local.tm_isdst = -1;
    return std::mktime(&local);
}
