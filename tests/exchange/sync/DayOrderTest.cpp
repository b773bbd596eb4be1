#include "exchange/sync/DayOrder.h"

#include "exchange/EventMapping.h"

#include <gtest/gtest.h>

namespace tilava {
namespace {

using namespace std::chrono;

TEST(DayOrder, ReadsThePositionTheSyncWroteAndNothingElse) {
    const TNote jano{EntryKind::Narodeniny, 1980, true, "Jano"};
    const std::string event = EventCalendarText(jano, March / 15, "u@tilava", sys_seconds{});
    EXPECT_EQ(EventPosition(event), -1);
    EXPECT_EQ(EventPosition(WithPosition(event, 0)), 0);
    EXPECT_EQ(EventPosition(WithPosition(event, 41)), 41);
    EXPECT_EQ(WithPosition(event, 41).size(), event.size() + 22);
    const struct {
        const char* line;
        int position;
    } lines[] = {
        {"X-TILAVA-POSITION:7\r\n", 7},        {"X-TILAVA-POSITION:1000000\r\n", 1'000'000},
        {"X-TILAVA-POSITION:1000001\r\n", -1}, {"X-TILAVA-POSITION:99999999999999999999\r\n", -1},
        {"X-TILAVA-POSITION:-3\r\n", -1},      {"X-TILAVA-POSITION:\r\n", -1},
        {"X-TILAVA-POSITION:3x\r\n", -1},      {"X-TILAVA-POSITIONS:3\r\n", -1},
    };
    for (const auto& l : lines) {
        EXPECT_EQ(EventPosition("BEGIN:VEVENT\r\n" + std::string(l.line) + "END:VEVENT\r\n"),
                  l.position)
            << l.line;
    }
}

TEST(DayOrder, PutsEachAddedEntryAtItsPlace) {
    const auto note = [](const char* text) {
        return PlacedEntry{-1, {EntryKind::Narodeniny, March / 15, 0, text}, TNote{}};
    };
    const struct {
        const char* name;
        std::vector<const char*> day;
        std::vector<std::pair<int, const char*>> added; // position, text
        const char* result;
    } rows[] = {
        {"into an empty day by position", {}, {{2, "C"}, {0, "A"}, {1, "B"}}, "A B C"},
        {"between the day's own", {"A", "C"}, {{1, "B"}}, "A B C"},
        {"before the day's own", {"B"}, {{0, "A"}}, "A B"},
        {"past the end of a short day", {"A"}, {{5, "Z"}}, "A Z"},
        {"without a position at the end, by key",
         {"B"},
         {{-1, "Y"}, {-1, "X"}, {0, "A"}},
         "A B X Y"},
        {"the same position, by key", {}, {{0, "B"}, {0, "A"}}, "A B"},
    };
    for (const auto& row : rows) {
        std::vector<TNote> day;
        for (const char* text : row.day) {
            day.push_back(TNote{EntryKind::Narodeniny, 0, true, text});
        }
        std::vector<PlacedEntry> added;
        for (const auto& [position, text] : row.added) {
            PlacedEntry e = note(text);
            e.position = position;
            e.entry.Text = text;
            added.push_back(e);
        }
        std::string result;
        for (const TNote& entry : PlaceEntries(day, added)) {
            result += (result.empty() ? "" : " ") + entry.Text;
        }
        EXPECT_EQ(result, row.result) << row.name;
    }
}

} // namespace
} // namespace tilava
