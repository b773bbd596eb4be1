// The days missed between two runs and what they held: reading back the date a run recorded,
// choosing the days across month and year ends and 29 February, and listing their entries.
#include "model/Zmeskane.h"

#include "store/uPoznamky.h"
#include "support/TempNotes.h"

#include <gtest/gtest.h>

namespace tilava {
namespace {

using namespace std::chrono;

constexpr year_month_day streda{2026y / 12 / 9};

struct CitanieDatumu {
    const char* text;
    const char* vzor;
    std::optional<year_month_day> datum;
};

TEST(Zmeskane, CitaZaznamDnaVoFormeUzivatela) {
    const CitanieDatumu tabulka[] = {
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
    const std::vector<std::string> mesiace{
        "Jan",  "Feb",  "Mar",  "Apr",     "May",       "Jun",      "Jul",      "Aug",
        "Sep",  "Oct",  "Nov",  "Dec",     "januára",   "februára", "marca",    "apríla",
        "mája", "júna", "júla", "augusta", "septembra", "októbra",  "novembra", "decembra"};
    for (const auto& r : tabulka)
        EXPECT_EQ(Zmeskane::CitajDatum(r.text, r.vzor, sys_days{streda}, mesiace), r.datum)
            << r.text << " / " << r.vzor;
}

TEST(Zmeskane, LastRunFromIsoWhenNowAgrees) {
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
        EXPECT_EQ(Zmeskane::LastRunFromIso(r.iso, r.now, sys_days{streda}), r.date)
            << r.iso << " / " << r.now;
    EXPECT_EQ(Zmeskane::IsoText(sys_days{2026y / 1 / 5}), "2026-01-05");
    EXPECT_EQ(Zmeskane::IsoText(sys_days{streda}), "2026-12-09");
}

struct VolbaDni {
    std::optional<year_month_day> posledny;
    year_month_day dnes;
    std::vector<year_month_day> dni;
};

TEST(Zmeskane, DniOdPoslednehoBehu) {
    const VolbaDni tabulka[] = {
        {std::nullopt, streda, {}},
        {streda, streda, {}},
        {2026y / 12 / 8, streda, {}}, // yesterday's run saw yesterday
        {2026y / 12 / 7, streda, {2026y / 12 / 8}},
        {2026y / 2 / 26, 2026y / 3 / 2, {2026y / 2 / 27, 2026y / 2 / 28, 2026y / 3 / 1}},
        {2025y / 12 / 30, 2026y / 1 / 2, {2025y / 12 / 31, 2026y / 1 / 1}},
        {2024y / 2 / 27, 2024y / 3 / 1, {2024y / 2 / 28, 2024y / 2 / 29}},
        {2027y / 1 / 1, streda, {}},
    };
    for (const auto& r : tabulka) {
        std::vector<year_month_day> dni;
        for (const sys_days d : Zmeskane::Dni(r.posledny, sys_days{r.dnes}))
            dni.emplace_back(d);
        EXPECT_EQ(dni, r.dni) << sys_days{r.dnes}.time_since_epoch().count();
    }
    // After a long absence only the latest days.
    const auto dlho = Zmeskane::Dni(2025y / 1 / 1, sys_days{streda});
    ASSERT_EQ(dlho.size(), static_cast<std::size_t>(Zmeskane::MaxDni));
    EXPECT_EQ(year_month_day{dlho.front()}, 2026y / 11 / 25);
    EXPECT_EQ(year_month_day{dlho.back()}, 2026y / 12 / 8);
}

TEST(Zmeskane, ZaznamyZmeskanychDni) {
    test::TempNotesFolder priecinok;
    priecinok.ZapisDen(5, 12, test::RiadkyDna({{1, 2026, "pred odchodom"}}));
    priecinok.ZapisDen(6, 12, test::RiadkyDna({{2, 1996, "Jano"}, {3, 2001, "svadba"}}));
    priecinok.ZapisDen(7, 12, test::RiadkyDna({{2, 1990, "nepripomínať"}}, false));
    priecinok.ZapisBajty(8, 12, "!\r\n-1\r\nx\r\n");
    priecinok.ZapisDen(9, 12, test::RiadkyDna({{1, 2026, "dnes"}}));
    TDayNotes poznamky(priecinok.Cesta());

    const std::vector<ReminderLine> riadky =
        Zmeskane::Zostav(poznamky, 2026y / 12 / 5, sys_days{streda});
    const std::vector<ReminderLine> ocakavane{
        {TDruh::Narodeniny, "Ne 6.12. Jano 30. narodeniny"},
        {TDruh::Vyrocie, "Ne 6.12. 25. výročie svadba"},
        {TDruh::Poznamka, "Ut 8.12. Súbor 1208.txt sa nedá prečítať (riadok 3)", true},
    };
    EXPECT_EQ(riadky, ocakavane);
    EXPECT_TRUE(Zmeskane::Zostav(poznamky, std::nullopt, sys_days{streda}).empty());
}

} // namespace
} // namespace tilava
