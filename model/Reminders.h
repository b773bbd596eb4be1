#pragma once

#include "store/uPoznamky.h"

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace tilava {

// One line of the widget's reminder list: the entry's text and the kind that colours its bar.
struct ReminderLine {
    EntryKind kind = EntryKind::Poznamka;
    std::string text;
    // The line stands for a day file that cannot be read (its text says which and where).
    bool error = false;

    friend bool operator==(const ReminderLine&, const ReminderLine&) = default;
};

// The widget's reminder list: the entries of today and of the `Dopredu` days after it whose
// day is marked to be listed, in day order and within a day in stored order; a line of a day
// after today is led by its day ("Po 31.3. Zubár"). A day file that cannot be read gets one
// line of its own after the entries read before its bad record, and the days around it are
// listed as usual.
struct Reminders {
    std::vector<ReminderLine> lines;
    // The notes store's messages for the day files that could not be read, in day order:
    // which file, which line and what is wrong there.
    std::vector<std::string> errors;

    // The widget has a bar for each line and keeps at most this many.
    static constexpr std::size_t MaxLines = 100;
    // A line keeps at most this many characters, then "…": a bar shows a few lines, and an
    // entry of a megabyte from an import or a hand edit must not hold up the widget's start.
    // The week window shows the whole text.
    static constexpr std::size_t MaxShownCharacters = 400;

    // Loads today and the days after it into `notes` one after another. A negative
    // `daysAhead` lists nothing; listing stops at MaxLines lines.
    static Reminders Build(TDayNotes& notes, std::chrono::sys_days today, int daysAhead);

    // Loads `date` into `notes` and, when the day is marked to be listed, adds its entries
    // to `lines`, each text led by `prefix` and cut to MaxShownCharacters; a day file that
    // cannot be read adds its own line after the entries read before its bad record, and its
    // message goes to `errors`. Adds nothing once `lines` holds MaxLines lines.
    static void AddDay(TDayNotes& notes, std::chrono::year_month_day date, std::string_view prefix,
                       std::vector<ReminderLine>& lines, std::vector<std::string>& errors);

    // What leads a line of another day than today: the weekday's abbreviation, the day and the
    // month, then a blank: "Ne 6.12. ".
    static std::string DayPrefix(std::chrono::sys_days date);

    // The line of a day file that cannot be read: "Súbor 0331.txt sa nedá prečítať (riadok 3)",
    // without the line part when the file could not be read at all (`line` 0).
    static std::string ErrorText(std::string_view subor, int line);

    // The tray icon's tooltip: "Tilava: " + the date as the user writes it, a line feed, then
    // "Počet pripomienok na dnes: " + the number of lines listed.
    static std::string Tooltip(std::string_view datum, std::size_t count);
};

} // namespace tilava
