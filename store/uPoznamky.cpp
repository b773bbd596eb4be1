#include "store/uPoznamky.h"

#include "core/CalendarWords.h"
#include "platform/AtomicFile.h"
#include "platform/FileLock.h"
#include "platform/ReadFileIfExists.h"
#include "platform/SystemErrorText.h"
#include "store/DayFile.h"
#include "store/NotesError.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <system_error>
#include <unordered_map>
#include <utility>

namespace tilava {

namespace fs = std::filesystem;

std::string TNote::Popis(int rok) const {
    // 64 bits: a year read from a file may be anything a 32-bit integer holds.
    const std::int64_t years = std::int64_t{rok} - std::int64_t{Rok};
    // Year 0 is an unknown year, and a year after `rok` has no count yet: the entry is
    // named without one rather than with a made-up or negative count.
    const bool counted = Rok != 0 && years >= 0;
    const std::string count = std::to_string(years);
    switch (Druh) {
    case EntryKind::Poznamka:
        return Text;
    case EntryKind::Narodeniny:
        return counted ? Text + " " + count + ". narodeniny" : Text + " – narodeniny";
    case EntryKind::Vyrocie:
        return counted ? count + ". výročie " + Text : Text + " – výročie";
    }
    return Text;
}

namespace {

// The reason of a failed look-up in Slovak, in the same words as every other reason.
std::string Dovod(std::error_code ec) {
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted) {
        return "prístup je zamietnutý";
    }
    return SystemErrorText(ec);
}

// The reason part of a FileError ("Súbor „…“ sa nedá zapísať: REASON"), so that the
// message does not name the file twice.
std::string DovodChyby(const FileError& e, const fs::path& subor, std::string_view cinnost) {
    const std::string uvod =
        "Súbor „" + PathText(subor) + "“ sa nedá " + std::string(cinnost) + ": ";
    const std::string_view message = e.what();
    if (message.starts_with(uvod)) {
        return std::string(message.substr(uvod.size()));
    }
    return std::string(message);
}

// The bytes of the day file; nothing when it has just gone.
std::optional<std::string> CitajBajty(const fs::path& subor) {
    try {
        return ReadFileIfExists(subor, kLargestDayFile);
    } catch (const FileTooLarge& e) {
        throw NotesError(NotesError::Kind::Read, subor, 0,
                         "je príliš veľký (" +
                             std::to_string((e.size + 1024 * 1024 - 1) / (1024 * 1024)) +
                             " MiB), súbor dňa má obvykle len niekoľko stoviek bajtov. Nenačítal "
                             "sa a ostáva nezmenený.");
    } catch (const FileError& e) {
        throw NotesError(NotesError::Kind::Read, subor, 0,
                         "nedá sa prečítať: " + DovodChyby(e, subor, "prečítať"));
    }
}

// Anything other than a regular file or nothing in the day file's place is an error.
// Returns whether the file exists.
bool SuborExistuje(const fs::path& subor, NotesError::Kind kind) {
    std::error_code ec;
    const fs::file_status state = fs::status(subor, ec);
    if (state.type() == fs::file_type::not_found) {
        return false;
    }
    if (ec) {
        throw NotesError(kind, subor, 0, "nedá sa zistiť, či existuje: " + Dovod(ec) + ".");
    }
    if (state.type() == fs::file_type::directory) {
        throw NotesError(kind, subor, 0,
                         "na mieste súboru dňa je priečinok, so záznamami sa nedá pracovať.");
    }
    if (state.type() != fs::file_type::regular) {
        throw NotesError(kind, subor, 0,
                         "na mieste súboru dňa je niečo iné ako obyčajný súbor, so záznamami sa "
                         "nedá pracovať.");
    }
    return true;
}

// Like SuborExistuje, before the file is replaced or deleted. A read-only file is refused
// here: renaming over it would succeed on Linux (and for an administrator), yet the user has
// asked for it to stay as it is.
bool SuborNaZapis(const fs::path& subor) {
    if (!SuborExistuje(subor, NotesError::Kind::Write)) {
        return false;
    }
    std::error_code ec;
    const fs::perms prava = fs::status(subor, ec).permissions();
    if (!ec && (prava & fs::perms::owner_write) == fs::perms::none) {
        throw NotesError(NotesError::Kind::Write, subor, 0,
                         "súbor je len na čítanie, nedá sa prepísať ani zmazať.");
    }
    return true;
}

// The sync mark as it is now; an unknown stamp when there is no mark.
FileStamp MarkStamp(const fs::path& mark) {
    return mark.empty() ? FileStamp{} : StampOf(mark);
}

// Whether the mark became another version of its file: its size, identity (the sync replaces
// its state atomically) or times differ. A change within the clock's last tick may go unseen;
// then the day's message names another program.
bool MarkChanged(const FileStamp& before, const FileStamp& now) {
    return before.known && now.known &&
           (before.exists != now.exists || before.size != now.size || before.volume != now.volume ||
            before.identity != now.identity || before.modified != now.modified ||
            before.changed != now.changed);
}

// What the store holds, as the day file would.
DayFile Obsah(bool remind, const std::vector<std::unique_ptr<TNote>>& entries) {
    DayFile date;
    date.Pripomenut = remind;
    for (const auto& entry : entries) {
        date.Entries.push_back(*entry);
    }
    return date;
}

} // namespace

TDayNotes::TDayNotes(fs::path folder, SaveOptions options)
    : folder_(std::move(folder)), options_(std::move(options)) {}

void TDayNotes::Nacitaj(std::chrono::year_month_day datum) {
    if (!datum.ok()) {
        throw std::invalid_argument("Neplatný dátum.");
    }
    remind_ = true;
    date_ = datum;
    Vycisti();
    fileBytes_.reset();
    baseRemind_ = true;
    baseEntries_.clear();
    markAtLoad_ = MarkStamp(options_.syncMark);
    // Counts as failed until the whole file has been read.
    loadFailed_ = "načítanie sa neskončilo";
    badLine_ = 0;

    const fs::path subor = NazovSuboru();
    DayFile date;
    try {
        if (!SuborExistuje(subor, NotesError::Kind::Read)) {
            loadFailed_.reset();
            return;
        }
        if (std::optional<std::string> bytes = CitajBajty(subor)) {
            ParseDayFile(*bytes, subor, date);
            fileBytes_ = std::move(bytes);
        }
    } catch (const NotesError& e) {
        loadFailed_ = e.reason;
        badLine_ = e.line;
        remind_ = date.Pripomenut;
        for (TNote& entry : date.Entries) {
            Pridaj(std::move(entry));
        }
        throw;
    }
    remind_ = date.Pripomenut;
    baseRemind_ = date.Pripomenut;
    baseEntries_ = date.Entries;
    for (TNote& entry : date.Entries) {
        Pridaj(std::move(entry));
    }
    loadFailed_.reset();
}

std::string TDayNotes::Uloz(FolderFlush flush) {
    if (!date_) {
        return {};
    }
    const fs::path subor = NazovSuboru();
    if (loadFailed_) {
        std::string preco = *loadFailed_;
        if (preco.ends_with('.')) {
            preco.pop_back();
        }
        throw NotesError(NotesError::Kind::NotLoaded, subor, badLine_,
                         "deň sa neuloží, lebo súbor sa nepodarilo celý načítať – " + preco +
                             ". Uložením by sa stratili záznamy, ktoré sa nenačítali; opravte "
                             "súbor a deň načítajte znova.");
    }

    // Held to the end of the save: no other save of the folder rereads the day before this one
    // has replaced it.
    std::optional<FileLock> lock;
    try {
        lock.emplace(folder_ / kNotesLockName, options_.lockWait);
    } catch (const FileLockError& e) {
        throw NotesError(NotesError::Kind::Locked, subor, 0,
                         "deň sa neuložil, lebo sa nepodarilo získať zámok priečinka poznámok („" +
                             PathText(e.file) + "“) – " + e.reason +
                             ". Nič sa nezapísalo a súbor ostal, ako bol; skúste uložiť znova.");
    }

    std::string notice;
    bool existuje = SuborNaZapis(subor);
    // What another program wrote or deleted since the load is never overwritten unseen.
    const std::optional<std::string> timeNow =
        existuje ? CitajBajty(subor) : std::optional<std::string>();
    existuje = timeNow.has_value();
    if (timeNow != fileBytes_) {
        notice = Merge(subor, timeNow);
    }
    if (!existuje && entries_.empty()) {
        // Nothing to write and no file to delete.
        fileBytes_.reset();
        baseRemind_ = remind_;
        baseEntries_.clear();
        return notice;
    }

    if (options_.whileLocked) {
        options_.whileLocked();
    }
    if (entries_.empty()) {
        try {
            RemoveFile(subor, flush);
        } catch (const FileError& e) {
            throw NotesError(NotesError::Kind::Write, subor, 0,
                             "nedá sa zmazať: " + DovodChyby(e, subor, "zmazať"));
        }
        fileBytes_.reset();
        baseRemind_ = remind_;
        baseEntries_.clear();
        return notice;
    }

    DayFile date = Obsah(remind_, entries_);
    std::string bytes = FormatDayFile(date, subor);
    try {
        ReplaceFileAtomically(subor, bytes, flush);
    } catch (const FileError& e) {
        throw NotesError(NotesError::Kind::Write, subor, 0,
                         "nedá sa zapísať: " + DovodChyby(e, subor, "zapísať"));
    }
    fileBytes_ = std::move(bytes);
    baseRemind_ = date.Pripomenut;
    baseEntries_ = std::move(date.Entries);
    return notice;
}

std::string TDayNotes::JoinChanges() {
    if (!date_ || loadFailed_) {
        return {};
    }
    const fs::path subor = NazovSuboru();
    try {
        const std::optional<std::string> timeNow =
            SuborExistuje(subor, NotesError::Kind::Read) ? CitajBajty(subor) : std::nullopt;
        return timeNow == fileBytes_ ? std::string() : Merge(subor, timeNow);
    } catch (const NotesError&) {
        return {}; // the save tells what is wrong with the file
    }
}

std::pair<std::string, bool> TDayNotes::ChangedBy() const {
    if (options_.syncMark.empty()) {
        return {"iný program alebo synchronizácia s kalendárom", false};
    }
    if (MarkChanged(markAtLoad_, MarkStamp(options_.syncMark))) {
        return {"synchronizácia s kalendárom", true};
    }
    return {"iný program", false};
}

std::string TDayNotes::Merge(const fs::path& subor, const std::optional<std::string>& timeNow) {
    DayFile theirs; // a deleted file: an empty day
    if (timeNow) {
        try {
            ParseDayFile(*timeNow, subor, theirs);
        } catch (const NotesError& e) {
            std::string preco = e.reason;
            if (preco.ends_with('.')) {
                preco.pop_back();
            }
            throw NotesError(NotesError::Kind::Changed, subor, e.line,
                             "od načítania ho zmenil iný program a teraz sa nedá prečítať – " +
                                 preco +
                                 ". Súbor ostal, ako je, a záznamy dňa sa neuložili; opravte ho "
                                 "a uložte znova.");
        }
    }
    const DayFile ours = Obsah(remind_, entries_);
    DayFile base;
    base.Pripomenut = baseRemind_;
    base.Entries = baseEntries_;
    DayFile together = MergeDays(base, ours, theirs);

    // Entries the store still holds stay where they are in memory; only what the other
    // program removed goes and what it added comes.
    // The store's entries by value: the first unused one of each value, and after each the
    // next one equal to it, so that equal entries are taken in the store's order.
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::unique_ptr<TNote>> old = std::move(entries_);
    std::unordered_map<const TNote*, std::size_t, NoteHash, SameNote> first;
    first.reserve(old.size());
    std::vector<std::size_t> next(old.size(), kNone);
    for (std::size_t i = old.size(); i-- > 0;) {
        const auto [it, added] = first.try_emplace(old[i].get(), i);
        if (!added) {
            next[i] = it->second;
            it->second = i;
        }
    }
    std::vector<std::unique_ptr<TNote>> entries;
    entries.reserve(together.Entries.size());
    for (TNote& z : together.Entries) {
        if (auto it = first.find(&z); it != first.end() && it->second != kNone) {
            entries.push_back(std::move(old[it->second]));
            it->second = next[it->second];
        } else {
            entries.push_back(std::make_unique<TNote>(std::move(z)));
        }
    }
    entries_ = std::move(entries);
    remind_ = together.Pripomenut;
    // The other program's version is the common ground from now on, so saving again after a
    // failure further on does not join its entries twice.
    fileBytes_ = timeNow;
    baseRemind_ = theirs.Pripomenut;
    baseEntries_ = std::move(theirs.Entries);

    const auto [who, feminine] = ChangedBy();
    const std::string day = std::to_string(static_cast<unsigned>(date_->day())) + ". " +
                            std::string(MonthsAfterDay[static_cast<unsigned>(date_->month())]);
    if (!timeNow) {
        if (entries_.empty()) {
            return {}; // nothing the user added or changed: the day stays deleted
        }
        return "Záznamy dňa " + day + " medzitým " + (feminine ? "odstránila " : "odstránil ") +
               who +
               ". Záznamy, ktoré ste v tomto okne pridali alebo zmenili, sa zachovali; ostatné "
               "zostávajú odstránené.";
    }
    return "Záznamy dňa " + day + " medzitým " + (feminine ? "zmenila " : "zmenil ") + who +
           ". Zmeny sa zlúčili so záznamami z tohto okna, nič sa nestratilo.";
}

void TDayNotes::Vycisti() {
    entries_.clear();
}

int TDayNotes::Pridaj(std::unique_ptr<TNote> note) {
    if (!note) {
        throw std::invalid_argument("TDayNotes::Pridaj: no entry");
    }
    entries_.push_back(std::move(note));
    return static_cast<int>(entries_.size()) - 1;
}

int TDayNotes::Pridaj(TNote note) {
    return Pridaj(std::make_unique<TNote>(std::move(note)));
}

void TDayNotes::Zmaz(int index) {
    if (index < 0 || index >= Pocet()) {
        throw std::out_of_range("TDayNotes::Zmaz: no entry " + std::to_string(index));
    }
    entries_.erase(entries_.begin() + index);
}

TNote& TDayNotes::Polozka(int index) {
    return *entries_.at(static_cast<std::size_t>(index));
}

const TNote& TDayNotes::Polozka(int index) const {
    return *entries_.at(static_cast<std::size_t>(index));
}

int TDayNotes::Pocet() const {
    return static_cast<int>(entries_.size());
}

EntryKind TDayNotes::DruhPolozky(int i) const {
    return Polozka(i - 1).Druh;
}

std::int32_t TDayNotes::RokPolozky(int i) const {
    return Polozka(i - 1).Rok;
}

std::string TDayNotes::PopisPolozky(int i) const {
    return Polozka(i - 1).Popis(date_ ? static_cast<int>(date_->year()) : 0);
}

fs::path TDayNotes::NazovSuboru() const {
    if (!date_) {
        return {};
    }
    char meno[16];
    std::snprintf(meno, sizeof meno, "%02u%02u.txt", static_cast<unsigned>(date_->month()),
                  static_cast<unsigned>(date_->day()));
    return folder_ / meno;
}

} // namespace tilava
