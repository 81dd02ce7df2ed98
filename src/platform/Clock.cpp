#include "platform/Clock.h"

std::time_t CSystemClock::Now() const { return std::time(nullptr); }

std::tm LocalTime(std::time_t time)
{
    std::tm result {};
    localtime_r(&time, &result);
    return result;
}
