#pragma once

#include "exchange/sync/EntryKey.h"
#include "store/uPoznamky.h"

#include <string>
#include <string_view>
#include <vector>

namespace tilava {

// The order of a day's entries across computers. An event the sync uploads says where its
// entry stood in the uploader's day file (0 first), in a property only the sync writes (the
// export's events stay as they are); a computer that takes the event in puts the entry at that
// place. So a day written on one computer reads alike, byte for byte, on every other one. Events
// without the property (a phone's) go to the end of the day, several in the order of their keys.

inline constexpr std::string_view kPositionProperty = "X-TILAVA-POSITION";
// A day file holds at most a few tens of thousands of entries; a larger position is not read.
inline constexpr int kLargestPosition = 1'000'000;

// The iCalendar object `event` (one VEVENT, CRLF lines) with the position line added to it.
std::string WithPosition(std::string event, int position);

// The position an event's text gives; -1 when it gives none, or one that cannot be.
int EventPosition(std::string_view ical);

struct PlacedEntry {
    int position = -1; // -1: at the end
    EntryKey key;
    TNote entry;
};

// The day's entries with `added` put in: those with a position in the order of their positions
// (then keys), each at its position (or at the end when the day is shorter), then the others in
// the order of their keys. The day's own entries keep their order.
std::vector<TNote> PlaceEntries(std::vector<TNote> day, std::vector<PlacedEntry> added);

} // namespace tilava
