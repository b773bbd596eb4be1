#pragma once

#include "store/uPoznamky.h"

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace tilava {

// One line of the widget's reminder list: the entry's text and the kind that colours its bar.
struct ReminderLine {
    TDruh druh = TDruh::Poznamka;
    std::string text;
    // The line stands for a day file that cannot be read (its text says which and where).
    bool chyba = false;

    friend bool operator==(const ReminderLine&, const ReminderLine&) = default;
};

// The widget's reminder list: the entries of today and of the `Dopredu` days after it whose
// day is marked to be listed, in day order and within a day in stored order. A day file that
// cannot be read gets one line of its own after the entries read before its bad record, and
// the days around it are listed as usual.
struct Reminders {
    std::vector<ReminderLine> riadky;
    // The notes store's messages for the day files that could not be read, in day order:
    // which file, which line and what is wrong there.
    std::vector<std::string> chyby;

    // The widget has a bar for each line and keeps at most this many.
    static constexpr std::size_t MaxRiadkov = 100;
    // A line keeps at most this many characters, then "…": a bar shows a few lines, and an
    // entry of a megabyte from an import or a hand edit must not hold up the widget's start.
    // The week window shows the whole text.
    static constexpr std::size_t MaxShownCharacters = 400;

    // Loads today and the days after it into `poznamky` one after another. A negative
    // `dopredu` lists nothing; listing stops at MaxRiadkov lines.
    static Reminders Zostav(TDayNotes& poznamky, std::chrono::sys_days dnes, int dopredu);

    // Loads `den` into `poznamky` and, when the day is marked to be listed, adds its entries
    // to `riadky`, each text led by `predpona` and cut to MaxShownCharacters; a day file that
    // cannot be read adds its own line after the entries read before its bad record, and its
    // message goes to `chyby`. Adds nothing once `riadky` holds MaxRiadkov lines.
    static void PridajDen(TDayNotes& poznamky, std::chrono::year_month_day den,
                          std::string_view predpona, std::vector<ReminderLine>& riadky,
                          std::vector<std::string>& chyby);

    // The line of a day file that cannot be read: "Súbor 0331.txt sa nedá prečítať (riadok 3)",
    // without the line part when the file could not be read at all (`riadok` 0).
    static std::string TextChyby(std::string_view subor, int riadok);

    // The tray icon's tooltip: "Tilava: " + the date as the user writes it, a line feed, then
    // "Počet pripomienok na dnes: " + the number of lines listed.
    static std::string Tooltip(std::string_view datum, std::size_t pocet);
};

} // namespace tilava
