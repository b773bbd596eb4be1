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

TRok& kalendar() {
    static const auto rok = [] {
        auto r = std::make_unique<TRok>();
        r->Naplnit();
        return r;
    }();
    return *rok;
}

// Reads a table the way the week model's name search does: month 1..12, day 1..31, entry
// 1..Pocet, through DajDen with the language switched.
struct Zaznam {
    int den;
    int mesiac;
    int miesto;
    std::string nazov;
    bool sviatok;
};

std::vector<Zaznam> vsetky(bool jazykSK) {
    TRok& rok = kalendar();
    const bool predtym = rok.JazykSK;
    rok.JazykSK = jazykSK;
    std::vector<Zaznam> out;
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 31; ++d) {
            const TSviatky& den = rok.DajDen(d, m);
            for (int i = 1; i <= den.Pocet(); ++i)
                out.push_back({d, m, i, den.Nazov(i), den.JeSviatok(i)});
        }
    rok.JazykSK = predtym;
    return out;
}

using Datum = std::pair<int, int>; // day, month

// ---------------------------------------------------------------------------------------------
// The shape of both lists.

struct Tvar {
    bool jazykSK;
    int zaznamov;
    int dniSoZaznamom;
    int dniSDvoma;
    std::set<Datum> dniSTroma;
    std::set<Datum> lenSviatky; // dates whose every entry is a holiday
};

void PrintTo(const Tvar& t, std::ostream* os) {
    *os << (t.jazykSK ? "SK" : "CZ");
}

class TvarZoznamu : public testing::TestWithParam<Tvar> {};

TEST_P(TvarZoznamu, CountsAndDaysMatchTheLists) {
    const Tvar& t = GetParam();
    std::map<Datum, std::vector<Zaznam>> dni;
    for (auto& z : vsetky(t.jazykSK))
        dni[{z.den, z.mesiac}].push_back(z);

    int zaznamov = 0, sDvoma = 0;
    std::set<Datum> sTroma, lenSviatky;
    for (auto& [datum, zoznam] : dni) {
        zaznamov += static_cast<int>(zoznam.size());
        if (zoznam.size() == 2)
            ++sDvoma;
        if (zoznam.size() == 3)
            sTroma.insert(datum);
        if (std::all_of(zoznam.begin(), zoznam.end(), [](auto& z) { return z.sviatok; }))
            lenSviatky.insert(datum);
    }
    EXPECT_EQ(zaznamov, t.zaznamov);
    EXPECT_EQ(static_cast<int>(dni.size()), t.dniSoZaznamom);
    EXPECT_EQ(sDvoma, t.dniSDvoma);
    EXPECT_EQ(sTroma, t.dniSTroma);
    EXPECT_EQ(lenSviatky, t.lenSviatky);

    // Every real date of a leap year has entries except Slovak 29 February; no impossible date has.
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 31; ++d) {
            const bool skutocny = year_month_day{year{2024}, month(m), day(d)}.ok();
            const bool ocakavany = skutocny && !(t.jazykSK && d == 29 && m == 2);
            EXPECT_EQ(dni.count({d, m}) == 1, ocakavany) << d << "." << m << ".";
        }
}

INSTANTIATE_TEST_SUITE_P(
    Rok, TvarZoznamu,
    testing::Values(Tvar{true,
                         405,
                         365,
                         30,
                         {{19, 1}, {29, 6}, {2, 9}, {1, 11}, {24, 12}},
                         {{1, 1}, {1, 5}, {5, 7}, {25, 12}, {26, 12}}},
                    Tvar{false,
                         389,
                         366,
                         19,
                         {{5, 7}, {24, 12}},
                         {{1, 1}, {1, 5}, {8, 5}, {6, 7}, {28, 10}, {25, 12}, {26, 12}}}),
    [](const auto& test) { return test.param.jazykSK ? "SK" : "CZ"; });

// Every flagged entry with its place; nothing else carries the flag.
TEST(Rok, HolidayFlagsAreExactlyTheHolidays) {
    using Sviatok = std::tuple<bool, int, int, int, std::string>; // SK, day, month, place, text
    const std::set<Sviatok> ocakavane = {
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
    std::set<Sviatok> najdene;
    for (bool sk : {true, false})
        for (auto& z : vsetky(sk))
            if (z.sviatok)
                najdene.insert({sk, z.den, z.mesiac, z.miesto, z.nazov});
    EXPECT_EQ(najdene, ocakavane);
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
    struct Mesiac {
        char jazyk;
        int mesiac;
        int zaznamov;
        std::uint32_t sucet;
    };
    const Mesiac tabulka[] = {
        {'s', 1, 36, 0x36a92640u},  {'s', 2, 31, 0x40e175e8u},  {'s', 3, 33, 0xbc0dbe99u},
        {'s', 4, 31, 0x29e7f42fu},  {'s', 5, 35, 0x90244654u},  {'s', 6, 32, 0xf0df152bu},
        {'s', 7, 33, 0x37af19c0u},  {'s', 8, 34, 0x023d655bu},  {'s', 9, 38, 0x31d01fe3u},
        {'s', 10, 31, 0x4ca1dcdau}, {'s', 11, 35, 0x2b289d0eu}, {'s', 12, 36, 0x324084cbu},
        {'c', 1, 32, 0x63c5dc9au},  {'c', 2, 29, 0x1d694df3u},  {'c', 3, 33, 0xeacaf3b2u},
        {'c', 4, 32, 0x13e171bfu},  {'c', 5, 32, 0x8a6a1fe4u},  {'c', 6, 32, 0x3f398ec5u},
        {'c', 7, 34, 0xc598c6dcu},  {'c', 8, 31, 0x487ee6c9u},  {'c', 9, 33, 0xf38f06c2u},
        {'c', 10, 34, 0xfd237bbau}, {'c', 11, 33, 0xe5d5f940u}, {'c', 12, 34, 0x11b8e63eu},
    };
    const auto sk = vsetky(true), cz = vsetky(false);
    for (const Mesiac& m : tabulka) {
        std::string riadky;
        int zaznamov = 0;
        for (auto& z : m.jazyk == 's' ? sk : cz)
            if (z.mesiac == m.mesiac) {
                riadky += std::to_string(z.den) + "|" + z.nazov + (z.sviatok ? "|H\n" : "|-\n");
                ++zaznamov;
            }
        EXPECT_EQ(zaznamov, m.zaznamov) << m.jazyk << " " << m.mesiac;
        EXPECT_EQ(fnv1a(riadky), m.sucet) << m.jazyk << " " << m.mesiac << "\n" << riadky;
    }
}

// The texts go to Windows-1250 day files and help pages: every one must be encodable, and only
// Slovak 30 September carries an outer blank.
TEST(Rok, TextsAreCleanWindows1250) {
    for (bool sk : {true, false})
        for (auto& z : vsetky(sk)) {
            SCOPED_TRACE(z.nazov);
            EXPECT_FALSE(FirstUnencodable(z.nazov).has_value());
            ASSERT_FALSE(z.nazov.empty());
            EXPECT_EQ(z.nazov.find("  "), std::string::npos);
            EXPECT_NE(z.nazov.front(), ' ');
            const bool jarolim = sk && z.den == 30 && z.mesiac == 9;
            EXPECT_EQ(z.nazov.back() == ' ', jarolim);
        }
}

// ---------------------------------------------------------------------------------------------
// Single days as the widget and the week window read them.

struct Den {
    bool jazykSK;
    int den;
    int mesiac;
    std::vector<std::pair<std::string, bool>> zaznamy;
};

void PrintTo(const Den& d, std::ostream* os) {
    *os << (d.jazykSK ? "SK " : "CZ ") << d.den << "." << d.mesiac << ".";
}

class DenZoznamu : public testing::TestWithParam<Den> {};

TEST_P(DenZoznamu, EntriesInOrderWithFlags) {
    const Den& p = GetParam();
    TRok rok;
    rok.Naplnit();
    rok.JazykSK = p.jazykSK;
    const TSviatky& den = rok.DajDen(p.den, p.mesiac);
    ASSERT_EQ(den.Pocet(), static_cast<int>(p.zaznamy.size()));
    for (int i = 1; i <= den.Pocet(); ++i) {
        EXPECT_EQ(den.Nazov(i), p.zaznamy[static_cast<std::size_t>(i - 1)].first) << i;
        EXPECT_EQ(den.JeSviatok(i), p.zaznamy[static_cast<std::size_t>(i - 1)].second) << i;
    }
    // Past the end: an empty text and no holiday, which callers take as "no such entry".
    for (int i : {den.Pocet() + 1, den.Pocet() + 2, 0, -1}) {
        EXPECT_EQ(den.Nazov(i), "") << i;
        EXPECT_FALSE(den.JeSviatok(i)) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rok, DenZoznamu,
    testing::Values(
        Den{true, 1, 1, {{"Nový rok", true}, {"Deň vzniku SR", true}}},
        Den{true, 17, 11, {{"Klaudia", false}, {"Deň boja za slob. a dem.", true}}},
        Den{false, 17, 11, {{"Den boje za svob. a dem.", true}, {"Mahulena", false}}},
        Den{true, 26, 12, {{"Štefan", true}, {"2.sviatok vianočný", true}}},
        Den{false, 26, 12, {{"2. svátek vánoční", true}, {"Štěpán", true}}},
        Den{true, 16, 9, {{"Ľudomila", false}, {"Ľudmila", false}}},
        Den{false, 16, 11, {{"Otmar", false}, {"Maulena", false}}},
        Den{true, 19, 1, {{"Drahomíra", false}, {"Mário", false}, {"Sára", false}}},
        Den{true, 24, 12, {{"Štedrý deň", true}, {"Adam", false}, {"Eva", false}}},
        Den{false, 24, 12, {{"Štědrý den", true}, {"Adam", false}, {"Eva", false}}},
        Den{false,
            5,
            7,
            {{"Svátek Cyrila a Metodeje", true}, {"Cyril", false}, {"Metoděj", false}}},
        Den{true, 2, 11, {{"Pamiatka zosnulých", false}}},
        Den{false, 6, 1, {{"Tři králové", false}}}, Den{true, 30, 9, {{"Jarolím ", false}}},
        Den{true, 29, 2, {}}, Den{false, 29, 2, {{"Horymír", false}}},
        // Dates no calendar has stay empty in both lists.
        Den{true, 30, 2, {}}, Den{false, 30, 2, {}}, Den{true, 31, 2, {}}, Den{false, 31, 2, {}},
        Den{true, 31, 4, {}}, Den{false, 31, 4, {}}, Den{true, 31, 6, {}}, Den{false, 31, 6, {}},
        Den{true, 31, 9, {}}, Den{false, 31, 9, {}}, Den{true, 31, 11, {}}, Den{false, 31, 11, {}},
        // Outside the calendar's range: an empty list rather than a read past the table.
        Den{true, 0, 1, {}}, Den{false, 32, 1, {}}, Den{true, 1, 0, {}}, Den{false, 1, 13, {}},
        Den{true, -5, -5, {}}),
    [](const auto& test) {
        const Den& d = test.param;
        auto cislo = [](int n) { return n < 0 ? "m" + std::to_string(-n) : std::to_string(n); };
        return std::string(d.jazykSK ? "SK_" : "CZ_") + cislo(d.den) + "_" + cislo(d.mesiac);
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
    const TSviatky& slovensky = rok.DajDen(17, 11);
    rok.JazykSK = false;
    const TSviatky& cesky = rok.DajDen(17, 11);
    EXPECT_NE(&slovensky, &cesky);
    EXPECT_EQ(cesky.Nazov(1), "Den boje za svob. a dem.");
    // The list obtained before the switch still holds the Slovak texts.
    EXPECT_EQ(slovensky.Nazov(1), "Klaudia");
    EXPECT_TRUE(slovensky.JeSviatok(2));
    rok.JazykSK = true;
    EXPECT_EQ(&rok.DajDen(17, 11), &slovensky);
}

// Pridaj picks the table by its letter alone, whatever the switch says, and appends at the end.
TEST(Rok, PridajChoosesTableByLetter) {
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
TEST(Rok, DajDatumIgnoresYearAndTime) {
    TRok rok;
    rok.Naplnit();
    for (bool sk : {true, false}) {
        rok.JazykSK = sk;
        const TSviatky* den = &rok.DajDen(17, 11);
        EXPECT_EQ(&rok.DajDatum(year{2024} / November / 17), den);
        EXPECT_EQ(&rok.DajDatum(year{1899} / November / 17), den);
        EXPECT_EQ(&rok.DajDatum(sys_days{year{2031} / November / 17}), den);
        EXPECT_EQ(&rok.DajDatum(LocalDateTime{sys_days{year{2023} / November / 17},
                                              hours{23} + minutes{59} + seconds{59}}),
                  den);
        EXPECT_EQ(&rok.DajDatum(LocalDateTime{sys_days{year{1970} / November / 17}, {}}), den);
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
    const std::vector<std::string_view> dni = {"",        "Pondelok", "Utorok", "Streda",
                                               "Štvrtok", "Piatok",   "Sobota", "Nedeľa"};
    const std::vector<std::string_view> mesiace = {
        "",    "Január", "Február",   "Marec",   "Apríl",    "Máj",     "Jún",
        "Júl", "August", "September", "Október", "November", "December"};
    EXPECT_EQ(std::vector<std::string_view>(Dni.begin(), Dni.end()), dni);
    EXPECT_EQ(std::vector<std::string_view>(Mesiace.begin(), Mesiace.end()), mesiace);
    // Monday = 1 in the ISO sense: 6 January 2025 was a Monday.
    EXPECT_EQ(Dni[weekday{sys_days{year{2025} / January / 6}}.iso_encoding()], "Pondelok");
}

} // namespace
