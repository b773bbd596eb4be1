#include "model/DayTexts.h"

#include "core/uRok.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

using namespace std::chrono;

namespace tilava {
namespace {

constexpr sys_days Day(int r, unsigned m, unsigned d) {
    return sys_days{year{r} / month{m} / day{d}};
}

NameLine Line(std::string text) {
    return {std::move(text), std::nullopt, true};
}

// A calendar whose 10 March holds exactly the given names.
struct CalendarOfDay {
    explicit CalendarOfDay(const std::vector<std::string>& names) {
        for (const auto& meno : names)
            rok.Pridaj(10, 3, 's', meno, false);
    }
    TRok rok;
};

struct NamesCase {
    std::vector<std::string> names;
    NameLine first, second;
};

class TodaysNames : public testing::TestWithParam<NamesCase> {};

TEST_P(TodaysNames, StandOnTheRightLines) {
    const auto& p = GetParam();
    CalendarOfDay k(p.names);
    const DayTexts t = DayTexts::Today(k.rok, Day(2025, 3, 10));
    EXPECT_EQ(t.nameDays[0], p.first);
    EXPECT_EQ(t.nameDays[1], p.second);
    EXPECT_EQ(t.nameDays[2], NameLine{}) << "the third line is never filled";
}

INSTANTIATE_TEST_SUITE_P(
    EntryCount, TodaysNames,
    testing::Values(NamesCase{{}, {}, {}}, NamesCase{{"Anna"}, {}, Line("Anna")},
                    NamesCase{{"Anna", "Ivan"}, Line("Anna"), Line("Ivan")},
                    NamesCase{{"Anna", "Ivan", "Oto"}, Line("Anna"), Line("Ivan")},
                    // 14 characters, the last ones two bytes each: shown whole, hint untouched
                    NamesCase{{"Abcdefghijkľšť"}, {}, Line("Abcdefghijkľšť")},
                    // 15 characters: first 11 + "...", the hint holds the whole name
                    NamesCase{{"Štefánia Ľubica", "Medard"},
                              {"Štefánia Ľu...", "Štefánia Ľubica", true},
                              Line("Medard")}));

TEST(TodayView, DayDateAndWeekdayName) {
    TRok rok;
    struct {
        sys_days date;
        const char* datum;
        const char* name;
    } const cases[] = {
        {Day(2025, 3, 10), "10.", "Pondelok"}, {Day(2025, 3, 13), "13.", "Štvrtok"},
        {Day(2025, 3, 16), "16.", "Nedeľa"},   {Day(2024, 2, 29), "29.", "Štvrtok"},
        {Day(2025, 6, 7), "7.", "Sobota"},
    };
    for (const auto& p : cases) {
        const DayTexts t = DayTexts::Today(rok, p.date);
        EXPECT_EQ(t.today, "Dnes");
        EXPECT_EQ(t.datum, p.datum);
        EXPECT_EQ(t.date, p.name);
        for (const auto& line : t.nameDays)
            EXPECT_TRUE(line.visible);
    }
}

TEST(TomorrowView, FirstNameOfTomorrow) {
    TRok rok;
    rok.Pridaj(1, 1, 's', "Nový rok", true);
    rok.Pridaj(1, 1, 's', "Deň vzniku SR", true);
    rok.Pridaj(29, 2, 's', "Radomír", false);
    rok.Pridaj(17, 3, 's', "Ľubomíra Šťastná", false); // 16 characters
    struct {
        sys_days today;
        const char* date;
        const char* datum;
        const char* meno;
    } const cases[] = {
        {Day(2024, 12, 31), "Streda", "1.", "Nový rok"},         // over the year's end
        {Day(2024, 2, 28), "Štvrtok", "29.", "Radomír"},         // a leap day
        {Day(2025, 3, 16), "Pondelok", "17.", "Ľubomíra Šť..."}, // Sunday to Monday, cut
        {Day(2025, 3, 17), "Utorok", "18.", ""},
    };
    for (const auto& p : cases) {
        const DayTexts t = DayTexts::Tomorrow(rok, p.today);
        EXPECT_EQ(t.today, "Zajtra");
        EXPECT_EQ(t.date, p.date);
        EXPECT_EQ(t.datum, p.datum);
        EXPECT_EQ(t.nameDays[0], (NameLine{p.meno, p.meno, true}));
        EXPECT_FALSE(t.nameDays[1].visible);
        EXPECT_FALSE(t.nameDays[2].visible);
    }
}

TEST(TomorrowView, FollowsCalendarLanguage) {
    TRok rok;
    rok.Naplnit();
    const auto today = Day(2025, 7, 4); // tomorrow 5 July, a holiday in both lists
    rok.JazykSK = true;
    const auto sk = DayTexts::Tomorrow(rok, today).nameDays[0].text;
    rok.JazykSK = false;
    const auto cz = DayTexts::Tomorrow(rok, today).nameDays[0].text;
    EXPECT_EQ(sk, DayTexts::Shorten(rok.TabulkaSK[4][6].Nazov(1)));
    EXPECT_EQ(cz, DayTexts::Shorten(rok.TabulkaCZ[4][6].Nazov(1)));
    EXPECT_NE(sk, cz);
}

} // namespace
} // namespace tilava
