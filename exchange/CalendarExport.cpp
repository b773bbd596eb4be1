#include "exchange/CalendarExport.h"

#include "core/Dates.h"
#include "exchange/EventMapping.h"
#include "exchange/EventMappingIcal.h"
#include "platform/AtomicFile.h"
#include "platform/SettingsHive.h"
#include "platform/SystemErrorText.h"
#include "store/NotesError.h"
#include "store/uPoznamky.h"

#include <libical/ical.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>

namespace tilava {

namespace fs = std::filesystem;
using namespace std::chrono;

namespace {

std::string DayFileName(month_day date) {
    char text[12];
    std::snprintf(text, sizeof text, "%02u%02u.txt", static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()));
    return text;
}

} // namespace

ExportReport ExportCalendar(const fs::path& folder, const fs::path& subor, sys_seconds timeNow,
                            ExistingExport existing) {
    icalerror_set_errors_are_fatal(0);
    ExportReport r;
    const ComponentPointer calendar = NewTilavaCalendar();
    icalproperty* name = icalproperty_new_x("Tilava");
    icalproperty_set_x_name(name, "X-WR-CALNAME");
    icalcomponent_add_property(calendar.get(), name);

    std::set<std::string> writtenUids;

    for (const month_day date : EveryDayOfTheYear()) {
        TDayNotes notes(folder);
        try {
            notes.Nacitaj(year{2024} / date);
        } catch (const NotesError& e) {
            r.errors.push_back(e.what());
            r.unread.push_back(DayFileName(date));
            continue;
        }
        for (int i = 0; i < notes.Pocet(); ++i) {
            const TNote& z = notes.Polozka(i);
            if (const auto why = WhyNoEvent(z, date)) {
                if (why->empty()) {
                    ++r.withoutText;
                } else {
                    r.skipped.push_back(*why);
                }
                continue;
            }
            const std::string uid = EntryUid(z, date);
            if (!writtenUids.insert(uid).second) {
                ++r.same;
                continue;
            }
            icalcomponent_add_component(calendar.get(),
                                        EntryEvent(z, date, uid, timeNow).release());
            ++r.events;
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
