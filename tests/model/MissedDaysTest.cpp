// The days missed between two runs and what they held: reading back the date a run recorded,
// choosing the days across month and year ends and 29 February, and listing their entries.
#include "model/MissedDays.h"

#include "store/uPoznamky.h"
#include "support/TempNotes.h"

#include <gtest/gtest.h>

namespace tilava {
namespace {

using namespace std::chrono;

constexpr year_month_day wednesday{2026y / 12 / 9};

struct DateReading {
    const char* text;
    const char* pattern;
    std::optional<year_month_day> datum;
};

TEST(MissedDays, ReadsRecordOfDayInUserForm) {
    const DateReading table[] = {
        {"6. 12. 2026", "d. M. yyyy", 2026y / 12 / 6},
        {"6.12.2026", "d. M. yyyy", 2026y / 12 / 6}, // blanks may be left out
        {"6.\u00A012.\u00A02026", "d. M. yyyy", 2026y / 12 / 6},
        {"06.12.26", "dd.MM.yy", 2026y / 12 / 6},
        {"12/6/26", "M/d/yy", 2026y / 12 / 6},
        {"31.12.99", "dd.MM.yy", 1999y / 12 / 31}, // the latest such year not after today
        {"09.12.26", "dd.MM.yy", 2026y / 12 / 9},
        {"6. 12. 2026", "d.M.yyyy", 2026y / 12 / 6},  // the format has changed since
        {"2026-12-06", "d. M. yyyy", 2026y / 12 / 6}, // written by another system
        {"6/12/2026", "d. M. yyyy", 2026y / 12 / 6},
        {"12/6/2026", "M/d/yyyy", 2026y / 12 / 6},
        {"29. 2. 2024", "d. M. yyyy", 2024y / 2 / 29},
        {"29. 2. 2025", "d. M. yyyy", std::nullopt},
        {"10. 12. 2026", "d. M. yyyy", std::nullopt}, // tomorrow: the clock was wrong
        {"32. 1. 2026", "d. M. yyyy", std::nullopt},
        {"", "d. M. yyyy", std::nullopt},
        {"včera", "d. M. yyyy", std::nullopt},
        {"Streda 9. decembra 2026", "dddd d. MMMM yyyy", 2026y / 12 / 9},
        {"5 Dec 2026", "d MMM yyyy", 2026y / 12 / 5},
        {"5 dec 2026", "d MMM yyyy", 2026y / 12 / 5},
        {"5 Xyz 2026", "d MMM yyyy", std::nullopt},
        {"99999999999999999999.1.2026", "d. M. yyyy", std::nullopt},
        {"6. 12. 2026 navyše", "d. M. yyyy", std::nullopt},
    };
    // Short English names, then Slovak ones as a date names its month.
    const std::vector<std::string> months{
        "Jan",  "Feb",  "Mar",  "Apr",     "May",       "Jun",      "Jul",      "Aug",
        "Sep",  "Oct",  "Nov",  "Dec",     "januára",   "februára", "marca",    "apríla",
        "mája", "júna", "júla", "augusta", "septembra", "októbra",  "novembra", "decembra"};
    for (const auto& r : table)
        EXPECT_EQ(MissedDays::ReadDate(r.text, r.pattern, sys_days{wednesday}, months), r.datum)
            << r.text << " / " << r.pattern;
}

TEST(MissedDays, LastRunFromIsoWhenNowAgrees) {
    const struct {
        const char* iso;
        const char* now;
        std::optional<year_month_day> date;
    } rows[] = {
        {"2026-12-08", "12/8/26", 2026y / 12 / 8}, // a US format read under a Slovak one
        {"2026-12-08", "8. 12. 2026", 2026y / 12 / 8},
        {"2026-12-08", "08.12.26", 2026y / 12 / 8},
        {"2026-12-08", "8. decembra 2026", 2026y / 12 / 8},
        {"2026-12-08", "", 2026y / 12 / 8},
        {"2026-12-01", "5. 12. 2026", std::nullopt}, // an older version ran on the 5th since
        {"2026-12-01", "1. 12. 2025", std::nullopt},
        {"2026-12-08", "8. 12. 202612", std::nullopt},
        {"2026-12-10", "10. 12. 2026", std::nullopt}, // tomorrow: the clock was wrong
        {"2026-02-30", "30. 2. 2026", std::nullopt},
        {"2026-12-8", "8. 12. 2026", std::nullopt},
        {"2026/12/08", "8. 12. 2026", std::nullopt},
        {" 2026-12-08", "8. 12. 2026", std::nullopt},
        {"", "8. 12. 2026", std::nullopt},
    };
    for (const auto& r : rows)
        EXPECT_EQ(MissedDays::LastRunFromIso(r.iso, r.now, sys_days{wednesday}), r.date)
            << r.iso << " / " << r.now;
    EXPECT_EQ(MissedDays::IsoText(sys_days{2026y / 1 / 5}), "2026-01-05");
    EXPECT_EQ(MissedDays::IsoText(sys_days{wednesday}), "2026-12-09");
}

struct DayChoice {
    std::optional<year_month_day> last;
    year_month_day today;
    std::vector<year_month_day> dayList;
};

TEST(MissedDays, DaysSinceLastRun) {
    const DayChoice table[] = {
        {std::nullopt, wednesday, {}},
        {wednesday, wednesday, {}},
        {2026y / 12 / 8, wednesday, {}}, // yesterday's run saw yesterday
        {2026y / 12 / 7, wednesday, {2026y / 12 / 8}},
        {2026y / 2 / 26, 2026y / 3 / 2, {2026y / 2 / 27, 2026y / 2 / 28, 2026y / 3 / 1}},
        {2025y / 12 / 30, 2026y / 1 / 2, {2025y / 12 / 31, 2026y / 1 / 1}},
        {2024y / 2 / 27, 2024y / 3 / 1, {2024y / 2 / 28, 2024y / 2 / 29}},
        {2027y / 1 / 1, wednesday, {}},
    };
    for (const auto& r : table) {
        std::vector<year_month_day> dayList;
        for (const sys_days d : MissedDays::Dni(r.last, sys_days{r.today}))
            dayList.emplace_back(d);
        EXPECT_EQ(dayList, r.dayList) << sys_days{r.today}.time_since_epoch().count();
    }
    // After a long absence only the latest days.
    const auto dlho = MissedDays::Dni(2025y / 1 / 1, sys_days{wednesday});
    ASSERT_EQ(dlho.size(), static_cast<std::size_t>(MissedDays::MaxDays));
    EXPECT_EQ(year_month_day{dlho.front()}, 2026y / 11 / 25);
    EXPECT_EQ(year_month_day{dlho.back()}, 2026y / 12 / 8);
}

TEST(MissedDays, EntriesOfMissedDays) {
    test::TempNotesFolder folder;
    folder.WriteDay(5, 12, test::DayFileLines({{1, 2026, "pred odchodom"}}));
    folder.WriteDay(6, 12, test::DayFileLines({{2, 1996, "Jano"}, {3, 2001, "svadba"}}));
    folder.WriteDay(7, 12, test::DayFileLines({{2, 1990, "nepripomínať"}}, false));
    folder.WriteDayBytes(8, 12, "!\r\n-1\r\nx\r\n");
    folder.WriteDay(9, 12, test::DayFileLines({{1, 2026, "dnes"}}));
    TDayNotes notes(folder.TempPath());

    const std::vector<ReminderLine> lines =
        MissedDays::Build(notes, 2026y / 12 / 5, sys_days{wednesday});
    const std::vector<ReminderLine> expected{
        {EntryKind::Narodeniny, "Ne 6.12. Jano 30. narodeniny"},
        {EntryKind::Vyrocie, "Ne 6.12. 25. výročie svadba"},
        {EntryKind::Poznamka, "Ut 8.12. Súbor 1208.txt sa nedá prečítať (riadok 3)", true},
    };
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(MissedDays::Build(notes, std::nullopt, sys_days{wednesday}).empty());
}

} // namespace
} // namespace tilava
