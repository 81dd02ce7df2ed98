#pragma once

#include <ctime>

// "Now" for everything that stamps or compares dates, so tests can fix today.
class IClock {
public:
    virtual ~IClock() = default;
    virtual std::time_t Now() const = 0;
};

class CSystemClock : public IClock {
public:
    std::time_t Now() const override;
};

class CFixedClock : public IClock {
public:
    explicit CFixedClock(std::time_t now)
        : m_now(now)
    {
    }
    std::time_t Now() const override { return m_now; }
    void Set(std::time_t now) { m_now = now; }

private:
    std::time_t m_now;
};

// The local calendar time of a moment (thread-safe, unlike std::localtime).
std::tm LocalTime(std::time_t time);
