#pragma once

#include "store/uPoznamky.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilava {

// One line of the widget's reminder list: the entry's text and the kind that colours its bar.
struct ReminderLine {
    TDruh druh = TDruh::Poznamka;
    std::string text;

    friend bool operator==(const ReminderLine&, const ReminderLine&) = default;
};

// The widget's reminder list: the entries of today and of the `Dopredu` days after it whose
// day is marked to be listed, in day order and within a day in stored order.
struct Reminders {
    std::vector<ReminderLine> riadky;
    // The lines joined by a line feed followed by a carriage return.
    std::string text;
    // Why listing stopped early: the notes store's message naming the day file and what is
    // wrong in it. The lines before the failing day file stay.
    std::optional<std::string> chyba;

    // The widget has a bar for each line and keeps at most this many.
    static constexpr std::size_t MaxRiadkov = 100;
    static constexpr std::string_view Oddelovac = "\n\r";

    // Loads today and the days after it into `poznamky` one after another. A negative
    // `dopredu` lists nothing; listing stops at MaxRiadkov lines.
    static Reminders Zostav(TDayNotes& poznamky, std::chrono::sys_days dnes, int dopredu);

    // The tray icon's tooltip: "Tilava: " + the date as the user writes it, a line feed, then
    // "Počet pripomienok na dnes: " + the number of lines listed.
    static std::string Tooltip(std::string_view datum, std::size_t pocet);
};

} // namespace tilava
