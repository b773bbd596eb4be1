#include "exchange/CalendarExport.h"

#include "platform/AtomicFile.h"
#include "platform/SettingsHive.h"
#include "platform/SystemErrorText.h"
#include "store/NotesError.h"
#include "store/uPoznamky.h"

#include <libical/ical.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <set>

namespace tilava {

namespace fs = std::filesystem;
using namespace std::chrono;

namespace {

struct Uvolni {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};

std::string MMDD(month_day date) {
    char text[8];
    std::snprintf(text, sizeof text, "%02u%02u", static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()));
    return text;
}

// 64-bit FNV-1a of the entry's kind, day and month, year and text: the same entry gives the
// same UID in every export, on every system.
std::string Uid(const TNote& z, month_day date) {
    const std::string key = std::to_string(static_cast<int>(z.Druh)) + '\x1F' + MMDD(date) +
                            '\x1F' + std::to_string(z.Rok) + '\x1F' + z.Text;
    std::uint64_t h = 14695981039346656037ull;
    for (const unsigned char c : key) {
        h = (h ^ c) * 1099511628211ull;
    }
    char hex[20];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return std::string(hex) + "@tilava";
}

icaltimetype Day(year_month_day d) {
    icaltimetype t = icaltime_null_date();
    t.year = static_cast<int>(d.year());
    t.month = static_cast<int>(static_cast<unsigned>(d.month()));
    t.day = static_cast<int>(static_cast<unsigned>(d.day()));
    t.is_date = 1;
    return t;
}

bool RokKalendara(std::int32_t rok) {
    return rok >= 1 && rok <= 9999;
}

// Where a recurring event begins: on the day in the year of birth or of the event. A year the
// calendar cannot hold (0 is a birthday whose year is not known) starts it in 2000. The first
// 29 February comes in the first leap year from then on, and the event recurs in leap years.
year_month_day Zaciatok(std::int32_t rok, month_day date) {
    int r = RokKalendara(rok) ? rok : 2000;
    while (r <= 9999 && !(year{r} / date).ok()) {
        ++r;
    }
    return year{r <= 9999 ? r : 2000} / date;
}

std::string Orez(const std::string& s) {
    const auto start = s.find_first_not_of(" \t");
    if (start == std::string::npos) {
        return {};
    }
    return s.substr(start, s.find_last_not_of(" \t") - start + 1);
}

} // namespace

ExportReport ExportCalendar(const fs::path& folder, const fs::path& subor, sys_seconds timeNow,
                            ExistingExport existing) {
    icalerror_set_errors_are_fatal(0);
    ExportReport r;
    const std::unique_ptr<icalcomponent, Uvolni> calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(),
                               icalproperty_new_prodid("-//ZELM//Tilava " TILAVA_VERSION "//SK"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    icalproperty* name = icalproperty_new_x("Tilava");
    icalproperty_set_x_name(name, "X-WR-CALNAME");
    icalcomponent_add_property(calendar.get(), name);

    const icaltimetype peciatka =
        icaltime_from_timet_with_zone(static_cast<std::time_t>(timeNow.time_since_epoch().count()),
                                      0, icaltimezone_get_utc_timezone());
    const icalrecurrencetype rocne = icalrecurrencetype_from_string("FREQ=YEARLY");
    std::set<std::string> writtenUids;

    for (unsigned m = 1; m <= 12; ++m) {
        // 2024 is a leap year: 29 February has its day file too.
        const unsigned dayList = static_cast<unsigned>((year{2024} / month{m} / last).day());
        for (unsigned d = 1; d <= dayList; ++d) {
            const month_day date{month{m}, day{d}};
            TDayNotes notes(folder);
            try {
                notes.Nacitaj(year{2024} / date);
            } catch (const NotesError& e) {
                r.errors.push_back(e.what());
                r.unread.push_back(MMDD(date) + ".txt");
                continue;
            }
            for (int i = 0; i < notes.Pocet(); ++i) {
                const TNote& z = notes.Polozka(i);
                const std::string text = Orez(z.Text);
                if (text.empty()) {
                    ++r.withoutText;
                    continue;
                }
                std::optional<year_month_day> od;
                std::string summary = text;
                std::string description;
                switch (z.Druh) {
                case EntryKind::Poznamka:
                    if (RokKalendara(z.Rok) && (year{z.Rok} / date).ok()) {
                        od = year{z.Rok} / date;
                    } else {
                        r.skipped.push_back(
                            MMDD(date) + ".txt: poznámka „" + text + "“ z roku " +
                            std::to_string(z.Rok) +
                            " – taký deň v kalendári nie je, ani Tilava ju neukazuje.");
                        continue;
                    }
                    break;
                case EntryKind::Narodeniny:
                    summary += " – narodeniny";
                    if (RokKalendara(z.Rok)) {
                        description = "Rok narodenia: " + std::to_string(z.Rok);
                    }
                    break;
                case EntryKind::Vyrocie:
                    summary += " – výročie";
                    if (RokKalendara(z.Rok)) {
                        description = "Rok udalosti: " + std::to_string(z.Rok);
                    }
                    break;
                }
                const std::string uid = Uid(z, date);
                if (!writtenUids.insert(uid).second) {
                    ++r.same;
                    continue;
                }
                const year_month_day start = od ? *od : Zaciatok(z.Rok, date);
                icalcomponent* event = icalcomponent_new_vevent();
                icalcomponent_add_property(event, icalproperty_new_uid(uid.c_str()));
                icalcomponent_add_property(event, icalproperty_new_dtstamp(peciatka));
                icalcomponent_add_property(event, icalproperty_new_dtstart(Day(start)));
                icalcomponent_add_property(
                    event, icalproperty_new_dtend(Day(year_month_day{sys_days{start} + days{1}})));
                if (!od) {
                    icalcomponent_add_property(event, icalproperty_new_rrule(rocne));
                }
                icalcomponent_add_property(event, icalproperty_new_summary(summary.c_str()));
                if (!description.empty()) {
                    icalcomponent_add_property(event,
                                               icalproperty_new_description(description.c_str()));
                }
                // A day of the calendar, not an appointment: the time stays free.
                icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
                icalcomponent_add_component(calendar.get(), event);
                ++r.events;
            }
        }
    }

    const std::unique_ptr<char, decltype(&std::free)> text(
        icalcomponent_as_ical_string_r(calendar.get()), &std::free);
    try {
        std::vector<fs::path> ownFolders{folder};
        if (const auto settings = UserSettingsFolder()) {
            ownFolders.push_back(*settings);
        }
        CheckExportTarget(subor, ownFolders, existing);
        ReplaceFileAtomically(subor, text ? std::string_view(text.get()) : std::string_view(),
                              FolderFlush::Now, kExportSaveRules);
        r.written = true;
    } catch (const FileError& e) {
        r.errors.push_back(e.what());
    }
    return r;
}

std::string ExportReport::Text(const fs::path& subor) const {
    std::string text;
    if (!written) {
        text = "Kalendár sa neuložil.\n";
    } else if (Succeeded()) {
        text = "Kalendár sa uložil do súboru „" + PathText(subor) + "“.\n";
    } else {
        text = "Kalendár sa uložil do súboru „" + PathText(subor) +
               "“, ale nie celý: záznamy niektorých dní sa nedali prečítať.\n";
    }
    if (written) {
        text += "Udalosti: " + std::to_string(events) + ".\n";
    }
    if (withoutText > 0) {
        text += "Záznamy bez textu (nie sú udalosťou): " + std::to_string(withoutText) + ".\n";
    }
    if (same > 0) {
        text += "Rovnaké záznamy toho istého dňa, zapísané raz: " + std::to_string(same) + ".\n";
    }
    if (!skipped.empty()) {
        text += "\nNeexportované záznamy:\n";
        for (const auto& line : skipped) {
            text += "  " + line + "\n";
        }
    }
    if (!errors.empty()) {
        text += "\nChyby:\n";
        for (const auto& line : errors) {
            text += "  " + line + "\n";
        }
    }
    if (!unread.empty()) {
        text += "\nVynechané súbory dní:";
        for (const auto& meno : unread) {
            text += " " + meno;
        }
        text += "\n";
    }
    return text;
}

} // namespace tilava
