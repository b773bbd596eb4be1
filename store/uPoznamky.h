#pragma once

#include "platform/AtomicFile.h"
#include "platform/FileStamp.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tilava {

// Kind of a user's entry; the day file stores the kind plus one.
enum class EntryKind : std::uint8_t {
    Poznamka = 0,   // a plain note, shown only in its own year
    Narodeniny = 1, // a birthday; Rok is the year of birth
    Vyrocie = 2,    // an anniversary; Rok is the year of the event
};

// One entry of a day. A new entry is an unconfirmed birthday with no text.
struct TNote {
    EntryKind Druh = EntryKind::Narodeniny;
    std::int32_t Rok = 0; // year of the note, of birth or of the event
    bool Potvrdena = false;
    std::string Text; // one line, UTF-8

    // The text shown for the year `rok`: the note itself, "Jano 30. narodeniny" or
    // "25. výročie svadba"; in the year itself the count is 0. With year 0 (not known) or a
    // year after `rok` there is no count: "Jano – narodeniny", "svadba – výročie".
    std::string Popis(int rok) const;

    friend bool operator==(const TNote&, const TNote&) = default;
};

// The longest text the entry editor keeps, in characters; an import refuses longer names.
inline constexpr std::size_t kLongestEntryText = 32767;

// The lock file in the notes folder that serialises saves between processes (and between
// stores of one process): one for the whole folder, since a save holds it only for the
// milliseconds of one day's reread, join and replace.
inline constexpr std::string_view kNotesLockName = ".tilava.lock";

// How a store saves, besides its folder.
struct SaveOptions {
    // How long a save waits for another program's save of the same folder.
    std::chrono::milliseconds lockWait{20'000};
    // Run while the save holds the lock, after rereading the day file and before replacing it
    // (tests widen that window with it); nothing when empty.
    std::function<void()> whileLocked;
    // A file the calendar sync rewrites whenever it has changed day files (its state). When it
    // changed between a day's load and its save, a change of the day file found meanwhile is
    // told as the sync's; empty when the store cannot tell the sync from other programs.
    std::filesystem::path syncMark;
};

// The entries of one day of the year (day and month, whatever the year), loaded from and saved
// to its day file "MMDD.txt" in the notes folder.
//
// A store whose last load failed refuses to save until it loads successfully again: writing it
// would overwrite the entries it could not read.
class TDayNotes {
public:
    explicit TDayNotes(std::filesystem::path folder, SaveOptions options = {});

    // Loads the entries of the day and month of `datum`. A missing file is an empty day.
    // Throws NotesError when the file cannot be read or is malformed; the entries before the
    // bad record stay loaded, and the store refuses to save. Throws std::invalid_argument for
    // a date that does not exist (29 February of a common year), changing nothing.
    void Nacitaj(std::chrono::year_month_day datum);

    // Writes the loaded day back, replacing its file atomically; an empty day deletes its
    // file. Does nothing when nothing was loaded. Throws NotesError and leaves the file as it
    // was when the last load failed, when a text cannot be written, when the file would be
    // larger than a day file may be (kLargestDayFile), when the loaded file has vanished since,
    // when the notes folder's lock cannot be had, or when writing fails. The reread, the join
    // and the replace happen under the notes folder's lock (kNotesLockName), so saves of
    // several programs at once join as saves that take turns do. With FolderFlush::Later the caller
    // flushes the notes folder once after saving several days.
    //
    // When another program changed the day file since it was loaded (or made one for a day
    // that had none), both sides are kept: its entries are joined with the store's (MergeDays),
    // the joined day is written and becomes the store's, and the result is a message for the
    // user naming the day and who changed it (the calendar sync when SaveOptions::syncMark
    // tells so). A file deleted meanwhile is joined as an empty day: the loaded entries the
    // store did not change follow the deletion, the ones it added or changed are saved.
    // Otherwise the result is empty. A changed file that cannot be read throws NotesError
    // (Kind::Changed) and stays as it is.
    std::string Uloz(FolderFlush flush = FolderFlush::Now);

    // Joins what another program wrote into (or deleted from) the day file since the load with
    // the store's entries as Uloz does, without writing anything, so that they show before the
    // save; the message for the user, or empty when the file is as loaded. A day whose load
    // failed, and a changed file that cannot be read, are left to Uloz (empty result).
    std::string JoinChanges();

    // Removes every entry; the date, Pripomenut and a failed load stay.
    void Vycisti();

    // Appends the entry and returns its 0-based index; the store owns it from then on.
    int Pridaj(std::unique_ptr<TNote> note);
    int Pridaj(TNote note);

    // Removes the entry at the 0-based index.
    void Zmaz(int index);

    // The entry at the 0-based index, to read or change in place. It stays where it is in
    // memory until it is removed, whatever else is added.
    TNote& Polozka(int index);
    const TNote& Polozka(int index) const;

    int Pocet() const;

    // Kind, year and display text of entry i, counted from 1; the display text is for the
    // year of the loaded date.
    EntryKind DruhPolozky(int i) const;
    std::int32_t RokPolozky(int i) const;
    std::string PopisPolozky(int i) const;

    // The day file of the loaded date: Adresar / "MMDD.txt"; empty before the first load.
    std::filesystem::path NazovSuboru() const;

    const std::filesystem::path& Adresar() const { return folder_; }
    // The loaded date; empty before the first load.
    const std::optional<std::chrono::year_month_day>& Datum() const { return date_; }
    // The day's entries are listed among the reminders (the file's first line is "!").
    bool Pripomenut() const { return remind_; }
    // The last load failed; Uloz refuses until a load succeeds.
    bool LoadFailed() const { return loadFailed_.has_value(); }

private:
    // Joins the file's new bytes `timeNow` (nothing: the file was deleted) with the store's
    // entries; the message for the user.
    std::string Merge(const std::filesystem::path& subor,
                      const std::optional<std::string>& timeNow);
    // Who changed the day file since the load, in a sentence's subject ("synchronizácia s
    // kalendárom"), and whether the words are feminine.
    std::pair<std::string, bool> ChangedBy() const;

    std::filesystem::path folder_;
    SaveOptions options_;
    std::optional<std::chrono::year_month_day> date_;
    bool remind_ = true;
    std::vector<std::unique_ptr<TNote>> entries_;
    // Why the last load failed, for the refusal to save.
    std::optional<std::string> loadFailed_;
    int badLine_ = 0;
    // The day file's bytes as loaded or last saved; nothing when there was no file.
    std::optional<std::string> fileBytes_;
    // The day as those bytes hold it: the common ground when another program changed them.
    bool baseRemind_ = true;
    std::vector<TNote> baseEntries_;
    // The sync mark as it was at the load.
    FileStamp markAtLoad_;
};

} // namespace tilava
