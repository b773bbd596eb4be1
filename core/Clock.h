#pragma once

#include <chrono>

namespace tilava {

// A local calendar date with the time of day, as the user's wall clock shows it.
struct LocalDateTime {
    std::chrono::sys_days date{};           // the local date (the time zone already applied)
    std::chrono::milliseconds timeOfDay{0}; // time since local midnight, 0 .. 86'399'999

    std::chrono::year_month_day Datum() const { return std::chrono::year_month_day{date}; }
    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// The one source of "now": nothing else reads the system clock, so tests can fix the day.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime Now() const = 0;
};

// The system's local wall clock.
class SystemClock final : public Clock {
public:
    LocalDateTime Now() const override;
};

// A clock that says what it is told; for tests and benchmarks.
class FixedClock final : public Clock {
public:
    explicit FixedClock(LocalDateTime timeNow) : now_(timeNow) {}
    FixedClock(std::chrono::year_month_day datum, std::chrono::milliseconds clockTime = {})
        : now_{std::chrono::sys_days{datum}, clockTime} {}
    LocalDateTime Now() const override { return now_; }
    void Set(LocalDateTime timeNow) { now_ = timeNow; }
    void Set(std::chrono::year_month_day datum, std::chrono::milliseconds clockTime = {}) {
        now_ = {std::chrono::sys_days{datum}, clockTime};
    }

private:
    LocalDateTime now_;
};

} // namespace tilava
