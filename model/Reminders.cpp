#include "model/Reminders.h"

#include "core/CalendarWords.h"
#include "core/Utf8.h"
#include "store/NotesError.h"

#include <cstdio>
#include <exception>
#include <optional>

namespace tilava {

namespace {

// Day files belong to a day of the year, so any four years (one 29 February among them) hold
// every file there is: when they list nothing, no later day will.
constexpr int DniStvorrocia = 4 * 365 + 1;

std::string NazovSuboruDna(std::chrono::year_month_day date) {
    char name[16];
    std::snprintf(name, sizeof name, "%02u%02u.txt", static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()));
    return name;
}

} // namespace

std::string Reminders::DayPrefix(std::chrono::sys_days date) {
    const std::chrono::year_month_day datum{date};
    return std::string(WeekdayAbbreviations[std::chrono::weekday{date}.iso_encoding()]) + " " +
           std::to_string(static_cast<unsigned>(datum.day())) + "." +
           std::to_string(static_cast<unsigned>(datum.month())) + ". ";
}

std::string Reminders::ErrorText(std::string_view subor, int line) {
    std::string text = "Súbor ";
    text += subor;
    text += " sa nedá prečítať";
    if (line > 0)
        text += " (riadok " + std::to_string(line) + ")";
    return text;
}

void Reminders::AddDay(TDayNotes& notes, std::chrono::year_month_day date, std::string_view prefix,
                       std::vector<ReminderLine>& lines, std::vector<std::string>& errors) {
    std::optional<ReminderLine> badFile;
    try {
        notes.Nacitaj(date);
    } catch (const NotesError& e) {
        badFile =
            ReminderLine{EntryKind::Poznamka, ErrorText(e.file.filename().string(), e.line), true};
        errors.emplace_back(e.what());
    } catch (const std::exception& e) {
        badFile = ReminderLine{EntryKind::Poznamka, ErrorText(NazovSuboruDna(date), 0), true};
        errors.emplace_back(e.what());
    }
    const auto pridaj = [&](ReminderLine line) {
        line.text.insert(0, prefix);
        line.text = Utf8Shorten(line.text, MaxShownCharacters);
        lines.push_back(std::move(line));
    };
    // A bad file keeps the entries read before its bad record; they are listed as well,
    // followed by the day's own line saying that the rest of its file cannot be read.
    if (notes.Pripomenut())
        for (int j = 1; j <= notes.Pocet() && lines.size() < MaxLines; ++j)
            pridaj({notes.DruhPolozky(j), notes.PopisPolozky(j)});
    if (badFile && lines.size() < MaxLines)
        pridaj(std::move(*badFile));
}

Reminders Reminders::Build(TDayNotes& notes, std::chrono::sys_days today, int daysAhead) {
    Reminders r;
    for (int d = 0; d <= daysAhead && r.lines.size() < MaxLines; ++d) {
        if (r.lines.empty() && d >= DniStvorrocia)
            break;
        const std::chrono::sys_days date = today + std::chrono::days{d};
        AddDay(notes, std::chrono::year_month_day{date}, d == 0 ? std::string{} : DayPrefix(date),
               r.lines, r.errors);
    }
    return r;
}

std::string Reminders::Tooltip(std::string_view datum, std::size_t count) {
    std::string tip = "Tilava: ";
    tip += datum;
    tip += "\nPočet pripomienok na dnes: ";
    tip += std::to_string(count);
    return tip;
}

} // namespace tilava
