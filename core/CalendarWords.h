#pragma once

#include <array>
#include <string_view>

namespace tilava {

// The calendar's words, Slovak, in one place. Weekdays are indexed 1 (Monday) to 7 (Sunday)
// and months 1 (January) to 12; index 0 is unused.

// "Pondelok" .. "Nedeľa", as a day is headed.
extern const std::array<std::string_view, 8> Dni;
// "Január" .. "December", as a month is headed.
extern const std::array<std::string_view, 13> Mesiace;
// "Po", "Ut", "St", "Št", "Pi", "So", "Ne": a day in a list of dates.
extern const std::array<std::string_view, 8> WeekdayAbbreviations;
// "januára" .. "decembra": the month after a day's number ("24. marca").
extern const std::array<std::string_view, 13> MonthsAfterDay;

} // namespace tilava
