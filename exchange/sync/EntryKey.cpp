#include "exchange/sync/EntryKey.h"

#include "exchange/EventMapping.h"

#include <cstdio>

namespace tilava {

std::optional<EntryKey> KeyOf(const TNote& entry, std::chrono::month_day date) {
    if (WhyNoEvent(entry, date)) {
        return std::nullopt;
    }
    const auto start = entry.Text.find_first_not_of(" \t");
    const auto end = entry.Text.find_last_not_of(" \t");
    return EntryKey{entry.Druh, date, entry.Rok, entry.Text.substr(start, end - start + 1)};
}

TNote EntryOf(const EntryKey& key) {
    TNote entry;
    entry.Druh = key.kind;
    entry.Rok = key.year;
    entry.Potvrdena = true;
    entry.Text = key.text;
    return entry;
}

std::string DayName(std::chrono::month_day date) {
    char text[8];
    std::snprintf(text, sizeof text, "%02u%02u", static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()));
    return text;
}

} // namespace tilava
