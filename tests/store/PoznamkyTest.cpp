#include "store/DayFile.h"
#include "store/NotesError.h"
#include "store/uPoznamky.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>

namespace tilava {
namespace {

using namespace std::chrono;
using namespace std::string_literals;
namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// The folder's files; the notes folder's lock file, which every save leaves there empty, is
// checked by the lock's own tests.
test::FolderSnapshot Snapshot(const fs::path& folder) {
    return test::SnapshotWithout(folder, std::string(kNotesLockName));
}

constexpr year_month_day k5March2009 = 2009y / March / 5;

TNote Entry(EntryKind kind, std::int32_t rok, std::string text, bool confirmed = true) {
    TNote note;
    note.Druh = kind;
    note.Rok = rok;
    note.Text = std::move(text);
    note.Potvrdena = confirmed;
    return note;
}

std::vector<TNote> Entries(const TDayNotes& date) {
    std::vector<TNote> out;
    for (int i = 0; i < date.Pocet(); ++i) {
        out.push_back(date.Polozka(i));
    }
    return out;
}

// Runs `action`, expects a NotesError of `kind` and returns it.
template <typename F> NotesError ErrorPrefix(NotesError::Kind kind, F&& action) {
    try {
        action();
    } catch (const NotesError& e) {
        EXPECT_EQ(e.kind, kind) << e.what();
        return e;
    }
    ADD_FAILURE() << "no NotesError";
    return NotesError(kind, {}, 0, {});
}

class PoznamkyTest : public ::testing::Test {
protected:
    TempFolder folder;
    fs::path Subor(const char* meno) const { return folder.Path() / meno; }
};

TEST(TNoteTest, NewEntryIsAnUnconfirmedBirthday) {
    const TNote note;
    EXPECT_EQ(note.Druh, EntryKind::Narodeniny);
    EXPECT_EQ(note.Rok, 0);
    EXPECT_FALSE(note.Potvrdena);
    EXPECT_EQ(note.Text, "");
}

TEST(TNoteTest, Popis) {
    const struct {
        EntryKind kind;
        std::int32_t rok;
        const char* text;
        int inYear;
        const char* description;
    } cases[] = {
        {EntryKind::Narodeniny, 1980, "Jano", 2010, "Jano 30. narodeniny"},
        {EntryKind::Vyrocie, 1985, "svadba", 2010, "25. výročie svadba"},
        {EntryKind::Poznamka, 2009, "  Zubár", 2030, "  Zubár"},
        {EntryKind::Narodeniny, 2010, "Jano", 2010, "Jano 0. narodeniny"},
        {EntryKind::Vyrocie, 2010, "", 2010, "0. výročie "},
        // Year 0 is not known, and a later year has no count yet: no count is made up.
        {EntryKind::Narodeniny, 0, "Jano", 2026, "Jano – narodeniny"},
        {EntryKind::Vyrocie, 0, "svadba", 2026, "svadba – výročie"},
        {EntryKind::Narodeniny, 2012, "Jano", 2010, "Jano – narodeniny"},
        {EntryKind::Vyrocie, 2011, "svadba", 2010, "svadba – výročie"},
        {EntryKind::Poznamka, 0, "Zubár", 2010, "Zubár"},
        // Years from a file can be anything; the count must not overflow.
        {EntryKind::Narodeniny, std::numeric_limits<std::int32_t>::min(), "X", 2010,
         "X 2147485658. narodeniny"},
        {EntryKind::Vyrocie, std::numeric_limits<std::int32_t>::min(), "Y",
         std::numeric_limits<int>::max(), "4294967295. výročie Y"},
        {EntryKind::Vyrocie, std::numeric_limits<std::int32_t>::max(), "Y", -5, "Y – výročie"},
    };
    for (const auto& p : cases) {
        EXPECT_EQ(Entry(p.kind, p.rok, p.text).Popis(p.inYear), p.description);
    }
}

// The example day: a birthday of Jano born 1980 and a plain note "Zubár", entered in 2009.
TEST_F(PoznamkyTest, WritesTheExampleDayByteForByte) {
    TDayNotes date(folder.Path());
    date.Nacitaj(k5March2009);
    EXPECT_EQ(date.Pocet(), 0);
    EXPECT_TRUE(date.Pripomenut());
    date.Pridaj(Entry(EntryKind::Narodeniny, 1980, "Jano"));
    date.Pridaj(Entry(EntryKind::Poznamka, 2009, "Zubár"));
    date.Uloz();

    EXPECT_EQ(ReadBytes(Subor("0305.txt")), "!\r\n"
                                            "-1\r\n2\r\n1980\r\nJano\r\n"
                                            "-1\r\n1\r\n2009\r\nZub\xE1r\r\n");
    EXPECT_EQ(Snapshot(folder.Path()).size(), 1u) << "no temporary file stays behind";

    TDayNotes again(folder.Path());
    again.Nacitaj(2010y / March / 5);
    EXPECT_EQ(Entries(again), Entries(date));
    ASSERT_EQ(again.Pocet(), 2);
    EXPECT_EQ(again.PopisPolozky(1), "Jano 30. narodeniny");
    EXPECT_EQ(again.DruhPolozky(1), EntryKind::Narodeniny);
    EXPECT_EQ(again.RokPolozky(2), 2009);
    EXPECT_EQ(again.PopisPolozky(2), "Zubár");
}

TEST_F(PoznamkyTest, OnlyDayAndMonthNameTheFile) {
    const struct {
        year_month_day datum;
        const char* meno;
    } cases[] = {
        {2009y / March / 5, "0305.txt"},
        {1900y / March / 5, "0305.txt"},
        {2400y / March / 5, "0305.txt"},
        {2010y / December / 24, "1224.txt"},
        {2010y / December / 31, "1231.txt"},
        {2012y / February / 29, "0229.txt"},
        {2000y / February / 29, "0229.txt"},
        {2011y / January / 1, "0101.txt"},
        {year_month_day{sys_days{2011y / February / 28} + days{1}}, "0301.txt"},
    };
    for (const auto& p : cases) {
        TDayNotes date(folder.Path());
        date.Nacitaj(p.datum);
        EXPECT_EQ(date.NazovSuboru(), Subor(p.meno));
        date.Pridaj(Entry(EntryKind::Vyrocie, 1990, p.meno));
        date.Uloz();
        EXPECT_EQ(ReadBytes(Subor(p.meno)),
                  std::string("!\r\n-1\r\n3\r\n1990\r\n") + p.meno + "\r\n");
        fs::remove(Subor(p.meno));
    }
}

TEST_F(PoznamkyTest, TwentyNinthOfFebruaryOnlyInLeapYears) {
    WriteBytes(Subor("0229.txt"), "!\r\n-1\r\n2\r\n2000\r\nLeo\r\n");
    TDayNotes date(folder.Path());
    date.Nacitaj(2012y / February / 29);
    ASSERT_EQ(date.Pocet(), 1);

    EXPECT_THROW(date.Nacitaj(2011y / February / 29), std::invalid_argument);
    EXPECT_EQ(date.Datum(), 2012y / February / 29) << "a date that does not exist changes nothing";
    EXPECT_EQ(date.Pocet(), 1);
}

TEST_F(PoznamkyTest, NothingLoadedBeforeTheFirstLoad) {
    WriteBytes(Subor("0305.txt"), "!\r\n");
    const auto before = Snapshot(folder.Path());
    TDayNotes date(folder.Path());
    EXPECT_FALSE(date.Datum().has_value());
    EXPECT_TRUE(date.Pripomenut());
    date.Pridaj(Entry(EntryKind::Poznamka, 2009, "nikde"));
    date.Uloz();
    date.Vycisti();
    date.Uloz();
    EXPECT_EQ(Snapshot(folder.Path()), before) << "a store never loaded writes and deletes nothing";
}

struct ReadCase {
    const char* name;
    std::string contents;
    bool remind;
    std::vector<TNote> entries;
};

class ReadTest : public PoznamkyTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadTest, Loads) {
    const ReadCase& p = GetParam();
    WriteBytes(Subor("0305.txt"), p.contents);
    TDayNotes date(folder.Path());
    date.Nacitaj(k5March2009);
    EXPECT_EQ(date.Pripomenut(), p.remind);
    EXPECT_EQ(Entries(date), p.entries);
    EXPECT_FALSE(date.LoadFailed());
}

const TNote kJano = Entry(EntryKind::Narodeniny, 1980, "Jano");

INSTANTIATE_TEST_SUITE_P(
    DayFiles, ReadTest,
    ::testing::Values(
        ReadCase{"Empty", "", true, {}}, ReadCase{"OnlyMark", "!", true, {}},
        ReadCase{"OnlyMarkLine", "!\r\n", true, {}}, ReadCase{"X", "x\r\n", false, {}},
        ReadCase{"DoubleMark", "!!\r\n", false, {}}, ReadCase{"MarkAndBlank", "! \r\n", false, {}},
        ReadCase{"EmptyFirstLine", "\r\n", false, {}},
        // Line ends of old Macs: no LF anywhere, CR alone ends a line.
        ReadCase{"LoneCarriageReturn", "!\r", true, {}},
        ReadCase{"CarriageReturnsOnly", "x\r-1\r2\r1980\rJano\r", false, {kJano}},
        // A file saved by a text editor in UTF-8 with its byte-order mark.
        ReadCase{"Utf8WithMark",
                 "\xEF\xBB\xBF!\r\n-1\r\n2\r\n1990\r\n\xC4\xBDubom\xC3\xADr \xEF\xBF\xBD\r\n",
                 true,
                 {Entry(EntryKind::Narodeniny, 1990, "Ľubomír \uFFFD")}},
        ReadCase{"XWithEntry", "x\r\n-1\r\n2\r\n1980\r\nJano\r\n", false, {kJano}},
        ReadCase{"LineFeedOnly", "!\n-1\n2\n1980\nJano\n", true, {kJano}},
        ReadCase{"MixedLineEnds", "!\n-1\r\n2\n1980\r\nJano", true, {kJano}},
        ReadCase{"KindCodes",
                 "!\r\n0\r\n1\r\n2009\r\na\r\n-1\r\n3\r\n1985\r\nb\r\n"
                 "-1\r\n0\r\n1\r\nc\r\n-1\r\n4\r\n2\r\nd\r\n-1\r\n-7\r\n3\r\ne\r\n"
                 "-1\r\n+3\r\n-44\r\nf\r\n",
                 true,
                 {Entry(EntryKind::Poznamka, 2009, "a", false),
                  Entry(EntryKind::Vyrocie, 1985, "b"), Entry(EntryKind::Narodeniny, 1, "c"),
                  Entry(EntryKind::Narodeniny, 2, "d"), Entry(EntryKind::Narodeniny, 3, "e"),
                  Entry(EntryKind::Vyrocie, -44, "f")}},
        ReadCase{"FlagWords",
                 "!\r\nTrue\r\n1\r\n1\r\n\r\nfALSE\r\n1\r\n2\r\n\r\n7\r\n1\r\n3\r\n\r\n"
                 "-0\r\n1\r\n4\r\n\r\n00010\r\n1\r\n5\r\n",
                 true,
                 {Entry(EntryKind::Poznamka, 1, ""), Entry(EntryKind::Poznamka, 2, "", false),
                  Entry(EntryKind::Poznamka, 3, ""), Entry(EntryKind::Poznamka, 4, "", false),
                  Entry(EntryKind::Poznamka, 5, "")}},
        ReadCase{"YearLimits",
                 "!\r\n-1\r\n2\r\n-2147483648\r\na\r\n-1\r\n2\r\n2147483647\r\nb",
                 true,
                 {Entry(EntryKind::Narodeniny, std::numeric_limits<std::int32_t>::min(), "a"),
                  Entry(EntryKind::Narodeniny, std::numeric_limits<std::int32_t>::max(), "b")}},
        ReadCase{"TextKeptAsItIs",
                 "!\r\n-1\r\n1\r\n2009\r\n  Zub\xE1r \t\r\n-1\r\n2\r\n1990\r\n\xBC"
                 "ubom\xEDr \x8Eofia \xD8"
                 "eho\xF8 \x9D"
                 "a\xE8\r\n",
                 true,
                 {Entry(EntryKind::Poznamka, 2009, "  Zubár \t"),
                  Entry(EntryKind::Narodeniny, 1990, "Ľubomír Žofia Řehoř ťač")}},
        // Reading past the end gives empty lines: a last record without its text loads.
        ReadCase{"LastTextMissing",
                 "!\r\n-1\r\n1\r\n2009",
                 true,
                 {Entry(EntryKind::Poznamka, 2009, "")}},
        ReadCase{"LastTextMissingAfterLineEnd",
                 "!\r\n-1\r\n1\r\n2009\r\n",
                 true,
                 {Entry(EntryKind::Poznamka, 2009, "")}}),
    [](const auto& test) { return std::string(test.param.name); });

struct BadFile {
    const char* name;
    std::string contents;
    int line;
    const char* expected; // part of the message that says what was expected
    std::size_t loadedCount;
};

class BadFileTest : public PoznamkyTest, public ::testing::WithParamInterface<BadFile> {};

// A malformed record stops the load with the file, line and expectation named; the entries
// before it stay, and the store refuses to save until it loads again.
TEST_P(BadFileTest, StopsAtTheBadLineAndRefusesToSave) {
    const BadFile& p = GetParam();
    WriteBytes(Subor("0305.txt"), p.contents);
    const auto before = Snapshot(folder.Path());
    TDayNotes date(folder.Path());
    const NotesError e =
        ErrorPrefix(NotesError::Kind::Format, [&] { date.Nacitaj(2011y / March / 5); });
    EXPECT_EQ(e.file, Subor("0305.txt"));
    EXPECT_EQ(e.line, p.line);
    EXPECT_NE(std::string(e.what()).find("0305.txt“, riadok " + std::to_string(p.line) + ": "),
              std::string::npos)
        << e.what();
    EXPECT_NE(e.reason.find(p.expected), std::string::npos) << e.reason.substr(0, 200);
    EXPECT_LT(e.reason.size(), 300u);
    EXPECT_EQ(static_cast<std::size_t>(date.Pocet()), p.loadedCount);
    for (int i = 0; i < date.Pocet(); ++i) {
        EXPECT_EQ(date.Polozka(i), kJano);
    }
    EXPECT_TRUE(date.LoadFailed());

    const NotesError refusal = ErrorPrefix(NotesError::Kind::NotLoaded, [&] { date.Uloz(); });
    EXPECT_EQ(refusal.line, p.line);
    EXPECT_NE(std::string(refusal.what()).find("neuloží"), std::string::npos);
    date.Vycisti();
    ErrorPrefix(NotesError::Kind::NotLoaded, [&] { date.Uloz(); });
    date.Pridaj(kJano);
    ErrorPrefix(NotesError::Kind::NotLoaded, [&] { date.Uloz(); });
    EXPECT_EQ(Snapshot(folder.Path()), before);

    // Once the file is mended and loaded, saving works again.
    WriteBytes(Subor("0305.txt"), "!\r\n-1\r\n2\r\n1980\r\nJano\r\n");
    date.Nacitaj(2011y / March / 5);
    EXPECT_FALSE(date.LoadFailed());
    date.Pridaj(Entry(EntryKind::Poznamka, 2011, "nové"));
    date.Uloz();
    EXPECT_EQ(ReadBytes(Subor("0305.txt")),
              "!\r\n-1\r\n2\r\n1980\r\nJano\r\n-1\r\n1\r\n2011\r\nnov\xE9\r\n");
}

const std::string kJanoLines = "-1\r\n2\r\n1980\r\nJano\r\n";

INSTANTIATE_TEST_SUITE_P(
    DayFiles, BadFileTest,
    ::testing::Values(
        BadFile{"KindWord", "!\r\n-1\r\nabc\r\n1980\r\nJano\r\n", 3, "druh záznamu", 0},
        BadFile{"TrailingEmptyLine", "!\r\n" + kJanoLines + kJanoLines + "\r\n", 10,
                "potvrdenie záznamu", 2},
        BadFile{"FlagWord", "!\r\n" + kJanoLines + "yes\r\n2\r\n1980\r\nJano\r\n", 6,
                "potvrdenie záznamu", 1},
        BadFile{"FlagWithBlank", "!\r\n -1\r\n2\r\n1980\r\nJano\r\n", 2, "potvrdenie", 0},
        BadFile{"YearWord", "!\r\n" + kJanoLines + "-1\r\n2\r\n19x0\r\nJano\r\n", 8, "rok", 1},
        BadFile{"YearTooBig", "!\r\n-1\r\n2\r\n2147483648\r\nJano\r\n", 4, "mimo rozsahu", 0},
        BadFile{"YearTooSmall", "!\r\n-1\r\n2\r\n-2147483649\r\nJano\r\n", 4, "mimo rozsahu", 0},
        BadFile{"SignOnly", "!\r\n-1\r\n-\r\n1980\r\nJano\r\n", 3, "druh", 0},
        BadFile{"EndsAfterFlag", "!\r\n" + kJanoLines + "-1\r\n", 7, "súbor sa skončil", 1},
        BadFile{"EndsAfterKind", "!\r\n" + kJanoLines + "-1\r\n2", 8, "súbor sa skončil", 1},
        // A huge number is quoted in a few characters, not whole.
        BadFile{"HugeYear", "!\r\n" + kJanoLines + "-1\r\n2\r\n" + std::string(1'000'000, '7'), 8,
                "mimo rozsahu", 1},
        BadFile{"ZeroByteOnly", "\0"s, 1, "nulový bajt", 0},
        BadFile{"ZerosAfterMark", "\0\0\0\r\n"s + kJanoLines, 1, "nulový bajt", 0},
        BadFile{"Utf16", "\xFF\xFE!\0\r\0\n\0"s, 1, "UTF-16", 0},
        BadFile{"Utf8MarkButNotUtf8",
                "\xEF\xBB\xBF!\r\n" + kJanoLines + "-1\r\n2\r\n1980\r\n\xBEofia\r\n", 9, "UTF-8",
                1}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(PoznamkyTest, MarkOtherThanExclamationIsWrittenAsX) {
    for (const char* first : {"x", "!!", "! ", "X"}) {
        WriteBytes(Subor("0305.txt"), std::string(first) + "\r\n" + kJanoLines);
        TDayNotes date(folder.Path());
        date.Nacitaj(k5March2009);
        EXPECT_FALSE(date.Pripomenut());
        date.Uloz();
        EXPECT_EQ(ReadBytes(Subor("0305.txt")), "x\r\n" + kJanoLines) << first;
    }
}

TEST_F(PoznamkyTest, AnEmptiedDayDeletesItsFileAndOnlyThatFile) {
    WriteBytes(Subor("0306.txt"), "!\r\n" + kJanoLines);
    const auto otherFile = Snapshot(folder.Path());

    WriteBytes(Subor("0305.txt"), "!");
    TDayNotes date(folder.Path());
    date.Nacitaj(k5March2009);
    date.Uloz();
    EXPECT_EQ(Snapshot(folder.Path()), otherFile);

    WriteBytes(Subor("0305.txt"), "!\r\n" + kJanoLines + kJanoLines);
    date.Nacitaj(k5March2009);
    date.Zmaz(0);
    date.Uloz();
    EXPECT_EQ(ReadBytes(Subor("0305.txt")), "!\r\n" + kJanoLines);
    date.Zmaz(0);
    date.Uloz();
    EXPECT_EQ(Snapshot(folder.Path()), otherFile);
    date.Uloz(); // the file is gone already: not an error
    EXPECT_EQ(Snapshot(folder.Path()), otherFile);
}

TEST_F(PoznamkyTest, EntriesAreChangedInPlaceAndRemovedByIndex) {
    TDayNotes date(folder.Path());
    date.Nacitaj(k5March2009);
    auto own = std::make_unique<TNote>();
    TNote* fresh = own.get();
    EXPECT_EQ(date.Pridaj(Entry(EntryKind::Poznamka, 2009, "a")), 0);
    EXPECT_EQ(date.Pridaj(std::move(own)), 1);
    EXPECT_EQ(date.Pridaj(Entry(EntryKind::Poznamka, 2009, "c")), 2);
    // The editor keeps the entry it edits while others are added.
    for (int i = 0; i < 20; ++i) {
        date.Pridaj(TNote{});
    }
    EXPECT_EQ(&date.Polozka(1), fresh);
    fresh->Druh = EntryKind::Vyrocie;
    fresh->Rok = 1985;
    fresh->Text = "svadba";
    fresh->Potvrdena = true;
    for (int i = 0; i < 20; ++i) {
        date.Zmaz(3);
    }
    date.Zmaz(0);
    EXPECT_EQ(date.PopisPolozky(1), "24. výročie svadba");
    EXPECT_THROW(date.Zmaz(2), std::out_of_range);
    date.Uloz();
    EXPECT_EQ(ReadBytes(Subor("0305.txt")),
              "!\r\n-1\r\n3\r\n1985\r\nsvadba\r\n-1\r\n1\r\n2009\r\nc\r\n");
}

// A text Windows-1250 cannot hold (or one that spans lines) is refused before anything is
// written: no "?" in the file, and the old file stays as it was.
TEST_F(PoznamkyTest, RefusesTextsTheFileCannotHold) {
    const struct {
        const char* text;
        const char* inMessage;
    } cases[] = {
        {"Narodeniny 😀", "U+1F600"},
        {"Straße ß ok, but € ok and ł ok, 中", "U+4E2D"},
        {"Ørsted", "U+00D8"},
        {"dva\nriadky", "viac riadkov"},
        {"dva\r\nriadky", "viac riadkov"},
        {"zlé \xC3 UTF-8", "U+FFFD"},
    };
    WriteBytes(Subor("0305.txt"), "!\r\n" + kJanoLines);
    const auto before = Snapshot(folder.Path());
    for (const auto& p : cases) {
        for (const char* datum : {"0305", "0306"}) {
            TDayNotes date(folder.Path());
            date.Nacitaj(datum == std::string("0305") ? k5March2009 : 2009y / March / 6);
            date.Pridaj(Entry(EntryKind::Poznamka, 2009, p.text));
            const NotesError e = ErrorPrefix(NotesError::Kind::Encoding, [&] { date.Uloz(); });
            EXPECT_NE(e.reason.find(p.inMessage), std::string::npos) << e.what();
            EXPECT_NE(e.reason.find(std::to_string(date.Pocet()) + ". záznamu"), std::string::npos)
                << e.what();
            EXPECT_EQ(Snapshot(folder.Path()), before) << p.text;
        }
    }
}

TEST_F(PoznamkyTest, EveryWindows1250CharacterRoundTrips) {
    // Every byte but LF, as one text, and a text ending in a stray CR: whatever loads is
    // saved back byte for byte.
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != '\n') {
            bytes.push_back(static_cast<char>(b));
        }
    }
    const std::string entries =
        "-1\r\n1\r\n2009\r\n" + bytes + "\r\n0\r\n1\r\n2009\r\nkoniec\r\r\n";
    WriteBytes(Subor("1231.txt"), "!\r\n" + entries);
    TDayNotes date(folder.Path());
    date.Nacitaj(2009y / December / 31);
    ASSERT_EQ(date.Pocet(), 2);
    EXPECT_EQ(date.Polozka(0).Text.substr(0, 3), std::string("\0\x01\x02", 3));
    for (const char* letter : {"Ľ", "Ž", "Š", "ť", "€", "„", "\r"}) {
        EXPECT_NE(date.Polozka(0).Text.find(letter), std::string::npos) << "decoded as UTF-8";
    }
    EXPECT_EQ(date.Polozka(1).Text, "koniec\r");
    date.Uloz();
    EXPECT_EQ(ReadBytes(Subor("1231.txt")), "!\r\n" + entries);
}

// Fault injection: each failure says what happened and changes no file.

TEST_F(PoznamkyTest, FolderInPlaceOfTheDayFile) {
    fs::create_directory(Subor("0305.txt"));
    const auto before = Snapshot(folder.Path());
    TDayNotes date(folder.Path());
    const NotesError e = ErrorPrefix(NotesError::Kind::Read, [&] { date.Nacitaj(k5March2009); });
    EXPECT_EQ(e.file, Subor("0305.txt"));
    EXPECT_NE(e.reason.find("priečinok"), std::string::npos) << e.what();
    ErrorPrefix(NotesError::Kind::NotLoaded, [&] { date.Uloz(); });
    date.Vycisti();
    ErrorPrefix(NotesError::Kind::NotLoaded, [&] { date.Uloz(); });
    EXPECT_EQ(Snapshot(folder.Path()), before);
}

TEST_F(PoznamkyTest, FolderAppearsInPlaceOfTheDayFileBeforeSaving) {
    for (const bool empty : {false, true}) {
        TDayNotes date(folder.Path());
        date.Nacitaj(k5March2009);
        if (!empty) {
            date.Pridaj(kJano);
        }
        fs::create_directory(Subor("0305.txt"));
        const auto before = Snapshot(folder.Path());
        const NotesError e = ErrorPrefix(NotesError::Kind::Write, [&] { date.Uloz(); });
        EXPECT_NE(e.reason.find("priečinok"), std::string::npos) << e.what();
        EXPECT_EQ(Snapshot(folder.Path()), before) << "the folder is neither replaced nor removed";
        fs::remove(Subor("0305.txt"));
    }
}

TEST_F(PoznamkyTest, ReadOnlyFileIsNeitherReplacedNorDeleted) {
    WriteBytes(Subor("0305.txt"), "!\r\n" + kJanoLines);
    fs::permissions(Subor("0305.txt"),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const auto before = Snapshot(folder.Path());
    TDayNotes date(folder.Path());
    date.Nacitaj(k5March2009);
    date.Polozka(0).Text = "Ján";
    const NotesError e = ErrorPrefix(NotesError::Kind::Write, [&] { date.Uloz(); });
    EXPECT_NE(e.reason.find("len na čítanie"), std::string::npos) << e.what();
    date.Vycisti();
    ErrorPrefix(NotesError::Kind::Write, [&] { date.Uloz(); });
    EXPECT_EQ(Snapshot(folder.Path()), before);
    fs::permissions(Subor("0305.txt"), fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(PoznamkyTest, NotesFolderIsAFile) {
    WriteBytes(Subor("subor"), "nie priečinok");
    const auto before = Snapshot(folder.Path());
    TDayNotes date(Subor("subor") / "ZelmTilava");
    date.Nacitaj(k5March2009); // nothing there: an empty day
    date.Pridaj(kJano);
    const NotesError e = ErrorPrefix(NotesError::Kind::Write, [&] { date.Uloz(); });
    EXPECT_EQ(e.file, Subor("subor") / "ZelmTilava" / "0305.txt");
    EXPECT_NE(std::string(e.what()).find("0305.txt"), std::string::npos);
    EXPECT_NE(e.reason.find("nedá sa zapísať"), std::string::npos) << e.what();
    EXPECT_EQ(Snapshot(folder.Path()), before);
}

// The day file is deleted elsewhere (the sync, above all) while the store holds the user's
// unsaved changes: what the user added or changed is saved, the rest follows the deletion, and
// the user is told the day and, when the sync's state changed meanwhile, that it was the sync.
TEST_F(PoznamkyTest, UnsavedChangesOutliveADeletionElsewhere) {
    enum class Mark { None, Untouched, Touched }; // the sync's mark, and whether it was written
    const std::string kNewLines = "-1\r\n1\r\n2009\r\nnov\xE9\r\n";
    const auto add = [](TDayNotes& d) { d.Pridaj(Entry(EntryKind::Poznamka, 2009, "nové")); };
    const struct {
        const char* name;
        std::function<void(TDayNotes&)> ourChange;
        Mark mark;
        std::optional<std::string> saved; // the day file after the save; nothing: none
        const char* notice;               // the start of what the user is told; "": nothing
    } cases[] = {
        {"AddedEntryIsSaved", add, Mark::None, "!\r\n" + kNewLines,
         "Záznamy dňa 5. marca medzitým odstránil iný program alebo synchronizácia s kalendárom. "
         "Záznamy, ktoré ste v tomto okne pridali alebo zmenili, sa zachovali"},
        {"ChangedEntryIsSaved", [](TDayNotes& d) { d.Polozka(0).Text = "Ján"; }, Mark::Touched,
         "!\r\n-1\r\n2\r\n1980\r\nJ\xE1n\r\n",
         "Záznamy dňa 5. marca medzitým odstránila synchronizácia s kalendárom."},
        {"AnotherProgramWhenTheSyncWroteNothing", add, Mark::Untouched, "!\r\n" + kNewLines,
         "Záznamy dňa 5. marca medzitým odstránil iný program."},
        {"OnlyRemovedHere", [](TDayNotes& d) { d.Zmaz(1); }, Mark::Touched, std::nullopt, ""},
        {"Untouched", [](TDayNotes&) {}, Mark::Touched, std::nullopt, ""},
    };
    const fs::path mark = Subor("sync-state.txt");
    for (const auto& p : cases) {
        SCOPED_TRACE(p.name);
        WriteBytes(Subor("0305.txt"), "!\r\n" + kJanoLines + "-1\r\n3\r\n2001\r\nsvadba\r\n");
        WriteBytes(mark, "state");
        SaveOptions options;
        options.syncMark = p.mark == Mark::None ? fs::path() : mark;
        TDayNotes date(folder.Path(), options);
        date.Nacitaj(k5March2009);
        p.ourChange(date);
        fs::remove(Subor("0305.txt"));
        if (p.mark == Mark::Touched)
            fs::last_write_time(mark, fs::last_write_time(mark) + 2s);

        const std::string notice = date.Uloz();
        EXPECT_EQ(notice.substr(0, std::strlen(p.notice)), p.notice);
        EXPECT_EQ(fs::exists(Subor("0305.txt")) ? ReadBytes(Subor("0305.txt")) : "none",
                  p.saved.value_or("none"));
        // What was saved is the store's now: a second save changes and tells nothing.
        EXPECT_EQ(date.Uloz(), "");
        EXPECT_EQ(fs::exists(Subor("0305.txt")), p.saved.has_value());
    }
}

// Files in forms the program never writes are saved in its own form, entries and mark kept.
TEST_F(PoznamkyTest, ForeignFormsAreSavedAsDayFiles) {
    const struct {
        const char* name;
        std::string contents;
        std::string saved;
    } cases[] = {
        {"CarriageReturnsOnly", "!\r-1\r2\r1980\rJano\r", "!\r\n" + kJanoLines},
        {"Utf8WithMark", "\xEF\xBB\xBF!\n-1\n2\n1980\n\xC5\xBDofia\n",
         "!\r\n-1\r\n2\r\n1980\r\n\x8E"
         "ofia\r\n"},
        {"Utf8WithMarkAndX", "\xEF\xBB\xBFx\r\n" + kJanoLines, "x\r\n" + kJanoLines},
    };
    for (const auto& p : cases) {
        WriteBytes(Subor("0305.txt"), p.contents);
        TDayNotes date(folder.Path());
        date.Nacitaj(k5March2009);
        EXPECT_EQ(date.Uloz(), "") << p.name;
        EXPECT_EQ(ReadBytes(Subor("0305.txt")), p.saved) << p.name;
    }
}

TEST_F(PoznamkyTest, OversizedFileIsRefusedUnread) {
    const std::string large = "!\r\n" + kJanoLines + std::string(5 * 1024 * 1024, 'a');
    WriteBytes(Subor("0305.txt"), large);
    TDayNotes date(folder.Path());
    const NotesError e = ErrorPrefix(NotesError::Kind::Read, [&] { date.Nacitaj(k5March2009); });
    EXPECT_NE(std::string(e.what()).find("0305.txt“: je príliš veľký (6 MiB)"), std::string::npos)
        << e.what();
    EXPECT_EQ(date.Pocet(), 0);
    date.Pridaj(kJano);
    ErrorPrefix(NotesError::Kind::NotLoaded, [&] { date.Uloz(); });
    EXPECT_EQ(ReadBytes(Subor("0305.txt")), large);
}

// Another program (a sync tool, an editor) changes the day file while it is loaded here.
// Nothing of either side is lost, and the user is told which file it was.
// The writer keeps the reader's limit: a day whose file is as large as a day file may be is
// saved and loads again; one byte more is refused before anything is written.
TEST_F(PoznamkyTest, DayFileAsLargeAsTheReaderTakesAndNoLarger) {
    // "!" line, one record of 13 bytes before its text, the text's own line end.
    const std::size_t kRecord = 3 + 13 + 2;
    for (const std::size_t extra : {std::size_t{0}, std::size_t{1}}) {
        SCOPED_TRACE(extra);
        WriteBytes(Subor("0305.txt"), "!\r\n" + kJanoLines);
        TDayNotes date(folder.Path());
        date.Nacitaj(k5March2009);
        date.Polozka(0) =
            Entry(EntryKind::Poznamka, 2009, std::string(kLargestDayFile - kRecord + extra, 'a'));
        if (extra == 0) {
            date.Uloz();
            EXPECT_EQ(ReadBytes(Subor("0305.txt")).size(), kLargestDayFile);
            TDayNotes again(folder.Path());
            again.Nacitaj(k5March2009);
            EXPECT_EQ(Entries(again), Entries(date));
            continue;
        }
        const NotesError e = ErrorPrefix(NotesError::Kind::TooLarge, [&] { date.Uloz(); });
        EXPECT_NE(std::string(e.what()).find("0305.txt“: deň by mal viac ako 4 MiB"),
                  std::string::npos)
            << e.what();
        EXPECT_EQ(ReadBytes(Subor("0305.txt")), "!\r\n" + kJanoLines);
        EXPECT_EQ(Snapshot(folder.Path()).size(), 1u) << "no temporary file stays behind";
    }
}

TEST_F(PoznamkyTest, FileChangedByAnotherProgramIsJoined) {
    const TNote kEva = Entry(EntryKind::Narodeniny, 1975, "Eva");
    const TNote kNew = Entry(EntryKind::Poznamka, 2009, "nové");
    const std::string kEvaLines = "-1\r\n2\r\n1975\r\nEva\r\n";
    const std::string kWeddingLines = "-1\r\n3\r\n2001\r\nsvadba\r\n";
    const std::string kNewLines = "-1\r\n1\r\n2009\r\nnov\xE9\r\n";
    enum class SaveWay { InPlace, ByRename };
    const struct {
        const char* name;
        std::optional<std::string> before;         // the file at load
        std::string theirs;                        // what the other program wrote
        SaveWay way;                               // and how
        std::function<void(TDayNotes&)> ourChange; // what the user did here meanwhile
        std::string together;                      // the file after saving
    } cases[] = {
        {"AddedBothSides", "!\r\n" + kJanoLines, "!\r\n" + kJanoLines + kEvaLines, SaveWay::InPlace,
         [&](TDayNotes& d) { d.Pridaj(kNew); }, "!\r\n" + kJanoLines + kNewLines + kEvaLines},
        {"ReplacedByRename", "!\r\n" + kJanoLines, "!\r\n" + kJanoLines + kEvaLines,
         SaveWay::ByRename, [&](TDayNotes& d) { d.Pridaj(kNew); },
         "!\r\n" + kJanoLines + kNewLines + kEvaLines},
        {"NewFileForAnEmptyDay", std::nullopt, "!\r\n" + kEvaLines, SaveWay::InPlace,
         [&](TDayNotes& d) { d.Pridaj(kJano); }, "!\r\n" + kJanoLines + kEvaLines},
        {"TheyRemovedWeChanged", "!\r\n" + kJanoLines + kWeddingLines, "!\r\n" + kWeddingLines,
         SaveWay::InPlace, [&](TDayNotes& d) { d.Polozka(0).Text = "Ján"; },
         "!\r\n-1\r\n2\r\n1980\r\nJ\xE1n\r\n" + kWeddingLines},
        {"WeRemovedTheyAdded", "!\r\n" + kJanoLines, "!\r\n" + kJanoLines + kEvaLines,
         SaveWay::InPlace, [&](TDayNotes& d) { d.Zmaz(0); }, "!\r\n" + kEvaLines},
        {"BothChangedOneEntry", "!\r\n" + kJanoLines, "!\r\n-1\r\n2\r\n1981\r\nJano\r\n",
         SaveWay::InPlace, [&](TDayNotes& d) { d.Polozka(0).Text = "Ján"; },
         "!\r\n-1\r\n2\r\n1980\r\nJ\xE1n\r\n-1\r\n2\r\n1981\r\nJano\r\n"},
        {"SameEntryAddedOnBothSides", "!\r\n" + kJanoLines, "!\r\n" + kJanoLines + kEvaLines,
         SaveWay::InPlace, [&](TDayNotes& d) { d.Pridaj(kEva); }, "!\r\n" + kJanoLines + kEvaLines},
        {"TheyTurnedRemindersOff", "!\r\n" + kJanoLines, "x\r\n" + kJanoLines, SaveWay::InPlace,
         [&](TDayNotes& d) { d.Pridaj(kEva); }, "x\r\n" + kJanoLines + kEvaLines},
        {"TheyRemovedAllWeEmptied", "!\r\n" + kJanoLines, "!", SaveWay::InPlace,
         [&](TDayNotes& d) { d.Zmaz(0); }, ""},
    };
    for (const auto& p : cases) {
        SCOPED_TRACE(p.name);
        fs::remove(Subor("0305.txt"));
        if (p.before) {
            WriteBytes(Subor("0305.txt"), *p.before);
        }
        TDayNotes date(folder.Path());
        date.Nacitaj(k5March2009);
        p.ourChange(date);
        if (p.way == SaveWay::ByRename) {
            WriteBytes(Subor(".sync-tmp"), p.theirs);
            fs::rename(Subor(".sync-tmp"), Subor("0305.txt"));
        } else {
            WriteBytes(Subor("0305.txt"), p.theirs);
        }
        const std::string notice = date.Uloz();
        EXPECT_NE(notice.find("Záznamy dňa 5. marca medzitým zmenil iný program alebo "
                              "synchronizácia s kalendárom."),
                  std::string::npos)
            << notice;
        if (p.together.empty()) {
            EXPECT_FALSE(fs::exists(Subor("0305.txt")));
        } else {
            EXPECT_EQ(ReadBytes(Subor("0305.txt")), p.together);
        }
        // The joined day is the store's now: saving again writes the same and tells nothing.
        EXPECT_EQ(date.Uloz(), "");
        if (!p.together.empty()) {
            EXPECT_EQ(ReadBytes(Subor("0305.txt")), p.together);
        }
    }
}

TEST_F(PoznamkyTest, ChangedFileThatCannotBeReadStaysAsItIs) {
    WriteBytes(Subor("0305.txt"), "!\r\n" + kJanoLines);
    TDayNotes date(folder.Path());
    date.Nacitaj(k5March2009);
    date.Pridaj(Entry(EntryKind::Poznamka, 2009, "nové"));
    const std::string theirs = "!\r\n-1\r\nabc\r\n";
    WriteBytes(Subor("0305.txt"), theirs);
    const NotesError e = ErrorPrefix(NotesError::Kind::Changed, [&] { date.Uloz(); });
    EXPECT_EQ(e.line, 3);
    EXPECT_NE(e.reason.find("zmenil iný program"), std::string::npos) << e.what();
    EXPECT_EQ(ReadBytes(Subor("0305.txt")), theirs);
    EXPECT_EQ(date.Pocet(), 2); // nothing of ours is thrown away

    // Once the other file is mended, saving joins both.
    WriteBytes(Subor("0305.txt"), "!\r\n" + kJanoLines + "-1\r\n2\r\n1975\r\nEva\r\n");
    EXPECT_NE(date.Uloz(), "");
    EXPECT_EQ(ReadBytes(Subor("0305.txt")),
              "!\r\n" + kJanoLines + "-1\r\n1\r\n2009\r\nnov\xE9\r\n-1\r\n2\r\n1975\r\nEva\r\n");
}

} // namespace
} // namespace tilava
