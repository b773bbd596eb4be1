#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace tilava {

class TRok;

// One of the widget's three name lines: its caption, the hint to set (none keeps the hint the
// label already has) and whether the line is visible.
struct NameLine {
    std::string text;
    std::optional<std::string> hint;
    bool visible = true;

    friend bool operator==(const NameLine&, const NameLine&) = default;
};

// What the widget's header shows for one day: "Dnes" or "Zajtra", the weekday, the day number
// ("7.") and the three name lines.
struct DayTexts {
    std::string today;
    std::string date;
    std::string datum;
    std::array<NameLine, 3> nameDays;

    // A name of this many characters or more is cut to its first ShortLength characters + "...".
    static constexpr std::size_t LongName = 15;
    static constexpr std::size_t ShortLength = 11;

    // Today's header: two names on the first and second line, a single one on the middle
    // line, the third line always empty. A long name shows shortened and gets its full text
    // as the hint; a short one leaves the hint alone.
    static DayTexts Today(const TRok& rok, std::chrono::sys_days today);

    // Tomorrow's header: only the first name of tomorrow, on the first line, shortened when
    // long, with the shown text as its hint; the other two lines hidden.
    static DayTexts Tomorrow(const TRok& rok, std::chrono::sys_days today);

    // "7." for the 7th of a month.
    static std::string DayNumber(std::chrono::sys_days date);
    // The weekday's name, Monday "Pondelok" to Sunday "Nedeľa".
    static std::string WeekdayName(std::chrono::sys_days date);
    // The text as shown on a name line: whole, or its first 11 characters + "..." from 15 on.
    static std::string Shorten(std::string_view name);

    friend bool operator==(const DayTexts&, const DayTexts&) = default;
};

} // namespace tilava
