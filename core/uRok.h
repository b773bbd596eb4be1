#pragma once

#include "core/Clock.h"
#include "core/uDen.h"

#include <array>
#include <chrono>
#include <string>
#include <string_view>

namespace tilava {

// The year calendar: a Slovak and a Czech day list for every day and month
// (impossible dates such as 31 April included, and empty). It knows no years.
class TRok {
public:
    TRok() = default;
    virtual ~TRok() = default;
    TRok(const TRok&) = delete;
    TRok& operator=(const TRok&) = delete;

    // Adds every name-day and holiday text, the Slovak table first.
    void Naplnit();
    // Appends to the Slovak table for language 's', to the Czech one for any other letter.
    // Throws std::out_of_range for a day outside 1..31 or a month outside 1..12.
    void Pridaj(int date, int monthNumber, char language, std::string name, bool nameDay);
    // The list of a day in the table JazykSK selects. It lives as long as the calendar.
    // A day or month outside 1..31 / 1..12 gets an empty list.
    const TSviatky& DajDen(int date, int monthNumber) const;
    // DajDen of the date's day and month; the year and the time of day do not count.
    const TSviatky& DajDatum(std::chrono::year_month_day datum) const;
    const TSviatky& DajDatum(std::chrono::sys_days datum) const;
    const TSviatky& DajDatum(const LocalDateTime& datum) const;

    bool JazykSK = true;

    using Table = std::array<std::array<TSviatky, 12>, 31>; // [date - 1][monthNumber - 1]
    Table TabulkaSK;
    Table TabulkaCZ;
};

} // namespace tilava
