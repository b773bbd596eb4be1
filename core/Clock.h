#pragma once

#include <chrono>

namespace tilava {

// A local calendar date with the time of day, as the user's wall clock shows it.
struct LocalDateTime {
    std::chrono::sys_days den{};         // the local date (the time zone already applied)
    std::chrono::milliseconds casDna{0}; // time since local midnight, 0 .. 86'399'999

    std::chrono::year_month_day Datum() const { return std::chrono::year_month_day{den}; }
    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// The one source of "now": nothing else reads the system clock, so tests can fix the day.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime Teraz() const = 0;
};

// The system's local wall clock.
class SystemClock final : public Clock {
public:
    LocalDateTime Teraz() const override;
};

// A clock that says what it is told; for tests and benchmarks.
class FixedClock final : public Clock {
public:
    explicit FixedClock(LocalDateTime teraz) : teraz_(teraz) {}
    FixedClock(std::chrono::year_month_day datum, std::chrono::milliseconds cas = {})
        : teraz_{std::chrono::sys_days{datum}, cas} {}
    LocalDateTime Teraz() const override { return teraz_; }
    void Nastav(LocalDateTime teraz) { teraz_ = teraz; }
    void Nastav(std::chrono::year_month_day datum, std::chrono::milliseconds cas = {}) {
        teraz_ = {std::chrono::sys_days{datum}, cas};
    }

private:
    LocalDateTime teraz_;
};

} // namespace tilava
