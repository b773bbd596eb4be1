// The day file is deleted or changed by another program (the calendar sync, above all) while
// the store holds changes of the user that are not saved yet.
#include "store/uPoznamky.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace tilava {
namespace {

using namespace std::chrono;
namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

TNote Entry(EntryKind kind, std::int32_t rok, std::string text) {
    TNote note;
    note.Druh = kind;
    note.Rok = rok;
    note.Text = std::move(text);
    note.Potvrdena = true;
    return note;
}

const std::string kJanoLines = "-1\r\n2\r\n1980\r\nJano\r\n";
const std::string kWeddingLines = "-1\r\n3\r\n2001\r\nsvadba\r\n";
const std::string kNewLines = "-1\r\n1\r\n2026\r\nnov\xE9\r\n";
const std::string kEvaLines = "-1\r\n2\r\n1975\r\nEva\r\n";

// Whether the store is told of the sync's mark, and whether the sync wrote it after the load.
enum class Mark { None, Untouched, Touched };

TEST(NotesChangedElsewhereTest, UnsavedChangesOutliveADeletionElsewhere) {
    const struct {
        const char* name;
        std::function<void(TDayNotes&)> ourChange;
        Mark mark;
        std::optional<std::string> saved; // the day file after the save; nothing: none
        const char* notice;               // part of what the user is told; "" when nothing
    } cases[] = {
        {"AddedEntryIsSaved",
         [](TDayNotes& d) { d.Pridaj(Entry(EntryKind::Poznamka, 2026, "nové")); }, Mark::None,
         "!\r\n" + kNewLines,
         "Záznamy dňa 15. marca medzitým odstránil iný program alebo synchronizácia s "
         "kalendárom. Záznamy, ktoré ste v tomto okne pridali alebo zmenili, sa zachovali"},
        {"ChangedEntryIsSaved", [](TDayNotes& d) { d.Polozka(0).Text = "Ján"; }, Mark::Touched,
         "!\r\n-1\r\n2\r\n1980\r\nJ\xE1n\r\n",
         "Záznamy dňa 15. marca medzitým odstránila synchronizácia s kalendárom."},
        {"NamedAnotherProgramWhenTheSyncDidNotRun",
         [](TDayNotes& d) { d.Pridaj(Entry(EntryKind::Poznamka, 2026, "nové")); }, Mark::Untouched,
         "!\r\n" + kNewLines, "Záznamy dňa 15. marca medzitým odstránil iný program."},
        {"OnlyRemovedHereStaysDeleted", [](TDayNotes& d) { d.Zmaz(1); }, Mark::Touched,
         std::nullopt, ""},
        {"UntouchedDayFollowsTheDeletion", [](TDayNotes&) {}, Mark::Touched, std::nullopt, ""},
    };
    for (const auto& p : cases) {
        SCOPED_TRACE(p.name);
        const TempFolder folder;
        const fs::path day = folder.Path() / "0315.txt";
        const fs::path mark = folder.Path() / "sync-state.txt";
        WriteBytes(day, "!\r\n" + kJanoLines + kWeddingLines);
        WriteBytes(mark, "state");
        SaveOptions options;
        if (p.mark != Mark::None)
            options.syncMark = mark;
        TDayNotes notes(folder.Path(), options);
        notes.Nacitaj(2026y / March / 15);
        p.ourChange(notes);

        fs::remove(day);
        if (p.mark == Mark::Touched)
            fs::last_write_time(mark, fs::last_write_time(mark) + 2s);
        const std::string notice = notes.Uloz();

        if (*p.notice == '\0')
            EXPECT_EQ(notice, "");
        else
            EXPECT_NE(notice.find(p.notice), std::string::npos) << notice;
        EXPECT_EQ(notice.find(".txt"), std::string::npos) << "the day, not its file: " << notice;
        if (p.saved)
            EXPECT_EQ(ReadBytes(day), *p.saved);
        else
            EXPECT_FALSE(fs::exists(day));
        // What was saved is the store's now: a second save writes nothing new and tells nothing.
        EXPECT_EQ(notes.Uloz(), "");
        EXPECT_EQ(fs::exists(day), p.saved.has_value());
    }
}

// An open window takes in what the sync wrote before it saves: the sync's entry shows beside the
// user's unsaved one at once, the file is not written until the save, and the save tells nothing
// more.
TEST(NotesChangedElsewhereTest, JoinChangesShowsTheSyncsEntriesBeforeTheSave) {
    const TempFolder folder;
    const fs::path day = folder.Path() / "0315.txt";
    const fs::path mark = folder.Path() / "sync-state.txt";
    WriteBytes(day, "!\r\n" + kJanoLines);
    WriteBytes(mark, "state");
    SaveOptions options;
    options.syncMark = mark;
    TDayNotes notes(folder.Path(), options);
    notes.Nacitaj(2026y / March / 15);
    EXPECT_EQ(notes.JoinChanges(), "") << "nothing changed yet";
    notes.Pridaj(Entry(EntryKind::Poznamka, 2026, "nové"));

    WriteBytes(day, "!\r\n" + kJanoLines + kEvaLines);
    fs::last_write_time(mark, fs::last_write_time(mark) + 2s);
    const std::string notice = notes.JoinChanges();
    EXPECT_NE(notice.find("Záznamy dňa 15. marca medzitým zmenila synchronizácia s kalendárom."),
              std::string::npos)
        << notice;
    ASSERT_EQ(notes.Pocet(), 3);
    EXPECT_EQ(notes.Polozka(2).Text, "Eva");
    EXPECT_EQ(ReadBytes(day), "!\r\n" + kJanoLines + kEvaLines);

    EXPECT_EQ(notes.Uloz(), "");
    EXPECT_EQ(ReadBytes(day), "!\r\n" + kJanoLines + kNewLines + kEvaLines);

    // A file the other side made unreadable is left to the save, which refuses it.
    WriteBytes(day, "!\r\n-1\r\nabc\r\n");
    EXPECT_EQ(notes.JoinChanges(), "");
    EXPECT_EQ(notes.Pocet(), 3);
}

} // namespace
} // namespace tilava
