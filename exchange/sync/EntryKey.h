#pragma once

#include "store/uPoznamky.h"

#include <chrono>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>

namespace tilava {

// What makes an entry of a day file the same as an event of the calendar: its kind, day and
// month, year and text, the text trimmed of blanks and tabs at both ends (the event's summary
// is trimmed). Entries have no identity beyond that: an edited entry is another key.
struct EntryKey {
    EntryKind kind = EntryKind::Narodeniny;
    std::chrono::month_day date;
    std::int32_t year = 0;
    std::string text;

    friend bool operator==(const EntryKey&, const EntryKey&) = default;
    friend std::strong_ordering operator<=>(const EntryKey& a, const EntryKey& b) {
        if (const auto c = a.kind <=> b.kind; c != 0)
            return c;
        if (const auto c = a.date <=> b.date; c != 0)
            return c;
        if (const auto c = a.year <=> b.year; c != 0)
            return c;
        return a.text.compare(b.text) <=> 0;
    }
};

// The key of an entry of the day `date`; nothing when the entry cannot be an event (no text, a
// note of a year the calendar does not have), so that the sync leaves it alone.
std::optional<EntryKey> KeyOf(const TNote& entry, std::chrono::month_day date);

// The entry a key stands for, as the sync adds it to a day file.
TNote EntryOf(const EntryKey& key);

// "0315", the day file's name without ".txt".
std::string DayName(std::chrono::month_day date);

} // namespace tilava
