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

const TRok& Calendar() {
    static TRok rok;
    static const bool filled = (rok.Naplnit(), true);
    (void)filled;
    return rok;
}

std::string Text(year_month_day d) {
    return std::to_string(static_cast<unsigned>(d.day())) + "." +
           std::to_string(static_cast<unsigned>(d.month())) + "." +
           std::to_string(static_cast<int>(d.year()));
}

// Stands in for the event editor: applies `applyChange` to the entry and answers `answer`.
struct Editor final : IEventEditor {
    struct Entry {
        int created = 0;
        bool existing = false;
        int rok = 0;
        TNote seen;
    };
    Editor(Entry& record, std::function<void(TNote&)> change, bool confirm)
        : z(record), applyChange(std::move(change)), answer(confirm) {}
    void SetExisting(bool e) override { z.existing = e; }
    bool Uprav(TNote& note, int rok) override {
        z.rok = rok;
        z.seen = note;
        if (answer)
            applyChange(note);
        return answer;
    }
    Entry& z;
    std::function<void(TNote&)> applyChange;
    bool answer;
};

class TyzdenTest : public ::testing::Test {
protected:
    std::unique_ptr<TTyzden> Open(year_month_day date, milliseconds clockTime = 13h + 5min,
                                  const TRok& rok = Calendar()) {
        clock.Set(date, clockTime);
        return std::make_unique<TTyzden>(rok, regi, folder, clock);
    }

    // Lets the next edits apply `applyChange` and answer `answer`.
    void Edit(TTyzden& t, std::function<void(TNote&)> applyChange, bool answer = true) {
        t.SetEditor([this, applyChange, answer] {
            ++editor.created;
            return std::make_unique<Editor>(editor, applyChange, answer);
        });
    }

    // Adds an entry to the selected day through the editor.
    void Pridaj(TTyzden& t, TNote n) {
        Edit(t, [n](TNote& note) { note = n; });
        t.NastavZaznam(0);
        ASSERT_EQ(t.Vykonaj(TTyzden::EditEntry), TTyzden::Done);
    }

    std::vector<std::string> Texty(const TTyzden& t, int date) {
        std::vector<std::string> texty;
        for (const WeekLine& r : t.Lines(date))
            texty.push_back(r.Text);
        return texty;
    }

    test::TempFolder temporary{"tilava-tyzden"};
    const fs::path folder = temporary.Path();
    MemoryHive hive;
    TRegi regi{hive};
    FixedClock clock{2024y / 1 / 1};
    Editor::Entry editor;
};

// --- assembling the week -----------------------------------------------------------------

struct Zostava {
    year_month_day datum;
    year_month_day monday;
    int selectedDay;
    int week;
};

TEST_F(TyzdenTest, WeekRunsMondayToSundayAroundTheDateAndKeepsTheTimeOfDay) {
    const Zostava cases[] = {
        {2024y / 3 / 31, 2024y / 3 / 25, 7, 13},  // a Sunday: Monday is six days earlier
        {2025y / 12 / 31, 2025y / 12 / 29, 3, 1}, // 29 December .. 4 January is week 1
        {2026y / 1 / 4, 2025y / 12 / 29, 7, 1},
        {2021y / 1 / 1, 2020y / 12 / 28, 5, 53}, // the first days of January in week 53
        {2024y / 2 / 29, 2024y / 2 / 26, 4, 9},
    };
    for (const Zostava& p : cases) {
        SCOPED_TRACE(Text(p.datum));
        const auto t = Open(p.datum, 23h + 59min);
        EXPECT_EQ(t->VybranyDen(), p.selectedDay);
        EXPECT_EQ(t->CisloTyzdna(), p.week);
        EXPECT_EQ(t->Datum().date, sys_days{p.datum});
        for (int i = 1; i <= 7; ++i) {
            const year_month_day d{sys_days{p.monday} + days{i - 1}};
            EXPECT_EQ(t->WeekDay(i).date, sys_days{d});
            EXPECT_EQ(t->WeekDay(i).timeOfDay, 23h + 59min);
            EXPECT_EQ(t->DayOfMonth(i), static_cast<int>(static_cast<unsigned>(d.day())));
            EXPECT_EQ(t->Month(i), static_cast<int>(static_cast<unsigned>(d.month())));
            EXPECT_EQ(t->Rok(i), static_cast<int>(d.year()));
            EXPECT_EQ(t->DayOfMonthText(i), std::to_string(static_cast<unsigned>(d.day())));
        }
    }
}

TEST_F(TyzdenTest, DaysShowTheirCalendarEntriesAndHolidays) {
    const auto t = Open(2025y / 12 / 31); // Mon 29 Dec .. Sun 4 Jan
    EXPECT_EQ(t->FirstEntry(4), "Nový rok");
    EXPECT_EQ(t->SecondEntry(4), "Deň vzniku SR");
    EXPECT_TRUE(t->Sviatok(4));
    EXPECT_EQ(t->FirstEntry(5), "Alexandra");
    EXPECT_EQ(t->SecondEntry(5), "Karina");
    EXPECT_FALSE(t->Sviatok(5));
    EXPECT_EQ(t->SecondEntry(6), ""); // 3 January has one name
    EXPECT_TRUE(t->IsRed(4));
    EXPECT_FALSE(t->IsRed(5));
    EXPECT_TRUE(t->IsRed(7)); // Sunday
    // How the row of a day is named and described for assistive technology.
    const struct {
        int day;
        std::string title, names;
    } rows[] = {
        {4, "Štvrtok 1. januára", "Nový rok, Deň vzniku SR"},
        {5, "Piatok 2. januára", "Alexandra, Karina"},
        {1, "Pondelok 29. decembra", "Milada"}, // one name, no separator
    };
    for (const auto& row : rows) {
        EXPECT_EQ(t->DayTitle(row.day), row.title);
        EXPECT_EQ(t->DayNames(row.day), row.names) << row.day;
    }
    EXPECT_THROW(t->FirstEntry(0), std::out_of_range);
    EXPECT_THROW(t->WeekDay(8), std::out_of_range);
}

TEST_F(TyzdenTest, EasterDaysAreMarkedInTheirWeeks) {
    const year_month_day sundays[] = {2008y / 3 / 23, 2009y / 4 / 12, 2010y / 4 / 4, 2011y / 4 / 24,
                                      2024y / 3 / 31};
    for (const year_month_day sunday : sundays) {
        SCOPED_TRACE(Text(sunday));
        auto t = Open(sunday);
        for (int i = 1; i <= 7; ++i) {
            const auto expectedValue = i == 5   ? EasterDay::GoodFriday
                                       : i == 7 ? EasterDay::EasterSunday
                                                : EasterDay::NotEaster;
            EXPECT_EQ(t->EasterDayOf(i), expectedValue) << i;
        }
        EXPECT_TRUE(t->IsRed(5));
        ASSERT_EQ(t->Vykonaj(TTyzden::WeekForward), TTyzden::Done);
        EXPECT_EQ(t->EasterDayOf(1), EasterDay::EasterMonday);
        EXPECT_TRUE(t->IsRed(1));
        for (int i = 2; i <= 7; ++i)
            EXPECT_EQ(t->EasterDayOf(i), EasterDay::NotEaster) << i;
    }
}

// --- commands ----------------------------------------------------------------------------

TEST_F(TyzdenTest, NavigationCommandsSaveAndMoveTheWeek) {
    auto t = Open(2024y / 3 / 13, 8h); // Wednesday of week 11
    EXPECT_EQ(t->Vykonaj(TTyzden::WeekForward), TTyzden::Done);
    EXPECT_EQ(t->Datum(), (LocalDateTime{sys_days{2024y / 3 / 20}, 8h}));
    EXPECT_EQ(t->CisloTyzdna(), 12);
    EXPECT_EQ(t->Vykonaj(TTyzden::WeekBack), TTyzden::Done);
    EXPECT_EQ(t->Vykonaj(TTyzden::WeekBack), TTyzden::Done);
    EXPECT_EQ(t->WeekDay(1).date, sys_days{2024y / 3 / 4});

    t->NastavDatum({sys_days{2024y / 12 / 29}, 1h});
    EXPECT_EQ(t->Vykonaj(TTyzden::GoToDate), TTyzden::Done);
    EXPECT_EQ(t->VybranyDen(), 7);
    EXPECT_EQ(t->CisloTyzdna(), 52);
    t->NastavDatum({sys_days{2024y / 3 / 13}, 8h});
    EXPECT_EQ(t->Vykonaj(TTyzden::Today), TTyzden::Done);
    EXPECT_EQ(t->VybranyDen(), 3);

    t->VyberDen(6);
    EXPECT_EQ(t->Datum(), (LocalDateTime{sys_days{2024y / 3 / 16}, 8h}));
    t->VyberDen(0); // no such day
    t->VyberDen(8);
    EXPECT_EQ(t->VybranyDen(), 6);
    EXPECT_EQ(t->Vykonaj(TTyzden::WeekForward), TTyzden::Done);
    EXPECT_EQ(t->VybranyDen(), 6);
    EXPECT_EQ(t->Datum().date, sys_days{2024y / 3 / 23});

    for (const int code : {0, 300, 400, 101, 1000, -1})
        EXPECT_EQ(t->Vykonaj(code), TTyzden::NotDone) << code;
}

TEST_F(TyzdenTest, AFailedSaveKeepsTheWeekAndSavesEveryOtherDay) {
    for (const int command :
         {TTyzden::WeekBack, TTyzden::WeekForward, TTyzden::GoToDate, TTyzden::Today}) {
        SCOPED_TRACE(command);
        for (const auto& f : fs::directory_iterator(folder))
            fs::remove_all(f.path());
        auto t = Open(2025y / 12 / 31, 9h); // Mon 29 Dec 2025 .. Sun 4 Jan 2026
        t->VyberDen(1);
        Pridaj(*t, {EntryKind::Narodeniny, 1980, true, "Jano"});
        t->VyberDen(6);
        Pridaj(*t, {EntryKind::Vyrocie, 2000, true, "svadba"});
        t->VyberDen(3);
        Pridaj(*t, {EntryKind::Poznamka, 2025, true, "streda"});
        t->VyberDen(2);
        // The place of Wednesday's file is taken by a folder: its save fails.
        fs::create_directory(folder / "1231.txt");

        t->NastavDatum({sys_days{2026y / 3 / 3}, 10h});
        EXPECT_EQ(t->Vykonaj(command), TTyzden::NotDone);
        EXPECT_EQ(t->Datum(), (LocalDateTime{sys_days{2025y / 12 / 30}, 9h}));
        EXPECT_EQ(t->VybranyDen(), 2);
        EXPECT_EQ(t->WeekDay(1).date, sys_days{2025y / 12 / 29});
        EXPECT_NE(t->SaveError().find("1231.txt"), std::string::npos) << t->SaveError();
        EXPECT_EQ(test::ReadBytes(folder / "1229.txt"), "!\r\n-1\r\n2\r\n1980\r\nJano\r\n");
        EXPECT_EQ(test::ReadBytes(folder / "0103.txt"), "!\r\n-1\r\n3\r\n2000\r\nsvadba\r\n");
        EXPECT_EQ(t->Lines(1).size(), 1u); // the entries are still there to save later

        fs::remove(folder / "1231.txt");
        EXPECT_EQ(t->Vykonaj(TTyzden::WeekForward), TTyzden::Done);
        EXPECT_EQ(t->SaveError(), "");
        EXPECT_EQ(t->WeekDay(1).date, sys_days{2026y / 1 / 5});
    }
}

TEST_F(TyzdenTest, AMalformedDayFileIsShownButNeitherEditedNorOverwritten) {
    // Tuesday 12 March: one good record, then a kind line that is not a number (line 7).
    const std::string broken = "!\r\n-1\r\n2\r\n1980\r\nJano\r\n-1\r\nabc\r\n1990\r\nFero\r\n";
    test::WriteBytes(folder / "0312.txt", broken);
    test::WriteBytes(folder / "0314.txt", "!\r\n-1\r\n1\r\n2024\r\nZubar\r\n");

    auto t = Open(2024y / 3 / 14); // Thursday; the later days must be assembled too
    EXPECT_EQ(t->WeekDay(7).date, sys_days{2024y / 3 / 17});
    EXPECT_EQ(Texty(*t, 4), std::vector<std::string>{"Zubar"});
    EXPECT_EQ(Texty(*t, 2), std::vector<std::string>{"Jano 44. narodeniny"});
    EXPECT_FALSE(t->Editable(2));
    EXPECT_TRUE(t->Editable(1));
    const std::string error = t->LoadError();
    EXPECT_NE(error.find("0312.txt"), std::string::npos) << error;
    EXPECT_NE(error.find("riadok 7"), std::string::npos) << error;
    EXPECT_EQ(t->TakeLoadError(), error);
    EXPECT_EQ(t->TakeLoadError(), ""); // reported once per assembly

    t->VyberDen(2);
    Edit(*t, [](TNote& n) { n.Text = "zmenene"; });
    t->NastavZaznam(1);
    EXPECT_EQ(t->Vykonaj(TTyzden::EditEntry), TTyzden::NotDone);
    t->NastavZaznam(0);
    EXPECT_EQ(t->Vykonaj(TTyzden::EditEntry), TTyzden::NotDone);
    EXPECT_FALSE(t->ZmazZaznam());
    EXPECT_EQ(editor.created, 0);

    t->VyberDen(1);
    Pridaj(*t, {EntryKind::Poznamka, 2024, true, "Pondelok"});
    EXPECT_TRUE(t->Ulozit());
    EXPECT_EQ(t->Vykonaj(TTyzden::WeekForward), TTyzden::Done);
    EXPECT_EQ(t->LoadError(), "");
    EXPECT_EQ(test::ReadBytes(folder / "0311.txt"), "!\r\n-1\r\n1\r\n2024\r\nPondelok\r\n");
    EXPECT_EQ(t->Vykonaj(TTyzden::WeekBack), TTyzden::Done);
    EXPECT_NE(t->TakeLoadError(), "");
    EXPECT_EQ(t->Vykonaj(TTyzden::WeekForward), TTyzden::Done);
    EXPECT_EQ(test::ReadBytes(folder / "0312.txt"), broken);
    EXPECT_EQ(test::ReadBytes(folder / "0314.txt"), "!\r\n-1\r\n1\r\n2024\r\nZubar\r\n");
}

TEST_F(TyzdenTest, OnlyChangedDaysAreWritten) {
    // Files as an older version or a text editor may leave them: LF line ends, a flag word.
    const std::string lf = "!\n-1\n2\n1980\nJano\n";
    const std::string word = "x\r\nTrue\r\n3\r\n2000\r\nsvadba\r\n";
    test::WriteBytes(folder / "0311.txt", lf);
    test::WriteBytes(folder / "0312.txt", word);
    test::WriteBytes(folder / "0313.txt", "!\r\n-1\r\n1\r\n2024\r\nzmizne\r\n");
    test::WriteBytes(folder / "0314.txt", "!\r\n");
    auto t = Open(2024y / 3 / 13);
    fs::remove(folder / "0313.txt"); // removed by hand while the week is shown

    // Cancelling the editor, or confirming an entry unchanged, changes nothing either.
    t->VyberDen(1);
    Edit(*t, [](TNote&) {});
    t->NastavZaznam(1);
    EXPECT_EQ(t->Vykonaj(TTyzden::EditEntry), TTyzden::Done);
    Edit(
        *t, [](TNote& n) { n.Text = "Fero"; }, false);
    EXPECT_EQ(t->Vykonaj(TTyzden::EditEntry), TTyzden::NotDone);
    EXPECT_FALSE(t->Changed(1));

    EXPECT_EQ(t->Vykonaj(TTyzden::WeekForward), TTyzden::Done);
    EXPECT_EQ(test::ReadBytes(folder / "0311.txt"), lf);
    EXPECT_EQ(test::ReadBytes(folder / "0312.txt"), word);
    EXPECT_FALSE(fs::exists(folder / "0313.txt"));
    EXPECT_EQ(test::ReadBytes(folder / "0314.txt"), "!\r\n");

    // A changed day is written in the day-file form, its first line kept.
    EXPECT_EQ(t->Vykonaj(TTyzden::WeekBack), TTyzden::Done);
    t->VyberDen(2);
    Edit(*t, [](TNote& n) { n.Rok = 2001; });
    t->NastavZaznam(1);
    EXPECT_EQ(t->Vykonaj(TTyzden::EditEntry), TTyzden::Done);
    EXPECT_TRUE(t->Changed(2));
    EXPECT_TRUE(t->Ulozit());
    EXPECT_FALSE(t->Changed(2));
    EXPECT_EQ(test::ReadBytes(folder / "0312.txt"), "x\r\n-1\r\n3\r\n2001\r\nsvadba\r\n");
}

// --- entries -----------------------------------------------------------------------------

TEST_F(TyzdenTest, NewEntriesAreAddedOnlyWhenConfirmed) {
    auto t = Open(2024y / 3 / 13);
    t->SetEntryYear(2024);
    Edit(
        *t, [](TNote& n) { n.Text = "nic"; }, false);
    t->NastavZaznam(0);
    EXPECT_EQ(t->Vykonaj(TTyzden::EditEntry), TTyzden::NotDone);
    EXPECT_EQ(t->Poznamky(3).Pocet(), 0);
    EXPECT_EQ(editor.seen, TNote{}); // a new entry starts as a birthday without text
    EXPECT_FALSE(editor.existing);
    EXPECT_EQ(editor.rok, 2024);

    Pridaj(*t, {EntryKind::Narodeniny, 1980, true, "Jano"});
    EXPECT_EQ(Texty(*t, 3), std::vector<std::string>{"Jano 44. narodeniny"});
    EXPECT_FALSE(fs::exists(folder / "0313.txt")); // nothing is saved by an edit
    EXPECT_TRUE(t->Ulozit());
    EXPECT_TRUE(fs::exists(folder / "0313.txt"));

    // A selector beyond the rows edits nothing and opens no editor.
    const int before = editor.created;
    t->NastavZaznam(2);
    EXPECT_EQ(t->Vykonaj(TTyzden::EditEntry), TTyzden::NotDone);
    EXPECT_EQ(editor.created, before);
    t->SetEditor({});
    t->NastavZaznam(0);
    EXPECT_EQ(t->Vykonaj(TTyzden::EditEntry), TTyzden::NotDone);
}

// A sync tool adds a birthday to the day file while the week is open here: the next week step
// keeps both, says which day it was, and the day's rows show the joined day.
TEST_F(TyzdenTest, AStepJoinsADayThatAnotherProgramChanged) {
    auto t = Open(2024y / 3 / 13);
    Pridaj(*t, {EntryKind::Narodeniny, 1980, true, "Jano"});
    test::WriteBytes(folder / "0313.txt", "!\r\n-1\r\n2\r\n1975\r\nEva\r\n");
    EXPECT_TRUE(t->Ulozit());
    EXPECT_NE(t->SaveNotice().find("Záznamy dňa 13. marca medzitým zmenil"), std::string::npos);
    EXPECT_EQ(Texty(*t, 3),
              (std::vector<std::string>{"Jano 44. narodeniny", "Eva 49. narodeniny"}));
    EXPECT_EQ(test::ReadBytes(folder / "0313.txt"),
              "!\r\n-1\r\n2\r\n1980\r\nJano\r\n-1\r\n2\r\n1975\r\nEva\r\n");
    EXPECT_EQ(t->Vykonaj(TTyzden::WeekForward), TTyzden::Done);
    EXPECT_EQ(t->SaveNotice(), "");
}

// Another program writes Wednesday's file while the week is shown; the week rereads the days
// the user left alone and keeps the user's own changes, which the save joins with the other
// program's entries.
TEST_F(TyzdenTest, AReloadShowsAnotherProgramsChangesAndKeepsTheUsers) {
    const std::string jano = "!\r\n-1\r\n2\r\n1980\r\nJano\r\n";
    const std::string janoEva = jano + "-1\r\n2\r\n1975\r\nEva\r\n";
    const std::string broken = jano + "-1\r\nx\r\n2000\r\nEva\r\n";
    struct Case {
        const char* name;
        std::string before; // Wednesday's file when the week opens; empty: none
        bool userAdds;      // the user adds the note "moja" first
        std::string theirs; // what the other program leaves; empty: it deletes the file
        std::vector<int> redrawn;
        std::vector<std::string> rows; // Wednesday's rows after the reread
        bool told;                     // a new reason why the day cannot be read
        std::string saved;             // the file after the save; empty: none
    };
    const std::vector<std::string> one{"Jano 44. narodeniny"};
    const std::vector<std::string> two{"Jano 44. narodeniny", "Eva 49. narodeniny"};
    const std::string joined = jano + "-1\r\n1\r\n2024\r\nmoja\r\n-1\r\n2\r\n1975\r\nEva\r\n";
    const Case cases[] = {
        {"a day gets a file", "", false, janoEva, {3}, two, false, janoEva},
        {"a file is deleted", jano, false, "", {3}, {}, false, ""},
        {"the same bytes, as after a save", jano, false, jano, {}, one, false, jano},
        {"the user's change stays and joins theirs",
         jano,
         true,
         janoEva,
         {3},
         {one[0], "moja", two[1]},
         false,
         joined},
        {"the user's change outlives a deletion",
         jano,
         true,
         "",
         {3},
         {"moja"},
         false,
         "!\r\n-1\r\n1\r\n2024\r\nmoja\r\n"},
        {"the file becomes unreadable", jano, false, broken, {3}, one, true, broken},
        {"an unreadable file is mended", broken, false, janoEva, {3}, two, false, janoEva},
    };
    const fs::path wednesday = folder / "0313.txt";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(wednesday);
        if (!c.before.empty())
            test::WriteBytes(wednesday, c.before);
        auto t = Open(2024y / 3 / 13);
        t->TakeLoadError();
        if (c.userAdds)
            Pridaj(*t, {EntryKind::Poznamka, 2024, true, "moja"});
        if (c.theirs.empty())
            fs::remove(wednesday);
        else
            test::WriteBytes(wednesday, c.theirs);

        EXPECT_EQ(t->ReloadUnchanged(), c.redrawn);
        EXPECT_EQ(Texty(*t, 3), c.rows);
        EXPECT_EQ(t->Editable(3), !c.told);
        const std::string error = t->TakeLoadError();
        EXPECT_EQ(error.find("0313.txt") != std::string::npos, c.told) << error;
        EXPECT_EQ(t->TakeLoadError(), "");
        // A join into the user's unsaved day is told once, naming the day.
        const std::string joinNotice = t->TakeJoinNotice();
        EXPECT_EQ(joinNotice.find("Záznamy dňa 13. marca medzitým") == 0, c.userAdds) << joinNotice;
        EXPECT_EQ(t->ReloadUnchanged(), std::vector<int>{}); // nothing new the second time
        EXPECT_EQ(t->TakeJoinNotice(), "");
        EXPECT_TRUE(t->Ulozit() || c.told);
        EXPECT_EQ(fs::exists(wednesday) ? test::ReadBytes(wednesday) : "", c.saved);
    }

    // The watch may fire while the editor is open on an entry of the day: that day is not
    // reread under it, and the edit lands.
    test::WriteBytes(wednesday, jano);
    auto t = Open(2024y / 3 / 13);
    std::vector<int> redrawn{0};
    Edit(*t, [&](TNote& n) {
        test::WriteBytes(wednesday, janoEva);
        redrawn = t->ReloadUnchanged();
        n.Text = "Ján";
    });
    t->NastavZaznam(1);
    EXPECT_EQ(t->Vykonaj(TTyzden::EditEntry), TTyzden::Done);
    EXPECT_EQ(redrawn, std::vector<int>{});
    EXPECT_EQ(Texty(*t, 3), std::vector<std::string>{"Ján 44. narodeniny"});
    EXPECT_TRUE(t->Ulozit());
    EXPECT_EQ(test::ReadBytes(wednesday),
              "!\r\n-1\r\n2\r\n1980\r\nJ\xe1n\r\n-1\r\n2\r\n1975\r\nEva\r\n");
}

TEST_F(TyzdenTest, RowsSkipNotesOfAnotherYearAndStillEditTheRightEntries) {
    test::WriteBytes(folder / "0313.txt", "!\r\n"
                                          "-1\r\n1\r\n2020\r\nStara\r\n"
                                          "-1\r\n2\r\n1980\r\nJano\r\n"
                                          "-1\r\n1\r\n2023\r\nMinuly\r\n"
                                          "-1\r\n1\r\n2024\r\nZubar\r\n"
                                          "-1\r\n3\r\n2000\r\nsvadba\r\n");
    auto t = Open(2024y / 3 / 13);
    EXPECT_EQ(Texty(*t, 3),
              (std::vector<std::string>{"Jano 44. narodeniny", "Zubar", "24. výročie svadba"}));

    // 1-based row 2 is "Zubar", the fourth entry of the store.
    Edit(*t, [](TNote& n) { n.Text = "Lekar"; });
    t->NastavZaznam(2);
    t->SetEntryYear(2024);
    EXPECT_EQ(t->Vykonaj(TTyzden::EditEntry), TTyzden::Done);
    EXPECT_TRUE(editor.existing);
    EXPECT_EQ(editor.seen.Text, "Zubar");
    EXPECT_EQ(t->Poznamky(3).Polozka(3).Text, "Lekar");

    // 0-based row 2 is the anniversary, the fifth entry.
    t->NastavZaznam(2);
    EXPECT_TRUE(t->ZmazZaznam());
    EXPECT_EQ(Texty(*t, 3), (std::vector<std::string>{"Jano 44. narodeniny", "Lekar"}));
    t->NastavZaznam(2);
    EXPECT_FALSE(t->ZmazZaznam());

    // Emptying the text of row 1 (the birthday) removes it; the notes of other years stay.
    Edit(*t, [](TNote& n) { n.Text.clear(); });
    t->NastavZaznam(1);
    EXPECT_EQ(t->Vykonaj(TTyzden::EditEntry), TTyzden::Done);
    EXPECT_EQ(Texty(*t, 3), std::vector<std::string>{"Lekar"});
    // Blanks only are a text: the entry stays.
    Edit(*t, [](TNote& n) { n.Text = "  "; });
    EXPECT_EQ(t->Vykonaj(TTyzden::EditEntry), TTyzden::Done);
    EXPECT_EQ(t->Poznamky(3).Pocet(), 3);

    EXPECT_TRUE(t->Ulozit());
    EXPECT_EQ(test::ReadBytes(folder / "0313.txt"), "!\r\n"
                                                    "-1\r\n1\r\n2020\r\nStara\r\n"
                                                    "-1\r\n1\r\n2023\r\nMinuly\r\n"
                                                    "-1\r\n1\r\n2024\r\n  \r\n");
}

TEST_F(TyzdenTest, PlainNotesAreListedInTheYearOfTheirOwnDay) {
    test::WriteBytes(folder / "1230.txt", "!\r\n-1\r\n1\r\n2025\r\nstary rok\r\n");
    test::WriteBytes(folder / "0102.txt",
                     "!\r\n-1\r\n1\r\n2026\r\nnovy rok\r\n-1\r\n1\r\n2025\r\nx\r\n");
    auto t = Open(2025y / 12 / 29);
    EXPECT_EQ(Texty(*t, 2), std::vector<std::string>{"stary rok"});
    EXPECT_EQ(Texty(*t, 5), std::vector<std::string>{"novy rok"});
    t->VyberDen(5);
    t->NastavZaznam(0);
    EXPECT_TRUE(t->ZmazZaznam());
    EXPECT_EQ(t->Poznamky(5).Polozka(0).Text, "x");
}

// --- name search -------------------------------------------------------------------------

// Every result of the last search, stepping through them with command 5000.
std::vector<std::string> AllResults(TTyzden& t) {
    std::vector<std::string> all;
    for (int k = 1; k <= 3 && !t.Vysledok(k).empty(); ++k)
        all.push_back(t.Vysledok(k));
    while (static_cast<int>(all.size()) < t.ResultCount()) {
        const int shift = t.Posun();
        EXPECT_EQ(t.Vykonaj(TTyzden::LaterResults), TTyzden::Done);
        if (t.Posun() != shift + 1)
            break;
        all.push_back(t.Vysledok(3));
    }
    return all;
}

TEST_F(TyzdenTest, CollationFollowsTheTable) {
    const std::pair<std::string, std::string> cases[] = {
        {"aáäAÁ bBcčCČ", "AAAAA BBCCCC"},
        {"dďDĎeéěEÉfFgGhHiíI", "DDDDEEEEEFFGGHHIII"},
        {"jJkKlľLĽmMnňŇNoôóOÓ", "JJKKLLLLMMNNNNOOOOO"},
        {"pPqQrřRŘsšSŠtťTŤwWzžZŽ", "PPQQRRRRSSSSTTTTWWZZZZ"},
        {"uúůUÚyýYxXvV", "UUUUUYYYXXVV"},
        {"Ľudmila Šťastná", "LUDMILA STASTNA"},
        {std::string("ÄÍĹĺÔŔŕÝĚŮöü1.-'😀"), std::string(17, '\0')},
        {"", ""},
    };
    for (const auto& [input, output] : cases)
        EXPECT_EQ(TTyzden::Normalizuj(input), output) << input;
}

TEST_F(TyzdenTest, SearchListsPrefixMatchesBeforeInnerOnesInCalendarOrder) {
    auto t = Open(2024y / 3 / 13);
    t->SetSearched("ale");
    ASSERT_EQ(t->Vykonaj(TTyzden::Search), TTyzden::Done);
    EXPECT_EQ(t->Vysledok(1), "2.1. Alexandra");
    EXPECT_EQ(t->ResultDayMonth(1), (std::array<int, 2>{2, 1}));
    EXPECT_TRUE(t->ViacVysledkov());
    const std::vector<std::string> matches = AllResults(*t);
    ASSERT_EQ(static_cast<int>(matches.size()), t->ResultCount());

    // The prefix block, then the inner block; each in calendar order, no entry twice.
    bool inside = false;
    std::pair<int, int> previous{0, 0};
    for (const std::string& v : matches) {
        const int date = std::stoi(v);
        const int monthNumber = std::stoi(v.substr(v.find('.') + 1));
        const std::string text = v.substr(v.find(". ") + 2);
        const std::string norm = TTyzden::Normalizuj(text);
        const bool prefix = norm.rfind("ALE", 0) == 0;
        ASSERT_NE(norm.find("ALE"), std::string::npos) << v;
        if (!prefix && !inside) {
            inside = true;
            previous = {0, 0};
        }
        EXPECT_EQ(prefix, !inside) << v;
        EXPECT_LE(previous, std::make_pair(monthNumber, date)) << v;
        previous = {monthNumber, date};
        EXPECT_EQ(std::count(matches.begin(), matches.end(), v), 1) << v;
    }
    EXPECT_TRUE(inside);
    EXPECT_NE(std::find(matches.begin(), matches.end(), "13.4. Aleš"), matches.end());
    EXPECT_NE(std::find(matches.begin(), matches.end(), "9.1. Alexej"), matches.end());
    EXPECT_NE(std::find(matches.begin(), matches.end(), "14.2. Valentín"), matches.end());

    for (const char* same : {"ALE", "alé", "Ále"}) {
        t->SetSearched(same);
        ASSERT_EQ(t->Vykonaj(TTyzden::Search), TTyzden::Done);
        EXPECT_EQ(AllResults(*t), matches) << same;
    }

    // The search text may hold a blank; it matches across the words of an entry.
    t->SetSearched("a k");
    ASSERT_EQ(t->Vykonaj(TTyzden::Search), TTyzden::Done);
    EXPECT_EQ(t->Vysledok(1), "6.1. Traja králi");

    t->SetSearched("");
    EXPECT_EQ(t->Vykonaj(TTyzden::Search), TTyzden::NotDone);
    EXPECT_EQ(t->ResultCount(), 0);
    EXPECT_EQ(t->Vysledok(1), "");
    EXPECT_FALSE(t->ViacVysledkov());
    EXPECT_EQ(t->ResultDayMonth(1), (std::array<int, 2>{0, 0}));
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
        auto t = Open(2024y / 6 / 10, 13h, c.search == std::string("horym") ? czech : Calendar());
        t->SetSearched(c.search);
        ASSERT_EQ(t->Vykonaj(TTyzden::Search), TTyzden::Done);
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
    auto t = Open(2024y / 3 / 13, 0h, rok);

    struct Case {
        std::string searched;
        std::vector<std::string> results;
    };
    const Case cases[] = {
        {"jan", {"2.1. Jan", "7.2. Jana", "9.9. Bojana"}},
        {"ana", {"31.12. Anabela", "5.1. Hana", "7.2. Jana", "9.9. Bojana"}},
        {"an",
         {"31.12. Anabela", "2.1. Jan", "5.1. Hana", "7.2. Jana", "7.2. Hanka", "9.9. Bojana"}},
        {"HÁN", {"5.1. Hana", "7.2. Hanka"}},
        {"nk", {"7.2. Hanka"}},
        {"xyz", {}},
    };
    for (const Case& p : cases) {
        SCOPED_TRACE(p.searched);
        t->SetSearched(p.searched);
        ASSERT_EQ(t->Vykonaj(TTyzden::Search), TTyzden::Done);
        EXPECT_EQ(t->ResultCount(), static_cast<int>(p.results.size()));
        EXPECT_EQ(t->ViacVysledkov(), p.results.size() >= 4);
        const int n = static_cast<int>(p.results.size());
        const int best = n > 3 ? n - 3 : 0;
        // Earlier at the start, then later past the end, then earlier back to the start.
        for (const auto& [command, steps, shift] :
             {std::tuple{TTyzden::EarlierResults, 1, 0},
              std::tuple{TTyzden::LaterResults, n + 1, best},
              std::tuple{TTyzden::EarlierResults, n + 1, 0}}) {
            for (int k = 0; k < steps; ++k)
                EXPECT_EQ(t->Vykonaj(command), TTyzden::Done);
            EXPECT_EQ(t->Posun(), shift);
            for (int k = 1; k <= 3; ++k) {
                const int i = shift + k - 1;
                EXPECT_EQ(t->Vysledok(k),
                          i < n ? p.results[static_cast<std::size_t>(i)] : std::string())
                    << k;
            }
        }
    }
    EXPECT_EQ(t->Vysledok(0), "");
    EXPECT_EQ(t->Vysledok(4), "");

    // Only the active language is searched.
    rok.JazykSK = false;
    t->SetSearched("ana");
    ASSERT_EQ(t->Vykonaj(TTyzden::Search), TTyzden::Done);
    EXPECT_EQ(t->ResultCount(), 1);
    EXPECT_EQ(t->Vysledok(1), "31.12. Ana");
}

TEST_F(TyzdenTest, CharactersOutsideTheTableMatchAnyRunOfSuchCharacters) {
    TRok rok;
    rok.Pridaj(1, 1, 's', "Ö1 a", false);
    rok.Pridaj(2, 1, 's', "Dva Ä", false);
    rok.Pridaj(3, 1, 's', "x12y", false);
    rok.Pridaj(4, 1, 's', "Ž", false);
    auto t = Open(2024y / 3 / 13, 0h, rok);
    t->SetSearched("Ŕ");
    ASSERT_EQ(t->Vykonaj(TTyzden::Search), TTyzden::Done);
    EXPECT_EQ(AllResults(*t), (std::vector<std::string>{"1.1. Ö1 a", "2.1. Dva Ä", "3.1. x12y"}));
    t->SetSearched("99");
    ASSERT_EQ(t->Vykonaj(TTyzden::Search), TTyzden::Done);
    EXPECT_EQ(AllResults(*t), (std::vector<std::string>{"1.1. Ö1 a", "3.1. x12y"}));
}

} // namespace
} // namespace tilava
