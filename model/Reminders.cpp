#include "model/Reminders.h"

#include <exception>

namespace tilava {

namespace {

// Day files belong to a day of the year, so any four years (one 29 February among them) hold
// every file there is: when they list nothing, no later day will.
constexpr int DniStvorrocia = 4 * 365 + 1;

} // namespace

Reminders Reminders::Zostav(TDayNotes& poznamky, std::chrono::sys_days dnes, int dopredu) {
    Reminders r;
    try {
        for (int d = 0; d <= dopredu && r.riadky.size() < MaxRiadkov; ++d) {
            if (r.riadky.empty() && d >= DniStvorrocia)
                break;
            const std::chrono::sys_days den = dnes + std::chrono::days{d};
            poznamky.Nacitaj(std::chrono::year_month_day{den});
            if (!poznamky.Pripomenut())
                continue;
            for (int j = 1; j <= poznamky.Pocet() && r.riadky.size() < MaxRiadkov; ++j) {
                if (!r.riadky.empty())
                    r.text += Oddelovac;
                ReminderLine riadok{poznamky.DruhPolozky(j), poznamky.PopisPolozky(j)};
                r.text += riadok.text;
                r.riadky.push_back(std::move(riadok));
            }
        }
    } catch (const std::exception& e) {
        r.chyba = e.what();
    }
    return r;
}

std::string Reminders::Tooltip(std::string_view datum, std::size_t pocet) {
    std::string tip = "Tilava: ";
    tip += datum;
    tip += "\nPočet pripomienok na dnes: ";
    tip += std::to_string(pocet);
    return tip;
}

} // namespace tilava
