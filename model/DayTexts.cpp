#include "model/DayTexts.h"

#include "core/CalendarWords.h"
#include "core/Dates.h"
#include "core/uRok.h"
#include "core/Utf8.h"

namespace tilava {

namespace {

// A text shown on a name line of today's header.
NameLine dnesnyRiadok(const std::string& name) {
    if (Utf8Length(name) >= DayTexts::LongName)
        return {DayTexts::Shorten(name), name, true};
    return {name, std::nullopt, true};
}

} // namespace

std::string DayTexts::DayNumber(std::chrono::sys_days date) {
    const std::chrono::year_month_day datum{date};
    return std::to_string(static_cast<unsigned>(datum.day())) + ".";
}

std::string DayTexts::WeekdayName(std::chrono::sys_days date) {
    return std::string(Dni[static_cast<std::size_t>(IsoWeekday(date))]);
}

std::string DayTexts::Shorten(std::string_view name) {
    if (Utf8Length(name) < LongName)
        return std::string(name);
    return Utf8Left(name, ShortLength) + "...";
}

DayTexts DayTexts::Today(const TRok& rok, std::chrono::sys_days today) {
    DayTexts t;
    t.today = "Dnes";
    t.date = WeekdayName(today);
    t.datum = DayNumber(today);
    const TSviatky& list = rok.DajDatum(today);
    if (!list.Nazov(2).empty()) {
        t.nameDays[0] = dnesnyRiadok(list.Nazov(1));
        t.nameDays[1] = dnesnyRiadok(list.Nazov(2));
    } else {
        t.nameDays[1] = dnesnyRiadok(list.Nazov(1));
    }
    return t;
}

DayTexts DayTexts::Tomorrow(const TRok& rok, std::chrono::sys_days today) {
    const auto tomorrow = today + std::chrono::days{1};
    DayTexts t;
    t.today = "Zajtra";
    t.date = WeekdayName(tomorrow);
    t.datum = DayNumber(tomorrow);
    const std::string meno = Shorten(rok.DajDatum(tomorrow).Nazov(1));
    t.nameDays[0] = {meno, meno, true};
    t.nameDays[1].visible = false;
    t.nameDays[2].visible = false;
    return t;
}

} // namespace tilava
