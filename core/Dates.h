#pragma once

#include <array>
#include <chrono>

namespace tilava {

// ISO weekday: Monday = 1 .. Sunday = 7.
int IsoWeekday(std::chrono::sys_days date);

// ISO 8601 week number, 1 .. 53 (the week that holds the year's first Thursday is week 1).
int IsoWeekNumber(std::chrono::sys_days date);

// The Monday of the ISO week that holds the day.
std::chrono::sys_days MondayOfWeek(std::chrono::sys_days date);

// Every day of the year, 29 February too (each has its day file), from 1 January on.
const std::array<std::chrono::month_day, 366>& EveryDayOfTheYear();

// Easter Sunday of a Gregorian year (from 1583, the first whole Gregorian year).
std::chrono::year_month_day VelkaNoc(int rok);

} // namespace tilava
