#include "core/CalendarWords.h"
#include "core/Cp1250.h"
#include "core/uRok.h"
#include "core/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

using namespace std::chrono;
using namespace tilava;

namespace {

TRok& calendar() {
    static const auto rok = [] {
        auto r = std::make_unique<TRok>();
        r->Naplnit();
        return r;
    }();
    return *rok;
}

// Reads a table the way the week model's name search does: month 1..12, day 1..31, entry
// 1..Pocet, through DajDen with the language switched.
struct Entry {
    int date;
    int monthNumber;
    int place;
    std::string name;
    bool nameDay;
};

std::vector<Entry> all(bool languageSK) {
    TRok& rok = calendar();
    const bool before = rok.JazykSK;
    rok.JazykSK = languageSK;
    std::vector<Entry> out;
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 31; ++d) {
            const TSviatky& date = rok.DajDen(d, m);
            for (int i = 1; i <= date.Pocet(); ++i)
                out.push_back({d, m, i, date.Nazov(i), date.JeSviatok(i)});
        }
    rok.JazykSK = before;
    return out;
}

using Datum = std::pair<int, int>; // day, month

// ---------------------------------------------------------------------------------------------
// The shape of both lists.

struct Shape {
    bool languageSK;
    int entryCount;
    int daysWithEntry;
    int daysWithTwo;
    std::set<Datum> daysWithThree;
    std::set<Datum> onlyNameDays; // dates whose every entry is a holiday
};

void PrintTo(const Shape& t, std::ostream* os) {
    *os << (t.languageSK ? "SK" : "CZ");
}

class ListShape : public testing::TestWithParam<Shape> {};

TEST_P(ListShape, CountsAndDaysMatchTheLists) {
    const Shape& t = GetParam();
    std::map<Datum, std::vector<Entry>> dayList;
    for (auto& z : all(t.languageSK))
        dayList[{z.date, z.monthNumber}].push_back(z);

    int entryCount = 0, withTwo = 0;
    std::set<Datum> withThree, onlyNameDays;
    for (auto& [datum, list] : dayList) {
        entryCount += static_cast<int>(list.size());
        if (list.size() == 2)
            ++withTwo;
        if (list.size() == 3)
            withThree.insert(datum);
        if (std::all_of(list.begin(), list.end(), [](auto& z) { return z.nameDay; }))
            onlyNameDays.insert(datum);
    }
    EXPECT_EQ(entryCount, t.entryCount);
    EXPECT_EQ(static_cast<int>(dayList.size()), t.daysWithEntry);
    EXPECT_EQ(withTwo, t.daysWithTwo);
    EXPECT_EQ(withThree, t.daysWithThree);
    EXPECT_EQ(onlyNameDays, t.onlyNameDays);

    // Every real date of a leap year has entries except Slovak 29 February; no impossible date has.
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 31; ++d) {
            const bool actual = year_month_day{year{2024}, month(m), day(d)}.ok();
            const bool expectedOne = actual && !(t.languageSK && d == 29 && m == 2);
            EXPECT_EQ(dayList.count({d, m}) == 1, expectedOne) << d << "." << m << ".";
        }
}

INSTANTIATE_TEST_SUITE_P(
    Rok, ListShape,
    testing::Values(Shape{true,
                          405,
                          365,
                          30,
                          {{19, 1}, {29, 6}, {2, 9}, {1, 11}, {24, 12}},
                          {{1, 1}, {1, 5}, {5, 7}, {25, 12}, {26, 12}}},
                    Shape{false,
                          389,
                          366,
                          19,
                          {{5, 7}, {24, 12}},
                          {{1, 1}, {1, 5}, {8, 5}, {6, 7}, {28, 10}, {25, 12}, {26, 12}}}),
    [](const auto& test) { return test.param.languageSK ? "SK" : "CZ"; });

// Every flagged entry with its place; nothing else carries the flag.
TEST(Rok, HolidayFlagsAreExactlyTheHolidays) {
    using Sviatok = std::tuple<bool, int, int, int, std::string>; // SK, day, month, place, text
    const std::set<Sviatok> expected = {
        {true, 1, 1, 1, "Nový rok"},
        {true, 1, 1, 2, "Deň vzniku SR"},
        {true, 6, 1, 1, "Traja králi"},
        {true, 1, 5, 1, "Sviatok práce"},
        {true, 8, 5, 1, "Deň víťaz. nad fašizmom"},
        {true, 5, 7, 1, "Sviatok Cyrila a Metoda"},
        {true, 29, 8, 1, "Výročie SNP"},
        {true, 1, 9, 1, "Deň ústavy SR"},
        {true, 15, 9, 1, "Sedem. Panna Mária"},
        {true, 1, 11, 1, "Sv. všetkých svätých"},
        {true, 17, 11, 2, "Deň boja za slob. a dem."},
        {true, 24, 12, 1, "Štedrý deň"},
        {true, 25, 12, 1, "1.sviatok vianočný"},
        {true, 26, 12, 1, "Štefan"},
        {true, 26, 12, 2, "2.sviatok vianočný"},
        {false, 1, 1, 1, "Nový rok"},
        {false, 1, 1, 2, "Den obnovy Čes. státu"},
        {false, 1, 5, 1, "Svátek práce"},
        {false, 8, 5, 1, "Den vítězství"},
        {false, 5, 7, 1, "Svátek Cyrila a Metodeje"},
        {false, 6, 7, 1, "Upálení mr. Jana Husa"},
        {false, 28, 9, 1, "Den české státnosti"},
        {false, 28, 10, 1, "Vznik samost. ČS státu"},
        {false, 17, 11, 1, "Den boje za svob. a dem."},
        {false, 24, 12, 1, "Štědrý den"},
        {false, 25, 12, 1, "1. svátek vánoční"},
        {false, 26, 12, 1, "2. svátek vánoční"},
        {false, 26, 12, 2, "Štěpán"},
    };
    std::set<Sviatok> found;
    for (bool sk : {true, false})
        for (auto& z : all(sk))
            if (z.nameDay)
                found.insert({sk, z.date, z.monthNumber, z.place, z.name});
    EXPECT_EQ(found, expected);
}

// Every text letter for letter, month by month: a checksum of "day|text|H or -" lines taken
// from the printed lists when they were transcribed.
std::uint32_t fnv1a(const std::string& s) {
    std::uint32_t h = 0x811c9dc5u;
    for (unsigned char c : s) {
        h ^= c;
        h *= 0x01000193u;
    }
    return h;
}

TEST(Rok, EveryMonthMatchesItsChecksum) {
    struct Month {
        char language;
        int monthNumber;
        int entryCount;
        std::uint32_t sum;
    };
    const Month table[] = {
        {'s', 1, 36, 0x36a92640u},  {'s', 2, 31, 0x40e175e8u},  {'s', 3, 33, 0xbc0dbe99u},
        {'s', 4, 31, 0x29e7f42fu},  {'s', 5, 35, 0x90244654u},  {'s', 6, 32, 0xf0df152bu},
        {'s', 7, 33, 0x37af19c0u},  {'s', 8, 34, 0x023d655bu},  {'s', 9, 38, 0x31d01fe3u},
        {'s', 10, 31, 0x4ca1dcdau}, {'s', 11, 35, 0x2b289d0eu}, {'s', 12, 36, 0x324084cbu},
        {'c', 1, 32, 0x63c5dc9au},  {'c', 2, 29, 0x1d694df3u},  {'c', 3, 33, 0xeacaf3b2u},
        {'c', 4, 32, 0x13e171bfu},  {'c', 5, 32, 0x8a6a1fe4u},  {'c', 6, 32, 0x3f398ec5u},
        {'c', 7, 34, 0xc598c6dcu},  {'c', 8, 31, 0x487ee6c9u},  {'c', 9, 33, 0xf38f06c2u},
        {'c', 10, 34, 0xfd237bbau}, {'c', 11, 33, 0xe5d5f940u}, {'c', 12, 34, 0x11b8e63eu},
    };
    const auto sk = all(true), cz = all(false);
    for (const Month& m : table) {
        std::string lines;
        int entryCount = 0;
        for (auto& z : m.language == 's' ? sk : cz)
            if (z.monthNumber == m.monthNumber) {
                lines += std::to_string(z.date) + "|" + z.name + (z.nameDay ? "|H\n" : "|-\n");
                ++entryCount;
            }
        EXPECT_EQ(entryCount, m.entryCount) << m.language << " " << m.monthNumber;
        EXPECT_EQ(fnv1a(lines), m.sum) << m.language << " " << m.monthNumber << "\n" << lines;
    }
}

// The texts go to Windows-1250 day files and help pages: every one must be encodable, and only
// Slovak 30 September carries an outer blank.
TEST(Rok, TextsAreCleanWindows1250) {
    for (bool sk : {true, false})
        for (auto& z : all(sk)) {
            SCOPED_TRACE(z.name);
            EXPECT_FALSE(FirstUnencodable(z.name).has_value());
            ASSERT_FALSE(z.name.empty());
            EXPECT_EQ(z.name.find("  "), std::string::npos);
            EXPECT_NE(z.name.front(), ' ');
            const bool jarolim = sk && z.date == 30 && z.monthNumber == 9;
            EXPECT_EQ(z.name.back() == ' ', jarolim);
        }
}

// ---------------------------------------------------------------------------------------------
// Single days as the widget and the week window read them.

struct Day {
    bool languageSK;
    int date;
    int monthNumber;
    std::vector<std::pair<std::string, bool>> entries;
};

void PrintTo(const Day& d, std::ostream* os) {
    *os << (d.languageSK ? "SK " : "CZ ") << d.date << "." << d.monthNumber << ".";
}

class DayListEntries : public testing::TestWithParam<Day> {};

TEST_P(DayListEntries, EntriesInOrderWithFlags) {
    const Day& p = GetParam();
    TRok rok;
    rok.Naplnit();
    rok.JazykSK = p.languageSK;
    const TSviatky& date = rok.DajDen(p.date, p.monthNumber);
    ASSERT_EQ(date.Pocet(), static_cast<int>(p.entries.size()));
    for (int i = 1; i <= date.Pocet(); ++i) {
        EXPECT_EQ(date.Nazov(i), p.entries[static_cast<std::size_t>(i - 1)].first) << i;
        EXPECT_EQ(date.JeSviatok(i), p.entries[static_cast<std::size_t>(i - 1)].second) << i;
    }
    // Past the end: an empty text and no holiday, which callers take as "no such entry".
    for (int i : {date.Pocet() + 1, date.Pocet() + 2, 0, -1}) {
        EXPECT_EQ(date.Nazov(i), "") << i;
        EXPECT_FALSE(date.JeSviatok(i)) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rok, DayListEntries,
    testing::Values(
        Day{true, 1, 1, {{"Nový rok", true}, {"Deň vzniku SR", true}}},
        Day{true, 17, 11, {{"Klaudia", false}, {"Deň boja za slob. a dem.", true}}},
        Day{false, 17, 11, {{"Den boje za svob. a dem.", true}, {"Mahulena", false}}},
        Day{true, 26, 12, {{"Štefan", true}, {"2.sviatok vianočný", true}}},
        Day{false, 26, 12, {{"2. svátek vánoční", true}, {"Štěpán", true}}},
        Day{true, 16, 9, {{"Ľudomila", false}, {"Ľudmila", false}}},
        Day{false, 16, 11, {{"Otmar", false}, {"Maulena", false}}},
        Day{true, 19, 1, {{"Drahomíra", false}, {"Mário", false}, {"Sára", false}}},
        Day{true, 24, 12, {{"Štedrý deň", true}, {"Adam", false}, {"Eva", false}}},
        Day{false, 24, 12, {{"Štědrý den", true}, {"Adam", false}, {"Eva", false}}},
        Day{false,
            5,
            7,
            {{"Svátek Cyrila a Metodeje", true}, {"Cyril", false}, {"Metoděj", false}}},
        Day{true, 2, 11, {{"Pamiatka zosnulých", false}}},
        Day{false, 6, 1, {{"Tři králové", false}}}, Day{true, 30, 9, {{"Jarolím ", false}}},
        Day{true, 29, 2, {}}, Day{false, 29, 2, {{"Horymír", false}}},
        // Dates no calendar has stay empty in both lists.
        Day{true, 30, 2, {}}, Day{false, 30, 2, {}}, Day{true, 31, 2, {}}, Day{false, 31, 2, {}},
        Day{true, 31, 4, {}}, Day{false, 31, 4, {}}, Day{true, 31, 6, {}}, Day{false, 31, 6, {}},
        Day{true, 31, 9, {}}, Day{false, 31, 9, {}}, Day{true, 31, 11, {}}, Day{false, 31, 11, {}},
        // Outside the calendar's range: an empty list rather than a read past the table.
        Day{true, 0, 1, {}}, Day{false, 32, 1, {}}, Day{true, 1, 0, {}}, Day{false, 1, 13, {}},
        Day{true, -5, -5, {}}),
    [](const auto& test) {
        const Day& d = test.param;
        auto number = [](int n) { return n < 0 ? "m" + std::to_string(-n) : std::to_string(n); };
        return std::string(d.languageSK ? "SK_" : "CZ_") + number(d.date) + "_" +
               number(d.monthNumber);
    });

TEST(Rok, TrailingBlankCountsAsACharacter) {
    TRok rok;
    rok.Naplnit();
    EXPECT_EQ(Utf8Length(rok.DajDen(30, 9).Nazov(1)), 8u);
}

// ---------------------------------------------------------------------------------------------
// The language switch and the lifetime of lists.

TEST(Rok, StartsSlovakAndEmpty) {
    TRok rok;
    EXPECT_TRUE(rok.JazykSK);
    for (bool sk : {true, false}) {
        rok.JazykSK = sk;
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= 31; ++d)
                EXPECT_EQ(rok.DajDen(d, m).Pocet(), 0) << d << "." << m << ".";
    }
}

TEST(Rok, SwitchingLanguageKeepsListsHandedOut) {
    TRok rok;
    rok.Naplnit();
    const TSviatky& slovak = rok.DajDen(17, 11);
    rok.JazykSK = false;
    const TSviatky& czech = rok.DajDen(17, 11);
    EXPECT_NE(&slovak, &czech);
    EXPECT_EQ(czech.Nazov(1), "Den boje za svob. a dem.");
    // The list obtained before the switch still holds the Slovak texts.
    EXPECT_EQ(slovak.Nazov(1), "Klaudia");
    EXPECT_TRUE(slovak.JeSviatok(2));
    rok.JazykSK = true;
    EXPECT_EQ(&rok.DajDen(17, 11), &slovak);
}

// Pridaj picks the table by its letter alone, whatever the switch says, and appends at the end.
TEST(Rok, AddChoosesTableByLetter) {
    TRok rok;
    rok.JazykSK = false;
    rok.Pridaj(3, 4, 's', "Prvé", false);
    rok.Pridaj(3, 4, 's', "Druhé", true);
    rok.Pridaj(3, 4, 'c', "České", false);
    rok.Pridaj(3, 4, 'x', "Iné", true);
    EXPECT_EQ(rok.DajDen(3, 4).Pocet(), 2);
    EXPECT_EQ(rok.DajDen(3, 4).Nazov(1), "České");
    EXPECT_EQ(rok.DajDen(3, 4).Nazov(2), "Iné");
    EXPECT_TRUE(rok.DajDen(3, 4).JeSviatok(2));
    rok.JazykSK = true;
    EXPECT_EQ(rok.DajDen(3, 4).Pocet(), 2);
    EXPECT_EQ(rok.DajDen(3, 4).Nazov(1), "Prvé");
    EXPECT_FALSE(rok.DajDen(3, 4).JeSviatok(1));
    EXPECT_EQ(rok.DajDen(3, 4).Nazov(2), "Druhé");
    EXPECT_TRUE(rok.DajDen(3, 4).JeSviatok(2));
    // Neighbouring lists are untouched (day and month are not swapped).
    EXPECT_EQ(rok.DajDen(4, 3).Pocet(), 0);
    EXPECT_THROW(rok.Pridaj(32, 1, 's', "x", false), std::out_of_range);
    EXPECT_THROW(rok.Pridaj(1, 13, 'c', "x", false), std::out_of_range);
}

// Only the day and month count: any year, any time of day, leap or not.
TEST(Rok, DayListIgnoresYearAndTime) {
    TRok rok;
    rok.Naplnit();
    for (bool sk : {true, false}) {
        rok.JazykSK = sk;
        const TSviatky* date = &rok.DajDen(17, 11);
        EXPECT_EQ(&rok.DajDatum(year{2024} / November / 17), date);
        EXPECT_EQ(&rok.DajDatum(year{1899} / November / 17), date);
        EXPECT_EQ(&rok.DajDatum(sys_days{year{2031} / November / 17}), date);
        EXPECT_EQ(&rok.DajDatum(LocalDateTime{sys_days{year{2023} / November / 17},
                                              hours{23} + minutes{59} + seconds{59}}),
                  date);
        EXPECT_EQ(&rok.DajDatum(LocalDateTime{sys_days{year{1970} / November / 17}, {}}), date);
        // 29 February looks up its list in any year; the Czech one has Horymír.
        EXPECT_EQ(&rok.DajDatum(year{2024} / February / 29), &rok.DajDen(29, 2));
        EXPECT_EQ(&rok.DajDatum(year{2023} / February / 29), &rok.DajDen(29, 2));
        EXPECT_EQ(rok.DajDatum(year{2023} / February / 29).Nazov(1), sk ? "" : "Horymír");
        // A day past the end of a month gives an empty list, not someone else's.
        EXPECT_EQ(rok.DajDatum(year{2024} / November / 0).Pocet(), 0);
        EXPECT_EQ(rok.DajDatum(year{2024} / November / 40).Pocet(), 0);
    }
}

TEST(Rok, WeekdayAndMonthWords) {
    const std::vector<std::string_view> dayList = {"",        "Pondelok", "Utorok", "Streda",
                                                   "Štvrtok", "Piatok",   "Sobota", "Nedeľa"};
    const std::vector<std::string_view> months = {
        "",    "Január", "Február",   "Marec",   "Apríl",    "Máj",     "Jún",
        "Júl", "August", "September", "Október", "November", "December"};
    EXPECT_EQ(std::vector<std::string_view>(Dni.begin(), Dni.end()), dayList);
    EXPECT_EQ(std::vector<std::string_view>(Mesiace.begin(), Mesiace.end()), months);
    // Monday = 1 in the ISO sense: 6 January 2025 was a Monday.
    EXPECT_EQ(Dni[weekday{sys_days{year{2025} / January / 6}}.iso_encoding()], "Pondelok");
}

} // namespace
