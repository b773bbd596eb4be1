#include "model/Reminders.h"

#include "support/TempNotes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <ostream>

using namespace std::chrono;

namespace tilava {

void PrintTo(const ReminderLine& riadok, std::ostream* os) {
    *os << static_cast<int>(riadok.druh) << " \"" << riadok.text << "\""
        << (riadok.chyba ? " !" : "");
}

namespace {

using test::RiadkyDna;
using test::TempNotesFolder;
using test::Zaznam;

constexpr sys_days dnes = sys_days{year{2025} / 3 / 30}; // a Sunday

class Pripomienky : public testing::Test {
protected:
    Pripomienky() {
        // today: a birthday, a note and an anniversary; tomorrow a note; the day after it one
        // note on a day that is not listed; three days on a birthday
        folder.ZapisDen(30, 3,
                        RiadkyDna({{2, 1980, "Jano"}, {1, 2025, "Zubár"}, {3, 2000, "svadba"}}));
        folder.ZapisDen(31, 3, RiadkyDna({{1, 2019, " staré"}}));
        folder.ZapisDen(1, 4, RiadkyDna({{1, 2025, "skryté"}}, false));
        folder.ZapisDen(2, 4, RiadkyDna({{2, 2000, "Eva"}}));
    }
    Reminders Zostav(int dopredu) { return Reminders::Zostav(poznamky, dnes, dopredu); }

    TempNotesFolder folder;
    TDayNotes poznamky{folder.Cesta()};
};

TEST_F(Pripomienky, DopreduVyberaDniVPoradi) {
    const ReminderLine jano{TDruh::Narodeniny, "Jano 45. narodeniny"};
    const ReminderLine zubar{TDruh::Poznamka, "Zubár"};
    const ReminderLine svadba{TDruh::Vyrocie, "25. výročie svadba"};
    // a plain note of another year is listed like any other entry; its blanks stay
    const ReminderLine stare{TDruh::Poznamka, " staré"};
    const ReminderLine eva{TDruh::Narodeniny, "Eva 25. narodeniny"};
    struct {
        int dopredu;
        std::vector<ReminderLine> riadky;
    } const pripady[] = {
        {-1, {}},
        {0, {jano, zubar, svadba}},
        {1, {jano, zubar, svadba, stare}},
        {2, {jano, zubar, svadba, stare}},
        {3, {jano, zubar, svadba, stare, eva}},
    };
    for (const auto& p : pripady) {
        SCOPED_TRACE(p.dopredu);
        const Reminders r = Zostav(p.dopredu);
        EXPECT_EQ(r.riadky, p.riadky);
        EXPECT_TRUE(r.chyby.empty());
    }
}

TEST_F(Pripomienky, ChybnySuborMaVlastnyRiadokAOstatneDniZostanu) {
    // tomorrow: the second record's kind line is not a number (line 7 of the file); two days
    // on: the first record's kind (line 3)
    folder.ZapisDen(31, 3, {"!", "-1", "1", "2025", "ráno", "-1", "abc", "2025", "večer"});
    folder.ZapisDen(1, 4, {"!", "-1", "x"});
    const Reminders r = Zostav(3);
    ASSERT_EQ(r.chyby.size(), 2u);
    EXPECT_NE(r.chyby[0].find("0331.txt"), std::string::npos) << r.chyby[0];
    EXPECT_NE(r.chyby[0].find("riadok 7"), std::string::npos) << r.chyby[0];
    EXPECT_NE(r.chyby[1].find("0401.txt"), std::string::npos) << r.chyby[1];
    // today's lines, what the bad day held before its bad record, a line for each bad file,
    // and the good day after them
    const std::vector<ReminderLine> riadky{
        {TDruh::Narodeniny, "Jano 45. narodeniny"},
        {TDruh::Poznamka, "Zubár"},
        {TDruh::Vyrocie, "25. výročie svadba"},
        {TDruh::Poznamka, "ráno"},
        {TDruh::Poznamka, "Súbor 0331.txt sa nedá prečítať (riadok 7)", true},
        {TDruh::Poznamka, "Súbor 0401.txt sa nedá prečítať (riadok 3)", true},
        {TDruh::Narodeniny, "Eva 25. narodeniny"},
    };
    EXPECT_EQ(r.riadky, riadky);
}

TEST_F(Pripomienky, ZoznamKonciNaStoRiadkoch) {
    std::vector<Zaznam> vela;
    for (int i = 1; i <= 101; ++i)
        vela.push_back({1, 2025, "pripomienka " + std::to_string(i)});
    folder.ZapisDen(30, 3, RiadkyDna(vela));
    const Reminders r = Zostav(5);
    ASSERT_EQ(r.riadky.size(), Reminders::MaxRiadkov);
    EXPECT_EQ(r.riadky.back().text, "pripomienka 100");
    EXPECT_TRUE(r.chyby.empty());
}

TEST_F(Pripomienky, VelkeDopreduSaNezasekne) {
    // no listed day at all: the four-year cycle has been seen, nothing more can come
    TempNotesFolder prazdny;
    TDayNotes ziadne{prazdny.Cesta()};
    EXPECT_TRUE(Reminders::Zostav(ziadne, dnes, INT_MAX).riadky.empty());
    // a day more than a year ahead is still found
    prazdny.ZapisDen(1, 5, RiadkyDna({{1, 2026, "o rok"}}));
    const Reminders r = Reminders::Zostav(ziadne, dnes, 400);
    ASSERT_EQ(r.riadky.size(), 2u);
    // and a huge count stops at the hundredth line, 100 years ahead
    EXPECT_EQ(Reminders::Zostav(ziadne, dnes, INT_MAX).riadky.size(), Reminders::MaxRiadkov);
}

TEST(Tooltip, TextSPoctomPripomienok) {
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
        folder.ZapisDen(30, 3, RiadkyDna({{1, 2025, c.text}}));
        TDayNotes poznamky{folder.Cesta()};
        const Reminders r = Reminders::Zostav(poznamky, dnes, 0);
        ASSERT_EQ(r.riadky.size(), 1u);
        EXPECT_EQ(r.riadky[0].text, c.shown);
    }
}

} // namespace
} // namespace tilava
