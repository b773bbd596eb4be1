#include "model/DayTexts.h"

#include "core/CalendarWords.h"
#include "core/Dates.h"
#include "core/uRok.h"
#include "core/Utf8.h"

namespace tilava {

namespace {

// A text shown on a name line of today's header.
NameLine dnesnyRiadok(const std::string& nazov) {
    if (Utf8Length(nazov) >= DayTexts::DlhyNazov)
        return {DayTexts::Skrat(nazov), nazov, true};
    return {nazov, std::nullopt, true};
}

} // namespace

std::string DayTexts::CisloDna(std::chrono::sys_days den) {
    const std::chrono::year_month_day datum{den};
    return std::to_string(static_cast<unsigned>(datum.day())) + ".";
}

std::string DayTexts::NazovDna(std::chrono::sys_days den) {
    return std::string(Dni[static_cast<std::size_t>(IsoWeekday(den))]);
}

std::string DayTexts::Skrat(std::string_view nazov) {
    if (Utf8Length(nazov) < DlhyNazov)
        return std::string(nazov);
    return Utf8Left(nazov, KratkaDlzka) + "...";
}

DayTexts DayTexts::Dnes(const TRok& rok, std::chrono::sys_days dnes) {
    DayTexts t;
    t.dnes = "Dnes";
    t.den = NazovDna(dnes);
    t.datum = CisloDna(dnes);
    const TSviatky& zoznam = rok.DajDatum(dnes);
    if (!zoznam.Nazov(2).empty()) {
        t.sviatky[0] = dnesnyRiadok(zoznam.Nazov(1));
        t.sviatky[1] = dnesnyRiadok(zoznam.Nazov(2));
    } else {
        t.sviatky[1] = dnesnyRiadok(zoznam.Nazov(1));
    }
    return t;
}

DayTexts DayTexts::Zajtra(const TRok& rok, std::chrono::sys_days dnes) {
    const auto zajtra = dnes + std::chrono::days{1};
    DayTexts t;
    t.dnes = "Zajtra";
    t.den = NazovDna(zajtra);
    t.datum = CisloDna(zajtra);
    const std::string meno = Skrat(rok.DajDatum(zajtra).Nazov(1));
    t.sviatky[0] = {meno, meno, true};
    t.sviatky[1].visible = false;
    t.sviatky[2].visible = false;
    return t;
}

} // namespace tilava
