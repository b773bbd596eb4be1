#include "model/DayTexts.h"

#include "core/uRok.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

using namespace std::chrono;

namespace tilava {
namespace {

constexpr sys_days Den(int r, unsigned m, unsigned d) {
    return sys_days{year{r} / month{m} / day{d}};
}

NameLine Riadok(std::string text) {
    return {std::move(text), std::nullopt, true};
}

// A calendar whose 10 March holds exactly the given names.
struct KalendarDna {
    explicit KalendarDna(const std::vector<std::string>& mena) {
        for (const auto& meno : mena)
            rok.Pridaj(10, 3, 's', meno, false);
    }
    TRok rok;
};

struct PripadMien {
    std::vector<std::string> mena;
    NameLine prvy, druhy;
};

class DnesneMena : public testing::TestWithParam<PripadMien> {};

TEST_P(DnesneMena, StojaNaSpravnychRiadkoch) {
    const auto& p = GetParam();
    KalendarDna k(p.mena);
    const DayTexts t = DayTexts::Dnes(k.rok, Den(2025, 3, 10));
    EXPECT_EQ(t.sviatky[0], p.prvy);
    EXPECT_EQ(t.sviatky[1], p.druhy);
    EXPECT_EQ(t.sviatky[2], NameLine{}) << "the third line is never filled";
}

INSTANTIATE_TEST_SUITE_P(
    PocetZaznamov, DnesneMena,
    testing::Values(PripadMien{{}, {}, {}}, PripadMien{{"Anna"}, {}, Riadok("Anna")},
                    PripadMien{{"Anna", "Ivan"}, Riadok("Anna"), Riadok("Ivan")},
                    PripadMien{{"Anna", "Ivan", "Oto"}, Riadok("Anna"), Riadok("Ivan")},
                    // 14 characters, the last ones two bytes each: shown whole, hint untouched
                    PripadMien{{"Abcdefghijkľšť"}, {}, Riadok("Abcdefghijkľšť")},
                    // 15 characters: first 11 + "...", the hint holds the whole name
                    PripadMien{{"Štefánia Ľubica", "Medard"},
                               {"Štefánia Ľu...", "Štefánia Ľubica", true},
                               Riadok("Medard")}));

TEST(DnesnyPohlad, DenDatumANazovDna) {
    TRok rok;
    struct {
        sys_days den;
        const char* datum;
        const char* nazov;
    } const pripady[] = {
        {Den(2025, 3, 10), "10.", "Pondelok"}, {Den(2025, 3, 13), "13.", "Štvrtok"},
        {Den(2025, 3, 16), "16.", "Nedeľa"},   {Den(2024, 2, 29), "29.", "Štvrtok"},
        {Den(2025, 6, 7), "7.", "Sobota"},
    };
    for (const auto& p : pripady) {
        const DayTexts t = DayTexts::Dnes(rok, p.den);
        EXPECT_EQ(t.dnes, "Dnes");
        EXPECT_EQ(t.datum, p.datum);
        EXPECT_EQ(t.den, p.nazov);
        for (const auto& riadok : t.sviatky)
            EXPECT_TRUE(riadok.visible);
    }
}

TEST(ZajtrajsiPohlad, PrvyMenoZajtrajska) {
    TRok rok;
    rok.Pridaj(1, 1, 's', "Nový rok", true);
    rok.Pridaj(1, 1, 's', "Deň vzniku SR", true);
    rok.Pridaj(29, 2, 's', "Radomír", false);
    rok.Pridaj(17, 3, 's', "Ľubomíra Šťastná", false); // 16 characters
    struct {
        sys_days dnes;
        const char* den;
        const char* datum;
        const char* meno;
    } const pripady[] = {
        {Den(2024, 12, 31), "Streda", "1.", "Nový rok"},         // over the year's end
        {Den(2024, 2, 28), "Štvrtok", "29.", "Radomír"},         // a leap day
        {Den(2025, 3, 16), "Pondelok", "17.", "Ľubomíra Šť..."}, // Sunday to Monday, cut
        {Den(2025, 3, 17), "Utorok", "18.", ""},
    };
    for (const auto& p : pripady) {
        const DayTexts t = DayTexts::Zajtra(rok, p.dnes);
        EXPECT_EQ(t.dnes, "Zajtra");
        EXPECT_EQ(t.den, p.den);
        EXPECT_EQ(t.datum, p.datum);
        EXPECT_EQ(t.sviatky[0], (NameLine{p.meno, p.meno, true}));
        EXPECT_FALSE(t.sviatky[1].visible);
        EXPECT_FALSE(t.sviatky[2].visible);
    }
}

TEST(ZajtrajsiPohlad, NasledujeJazykKalendara) {
    TRok rok;
    rok.Naplnit();
    const auto dnes = Den(2025, 7, 4); // tomorrow 5 July, a holiday in both lists
    rok.JazykSK = true;
    const auto sk = DayTexts::Zajtra(rok, dnes).sviatky[0].text;
    rok.JazykSK = false;
    const auto cz = DayTexts::Zajtra(rok, dnes).sviatky[0].text;
    EXPECT_EQ(sk, DayTexts::Skrat(rok.TabulkaSK[4][6].Nazov(1)));
    EXPECT_EQ(cz, DayTexts::Skrat(rok.TabulkaCZ[4][6].Nazov(1)));
    EXPECT_NE(sk, cz);
}

} // namespace
} // namespace tilava
