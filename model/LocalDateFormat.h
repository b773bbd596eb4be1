#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace tilava {

// How the user writes dates (the region settings of the desktop): the widget records the day it
// ran in this form and reads it back at the next start. The window layer implements it with the
// system's locale; tests give a fixed one.
class LocalDateFormat {
public:
    virtual ~LocalDateFormat() = default;

    // The day in the user's short date format, as the tooltip and "Now" have it.
    virtual std::string ShortDate(std::chrono::sys_days day) const = 0;
    // The short date format's pattern (d, dd, M, MM, yy, yyyy, MMM, MMMM and what stands
    // between them).
    virtual std::string ShortPattern() const = 0;
    // The months' names a pattern may use, a dozen after another (see MissedDays::ReadDate).
    virtual std::vector<std::string> MonthNames() const = 0;
};

} // namespace tilava
