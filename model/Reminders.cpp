#include "model/Reminders.h"

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

std::string NazovSuboruDna(std::chrono::year_month_day den) {
    char nazov[16];
    std::snprintf(nazov, sizeof nazov, "%02u%02u.txt", static_cast<unsigned>(den.month()),
                  static_cast<unsigned>(den.day()));
    return nazov;
}

} // namespace

std::string Reminders::TextChyby(std::string_view subor, int riadok) {
    std::string text = "Súbor ";
    text += subor;
    text += " sa nedá prečítať";
    if (riadok > 0)
        text += " (riadok " + std::to_string(riadok) + ")";
    return text;
}

void Reminders::PridajDen(TDayNotes& poznamky, std::chrono::year_month_day den,
                          std::string_view predpona, std::vector<ReminderLine>& riadky,
                          std::vector<std::string>& chyby) {
    std::optional<ReminderLine> zlySubor;
    try {
        poznamky.Nacitaj(den);
    } catch (const NotesError& e) {
        zlySubor =
            ReminderLine{TDruh::Poznamka, TextChyby(e.file.filename().string(), e.line), true};
        chyby.emplace_back(e.what());
    } catch (const std::exception& e) {
        zlySubor = ReminderLine{TDruh::Poznamka, TextChyby(NazovSuboruDna(den), 0), true};
        chyby.emplace_back(e.what());
    }
    const auto pridaj = [&](ReminderLine riadok) {
        riadok.text.insert(0, predpona);
        riadok.text = Utf8Shorten(riadok.text, MaxShownCharacters);
        riadky.push_back(std::move(riadok));
    };
    // A bad file keeps the entries read before its bad record; they are listed as well,
    // followed by the day's own line saying that the rest of its file cannot be read.
    if (poznamky.Pripomenut())
        for (int j = 1; j <= poznamky.Pocet() && riadky.size() < MaxRiadkov; ++j)
            pridaj({poznamky.DruhPolozky(j), poznamky.PopisPolozky(j)});
    if (zlySubor && riadky.size() < MaxRiadkov)
        pridaj(std::move(*zlySubor));
}

Reminders Reminders::Zostav(TDayNotes& poznamky, std::chrono::sys_days dnes, int dopredu) {
    Reminders r;
    for (int d = 0; d <= dopredu && r.riadky.size() < MaxRiadkov; ++d) {
        if (r.riadky.empty() && d >= DniStvorrocia)
            break;
        PridajDen(poznamky, std::chrono::year_month_day{dnes + std::chrono::days{d}}, {}, r.riadky,
                  r.chyby);
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
