#include "model/Reminders.h"

#include "support/TempNotes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <ostream>

using namespace std::chrono;

namespace tilava {

void PrintTo(const ReminderLine& line, std::ostream* os) {
    *os << static_cast<int>(line.kind) << " \"" << line.text << "\"" << (line.error ? " !" : "");
}

namespace {

using test::DayFileLines;
using test::Entry;
using test::TempNotesFolder;

constexpr sys_days today = sys_days{year{2025} / 3 / 30}; // a Sunday

class RemindersTest : public testing::Test {
protected:
    RemindersTest() {
        // today: a birthday, a note and an anniversary; tomorrow a note; the day after it one
        // note on a day that is not listed; three days on a birthday
        folder.WriteDay(30, 3,
                        DayFileLines({{2, 1980, "Jano"}, {1, 2025, "Zubár"}, {3, 2000, "svadba"}}));
        folder.WriteDay(31, 3, DayFileLines({{1, 2019, " staré"}}));
        folder.WriteDay(1, 4, DayFileLines({{1, 2025, "skryté"}}, false));
        folder.WriteDay(2, 4, DayFileLines({{2, 2000, "Eva"}}));
    }
    Reminders Build(int daysAhead) { return Reminders::Build(notes, today, daysAhead); }

    TempNotesFolder folder;
    TDayNotes notes{folder.TempPath()};
};

TEST_F(RemindersTest, DaysAheadPicksDaysInOrder) {
    const ReminderLine jano{EntryKind::Narodeniny, "Jano 45. narodeniny"};
    const ReminderLine dentist{EntryKind::Poznamka, "Zubár"};
    const ReminderLine wedding{EntryKind::Vyrocie, "25. výročie svadba"};
    // a later day's lines are led by their day; a plain note of another year is listed like
    // any other entry, its blanks kept
    const ReminderLine old{EntryKind::Poznamka, "Po 31.3.  staré"};
    const ReminderLine eva{EntryKind::Narodeniny, "St 2.4. Eva 25. narodeniny"};
    struct {
        int daysAhead;
        std::vector<ReminderLine> lines;
    } const cases[] = {
        {-1, {}},
        {0, {jano, dentist, wedding}},
        {1, {jano, dentist, wedding, old}},
        {2, {jano, dentist, wedding, old}},
        {3, {jano, dentist, wedding, old, eva}},
    };
    for (const auto& p : cases) {
        SCOPED_TRACE(p.daysAhead);
        const Reminders r = Build(p.daysAhead);
        EXPECT_EQ(r.lines, p.lines);
        EXPECT_TRUE(r.errors.empty());
    }
}

TEST_F(RemindersTest, BrokenFileGetsItsOwnLineAndOtherDaysStay) {
    // tomorrow: the second record's kind line is not a number (line 7 of the file); two days
    // on: the first record's kind (line 3)
    folder.WriteDay(31, 3, {"!", "-1", "1", "2025", "ráno", "-1", "abc", "2025", "večer"});
    folder.WriteDay(1, 4, {"!", "-1", "x"});
    const Reminders r = Build(3);
    ASSERT_EQ(r.errors.size(), 2u);
    EXPECT_NE(r.errors[0].find("0331.txt"), std::string::npos) << r.errors[0];
    EXPECT_NE(r.errors[0].find("riadok 7"), std::string::npos) << r.errors[0];
    EXPECT_NE(r.errors[1].find("0401.txt"), std::string::npos) << r.errors[1];
    // today's lines, what the bad day held before its bad record, a line for each bad file,
    // and the good day after them
    const std::vector<ReminderLine> lines{
        {EntryKind::Narodeniny, "Jano 45. narodeniny"},
        {EntryKind::Poznamka, "Zubár"},
        {EntryKind::Vyrocie, "25. výročie svadba"},
        {EntryKind::Poznamka, "Po 31.3. ráno"},
        {EntryKind::Poznamka, "Po 31.3. Súbor 0331.txt sa nedá prečítať (riadok 7)", true},
        {EntryKind::Poznamka, "Ut 1.4. Súbor 0401.txt sa nedá prečítať (riadok 3)", true},
        {EntryKind::Narodeniny, "St 2.4. Eva 25. narodeniny"},
    };
    EXPECT_EQ(r.lines, lines);
}

TEST_F(RemindersTest, ListEndsAtHundredLines) {
    std::vector<Entry> many;
    for (int i = 1; i <= 101; ++i)
        many.push_back({1, 2025, "pripomienka " + std::to_string(i)});
    folder.WriteDay(30, 3, DayFileLines(many));
    const Reminders r = Build(5);
    ASSERT_EQ(r.lines.size(), Reminders::MaxLines);
    EXPECT_EQ(r.lines.back().text, "pripomienka 100");
    EXPECT_TRUE(r.errors.empty());
}

TEST_F(RemindersTest, LargeDaysAheadDoesNotHang) {
    // no listed day at all: the four-year cycle has been seen, nothing more can come
    TempNotesFolder empty;
    TDayNotes none{empty.TempPath()};
    EXPECT_TRUE(Reminders::Build(none, today, INT_MAX).lines.empty());
    // a day more than a year ahead is still found
    empty.WriteDay(1, 5, DayFileLines({{1, 2026, "o rok"}}));
    const Reminders r = Reminders::Build(none, today, 400);
    ASSERT_EQ(r.lines.size(), 2u);
    // and a huge count stops at the hundredth line, 100 years ahead
    EXPECT_EQ(Reminders::Build(none, today, INT_MAX).lines.size(), Reminders::MaxLines);
}

TEST(Tooltip, TextWithReminderCount) {
    EXPECT_EQ(Reminders::Tooltip("30. 3. 2025", 3),
              "Tilava: 30. 3. 2025\nPočet pripomienok na dnes: 3");
    EXPECT_EQ(Reminders::Tooltip("1.1.2025", 0), "Tilava: 1.1.2025\nPočet pripomienok na dnes: 0");
}

// An entry of any length (an import, a hand edit) gives a line the widget can lay out at once:
// at most MaxShownCharacters characters, counted as the user sees them, then "…".
TEST(RemindersLength, LongEntriesAreCutForTheWidget) {
    constexpr std::size_t max = Reminders::MaxShownCharacters;
    const std::string exact(max, 'a');
    std::string letters; // "ž" is two bytes in UTF-8 and one character
    for (std::size_t i = 0; i < max; ++i)
        letters += "ž";
    struct {
        const char* name;
        std::string text;
        std::string shown;
    } const cases[] = {
        {"short", "Jano", "Jano"},
        {"exactly the limit", exact, exact},
        {"one more", exact + "b", exact + "…"},
        {"a megabyte", std::string(1024 * 1024, 'x'), std::string(max, 'x') + "…"},
        {"two-byte letters count once", letters + "ž", letters + "…"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempNotesFolder folder;
        folder.WriteDay(30, 3, DayFileLines({{1, 2025, c.text}}));
        TDayNotes notes{folder.TempPath()};
        const Reminders r = Reminders::Build(notes, today, 0);
        ASSERT_EQ(r.lines.size(), 1u);
        EXPECT_EQ(r.lines[0].text, c.shown);
    }
}

} // namespace
} // namespace tilava
