#pragma once

#include "model/Reminders.h"

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tilava {

class TDayNotes;

// What the user missed: the entries of the days on which the program did not run, found from
// the date the last run recorded in "Now" every few seconds.
struct MissedDays {
    // At most this many days before today are listed, the latest ones.
    static constexpr int MaxDays = 14;

    // The date in `text` as the program recorded it: in the user's short date format `pattern`
    // (a pattern of d, dd, M, MM, yy, yyyy and the characters between them, as the user's
    // settings give it; MMM and MMMM stand for a month's name out of `months`, where entry i
    // names month i % 12 + 1, so short, long and other forms can be given one dozen after
    // another; ddd and dddd for a weekday's name, which is passed over), or in another numeric
    // form an earlier run or another system wrote (day, month and year in the order `pattern`
    // puts them, or year first). A two-digit year is the latest one not after `today`.
    // Nothing for a text that holds no valid date or one after `today`.
    static std::optional<std::chrono::year_month_day>
    ReadDate(std::string_view text, std::string_view pattern, std::chrono::sys_days today,
             std::span<const std::string> months = {});

    // The date as a run records it beside "Now", in the one form no language or region
    // changes: "2026-12-08" (ISO 8601), under the value "NowIso", which older versions ignore.
    static std::string IsoText(std::chrono::sys_days date);

    // The date of the last run from that record: a valid date not after `today`, given only
    // when the "Now" text beside it may name the same day (each number in it is that date's
    // day, month or year), since a version that records only "Now" may have run after it.
    // Nothing otherwise, and "Now" is read as before.
    static std::optional<std::chrono::year_month_day>
    LastRunFromIso(std::string_view iso, std::string_view now, std::chrono::sys_days today);

    // The days between the last run and today, oldest first: none when the last run was today
    // or yesterday or is not known.
    static std::vector<std::chrono::sys_days> Dni(std::optional<std::chrono::year_month_day> last,
                                                  std::chrono::sys_days today);

    // The entries of those days whose day is marked to be listed, each line led by its day:
    // "So 6.12. Jano 30. narodeniny". A day file that cannot be read gets its own line, as in
    // the reminder list.
    static std::vector<ReminderLine> Build(TDayNotes& notes,
                                           std::optional<std::chrono::year_month_day> last,
                                           std::chrono::sys_days today);
};

} // namespace tilava
