#include "store/uPoznamky.h"

#include "platform/AtomicFile.h"
#include "platform/ReadFileIfExists.h"
#include "platform/SystemErrorText.h"
#include "store/DayFile.h"
#include "store/NotesError.h"

#include <cstdio>
#include <stdexcept>
#include <system_error>
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

// The reason of a failed look-up in Slovak; the system's own words for anything uncommon.
std::string Dovod(std::error_code ec) {
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted) {
        return "prístup je zamietnutý";
    }
    return ec.message();
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
        return ReadFileIfExists(subor);
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

} // namespace

TDayNotes::TDayNotes(fs::path adresar) : adresar_(std::move(adresar)) {}

void TDayNotes::Nacitaj(std::chrono::year_month_day datum) {
    if (!datum.ok()) {
        throw std::invalid_argument("Neplatný dátum.");
    }
    pripomenut_ = true;
    datum_ = datum;
    Vycisti();
    suborBol_ = false;
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
        if (const std::optional<std::string> bajty = CitajBajty(subor)) {
            suborBol_ = true;
            ParseDayFile(*bajty, subor, den);
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
    for (TNote& zaznam : den.Zaznamy) {
        Pridaj(std::move(zaznam));
    }
    nacitanieZlyhalo_.reset();
}

void TDayNotes::Uloz(FolderFlush flush) {
    if (!datum_) {
        return;
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

    if (zaznamy_.empty()) {
        SuborNaZapis(subor);
        try {
            RemoveFile(subor, flush);
        } catch (const FileError& e) {
            throw NotesError(NotesError::Kind::Write, subor, 0,
                             "nedá sa zmazať: " + DovodChyby(e, subor, "zmazať"));
        }
        suborBol_ = false;
        return;
    }

    DayFile den;
    den.Pripomenut = pripomenut_;
    for (const auto& zaznam : zaznamy_) {
        den.Zaznamy.push_back(*zaznam);
    }
    const std::string bajty = FormatDayFile(den, subor);

    if (!SuborNaZapis(subor) && suborBol_) {
        throw NotesError(NotesError::Kind::Vanished, subor, 0,
                         "od načítania zmizol; záznamy dňa sa neuložili, aby sa neobnovil "
                         "súbor, ktorý medzitým niekto odstránil. Deň načítajte znova.");
    }
    try {
        ReplaceFileAtomically(subor, bajty, flush);
    } catch (const FileError& e) {
        throw NotesError(NotesError::Kind::Write, subor, 0,
                         "nedá sa zapísať: " + DovodChyby(e, subor, "zapísať"));
    }
    suborBol_ = true;
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
