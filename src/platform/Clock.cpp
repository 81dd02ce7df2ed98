#include "platform/Clock.h"

std::time_t CSystemClock::Now() const
{
    return std::time(nullptr);
}

std::tm LocalTime(std::time_t time)
{
    std::tm result {};
#ifdef _WIN32
    localtime_s(&result, &time);
#else
    localtime_r(&time, &result);
#endif
    return result;
}
