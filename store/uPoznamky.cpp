#include "store/uPoznamky.h"

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
    const std::string pocet = std::to_string(std::int64_t{rok} - std::int64_t{Rok});
    switch (Druh) {
    case TDruh::Poznamka:
        return Text;
    case TDruh::Narodeniny:
        return Text + " " + pocet + ". narodeniny";
    case TDruh::Vyrocie:
        return pocet + ". výročie " + Text;
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
    const std::string_view sprava = e.what();
    if (sprava.starts_with(uvod)) {
        return std::string(sprava.substr(uvod.size()));
    }
    return std::string(sprava);
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
bool SuborExistuje(const fs::path& subor, NotesError::Kind druh) {
    std::error_code ec;
    const fs::file_status stav = fs::status(subor, ec);
    if (stav.type() == fs::file_type::not_found) {
        return false;
    }
    if (ec) {
        throw NotesError(druh, subor, 0, "nedá sa zistiť, či existuje: " + Dovod(ec) + ".");
    }
    if (stav.type() == fs::file_type::directory) {
        throw NotesError(druh, subor, 0,
                         "na mieste súboru dňa je priečinok, so záznamami sa nedá pracovať.");
    }
    if (stav.type() != fs::file_type::regular) {
        throw NotesError(druh, subor, 0,
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

// What the store holds, as the day file would.
DayFile Obsah(bool pripomenut, const std::vector<std::unique_ptr<TNote>>& zaznamy) {
    DayFile den;
    den.Pripomenut = pripomenut;
    for (const auto& zaznam : zaznamy) {
        den.Zaznamy.push_back(*zaznam);
    }
    return den;
}

} // namespace

TDayNotes::TDayNotes(fs::path adresar, SaveOptions options)
    : adresar_(std::move(adresar)), options_(std::move(options)) {}

void TDayNotes::Nacitaj(std::chrono::year_month_day datum) {
    if (!datum.ok()) {
        throw std::invalid_argument("Neplatný dátum.");
    }
    pripomenut_ = true;
    datum_ = datum;
    Vycisti();
    bajtySuboru_.reset();
    zakladPripomenut_ = true;
    zakladZaznamy_.clear();
    // Counts as failed until the whole file has been read.
    nacitanieZlyhalo_ = "načítanie sa neskončilo";
    chybnyRiadok_ = 0;

    const fs::path subor = NazovSuboru();
    DayFile den;
    try {
        if (!SuborExistuje(subor, NotesError::Kind::Read)) {
            nacitanieZlyhalo_.reset();
            return;
        }
        if (std::optional<std::string> bajty = CitajBajty(subor)) {
            ParseDayFile(*bajty, subor, den);
            bajtySuboru_ = std::move(bajty);
        }
    } catch (const NotesError& e) {
        nacitanieZlyhalo_ = e.reason;
        chybnyRiadok_ = e.line;
        pripomenut_ = den.Pripomenut;
        for (TNote& zaznam : den.Zaznamy) {
            Pridaj(std::move(zaznam));
        }
        throw;
    }
    pripomenut_ = den.Pripomenut;
    zakladPripomenut_ = den.Pripomenut;
    zakladZaznamy_ = den.Zaznamy;
    for (TNote& zaznam : den.Zaznamy) {
        Pridaj(std::move(zaznam));
    }
    nacitanieZlyhalo_.reset();
}

std::string TDayNotes::Uloz(FolderFlush flush) {
    if (!datum_) {
        return {};
    }
    const fs::path subor = NazovSuboru();
    if (nacitanieZlyhalo_) {
        std::string preco = *nacitanieZlyhalo_;
        if (preco.ends_with('.')) {
            preco.pop_back();
        }
        throw NotesError(NotesError::Kind::NotLoaded, subor, chybnyRiadok_,
                         "deň sa neuloží, lebo súbor sa nepodarilo celý načítať – " + preco +
                             ". Uložením by sa stratili záznamy, ktoré sa nenačítali; opravte "
                             "súbor a deň načítajte znova.");
    }

    // Held to the end of the save: no other save of the folder rereads the day before this one
    // has replaced it.
    std::optional<FileLock> lock;
    try {
        lock.emplace(adresar_ / kNotesLockName, options_.lockWait);
    } catch (const FileLockError& e) {
        throw NotesError(NotesError::Kind::Locked, subor, 0,
                         "deň sa neuložil, lebo sa nepodarilo získať zámok priečinka poznámok („" +
                             PathText(e.file) + "“) – " + e.reason +
                             ". Nič sa nezapísalo a súbor ostal, ako bol; skúste uložiť znova.");
    }

    std::string oznamenie;
    bool existuje = SuborNaZapis(subor);
    if (existuje) {
        // What another program may have written since the load is never overwritten unseen.
        const std::optional<std::string> teraz = CitajBajty(subor);
        existuje = teraz.has_value();
        if (teraz && teraz != bajtySuboru_) {
            oznamenie = Zluc(subor, *teraz);
        }
    }
    if (!existuje && bajtySuboru_) {
        if (zaznamy_.empty()) {
            bajtySuboru_.reset(); // the file has gone, as the day has nothing left
            zakladZaznamy_.clear();
            return {};
        }
        throw NotesError(NotesError::Kind::Vanished, subor, 0,
                         "od načítania zmizol; záznamy dňa sa neuložili, aby sa neobnovil "
                         "súbor, ktorý medzitým niekto odstránil. Deň načítajte znova.");
    }

    if (options_.whileLocked) {
        options_.whileLocked();
    }
    if (zaznamy_.empty()) {
        try {
            RemoveFile(subor, flush);
        } catch (const FileError& e) {
            throw NotesError(NotesError::Kind::Write, subor, 0,
                             "nedá sa zmazať: " + DovodChyby(e, subor, "zmazať"));
        }
        bajtySuboru_.reset();
        zakladPripomenut_ = pripomenut_;
        zakladZaznamy_.clear();
        return oznamenie;
    }

    DayFile den = Obsah(pripomenut_, zaznamy_);
    std::string bajty = FormatDayFile(den, subor);
    try {
        ReplaceFileAtomically(subor, bajty, flush);
    } catch (const FileError& e) {
        throw NotesError(NotesError::Kind::Write, subor, 0,
                         "nedá sa zapísať: " + DovodChyby(e, subor, "zapísať"));
    }
    bajtySuboru_ = std::move(bajty);
    zakladPripomenut_ = den.Pripomenut;
    zakladZaznamy_ = std::move(den.Zaznamy);
    return oznamenie;
}

std::string TDayNotes::Zluc(const fs::path& subor, std::string_view teraz) {
    DayFile ich;
    try {
        ParseDayFile(teraz, subor, ich);
    } catch (const NotesError& e) {
        std::string preco = e.reason;
        if (preco.ends_with('.')) {
            preco.pop_back();
        }
        throw NotesError(NotesError::Kind::Changed, subor, e.line,
                         "od načítania ho zmenil iný program a teraz sa nedá prečítať – " + preco +
                             ". Súbor ostal, ako je, a záznamy dňa sa neuložili; opravte ho a "
                             "uložte znova.");
    }
    const DayFile nase = Obsah(pripomenut_, zaznamy_);
    DayFile zaklad;
    zaklad.Pripomenut = zakladPripomenut_;
    zaklad.Zaznamy = zakladZaznamy_;
    DayFile spolu = ZlucDni(zaklad, nase, ich);

    // Entries the store still holds stay where they are in memory; only what the other
    // program removed goes and what it added comes.
    // The store's entries by value: the first unused one of each value, and after each the
    // next one equal to it, so that equal entries are taken in the store's order.
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::unique_ptr<TNote>> stare = std::move(zaznamy_);
    std::unordered_map<const TNote*, std::size_t, NoteHash, SameNote> first;
    first.reserve(stare.size());
    std::vector<std::size_t> next(stare.size(), kNone);
    for (std::size_t i = stare.size(); i-- > 0;) {
        const auto [it, added] = first.try_emplace(stare[i].get(), i);
        if (!added) {
            next[i] = it->second;
            it->second = i;
        }
    }
    std::vector<std::unique_ptr<TNote>> zaznamy;
    zaznamy.reserve(spolu.Zaznamy.size());
    for (TNote& z : spolu.Zaznamy) {
        if (auto it = first.find(&z); it != first.end() && it->second != kNone) {
            zaznamy.push_back(std::move(stare[it->second]));
            it->second = next[it->second];
        } else {
            zaznamy.push_back(std::make_unique<TNote>(std::move(z)));
        }
    }
    zaznamy_ = std::move(zaznamy);
    pripomenut_ = spolu.Pripomenut;
    // The other program's version is the common ground from now on, so saving again after a
    // failure further on does not join its entries twice.
    bajtySuboru_ = std::string(teraz);
    zakladPripomenut_ = ich.Pripomenut;
    zakladZaznamy_ = std::move(ich.Zaznamy);
    return "Súbor „" + PathText(subor) +
           "“ medzitým zmenil iný program. Jeho záznamy sa zlúčili so záznamami z tohto "
           "okna, nič sa nestratilo.";
}

void TDayNotes::Vycisti() {
    zaznamy_.clear();
}

int TDayNotes::Pridaj(std::unique_ptr<TNote> note) {
    if (!note) {
        throw std::invalid_argument("TDayNotes::Pridaj: no entry");
    }
    zaznamy_.push_back(std::move(note));
    return static_cast<int>(zaznamy_.size()) - 1;
}

int TDayNotes::Pridaj(TNote note) {
    return Pridaj(std::make_unique<TNote>(std::move(note)));
}

void TDayNotes::Zmaz(int index) {
    if (index < 0 || index >= Pocet()) {
        throw std::out_of_range("TDayNotes::Zmaz: no entry " + std::to_string(index));
    }
    zaznamy_.erase(zaznamy_.begin() + index);
}

TNote& TDayNotes::Polozka(int index) {
    return *zaznamy_.at(static_cast<std::size_t>(index));
}

const TNote& TDayNotes::Polozka(int index) const {
    return *zaznamy_.at(static_cast<std::size_t>(index));
}

int TDayNotes::Pocet() const {
    return static_cast<int>(zaznamy_.size());
}

TDruh TDayNotes::DruhPolozky(int i) const {
    return Polozka(i - 1).Druh;
}

std::int32_t TDayNotes::RokPolozky(int i) const {
    return Polozka(i - 1).Rok;
}

std::string TDayNotes::PopisPolozky(int i) const {
    return Polozka(i - 1).Popis(datum_ ? static_cast<int>(datum_->year()) : 0);
}

fs::path TDayNotes::NazovSuboru() const {
    if (!datum_) {
        return {};
    }
    char meno[16];
    std::snprintf(meno, sizeof meno, "%02u%02u.txt", static_cast<unsigned>(datum_->month()),
                  static_cast<unsigned>(datum_->day()));
    return adresar_ / meno;
}

} // namespace tilava
