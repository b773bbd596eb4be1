#include "model/uTyzden.h"

#include "platform/MemoryHive.h"
#include "store/uRegi.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace tilava {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;
using namespace std::chrono_literals;

const TRok& Kalendar() {
    static TRok rok;
    static const bool naplneny = (rok.Naplnit(), true);
    (void)naplneny;
    return rok;
}

std::string Text(year_month_day d) {
    return std::to_string(static_cast<unsigned>(d.day())) + "." +
           std::to_string(static_cast<unsigned>(d.month())) + "." +
           std::to_string(static_cast<int>(d.year()));
}

// Stands in for the event editor: applies `zmena` to the entry and answers `potvrd`.
struct Editor final : IEventEditor {
    struct Zaznam {
        int vytvorene = 0;
        bool existujuca = false;
        int rok = 0;
        TNote videl;
    };
    Editor(Zaznam& record, std::function<void(TNote&)> change, bool confirm)
        : z(record), zmena(std::move(change)), potvrd(confirm) {}
    void NastavExistujucu(bool e) override { z.existujuca = e; }
    bool Uprav(TNote& poznamka, int rok) override {
        z.rok = rok;
        z.videl = poznamka;
        if (potvrd)
            zmena(poznamka);
        return potvrd;
    }
    Zaznam& z;
    std::function<void(TNote&)> zmena;
    bool potvrd;
};

class TyzdenTest : public ::testing::Test {
protected:
    std::unique_ptr<TTyzden> Otvor(year_month_day den, milliseconds cas = 13h + 5min,
                                   const TRok& rok = Kalendar()) {
        hodiny.Nastav(den, cas);
        return std::make_unique<TTyzden>(rok, regi, priecinok, hodiny);
    }

    // Lets the next edits apply `zmena` and answer `potvrd`.
    void Edituj(TTyzden& t, std::function<void(TNote&)> zmena, bool potvrd = true) {
        t.NastavEditor([this, zmena, potvrd] {
            ++editor.vytvorene;
            return std::make_unique<Editor>(editor, zmena, potvrd);
        });
    }

    // Adds an entry to the selected day through the editor.
    void Pridaj(TTyzden& t, TNote n) {
        Edituj(t, [n](TNote& note) { note = n; });
        t.NastavZaznam(0);
        ASSERT_EQ(t.Vykonaj(TTyzden::UpravitZaznam), TTyzden::Hotovo);
    }

    std::vector<std::string> Texty(const TTyzden& t, int den) {
        std::vector<std::string> texty;
        for (const TRiadok& r : t.Riadky(den))
            texty.push_back(r.Text);
        return texty;
    }

    test::TempFolder docasny{"tilava-tyzden"};
    const fs::path priecinok = docasny.Path();
    MemoryHive hive;
    TRegi regi{hive};
    FixedClock hodiny{2024y / 1 / 1};
    Editor::Zaznam editor;
};

// --- assembling the week -----------------------------------------------------------------

struct Zostava {
    year_month_day datum;
    year_month_day pondelok;
    int vybranyDen;
    int tyzden;
};

TEST_F(TyzdenTest, WeekRunsMondayToSundayAroundTheDateAndKeepsTheTimeOfDay) {
    const Zostava pripady[] = {
        {2024y / 3 / 31, 2024y / 3 / 25, 7, 13},  // a Sunday: Monday is six days earlier
        {2025y / 12 / 31, 2025y / 12 / 29, 3, 1}, // 29 December .. 4 January is week 1
        {2026y / 1 / 4, 2025y / 12 / 29, 7, 1},
        {2021y / 1 / 1, 2020y / 12 / 28, 5, 53}, // the first days of January in week 53
        {2024y / 2 / 29, 2024y / 2 / 26, 4, 9},
    };
    for (const Zostava& p : pripady) {
        SCOPED_TRACE(Text(p.datum));
        const auto t = Otvor(p.datum, 23h + 59min);
        EXPECT_EQ(t->VybranyDen(), p.vybranyDen);
        EXPECT_EQ(t->CisloTyzdna(), p.tyzden);
        EXPECT_EQ(t->Datum().den, sys_days{p.datum});
        for (int i = 1; i <= 7; ++i) {
            const year_month_day d{sys_days{p.pondelok} + days{i - 1}};
            EXPECT_EQ(t->Den7(i).den, sys_days{d});
            EXPECT_EQ(t->Den7(i).casDna, 23h + 59min);
            EXPECT_EQ(t->DenMesiaca(i), static_cast<int>(static_cast<unsigned>(d.day())));
            EXPECT_EQ(t->Mesiac(i), static_cast<int>(static_cast<unsigned>(d.month())));
            EXPECT_EQ(t->Rok(i), static_cast<int>(d.year()));
            EXPECT_EQ(t->DenMesiacaText(i), std::to_string(static_cast<unsigned>(d.day())));
        }
    }
}

TEST_F(TyzdenTest, DaysShowTheirCalendarEntriesAndHolidays) {
    const auto t = Otvor(2025y / 12 / 31); // Mon 29 Dec .. Sun 4 Jan
    EXPECT_EQ(t->PrvyZaznam(4), "Nový rok");
    EXPECT_EQ(t->DruhyZaznam(4), "Deň vzniku SR");
    EXPECT_TRUE(t->Sviatok(4));
    EXPECT_EQ(t->PrvyZaznam(5), "Alexandra");
    EXPECT_EQ(t->DruhyZaznam(5), "Karina");
    EXPECT_FALSE(t->Sviatok(5));
    EXPECT_EQ(t->DruhyZaznam(6), ""); // 3 January has one name
    EXPECT_TRUE(t->Cerveny(4));
    EXPECT_FALSE(t->Cerveny(5));
    EXPECT_TRUE(t->Cerveny(7)); // Sunday
    EXPECT_THROW(t->PrvyZaznam(0), std::out_of_range);
    EXPECT_THROW(t->Den7(8), std::out_of_range);
}

TEST_F(TyzdenTest, EasterDaysAreMarkedInTheirWeeks) {
    const year_month_day nedele[] = {2008y / 3 / 23, 2009y / 4 / 12, 2010y / 4 / 4, 2011y / 4 / 24,
                                     2024y / 3 / 31};
    for (const year_month_day nedela : nedele) {
        SCOPED_TRACE(Text(nedela));
        auto t = Otvor(nedela);
        for (int i = 1; i <= 7; ++i) {
            const auto cakany = i == 5   ? TVelkonocnyDen::Piatok
                                : i == 7 ? TVelkonocnyDen::Nedela
                                         : TVelkonocnyDen::Ziadny;
            EXPECT_EQ(t->VelkonocnyDen(i), cakany) << i;
        }
        EXPECT_TRUE(t->Cerveny(5));
        ASSERT_EQ(t->Vykonaj(TTyzden::TyzdenDopredu), TTyzden::Hotovo);
        EXPECT_EQ(t->VelkonocnyDen(1), TVelkonocnyDen::Pondelok);
        EXPECT_TRUE(t->Cerveny(1));
        for (int i = 2; i <= 7; ++i)
            EXPECT_EQ(t->VelkonocnyDen(i), TVelkonocnyDen::Ziadny) << i;
    }
}

// --- commands ----------------------------------------------------------------------------

TEST_F(TyzdenTest, NavigationCommandsSaveAndMoveTheWeek) {
    auto t = Otvor(2024y / 3 / 13, 8h); // Wednesday of week 11
    EXPECT_EQ(t->Vykonaj(TTyzden::TyzdenDopredu), TTyzden::Hotovo);
    EXPECT_EQ(t->Datum(), (LocalDateTime{sys_days{2024y / 3 / 20}, 8h}));
    EXPECT_EQ(t->CisloTyzdna(), 12);
    EXPECT_EQ(t->Vykonaj(TTyzden::TyzdenSpat), TTyzden::Hotovo);
    EXPECT_EQ(t->Vykonaj(TTyzden::TyzdenSpat), TTyzden::Hotovo);
    EXPECT_EQ(t->Den7(1).den, sys_days{2024y / 3 / 4});

    t->NastavDatum({sys_days{2024y / 12 / 29}, 1h});
    EXPECT_EQ(t->Vykonaj(TTyzden::ChodNaDatum), TTyzden::Hotovo);
    EXPECT_EQ(t->VybranyDen(), 7);
    EXPECT_EQ(t->CisloTyzdna(), 52);
    t->NastavDatum({sys_days{2024y / 3 / 13}, 8h});
    EXPECT_EQ(t->Vykonaj(TTyzden::Dnes), TTyzden::Hotovo);
    EXPECT_EQ(t->VybranyDen(), 3);

    t->VyberDen(6);
    EXPECT_EQ(t->Datum(), (LocalDateTime{sys_days{2024y / 3 / 16}, 8h}));
    t->VyberDen(0); // no such day
    t->VyberDen(8);
    EXPECT_EQ(t->VybranyDen(), 6);
    EXPECT_EQ(t->Vykonaj(TTyzden::TyzdenDopredu), TTyzden::Hotovo);
    EXPECT_EQ(t->VybranyDen(), 6);
    EXPECT_EQ(t->Datum().den, sys_days{2024y / 3 / 23});

    for (const int kod : {0, 300, 400, 101, 1000, -1})
        EXPECT_EQ(t->Vykonaj(kod), TTyzden::Nevykonane) << kod;
}

TEST_F(TyzdenTest, AFailedSaveKeepsTheWeekAndSavesEveryOtherDay) {
    for (const int prikaz :
         {TTyzden::TyzdenSpat, TTyzden::TyzdenDopredu, TTyzden::ChodNaDatum, TTyzden::Dnes}) {
        SCOPED_TRACE(prikaz);
        for (const auto& f : fs::directory_iterator(priecinok))
            fs::remove_all(f.path());
        auto t = Otvor(2025y / 12 / 31, 9h); // Mon 29 Dec 2025 .. Sun 4 Jan 2026
        t->VyberDen(1);
        Pridaj(*t, {TDruh::Narodeniny, 1980, true, "Jano"});
        t->VyberDen(6);
        Pridaj(*t, {TDruh::Vyrocie, 2000, true, "svadba"});
        t->VyberDen(3);
        Pridaj(*t, {TDruh::Poznamka, 2025, true, "streda"});
        t->VyberDen(2);
        // The place of Wednesday's file is taken by a folder: its save fails.
        fs::create_directory(priecinok / "1231.txt");

        t->NastavDatum({sys_days{2026y / 3 / 3}, 10h});
        EXPECT_EQ(t->Vykonaj(prikaz), TTyzden::Nevykonane);
        EXPECT_EQ(t->Datum(), (LocalDateTime{sys_days{2025y / 12 / 30}, 9h}));
        EXPECT_EQ(t->VybranyDen(), 2);
        EXPECT_EQ(t->Den7(1).den, sys_days{2025y / 12 / 29});
        EXPECT_NE(t->ChybaUlozenia().find("1231.txt"), std::string::npos) << t->ChybaUlozenia();
        EXPECT_EQ(test::ReadBytes(priecinok / "1229.txt"), "!\r\n-1\r\n2\r\n1980\r\nJano\r\n");
        EXPECT_EQ(test::ReadBytes(priecinok / "0103.txt"), "!\r\n-1\r\n3\r\n2000\r\nsvadba\r\n");
        EXPECT_EQ(t->Riadky(1).size(), 1u); // the entries are still there to save later

        fs::remove(priecinok / "1231.txt");
        EXPECT_EQ(t->Vykonaj(TTyzden::TyzdenDopredu), TTyzden::Hotovo);
        EXPECT_EQ(t->ChybaUlozenia(), "");
        EXPECT_EQ(t->Den7(1).den, sys_days{2026y / 1 / 5});
    }
}

TEST_F(TyzdenTest, AMalformedDayFileIsShownButNeitherEditedNorOverwritten) {
    // Tuesday 12 March: one good record, then a kind line that is not a number (line 7).
    const std::string pokazeny = "!\r\n-1\r\n2\r\n1980\r\nJano\r\n-1\r\nabc\r\n1990\r\nFero\r\n";
    test::WriteBytes(priecinok / "0312.txt", pokazeny);
    test::WriteBytes(priecinok / "0314.txt", "!\r\n-1\r\n1\r\n2024\r\nZubar\r\n");

    auto t = Otvor(2024y / 3 / 14); // Thursday; the later days must be assembled too
    EXPECT_EQ(t->Den7(7).den, sys_days{2024y / 3 / 17});
    EXPECT_EQ(Texty(*t, 4), std::vector<std::string>{"Zubar"});
    EXPECT_EQ(Texty(*t, 2), std::vector<std::string>{"Jano 44. narodeniny"});
    EXPECT_FALSE(t->Upravitelny(2));
    EXPECT_TRUE(t->Upravitelny(1));
    const std::string chyba = t->ChybaNacitania();
    EXPECT_NE(chyba.find("0312.txt"), std::string::npos) << chyba;
    EXPECT_NE(chyba.find("riadok 7"), std::string::npos) << chyba;
    EXPECT_EQ(t->VezmiChybuNacitania(), chyba);
    EXPECT_EQ(t->VezmiChybuNacitania(), ""); // reported once per assembly

    t->VyberDen(2);
    Edituj(*t, [](TNote& n) { n.Text = "zmenene"; });
    t->NastavZaznam(1);
    EXPECT_EQ(t->Vykonaj(TTyzden::UpravitZaznam), TTyzden::Nevykonane);
    t->NastavZaznam(0);
    EXPECT_EQ(t->Vykonaj(TTyzden::UpravitZaznam), TTyzden::Nevykonane);
    EXPECT_FALSE(t->ZmazZaznam());
    EXPECT_EQ(editor.vytvorene, 0);

    t->VyberDen(1);
    Pridaj(*t, {TDruh::Poznamka, 2024, true, "Pondelok"});
    EXPECT_TRUE(t->Ulozit());
    EXPECT_EQ(t->Vykonaj(TTyzden::TyzdenDopredu), TTyzden::Hotovo);
    EXPECT_EQ(t->ChybaNacitania(), "");
    EXPECT_EQ(test::ReadBytes(priecinok / "0311.txt"), "!\r\n-1\r\n1\r\n2024\r\nPondelok\r\n");
    EXPECT_EQ(t->Vykonaj(TTyzden::TyzdenSpat), TTyzden::Hotovo);
    EXPECT_NE(t->VezmiChybuNacitania(), "");
    EXPECT_EQ(t->Vykonaj(TTyzden::TyzdenDopredu), TTyzden::Hotovo);
    EXPECT_EQ(test::ReadBytes(priecinok / "0312.txt"), pokazeny);
    EXPECT_EQ(test::ReadBytes(priecinok / "0314.txt"), "!\r\n-1\r\n1\r\n2024\r\nZubar\r\n");
}

TEST_F(TyzdenTest, OnlyChangedDaysAreWritten) {
    // Files as an older version or a text editor may leave them: LF line ends, a flag word.
    const std::string lf = "!\n-1\n2\n1980\nJano\n";
    const std::string slovo = "x\r\nTrue\r\n3\r\n2000\r\nsvadba\r\n";
    test::WriteBytes(priecinok / "0311.txt", lf);
    test::WriteBytes(priecinok / "0312.txt", slovo);
    test::WriteBytes(priecinok / "0313.txt", "!\r\n-1\r\n1\r\n2024\r\nzmizne\r\n");
    test::WriteBytes(priecinok / "0314.txt", "!\r\n");
    auto t = Otvor(2024y / 3 / 13);
    fs::remove(priecinok / "0313.txt"); // removed by hand while the week is shown

    // Cancelling the editor, or confirming an entry unchanged, changes nothing either.
    t->VyberDen(1);
    Edituj(*t, [](TNote&) {});
    t->NastavZaznam(1);
    EXPECT_EQ(t->Vykonaj(TTyzden::UpravitZaznam), TTyzden::Hotovo);
    Edituj(
        *t, [](TNote& n) { n.Text = "Fero"; }, false);
    EXPECT_EQ(t->Vykonaj(TTyzden::UpravitZaznam), TTyzden::Nevykonane);
    EXPECT_FALSE(t->Zmeneny(1));

    EXPECT_EQ(t->Vykonaj(TTyzden::TyzdenDopredu), TTyzden::Hotovo);
    EXPECT_EQ(test::ReadBytes(priecinok / "0311.txt"), lf);
    EXPECT_EQ(test::ReadBytes(priecinok / "0312.txt"), slovo);
    EXPECT_FALSE(fs::exists(priecinok / "0313.txt"));
    EXPECT_EQ(test::ReadBytes(priecinok / "0314.txt"), "!\r\n");

    // A changed day is written in the day-file form, its first line kept.
    EXPECT_EQ(t->Vykonaj(TTyzden::TyzdenSpat), TTyzden::Hotovo);
    t->VyberDen(2);
    Edituj(*t, [](TNote& n) { n.Rok = 2001; });
    t->NastavZaznam(1);
    EXPECT_EQ(t->Vykonaj(TTyzden::UpravitZaznam), TTyzden::Hotovo);
    EXPECT_TRUE(t->Zmeneny(2));
    EXPECT_TRUE(t->Ulozit());
    EXPECT_FALSE(t->Zmeneny(2));
    EXPECT_EQ(test::ReadBytes(priecinok / "0312.txt"), "x\r\n-1\r\n3\r\n2001\r\nsvadba\r\n");
}

// --- entries -----------------------------------------------------------------------------

TEST_F(TyzdenTest, NewEntriesAreAddedOnlyWhenConfirmed) {
    auto t = Otvor(2024y / 3 / 13);
    t->NastavRokZaznamu(2024);
    Edituj(
        *t, [](TNote& n) { n.Text = "nic"; }, false);
    t->NastavZaznam(0);
    EXPECT_EQ(t->Vykonaj(TTyzden::UpravitZaznam), TTyzden::Nevykonane);
    EXPECT_EQ(t->Poznamky(3).Pocet(), 0);
    EXPECT_EQ(editor.videl, TNote{}); // a new entry starts as a birthday without text
    EXPECT_FALSE(editor.existujuca);
    EXPECT_EQ(editor.rok, 2024);

    Pridaj(*t, {TDruh::Narodeniny, 1980, true, "Jano"});
    EXPECT_EQ(Texty(*t, 3), std::vector<std::string>{"Jano 44. narodeniny"});
    EXPECT_FALSE(fs::exists(priecinok / "0313.txt")); // nothing is saved by an edit
    EXPECT_TRUE(t->Ulozit());
    EXPECT_TRUE(fs::exists(priecinok / "0313.txt"));

    // A selector beyond the rows edits nothing and opens no editor.
    const int pred = editor.vytvorene;
    t->NastavZaznam(2);
    EXPECT_EQ(t->Vykonaj(TTyzden::UpravitZaznam), TTyzden::Nevykonane);
    EXPECT_EQ(editor.vytvorene, pred);
    t->NastavEditor({});
    t->NastavZaznam(0);
    EXPECT_EQ(t->Vykonaj(TTyzden::UpravitZaznam), TTyzden::Nevykonane);
}

// A sync tool adds a birthday to the day file while the week is open here: the next week step
// keeps both, says which file it was, and the day's rows show the joined day.
TEST_F(TyzdenTest, AStepJoinsADayThatAnotherProgramChanged) {
    auto t = Otvor(2024y / 3 / 13);
    Pridaj(*t, {TDruh::Narodeniny, 1980, true, "Jano"});
    test::WriteBytes(priecinok / "0313.txt", "!\r\n-1\r\n2\r\n1975\r\nEva\r\n");
    EXPECT_TRUE(t->Ulozit());
    EXPECT_NE(t->OznamenieUlozenia().find("0313.txt“ medzitým zmenil"), std::string::npos);
    EXPECT_EQ(Texty(*t, 3),
              (std::vector<std::string>{"Jano 44. narodeniny", "Eva 49. narodeniny"}));
    EXPECT_EQ(test::ReadBytes(priecinok / "0313.txt"),
              "!\r\n-1\r\n2\r\n1980\r\nJano\r\n-1\r\n2\r\n1975\r\nEva\r\n");
    EXPECT_EQ(t->Vykonaj(TTyzden::TyzdenDopredu), TTyzden::Hotovo);
    EXPECT_EQ(t->OznamenieUlozenia(), "");
}

TEST_F(TyzdenTest, RowsSkipNotesOfAnotherYearAndStillEditTheRightEntries) {
    test::WriteBytes(priecinok / "0313.txt", "!\r\n"
                                             "-1\r\n1\r\n2020\r\nStara\r\n"
                                             "-1\r\n2\r\n1980\r\nJano\r\n"
                                             "-1\r\n1\r\n2023\r\nMinuly\r\n"
                                             "-1\r\n1\r\n2024\r\nZubar\r\n"
                                             "-1\r\n3\r\n2000\r\nsvadba\r\n");
    auto t = Otvor(2024y / 3 / 13);
    EXPECT_EQ(Texty(*t, 3),
              (std::vector<std::string>{"Jano 44. narodeniny", "Zubar", "24. výročie svadba"}));

    // 1-based row 2 is "Zubar", the fourth entry of the store.
    Edituj(*t, [](TNote& n) { n.Text = "Lekar"; });
    t->NastavZaznam(2);
    t->NastavRokZaznamu(2024);
    EXPECT_EQ(t->Vykonaj(TTyzden::UpravitZaznam), TTyzden::Hotovo);
    EXPECT_TRUE(editor.existujuca);
    EXPECT_EQ(editor.videl.Text, "Zubar");
    EXPECT_EQ(t->Poznamky(3).Polozka(3).Text, "Lekar");

    // 0-based row 2 is the anniversary, the fifth entry.
    t->NastavZaznam(2);
    EXPECT_TRUE(t->ZmazZaznam());
    EXPECT_EQ(Texty(*t, 3), (std::vector<std::string>{"Jano 44. narodeniny", "Lekar"}));
    t->NastavZaznam(2);
    EXPECT_FALSE(t->ZmazZaznam());

    // Emptying the text of row 1 (the birthday) removes it; the notes of other years stay.
    Edituj(*t, [](TNote& n) { n.Text.clear(); });
    t->NastavZaznam(1);
    EXPECT_EQ(t->Vykonaj(TTyzden::UpravitZaznam), TTyzden::Hotovo);
    EXPECT_EQ(Texty(*t, 3), std::vector<std::string>{"Lekar"});
    // Blanks only are a text: the entry stays.
    Edituj(*t, [](TNote& n) { n.Text = "  "; });
    EXPECT_EQ(t->Vykonaj(TTyzden::UpravitZaznam), TTyzden::Hotovo);
    EXPECT_EQ(t->Poznamky(3).Pocet(), 3);

    EXPECT_TRUE(t->Ulozit());
    EXPECT_EQ(test::ReadBytes(priecinok / "0313.txt"), "!\r\n"
                                                       "-1\r\n1\r\n2020\r\nStara\r\n"
                                                       "-1\r\n1\r\n2023\r\nMinuly\r\n"
                                                       "-1\r\n1\r\n2024\r\n  \r\n");
}

TEST_F(TyzdenTest, PlainNotesAreListedInTheYearOfTheirOwnDay) {
    test::WriteBytes(priecinok / "1230.txt", "!\r\n-1\r\n1\r\n2025\r\nstary rok\r\n");
    test::WriteBytes(priecinok / "0102.txt",
                     "!\r\n-1\r\n1\r\n2026\r\nnovy rok\r\n-1\r\n1\r\n2025\r\nx\r\n");
    auto t = Otvor(2025y / 12 / 29);
    EXPECT_EQ(Texty(*t, 2), std::vector<std::string>{"stary rok"});
    EXPECT_EQ(Texty(*t, 5), std::vector<std::string>{"novy rok"});
    t->VyberDen(5);
    t->NastavZaznam(0);
    EXPECT_TRUE(t->ZmazZaznam());
    EXPECT_EQ(t->Poznamky(5).Polozka(0).Text, "x");
}

// --- name search -------------------------------------------------------------------------

// Every result of the last search, stepping through them with command 5000.
std::vector<std::string> VsetkyVysledky(TTyzden& t) {
    std::vector<std::string> vsetky;
    for (int k = 1; k <= 3 && !t.Vysledok(k).empty(); ++k)
        vsetky.push_back(t.Vysledok(k));
    while (static_cast<int>(vsetky.size()) < t.PocetVysledkov()) {
        const int posun = t.Posun();
        EXPECT_EQ(t.Vykonaj(TTyzden::NeskorsieVysledky), TTyzden::Hotovo);
        if (t.Posun() != posun + 1)
            break;
        vsetky.push_back(t.Vysledok(3));
    }
    return vsetky;
}

TEST_F(TyzdenTest, CollationFollowsTheTable) {
    const std::pair<std::string, std::string> pripady[] = {
        {"aáäAÁ bBcčCČ", "AAAAA BBCCCC"},
        {"dďDĎeéěEÉfFgGhHiíI", "DDDDEEEEEFFGGHHIII"},
        {"jJkKlľLĽmMnňŇNoôóOÓ", "JJKKLLLLMMNNNNOOOOO"},
        {"pPqQrřRŘsšSŠtťTŤwWzžZŽ", "PPQQRRRRSSSSTTTTWWZZZZ"},
        {"uúůUÚyýYxXvV", "UUUUUYYYXXVV"},
        {"Ľudmila Šťastná", "LUDMILA STASTNA"},
        {std::string("ÄÍĹĺÔŔŕÝĚŮöü1.-'😀"), std::string(17, '\0')},
        {"", ""},
    };
    for (const auto& [vstup, vystup] : pripady)
        EXPECT_EQ(TTyzden::Normalizuj(vstup), vystup) << vstup;
}

TEST_F(TyzdenTest, SearchListsPrefixMatchesBeforeInnerOnesInCalendarOrder) {
    auto t = Otvor(2024y / 3 / 13);
    t->NastavHladane("ale");
    ASSERT_EQ(t->Vykonaj(TTyzden::Hladat), TTyzden::Hotovo);
    EXPECT_EQ(t->Vysledok(1), "2.1. Alexandra");
    EXPECT_EQ(t->VysledokDenMesiac(1), (std::array<int, 2>{2, 1}));
    EXPECT_TRUE(t->ViacVysledkov());
    const std::vector<std::string> ale = VsetkyVysledky(*t);
    ASSERT_EQ(static_cast<int>(ale.size()), t->PocetVysledkov());

    // The prefix block, then the inner block; each in calendar order, no entry twice.
    bool vnutri = false;
    std::pair<int, int> predosly{0, 0};
    for (const std::string& v : ale) {
        const int den = std::stoi(v);
        const int mesiac = std::stoi(v.substr(v.find('.') + 1));
        const std::string text = v.substr(v.find(". ") + 2);
        const std::string norm = TTyzden::Normalizuj(text);
        const bool predpona = norm.rfind("ALE", 0) == 0;
        ASSERT_NE(norm.find("ALE"), std::string::npos) << v;
        if (!predpona && !vnutri) {
            vnutri = true;
            predosly = {0, 0};
        }
        EXPECT_EQ(predpona, !vnutri) << v;
        EXPECT_LE(predosly, std::make_pair(mesiac, den)) << v;
        predosly = {mesiac, den};
        EXPECT_EQ(std::count(ale.begin(), ale.end(), v), 1) << v;
    }
    EXPECT_TRUE(vnutri);
    EXPECT_NE(std::find(ale.begin(), ale.end(), "13.4. Aleš"), ale.end());
    EXPECT_NE(std::find(ale.begin(), ale.end(), "9.1. Alexej"), ale.end());
    EXPECT_NE(std::find(ale.begin(), ale.end(), "14.2. Valentín"), ale.end());

    for (const char* rovnake : {"ALE", "alé", "Ále"}) {
        t->NastavHladane(rovnake);
        ASSERT_EQ(t->Vykonaj(TTyzden::Hladat), TTyzden::Hotovo);
        EXPECT_EQ(VsetkyVysledky(*t), ale) << rovnake;
    }

    // The search text may hold a blank; it matches across the words of an entry.
    t->NastavHladane("a k");
    ASSERT_EQ(t->Vykonaj(TTyzden::Hladat), TTyzden::Hotovo);
    EXPECT_EQ(t->Vysledok(1), "6.1. Traja králi");

    t->NastavHladane("");
    EXPECT_EQ(t->Vykonaj(TTyzden::Hladat), TTyzden::Nevykonane);
    EXPECT_EQ(t->PocetVysledkov(), 0);
    EXPECT_EQ(t->Vysledok(1), "");
    EXPECT_FALSE(t->ViacVysledkov());
    EXPECT_EQ(t->VysledokDenMesiac(1), (std::array<int, 2>{0, 0}));
}

// A jump to a result lands on its day in the given year; 29 February of a common year on
// 28 February, whose week holds it.
TEST_F(TyzdenTest, AResultsDayInTheYearOfTheJump) {
    const struct {
        const char* search;
        int year;
        int result;
        std::optional<year_month_day> day;
    } cases[] = {
        {"ale", 2024, 1, 2024y / 1 / 2},    {"ctib", 2024, 1, 2024y / 9 / 13},
        {"ctib", 2024, 2, std::nullopt},    {"horym", 2024, 1, 2024y / 2 / 29},
        {"horym", 2025, 1, 2025y / 2 / 28}, {"horym", 2100, 1, 2100y / 2 / 28},
    };
    TRok czech;
    czech.Naplnit();
    czech.JazykSK = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.search) + " " + std::to_string(c.year));
        auto t = Otvor(2024y / 6 / 10, 13h, c.search == std::string("horym") ? czech : Kalendar());
        t->NastavHladane(c.search);
        ASSERT_EQ(t->Vykonaj(TTyzden::Hladat), TTyzden::Hotovo);
        const auto day = t->ResultDay(c.result, year{c.year});
        EXPECT_EQ(day ? std::optional(year_month_day{*day}) : std::nullopt, c.day);
    }
}

TEST_F(TyzdenTest, ResultArrowsMoveOnlyWhenThereAreMoreThanThree) {
    TRok rok;
    rok.Pridaj(2, 1, 's', "Jan", false);
    rok.Pridaj(5, 1, 's', "Hana", false);
    rok.Pridaj(7, 2, 's', "Jana", false);
    rok.Pridaj(7, 2, 's', "Hanka", false);
    rok.Pridaj(9, 9, 's', "Bojana", false);
    rok.Pridaj(31, 12, 's', "Anabela", false);
    rok.Pridaj(31, 12, 'c', "Ana", false);
    auto t = Otvor(2024y / 3 / 13, 0h, rok);

    struct Pripad {
        std::string hladane;
        std::vector<std::string> vysledky;
    };
    const Pripad pripady[] = {
        {"jan", {"2.1. Jan", "7.2. Jana", "9.9. Bojana"}},
        {"ana", {"31.12. Anabela", "5.1. Hana", "7.2. Jana", "9.9. Bojana"}},
        {"an",
         {"31.12. Anabela", "2.1. Jan", "5.1. Hana", "7.2. Jana", "7.2. Hanka", "9.9. Bojana"}},
        {"HÁN", {"5.1. Hana", "7.2. Hanka"}},
        {"nk", {"7.2. Hanka"}},
        {"xyz", {}},
    };
    for (const Pripad& p : pripady) {
        SCOPED_TRACE(p.hladane);
        t->NastavHladane(p.hladane);
        ASSERT_EQ(t->Vykonaj(TTyzden::Hladat), TTyzden::Hotovo);
        EXPECT_EQ(t->PocetVysledkov(), static_cast<int>(p.vysledky.size()));
        EXPECT_EQ(t->ViacVysledkov(), p.vysledky.size() >= 4);
        const int n = static_cast<int>(p.vysledky.size());
        const int naj = n > 3 ? n - 3 : 0;
        // Earlier at the start, then later past the end, then earlier back to the start.
        for (const auto& [prikaz, krokov, posun] :
             {std::tuple{TTyzden::SkorsieVysledky, 1, 0},
              std::tuple{TTyzden::NeskorsieVysledky, n + 1, naj},
              std::tuple{TTyzden::SkorsieVysledky, n + 1, 0}}) {
            for (int k = 0; k < krokov; ++k)
                EXPECT_EQ(t->Vykonaj(prikaz), TTyzden::Hotovo);
            EXPECT_EQ(t->Posun(), posun);
            for (int k = 1; k <= 3; ++k) {
                const int i = posun + k - 1;
                EXPECT_EQ(t->Vysledok(k),
                          i < n ? p.vysledky[static_cast<std::size_t>(i)] : std::string())
                    << k;
            }
        }
    }
    EXPECT_EQ(t->Vysledok(0), "");
    EXPECT_EQ(t->Vysledok(4), "");

    // Only the active language is searched.
    rok.JazykSK = false;
    t->NastavHladane("ana");
    ASSERT_EQ(t->Vykonaj(TTyzden::Hladat), TTyzden::Hotovo);
    EXPECT_EQ(t->PocetVysledkov(), 1);
    EXPECT_EQ(t->Vysledok(1), "31.12. Ana");
}

TEST_F(TyzdenTest, CharactersOutsideTheTableMatchAnyRunOfSuchCharacters) {
    TRok rok;
    rok.Pridaj(1, 1, 's', "Ö1 a", false);
    rok.Pridaj(2, 1, 's', "Dva Ä", false);
    rok.Pridaj(3, 1, 's', "x12y", false);
    rok.Pridaj(4, 1, 's', "Ž", false);
    auto t = Otvor(2024y / 3 / 13, 0h, rok);
    t->NastavHladane("Ŕ");
    ASSERT_EQ(t->Vykonaj(TTyzden::Hladat), TTyzden::Hotovo);
    EXPECT_EQ(VsetkyVysledky(*t),
              (std::vector<std::string>{"1.1. Ö1 a", "2.1. Dva Ä", "3.1. x12y"}));
    t->NastavHladane("99");
    ASSERT_EQ(t->Vykonaj(TTyzden::Hladat), TTyzden::Hotovo);
    EXPECT_EQ(VsetkyVysledky(*t), (std::vector<std::string>{"1.1. Ö1 a", "3.1. x12y"}));
}

} // namespace
} // namespace tilava
