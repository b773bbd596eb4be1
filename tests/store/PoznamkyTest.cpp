#include "store/DayFile.h"
#include "store/NotesError.h"
#include "store/uPoznamky.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
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

constexpr year_month_day k5Marec2009 = 2009y / March / 5;

TNote Zaznam(TDruh druh, std::int32_t rok, std::string text, bool potvrdena = true) {
    TNote note;
    note.Druh = druh;
    note.Rok = rok;
    note.Text = std::move(text);
    note.Potvrdena = potvrdena;
    return note;
}

std::vector<TNote> Zaznamy(const TDayNotes& den) {
    std::vector<TNote> out;
    for (int i = 0; i < den.Pocet(); ++i) {
        out.push_back(den.Polozka(i));
    }
    return out;
}

// Runs `akcia`, expects a NotesError of `kind` and returns it.
template <typename F> NotesError Chyba(NotesError::Kind kind, F&& akcia) {
    try {
        akcia();
    } catch (const NotesError& e) {
        EXPECT_EQ(e.kind, kind) << e.what();
        return e;
    }
    ADD_FAILURE() << "no NotesError";
    return NotesError(kind, {}, 0, {});
}

class PoznamkyTest : public ::testing::Test {
protected:
    TempFolder priecinok;
    fs::path Subor(const char* meno) const { return priecinok.Path() / meno; }
};

TEST(TNoteTest, NewEntryIsAnUnconfirmedBirthday) {
    const TNote note;
    EXPECT_EQ(note.Druh, TDruh::Narodeniny);
    EXPECT_EQ(note.Rok, 0);
    EXPECT_FALSE(note.Potvrdena);
    EXPECT_EQ(note.Text, "");
}

TEST(TNoteTest, Popis) {
    const struct {
        TDruh druh;
        std::int32_t rok;
        const char* text;
        int vRoku;
        const char* popis;
    } pripady[] = {
        {TDruh::Narodeniny, 1980, "Jano", 2010, "Jano 30. narodeniny"},
        {TDruh::Vyrocie, 1985, "svadba", 2010, "25. výročie svadba"},
        {TDruh::Poznamka, 2009, "  Zubár", 2030, "  Zubár"},
        {TDruh::Narodeniny, 2010, "Jano", 2010, "Jano 0. narodeniny"},
        {TDruh::Narodeniny, 2012, "Jano", 2010, "Jano -2. narodeniny"},
        {TDruh::Vyrocie, 2010, "", 2010, "0. výročie "},
        // Years from a file can be anything; the count must not overflow.
        {TDruh::Narodeniny, std::numeric_limits<std::int32_t>::min(), "X", 2010,
         "X 2147485658. narodeniny"},
        {TDruh::Vyrocie, std::numeric_limits<std::int32_t>::max(), "Y", -5,
         "-2147483652. výročie Y"},
    };
    for (const auto& p : pripady) {
        EXPECT_EQ(Zaznam(p.druh, p.rok, p.text).Popis(p.vRoku), p.popis);
    }
}

// The example day: a birthday of Jano born 1980 and a plain note "Zubár", entered in 2009.
TEST_F(PoznamkyTest, WritesTheExampleDayByteForByte) {
    TDayNotes den(priecinok.Path());
    den.Nacitaj(k5Marec2009);
    EXPECT_EQ(den.Pocet(), 0);
    EXPECT_TRUE(den.Pripomenut());
    den.Pridaj(Zaznam(TDruh::Narodeniny, 1980, "Jano"));
    den.Pridaj(Zaznam(TDruh::Poznamka, 2009, "Zubár"));
    den.Uloz();

    EXPECT_EQ(ReadBytes(Subor("0305.txt")), "!\r\n"
                                            "-1\r\n2\r\n1980\r\nJano\r\n"
                                            "-1\r\n1\r\n2009\r\nZub\xE1r\r\n");
    EXPECT_EQ(Snapshot(priecinok.Path()).size(), 1u) << "no temporary file stays behind";

    TDayNotes znova(priecinok.Path());
    znova.Nacitaj(2010y / March / 5);
    EXPECT_EQ(Zaznamy(znova), Zaznamy(den));
    ASSERT_EQ(znova.Pocet(), 2);
    EXPECT_EQ(znova.PopisPolozky(1), "Jano 30. narodeniny");
    EXPECT_EQ(znova.DruhPolozky(1), TDruh::Narodeniny);
    EXPECT_EQ(znova.RokPolozky(2), 2009);
    EXPECT_EQ(znova.PopisPolozky(2), "Zubár");
}

TEST_F(PoznamkyTest, OnlyDayAndMonthNameTheFile) {
    const struct {
        year_month_day datum;
        const char* meno;
    } pripady[] = {
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
    for (const auto& p : pripady) {
        TDayNotes den(priecinok.Path());
        den.Nacitaj(p.datum);
        EXPECT_EQ(den.NazovSuboru(), Subor(p.meno));
        den.Pridaj(Zaznam(TDruh::Vyrocie, 1990, p.meno));
        den.Uloz();
        EXPECT_EQ(ReadBytes(Subor(p.meno)),
                  std::string("!\r\n-1\r\n3\r\n1990\r\n") + p.meno + "\r\n");
        fs::remove(Subor(p.meno));
    }
}

TEST_F(PoznamkyTest, TwentyNinthOfFebruaryOnlyInLeapYears) {
    WriteBytes(Subor("0229.txt"), "!\r\n-1\r\n2\r\n2000\r\nLeo\r\n");
    TDayNotes den(priecinok.Path());
    den.Nacitaj(2012y / February / 29);
    ASSERT_EQ(den.Pocet(), 1);

    EXPECT_THROW(den.Nacitaj(2011y / February / 29), std::invalid_argument);
    EXPECT_EQ(den.Datum(), 2012y / February / 29) << "a date that does not exist changes nothing";
    EXPECT_EQ(den.Pocet(), 1);
}

TEST_F(PoznamkyTest, NothingLoadedBeforeTheFirstLoad) {
    WriteBytes(Subor("0305.txt"), "!\r\n");
    const auto pred = Snapshot(priecinok.Path());
    TDayNotes den(priecinok.Path());
    EXPECT_FALSE(den.Datum().has_value());
    EXPECT_TRUE(den.Pripomenut());
    den.Pridaj(Zaznam(TDruh::Poznamka, 2009, "nikde"));
    den.Uloz();
    den.Vycisti();
    den.Uloz();
    EXPECT_EQ(Snapshot(priecinok.Path()), pred)
        << "a store never loaded writes and deletes nothing";
}

struct Citanie {
    const char* nazov;
    std::string obsah;
    bool pripomenut;
    std::vector<TNote> zaznamy;
};

class CitanieTest : public PoznamkyTest, public ::testing::WithParamInterface<Citanie> {};

TEST_P(CitanieTest, Loads) {
    const Citanie& p = GetParam();
    WriteBytes(Subor("0305.txt"), p.obsah);
    TDayNotes den(priecinok.Path());
    den.Nacitaj(k5Marec2009);
    EXPECT_EQ(den.Pripomenut(), p.pripomenut);
    EXPECT_EQ(Zaznamy(den), p.zaznamy);
    EXPECT_FALSE(den.NacitanieZlyhalo());
}

const TNote kJano = Zaznam(TDruh::Narodeniny, 1980, "Jano");

INSTANTIATE_TEST_SUITE_P(
    DayFiles, CitanieTest,
    ::testing::Values(
        Citanie{"Empty", "", true, {}}, Citanie{"OnlyMark", "!", true, {}},
        Citanie{"OnlyMarkLine", "!\r\n", true, {}}, Citanie{"X", "x\r\n", false, {}},
        Citanie{"DoubleMark", "!!\r\n", false, {}}, Citanie{"MarkAndBlank", "! \r\n", false, {}},
        Citanie{"EmptyFirstLine", "\r\n", false, {}},
        // Line ends of old Macs: no LF anywhere, CR alone ends a line.
        Citanie{"LoneCarriageReturn", "!\r", true, {}},
        Citanie{"CarriageReturnsOnly", "x\r-1\r2\r1980\rJano\r", false, {kJano}},
        // A file saved by a text editor in UTF-8 with its byte-order mark.
        Citanie{"Utf8WithMark",
                "\xEF\xBB\xBF!\r\n-1\r\n2\r\n1990\r\n\xC4\xBDubom\xC3\xADr \xEF\xBF\xBD\r\n",
                true,
                {Zaznam(TDruh::Narodeniny, 1990, "Ľubomír \uFFFD")}},
        Citanie{"XWithEntry", "x\r\n-1\r\n2\r\n1980\r\nJano\r\n", false, {kJano}},
        Citanie{"LineFeedOnly", "!\n-1\n2\n1980\nJano\n", true, {kJano}},
        Citanie{"MixedLineEnds", "!\n-1\r\n2\n1980\r\nJano", true, {kJano}},
        Citanie{"KindCodes",
                "!\r\n0\r\n1\r\n2009\r\na\r\n-1\r\n3\r\n1985\r\nb\r\n"
                "-1\r\n0\r\n1\r\nc\r\n-1\r\n4\r\n2\r\nd\r\n-1\r\n-7\r\n3\r\ne\r\n"
                "-1\r\n+3\r\n-44\r\nf\r\n",
                true,
                {Zaznam(TDruh::Poznamka, 2009, "a", false), Zaznam(TDruh::Vyrocie, 1985, "b"),
                 Zaznam(TDruh::Narodeniny, 1, "c"), Zaznam(TDruh::Narodeniny, 2, "d"),
                 Zaznam(TDruh::Narodeniny, 3, "e"), Zaznam(TDruh::Vyrocie, -44, "f")}},
        Citanie{"FlagWords",
                "!\r\nTrue\r\n1\r\n1\r\n\r\nfALSE\r\n1\r\n2\r\n\r\n7\r\n1\r\n3\r\n\r\n"
                "-0\r\n1\r\n4\r\n\r\n00010\r\n1\r\n5\r\n",
                true,
                {Zaznam(TDruh::Poznamka, 1, ""), Zaznam(TDruh::Poznamka, 2, "", false),
                 Zaznam(TDruh::Poznamka, 3, ""), Zaznam(TDruh::Poznamka, 4, "", false),
                 Zaznam(TDruh::Poznamka, 5, "")}},
        Citanie{"YearLimits",
                "!\r\n-1\r\n2\r\n-2147483648\r\na\r\n-1\r\n2\r\n2147483647\r\nb",
                true,
                {Zaznam(TDruh::Narodeniny, std::numeric_limits<std::int32_t>::min(), "a"),
                 Zaznam(TDruh::Narodeniny, std::numeric_limits<std::int32_t>::max(), "b")}},
        Citanie{"TextKeptAsItIs",
                "!\r\n-1\r\n1\r\n2009\r\n  Zub\xE1r \t\r\n-1\r\n2\r\n1990\r\n\xBC"
                "ubom\xEDr \x8Eofia \xD8"
                "eho\xF8 \x9D"
                "a\xE8\r\n",
                true,
                {Zaznam(TDruh::Poznamka, 2009, "  Zubár \t"),
                 Zaznam(TDruh::Narodeniny, 1990, "Ľubomír Žofia Řehoř ťač")}},
        // Reading past the end gives empty lines: a last record without its text loads.
        Citanie{
            "LastTextMissing", "!\r\n-1\r\n1\r\n2009", true, {Zaznam(TDruh::Poznamka, 2009, "")}},
        Citanie{"LastTextMissingAfterLineEnd",
                "!\r\n-1\r\n1\r\n2009\r\n",
                true,
                {Zaznam(TDruh::Poznamka, 2009, "")}}),
    [](const auto& test) { return std::string(test.param.nazov); });

struct ZlySubor {
    const char* nazov;
    std::string obsah;
    int riadok;
    const char* ocakavane; // part of the message that says what was expected
    std::size_t nacitanych;
};

class ZlySuborTest : public PoznamkyTest, public ::testing::WithParamInterface<ZlySubor> {};

// A malformed record stops the load with the file, line and expectation named; the entries
// before it stay, and the store refuses to save until it loads again.
TEST_P(ZlySuborTest, StopsAtTheBadLineAndRefusesToSave) {
    const ZlySubor& p = GetParam();
    WriteBytes(Subor("0305.txt"), p.obsah);
    const auto pred = Snapshot(priecinok.Path());
    TDayNotes den(priecinok.Path());
    const NotesError e = Chyba(NotesError::Kind::Format, [&] { den.Nacitaj(2011y / March / 5); });
    EXPECT_EQ(e.file, Subor("0305.txt"));
    EXPECT_EQ(e.line, p.riadok);
    EXPECT_NE(std::string(e.what()).find("0305.txt“, riadok " + std::to_string(p.riadok) + ": "),
              std::string::npos)
        << e.what();
    EXPECT_NE(e.reason.find(p.ocakavane), std::string::npos) << e.reason.substr(0, 200);
    EXPECT_LT(e.reason.size(), 300u);
    EXPECT_EQ(static_cast<std::size_t>(den.Pocet()), p.nacitanych);
    for (int i = 0; i < den.Pocet(); ++i) {
        EXPECT_EQ(den.Polozka(i), kJano);
    }
    EXPECT_TRUE(den.NacitanieZlyhalo());

    const NotesError odmietnutie = Chyba(NotesError::Kind::NotLoaded, [&] { den.Uloz(); });
    EXPECT_EQ(odmietnutie.line, p.riadok);
    EXPECT_NE(std::string(odmietnutie.what()).find("neuloží"), std::string::npos);
    den.Vycisti();
    Chyba(NotesError::Kind::NotLoaded, [&] { den.Uloz(); });
    den.Pridaj(kJano);
    Chyba(NotesError::Kind::NotLoaded, [&] { den.Uloz(); });
    EXPECT_EQ(Snapshot(priecinok.Path()), pred);

    // Once the file is mended and loaded, saving works again.
    WriteBytes(Subor("0305.txt"), "!\r\n-1\r\n2\r\n1980\r\nJano\r\n");
    den.Nacitaj(2011y / March / 5);
    EXPECT_FALSE(den.NacitanieZlyhalo());
    den.Pridaj(Zaznam(TDruh::Poznamka, 2011, "nové"));
    den.Uloz();
    EXPECT_EQ(ReadBytes(Subor("0305.txt")),
              "!\r\n-1\r\n2\r\n1980\r\nJano\r\n-1\r\n1\r\n2011\r\nnov\xE9\r\n");
}

const std::string kJanoRiadky = "-1\r\n2\r\n1980\r\nJano\r\n";

INSTANTIATE_TEST_SUITE_P(
    DayFiles, ZlySuborTest,
    ::testing::Values(
        ZlySubor{"KindWord", "!\r\n-1\r\nabc\r\n1980\r\nJano\r\n", 3, "druh záznamu", 0},
        ZlySubor{"TrailingEmptyLine", "!\r\n" + kJanoRiadky + kJanoRiadky + "\r\n", 10,
                 "potvrdenie záznamu", 2},
        ZlySubor{"FlagWord", "!\r\n" + kJanoRiadky + "yes\r\n2\r\n1980\r\nJano\r\n", 6,
                 "potvrdenie záznamu", 1},
        ZlySubor{"FlagWithBlank", "!\r\n -1\r\n2\r\n1980\r\nJano\r\n", 2, "potvrdenie", 0},
        ZlySubor{"YearWord", "!\r\n" + kJanoRiadky + "-1\r\n2\r\n19x0\r\nJano\r\n", 8, "rok", 1},
        ZlySubor{"YearTooBig", "!\r\n-1\r\n2\r\n2147483648\r\nJano\r\n", 4, "mimo rozsahu", 0},
        ZlySubor{"YearTooSmall", "!\r\n-1\r\n2\r\n-2147483649\r\nJano\r\n", 4, "mimo rozsahu", 0},
        ZlySubor{"SignOnly", "!\r\n-1\r\n-\r\n1980\r\nJano\r\n", 3, "druh", 0},
        ZlySubor{"EndsAfterFlag", "!\r\n" + kJanoRiadky + "-1\r\n", 7, "súbor sa skončil", 1},
        ZlySubor{"EndsAfterKind", "!\r\n" + kJanoRiadky + "-1\r\n2", 8, "súbor sa skončil", 1},
        // A huge number is quoted in a few characters, not whole.
        ZlySubor{"HugeYear", "!\r\n" + kJanoRiadky + "-1\r\n2\r\n" + std::string(1'000'000, '7'), 8,
                 "mimo rozsahu", 1},
        ZlySubor{"ZeroByteOnly", "\0"s, 1, "nulový bajt", 0},
        ZlySubor{"ZerosAfterMark", "\0\0\0\r\n"s + kJanoRiadky, 1, "nulový bajt", 0},
        ZlySubor{"Utf16", "\xFF\xFE!\0\r\0\n\0"s, 1, "UTF-16", 0},
        ZlySubor{"Utf8MarkButNotUtf8",
                 "\xEF\xBB\xBF!\r\n" + kJanoRiadky + "-1\r\n2\r\n1980\r\n\xBEofia\r\n", 9, "UTF-8",
                 1}),
    [](const auto& test) { return std::string(test.param.nazov); });

TEST_F(PoznamkyTest, MarkOtherThanExclamationIsWrittenAsX) {
    for (const char* prvy : {"x", "!!", "! ", "X"}) {
        WriteBytes(Subor("0305.txt"), std::string(prvy) + "\r\n" + kJanoRiadky);
        TDayNotes den(priecinok.Path());
        den.Nacitaj(k5Marec2009);
        EXPECT_FALSE(den.Pripomenut());
        den.Uloz();
        EXPECT_EQ(ReadBytes(Subor("0305.txt")), "x\r\n" + kJanoRiadky) << prvy;
    }
}

TEST_F(PoznamkyTest, AnEmptiedDayDeletesItsFileAndOnlyThatFile) {
    WriteBytes(Subor("0306.txt"), "!\r\n" + kJanoRiadky);
    const auto inySubor = Snapshot(priecinok.Path());

    WriteBytes(Subor("0305.txt"), "!");
    TDayNotes den(priecinok.Path());
    den.Nacitaj(k5Marec2009);
    den.Uloz();
    EXPECT_EQ(Snapshot(priecinok.Path()), inySubor);

    WriteBytes(Subor("0305.txt"), "!\r\n" + kJanoRiadky + kJanoRiadky);
    den.Nacitaj(k5Marec2009);
    den.Zmaz(0);
    den.Uloz();
    EXPECT_EQ(ReadBytes(Subor("0305.txt")), "!\r\n" + kJanoRiadky);
    den.Zmaz(0);
    den.Uloz();
    EXPECT_EQ(Snapshot(priecinok.Path()), inySubor);
    den.Uloz(); // the file is gone already: not an error
    EXPECT_EQ(Snapshot(priecinok.Path()), inySubor);
}

TEST_F(PoznamkyTest, EntriesAreChangedInPlaceAndRemovedByIndex) {
    TDayNotes den(priecinok.Path());
    den.Nacitaj(k5Marec2009);
    auto vlastny = std::make_unique<TNote>();
    TNote* novy = vlastny.get();
    EXPECT_EQ(den.Pridaj(Zaznam(TDruh::Poznamka, 2009, "a")), 0);
    EXPECT_EQ(den.Pridaj(std::move(vlastny)), 1);
    EXPECT_EQ(den.Pridaj(Zaznam(TDruh::Poznamka, 2009, "c")), 2);
    // The editor keeps the entry it edits while others are added.
    for (int i = 0; i < 20; ++i) {
        den.Pridaj(TNote{});
    }
    EXPECT_EQ(&den.Polozka(1), novy);
    novy->Druh = TDruh::Vyrocie;
    novy->Rok = 1985;
    novy->Text = "svadba";
    novy->Potvrdena = true;
    for (int i = 0; i < 20; ++i) {
        den.Zmaz(3);
    }
    den.Zmaz(0);
    EXPECT_EQ(den.PopisPolozky(1), "24. výročie svadba");
    EXPECT_THROW(den.Zmaz(2), std::out_of_range);
    den.Uloz();
    EXPECT_EQ(ReadBytes(Subor("0305.txt")),
              "!\r\n-1\r\n3\r\n1985\r\nsvadba\r\n-1\r\n1\r\n2009\r\nc\r\n");
}

// A text Windows-1250 cannot hold (or one that spans lines) is refused before anything is
// written: no "?" in the file, and the old file stays as it was.
TEST_F(PoznamkyTest, RefusesTextsTheFileCannotHold) {
    const struct {
        const char* text;
        const char* vSprave;
    } pripady[] = {
        {"Narodeniny 😀", "U+1F600"},
        {"Straße ß ok, but € ok and ł ok, 中", "U+4E2D"},
        {"Ørsted", "U+00D8"},
        {"dva\nriadky", "viac riadkov"},
        {"dva\r\nriadky", "viac riadkov"},
        {"zlé \xC3 UTF-8", "U+FFFD"},
    };
    WriteBytes(Subor("0305.txt"), "!\r\n" + kJanoRiadky);
    const auto pred = Snapshot(priecinok.Path());
    for (const auto& p : pripady) {
        for (const char* datum : {"0305", "0306"}) {
            TDayNotes den(priecinok.Path());
            den.Nacitaj(datum == std::string("0305") ? k5Marec2009 : 2009y / March / 6);
            den.Pridaj(Zaznam(TDruh::Poznamka, 2009, p.text));
            const NotesError e = Chyba(NotesError::Kind::Encoding, [&] { den.Uloz(); });
            EXPECT_NE(e.reason.find(p.vSprave), std::string::npos) << e.what();
            EXPECT_NE(e.reason.find(std::to_string(den.Pocet()) + ". záznamu"), std::string::npos)
                << e.what();
            EXPECT_EQ(Snapshot(priecinok.Path()), pred) << p.text;
        }
    }
}

TEST_F(PoznamkyTest, EveryWindows1250CharacterRoundTrips) {
    // Every byte but LF, as one text, and a text ending in a stray CR: whatever loads is
    // saved back byte for byte.
    std::string bajty;
    for (int b = 0; b < 256; ++b) {
        if (b != '\n') {
            bajty.push_back(static_cast<char>(b));
        }
    }
    const std::string zaznamy =
        "-1\r\n1\r\n2009\r\n" + bajty + "\r\n0\r\n1\r\n2009\r\nkoniec\r\r\n";
    WriteBytes(Subor("1231.txt"), "!\r\n" + zaznamy);
    TDayNotes den(priecinok.Path());
    den.Nacitaj(2009y / December / 31);
    ASSERT_EQ(den.Pocet(), 2);
    EXPECT_EQ(den.Polozka(0).Text.substr(0, 3), std::string("\0\x01\x02", 3));
    for (const char* pismeno : {"Ľ", "Ž", "Š", "ť", "€", "„", "\r"}) {
        EXPECT_NE(den.Polozka(0).Text.find(pismeno), std::string::npos) << "decoded as UTF-8";
    }
    EXPECT_EQ(den.Polozka(1).Text, "koniec\r");
    den.Uloz();
    EXPECT_EQ(ReadBytes(Subor("1231.txt")), "!\r\n" + zaznamy);
}

// Fault injection: each failure says what happened and changes no file.

TEST_F(PoznamkyTest, FolderInPlaceOfTheDayFile) {
    fs::create_directory(Subor("0305.txt"));
    const auto pred = Snapshot(priecinok.Path());
    TDayNotes den(priecinok.Path());
    const NotesError e = Chyba(NotesError::Kind::Read, [&] { den.Nacitaj(k5Marec2009); });
    EXPECT_EQ(e.file, Subor("0305.txt"));
    EXPECT_NE(e.reason.find("priečinok"), std::string::npos) << e.what();
    Chyba(NotesError::Kind::NotLoaded, [&] { den.Uloz(); });
    den.Vycisti();
    Chyba(NotesError::Kind::NotLoaded, [&] { den.Uloz(); });
    EXPECT_EQ(Snapshot(priecinok.Path()), pred);
}

TEST_F(PoznamkyTest, FolderAppearsInPlaceOfTheDayFileBeforeSaving) {
    for (const bool prazdny : {false, true}) {
        TDayNotes den(priecinok.Path());
        den.Nacitaj(k5Marec2009);
        if (!prazdny) {
            den.Pridaj(kJano);
        }
        fs::create_directory(Subor("0305.txt"));
        const auto pred = Snapshot(priecinok.Path());
        const NotesError e = Chyba(NotesError::Kind::Write, [&] { den.Uloz(); });
        EXPECT_NE(e.reason.find("priečinok"), std::string::npos) << e.what();
        EXPECT_EQ(Snapshot(priecinok.Path()), pred) << "the folder is neither replaced nor removed";
        fs::remove(Subor("0305.txt"));
    }
}

TEST_F(PoznamkyTest, ReadOnlyFileIsNeitherReplacedNorDeleted) {
    WriteBytes(Subor("0305.txt"), "!\r\n" + kJanoRiadky);
    fs::permissions(Subor("0305.txt"),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const auto pred = Snapshot(priecinok.Path());
    TDayNotes den(priecinok.Path());
    den.Nacitaj(k5Marec2009);
    den.Polozka(0).Text = "Ján";
    const NotesError e = Chyba(NotesError::Kind::Write, [&] { den.Uloz(); });
    EXPECT_NE(e.reason.find("len na čítanie"), std::string::npos) << e.what();
    den.Vycisti();
    Chyba(NotesError::Kind::Write, [&] { den.Uloz(); });
    EXPECT_EQ(Snapshot(priecinok.Path()), pred);
    fs::permissions(Subor("0305.txt"), fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(PoznamkyTest, NotesFolderIsAFile) {
    WriteBytes(Subor("subor"), "nie priečinok");
    const auto pred = Snapshot(priecinok.Path());
    TDayNotes den(Subor("subor") / "ZelmTilava");
    den.Nacitaj(k5Marec2009); // nothing there: an empty day
    den.Pridaj(kJano);
    const NotesError e = Chyba(NotesError::Kind::Write, [&] { den.Uloz(); });
    EXPECT_EQ(e.file, Subor("subor") / "ZelmTilava" / "0305.txt");
    EXPECT_NE(std::string(e.what()).find("0305.txt"), std::string::npos);
    EXPECT_NE(e.reason.find("nedá sa zapísať"), std::string::npos) << e.what();
    EXPECT_EQ(Snapshot(priecinok.Path()), pred);
}

TEST_F(PoznamkyTest, FileVanishedBetweenLoadAndSave) {
    WriteBytes(Subor("0305.txt"), "!\r\n" + kJanoRiadky);
    WriteBytes(Subor("0306.txt"), "!\r\n" + kJanoRiadky);
    TDayNotes den(priecinok.Path());
    den.Nacitaj(k5Marec2009);
    den.Pridaj(Zaznam(TDruh::Poznamka, 2009, "nové"));
    fs::remove(Subor("0305.txt"));
    const auto pred = Snapshot(priecinok.Path());

    const NotesError e = Chyba(NotesError::Kind::Vanished, [&] { den.Uloz(); });
    EXPECT_NE(e.reason.find("zmizol"), std::string::npos) << e.what();
    EXPECT_EQ(Snapshot(priecinok.Path()), pred);

    // An emptied day whose file has gone has nothing left to do.
    den.Vycisti();
    den.Uloz();
    EXPECT_EQ(Snapshot(priecinok.Path()), pred);

    // A fresh load of the day starts over.
    den.Nacitaj(k5Marec2009);
    den.Pridaj(kJano);
    den.Uloz();
    EXPECT_EQ(ReadBytes(Subor("0305.txt")), "!\r\n" + kJanoRiadky);
}

// Files in forms the program never writes are saved in its own form, entries and mark kept.
TEST_F(PoznamkyTest, ForeignFormsAreSavedAsDayFiles) {
    const struct {
        const char* nazov;
        std::string obsah;
        std::string ulozene;
    } pripady[] = {
        {"CarriageReturnsOnly", "!\r-1\r2\r1980\rJano\r", "!\r\n" + kJanoRiadky},
        {"Utf8WithMark", "\xEF\xBB\xBF!\n-1\n2\n1980\n\xC5\xBDofia\n",
         "!\r\n-1\r\n2\r\n1980\r\n\x8E"
         "ofia\r\n"},
        {"Utf8WithMarkAndX", "\xEF\xBB\xBFx\r\n" + kJanoRiadky, "x\r\n" + kJanoRiadky},
    };
    for (const auto& p : pripady) {
        WriteBytes(Subor("0305.txt"), p.obsah);
        TDayNotes den(priecinok.Path());
        den.Nacitaj(k5Marec2009);
        EXPECT_EQ(den.Uloz(), "") << p.nazov;
        EXPECT_EQ(ReadBytes(Subor("0305.txt")), p.ulozene) << p.nazov;
    }
}

TEST_F(PoznamkyTest, OversizedFileIsRefusedUnread) {
    const std::string velky = "!\r\n" + kJanoRiadky + std::string(5 * 1024 * 1024, 'a');
    WriteBytes(Subor("0305.txt"), velky);
    TDayNotes den(priecinok.Path());
    const NotesError e = Chyba(NotesError::Kind::Read, [&] { den.Nacitaj(k5Marec2009); });
    EXPECT_NE(std::string(e.what()).find("0305.txt“: je príliš veľký (6 MiB)"), std::string::npos)
        << e.what();
    EXPECT_EQ(den.Pocet(), 0);
    den.Pridaj(kJano);
    Chyba(NotesError::Kind::NotLoaded, [&] { den.Uloz(); });
    EXPECT_EQ(ReadBytes(Subor("0305.txt")), velky);
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
        WriteBytes(Subor("0305.txt"), "!\r\n" + kJanoRiadky);
        TDayNotes den(priecinok.Path());
        den.Nacitaj(k5Marec2009);
        den.Polozka(0) =
            Zaznam(TDruh::Poznamka, 2009, std::string(kLargestDayFile - kRecord + extra, 'a'));
        if (extra == 0) {
            den.Uloz();
            EXPECT_EQ(ReadBytes(Subor("0305.txt")).size(), kLargestDayFile);
            TDayNotes znova(priecinok.Path());
            znova.Nacitaj(k5Marec2009);
            EXPECT_EQ(Zaznamy(znova), Zaznamy(den));
            continue;
        }
        const NotesError e = Chyba(NotesError::Kind::TooLarge, [&] { den.Uloz(); });
        EXPECT_NE(std::string(e.what()).find("0305.txt“: deň by mal viac ako 4 MiB"),
                  std::string::npos)
            << e.what();
        EXPECT_EQ(ReadBytes(Subor("0305.txt")), "!\r\n" + kJanoRiadky);
        EXPECT_EQ(Snapshot(priecinok.Path()).size(), 1u) << "no temporary file stays behind";
    }
}

TEST_F(PoznamkyTest, FileChangedByAnotherProgramIsJoined) {
    const TNote kEva = Zaznam(TDruh::Narodeniny, 1975, "Eva");
    const TNote kNove = Zaznam(TDruh::Poznamka, 2009, "nové");
    const std::string kEvaRiadky = "-1\r\n2\r\n1975\r\nEva\r\n";
    const std::string kSvadbaRiadky = "-1\r\n3\r\n2001\r\nsvadba\r\n";
    const std::string kNoveRiadky = "-1\r\n1\r\n2009\r\nnov\xE9\r\n";
    enum class Ako { NaMieste, Premenovanim };
    const struct {
        const char* nazov;
        std::optional<std::string> pred;           // the file at load
        std::string ich;                           // what the other program wrote
        Ako ako;                                   // and how
        std::function<void(TDayNotes&)> nasaZmena; // what the user did here meanwhile
        std::string spolu;                         // the file after saving
    } pripady[] = {
        {"AddedBothSides", "!\r\n" + kJanoRiadky, "!\r\n" + kJanoRiadky + kEvaRiadky, Ako::NaMieste,
         [&](TDayNotes& d) { d.Pridaj(kNove); }, "!\r\n" + kJanoRiadky + kNoveRiadky + kEvaRiadky},
        {"ReplacedByRename", "!\r\n" + kJanoRiadky, "!\r\n" + kJanoRiadky + kEvaRiadky,
         Ako::Premenovanim, [&](TDayNotes& d) { d.Pridaj(kNove); },
         "!\r\n" + kJanoRiadky + kNoveRiadky + kEvaRiadky},
        {"NewFileForAnEmptyDay", std::nullopt, "!\r\n" + kEvaRiadky, Ako::NaMieste,
         [&](TDayNotes& d) { d.Pridaj(kJano); }, "!\r\n" + kJanoRiadky + kEvaRiadky},
        {"TheyRemovedWeChanged", "!\r\n" + kJanoRiadky + kSvadbaRiadky, "!\r\n" + kSvadbaRiadky,
         Ako::NaMieste, [&](TDayNotes& d) { d.Polozka(0).Text = "Ján"; },
         "!\r\n-1\r\n2\r\n1980\r\nJ\xE1n\r\n" + kSvadbaRiadky},
        {"WeRemovedTheyAdded", "!\r\n" + kJanoRiadky, "!\r\n" + kJanoRiadky + kEvaRiadky,
         Ako::NaMieste, [&](TDayNotes& d) { d.Zmaz(0); }, "!\r\n" + kEvaRiadky},
        {"BothChangedOneEntry", "!\r\n" + kJanoRiadky, "!\r\n-1\r\n2\r\n1981\r\nJano\r\n",
         Ako::NaMieste, [&](TDayNotes& d) { d.Polozka(0).Text = "Ján"; },
         "!\r\n-1\r\n2\r\n1980\r\nJ\xE1n\r\n-1\r\n2\r\n1981\r\nJano\r\n"},
        {"SameEntryAddedOnBothSides", "!\r\n" + kJanoRiadky, "!\r\n" + kJanoRiadky + kEvaRiadky,
         Ako::NaMieste, [&](TDayNotes& d) { d.Pridaj(kEva); }, "!\r\n" + kJanoRiadky + kEvaRiadky},
        {"TheyTurnedRemindersOff", "!\r\n" + kJanoRiadky, "x\r\n" + kJanoRiadky, Ako::NaMieste,
         [&](TDayNotes& d) { d.Pridaj(kEva); }, "x\r\n" + kJanoRiadky + kEvaRiadky},
        {"TheyRemovedAllWeEmptied", "!\r\n" + kJanoRiadky, "!", Ako::NaMieste,
         [&](TDayNotes& d) { d.Zmaz(0); }, ""},
    };
    for (const auto& p : pripady) {
        SCOPED_TRACE(p.nazov);
        fs::remove(Subor("0305.txt"));
        if (p.pred) {
            WriteBytes(Subor("0305.txt"), *p.pred);
        }
        TDayNotes den(priecinok.Path());
        den.Nacitaj(k5Marec2009);
        p.nasaZmena(den);
        if (p.ako == Ako::Premenovanim) {
            WriteBytes(Subor(".sync-tmp"), p.ich);
            fs::rename(Subor(".sync-tmp"), Subor("0305.txt"));
        } else {
            WriteBytes(Subor("0305.txt"), p.ich);
        }
        const std::string oznamenie = den.Uloz();
        EXPECT_NE(oznamenie.find("0305.txt“ medzitým zmenil iný program"), std::string::npos)
            << oznamenie;
        if (p.spolu.empty()) {
            EXPECT_FALSE(fs::exists(Subor("0305.txt")));
        } else {
            EXPECT_EQ(ReadBytes(Subor("0305.txt")), p.spolu);
        }
        // The joined day is the store's now: saving again writes the same and tells nothing.
        EXPECT_EQ(den.Uloz(), "");
        if (!p.spolu.empty()) {
            EXPECT_EQ(ReadBytes(Subor("0305.txt")), p.spolu);
        }
    }
}

TEST_F(PoznamkyTest, ChangedFileThatCannotBeReadStaysAsItIs) {
    WriteBytes(Subor("0305.txt"), "!\r\n" + kJanoRiadky);
    TDayNotes den(priecinok.Path());
    den.Nacitaj(k5Marec2009);
    den.Pridaj(Zaznam(TDruh::Poznamka, 2009, "nové"));
    const std::string ich = "!\r\n-1\r\nabc\r\n";
    WriteBytes(Subor("0305.txt"), ich);
    const NotesError e = Chyba(NotesError::Kind::Changed, [&] { den.Uloz(); });
    EXPECT_EQ(e.line, 3);
    EXPECT_NE(e.reason.find("zmenil iný program"), std::string::npos) << e.what();
    EXPECT_EQ(ReadBytes(Subor("0305.txt")), ich);
    EXPECT_EQ(den.Pocet(), 2); // nothing of ours is thrown away

    // Once the other file is mended, saving joins both.
    WriteBytes(Subor("0305.txt"), "!\r\n" + kJanoRiadky + "-1\r\n2\r\n1975\r\nEva\r\n");
    EXPECT_NE(den.Uloz(), "");
    EXPECT_EQ(ReadBytes(Subor("0305.txt")),
              "!\r\n" + kJanoRiadky + "-1\r\n1\r\n2009\r\nnov\xE9\r\n-1\r\n2\r\n1975\r\nEva\r\n");
}

} // namespace
} // namespace tilava
