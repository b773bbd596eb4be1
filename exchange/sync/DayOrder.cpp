#include "exchange/sync/DayOrder.h"

#include <algorithm>
#include <climits>

namespace tilava {

std::string WithPosition(std::string event, int position) {
    const std::size_t end = event.rfind("END:VEVENT\r\n");
    if (end == std::string::npos || position < 0 || position > kLargestPosition) {
        return event;
    }
    event.insert(end, std::string(kPositionProperty) + ":" + std::to_string(position) + "\r\n");
    return event;
}

int EventPosition(std::string_view ical) {
    const std::string line = "\n" + std::string(kPositionProperty) + ":";
    const std::size_t at = ical.find(line);
    if (at == std::string_view::npos) {
        return -1;
    }
    long long value = 0;
    std::size_t i = at + line.size();
    const std::size_t first = i;
    for (; i < ical.size() && ical[i] >= '0' && ical[i] <= '9' && i - first < 8; ++i) {
        value = value * 10 + (ical[i] - '0');
    }
    const bool ended = i < ical.size() && (ical[i] == '\r' || ical[i] == '\n');
    if (i == first || !ended || value > kLargestPosition) {
        return -1;
    }
    return static_cast<int>(value);
}

std::vector<TNote> PlaceEntries(std::vector<TNote> day, std::vector<PlacedEntry> added) {
    const auto rank = [](const PlacedEntry& e) { return e.position < 0 ? INT_MAX : e.position; };
    std::stable_sort(added.begin(), added.end(), [&](const PlacedEntry& a, const PlacedEntry& b) {
        return rank(a) != rank(b) ? rank(a) < rank(b) : a.key < b.key;
    });
    std::size_t previous = 0;
    for (std::size_t i = 0; i < added.size(); ++i) {
        std::size_t at = std::min(day.size(), static_cast<std::size_t>(rank(added[i])));
        if (i > 0 && rank(added[i]) == rank(added[i - 1])) {
            at = std::max(at, previous + 1); // ties follow each other in the order of keys
        }
        day.insert(day.begin() + static_cast<std::ptrdiff_t>(at), std::move(added[i].entry));
        previous = at;
    }
    return day;
}

} // namespace tilava
