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

std::string MMDD(month_day den) {
    char text[8];
    std::snprintf(text, sizeof text, "%02u%02u", static_cast<unsigned>(den.month()),
                  static_cast<unsigned>(den.day()));
    return text;
}

// 64-bit FNV-1a of the entry's kind, day and month, year and text: the same entry gives the
// same UID in every export, on every system.
std::string Uid(const TNote& z, month_day den) {
    const std::string kluc = std::to_string(static_cast<int>(z.Druh)) + '\x1F' + MMDD(den) +
                             '\x1F' + std::to_string(z.Rok) + '\x1F' + z.Text;
    std::uint64_t h = 14695981039346656037ull;
    for (const unsigned char c : kluc) {
        h = (h ^ c) * 1099511628211ull;
    }
    char hex[20];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return std::string(hex) + "@tilava";
}

icaltimetype Den(year_month_day d) {
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
year_month_day Zaciatok(std::int32_t rok, month_day den) {
    int r = RokKalendara(rok) ? rok : 2000;
    while (r <= 9999 && !(year{r} / den).ok()) {
        ++r;
    }
    return year{r <= 9999 ? r : 2000} / den;
}

std::string Orez(const std::string& s) {
    const auto zaciatok = s.find_first_not_of(" \t");
    if (zaciatok == std::string::npos) {
        return {};
    }
    return s.substr(zaciatok, s.find_last_not_of(" \t") - zaciatok + 1);
}

} // namespace

ExportReport ExportCalendar(const fs::path& priecinok, const fs::path& subor, sys_seconds teraz,
                            ExistingExport existing) {
    icalerror_set_errors_are_fatal(0);
    ExportReport r;
    const std::unique_ptr<icalcomponent, Uvolni> kalendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(kalendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(kalendar.get(),
                               icalproperty_new_prodid("-//ZELM//Tilava " TILAVA_VERSION "//SK"));
    icalcomponent_add_property(kalendar.get(), icalproperty_new_calscale("GREGORIAN"));
    icalproperty* nazov = icalproperty_new_x("Tilava");
    icalproperty_set_x_name(nazov, "X-WR-CALNAME");
    icalcomponent_add_property(kalendar.get(), nazov);

    const icaltimetype peciatka =
        icaltime_from_timet_with_zone(static_cast<std::time_t>(teraz.time_since_epoch().count()), 0,
                                      icaltimezone_get_utc_timezone());
    const icalrecurrencetype rocne = icalrecurrencetype_from_string("FREQ=YEARLY");
    std::set<std::string> zapisane;

    for (unsigned m = 1; m <= 12; ++m) {
        // 2024 is a leap year: 29 February has its day file too.
        const unsigned dni = static_cast<unsigned>((year{2024} / month{m} / last).day());
        for (unsigned d = 1; d <= dni; ++d) {
            const month_day den{month{m}, day{d}};
            TDayNotes poznamky(priecinok);
            try {
                poznamky.Nacitaj(year{2024} / den);
            } catch (const NotesError& e) {
                r.chyby.push_back(e.what());
                r.neprecitane.push_back(MMDD(den) + ".txt");
                continue;
            }
            for (int i = 0; i < poznamky.Pocet(); ++i) {
                const TNote& z = poznamky.Polozka(i);
                const std::string text = Orez(z.Text);
                if (text.empty()) {
                    ++r.bezTextu;
                    continue;
                }
                std::optional<year_month_day> od;
                std::string zhrnutie = text;
                std::string opis;
                switch (z.Druh) {
                case TDruh::Poznamka:
                    if (RokKalendara(z.Rok) && (year{z.Rok} / den).ok()) {
                        od = year{z.Rok} / den;
                    } else {
                        r.preskocene.push_back(
                            MMDD(den) + ".txt: poznámka „" + text + "“ z roku " +
                            std::to_string(z.Rok) +
                            " – taký deň v kalendári nie je, ani Tilava ju neukazuje.");
                        continue;
                    }
                    break;
                case TDruh::Narodeniny:
                    zhrnutie += " – narodeniny";
                    if (RokKalendara(z.Rok)) {
                        opis = "Rok narodenia: " + std::to_string(z.Rok);
                    }
                    break;
                case TDruh::Vyrocie:
                    zhrnutie += " – výročie";
                    if (RokKalendara(z.Rok)) {
                        opis = "Rok udalosti: " + std::to_string(z.Rok);
                    }
                    break;
                }
                const std::string uid = Uid(z, den);
                if (!zapisane.insert(uid).second) {
                    ++r.rovnake;
                    continue;
                }
                const year_month_day zaciatok = od ? *od : Zaciatok(z.Rok, den);
                icalcomponent* udalost = icalcomponent_new_vevent();
                icalcomponent_add_property(udalost, icalproperty_new_uid(uid.c_str()));
                icalcomponent_add_property(udalost, icalproperty_new_dtstamp(peciatka));
                icalcomponent_add_property(udalost, icalproperty_new_dtstart(Den(zaciatok)));
                icalcomponent_add_property(
                    udalost,
                    icalproperty_new_dtend(Den(year_month_day{sys_days{zaciatok} + days{1}})));
                if (!od) {
                    icalcomponent_add_property(udalost, icalproperty_new_rrule(rocne));
                }
                icalcomponent_add_property(udalost, icalproperty_new_summary(zhrnutie.c_str()));
                if (!opis.empty()) {
                    icalcomponent_add_property(udalost, icalproperty_new_description(opis.c_str()));
                }
                // A day of the calendar, not an appointment: the time stays free.
                icalcomponent_add_property(udalost,
                                           icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
                icalcomponent_add_component(kalendar.get(), udalost);
                ++r.udalosti;
            }
        }
    }

    const std::unique_ptr<char, decltype(&std::free)> text(
        icalcomponent_as_ical_string_r(kalendar.get()), &std::free);
    try {
        std::vector<fs::path> ownFolders{priecinok};
        if (const auto settings = UserSettingsFolder()) {
            ownFolders.push_back(*settings);
        }
        CheckExportTarget(subor, ownFolders, existing);
        ReplaceFileAtomically(subor, text ? std::string_view(text.get()) : std::string_view(),
                              FolderFlush::Now, kExportSaveRules);
        r.zapisany = true;
    } catch (const FileError& e) {
        r.chyby.push_back(e.what());
    }
    return r;
}

std::string ExportReport::Text(const fs::path& subor) const {
    std::string text;
    if (!zapisany) {
        text = "Kalendár sa neuložil.\n";
    } else if (Uspech()) {
        text = "Kalendár sa uložil do súboru „" + PathText(subor) + "“.\n";
    } else {
        text = "Kalendár sa uložil do súboru „" + PathText(subor) +
               "“, ale nie celý: záznamy niektorých dní sa nedali prečítať.\n";
    }
    if (zapisany) {
        text += "Udalosti: " + std::to_string(udalosti) + ".\n";
    }
    if (bezTextu > 0) {
        text += "Záznamy bez textu (nie sú udalosťou): " + std::to_string(bezTextu) + ".\n";
    }
    if (rovnake > 0) {
        text += "Rovnaké záznamy toho istého dňa, zapísané raz: " + std::to_string(rovnake) + ".\n";
    }
    if (!preskocene.empty()) {
        text += "\nNeexportované záznamy:\n";
        for (const auto& riadok : preskocene) {
            text += "  " + riadok + "\n";
        }
    }
    if (!chyby.empty()) {
        text += "\nChyby:\n";
        for (const auto& riadok : chyby) {
            text += "  " + riadok + "\n";
        }
    }
    if (!neprecitane.empty()) {
        text += "\nVynechané súbory dní:";
        for (const auto& meno : neprecitane) {
            text += " " + meno;
        }
        text += "\n";
    }
    return text;
}

} // namespace tilava
