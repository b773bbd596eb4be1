#include "model/uTyzden.h"

#include "core/Dates.h"
#include "model/Collation.h"
#include "platform/AtomicFile.h"

#include <stdexcept>
#include <utility>

namespace tilava {

using namespace std::chrono;

namespace {

void PridajRiadok(std::string& text, const std::string& riadok) {
    if (!text.empty())
        text += '\n';
    text += riadok;
}

int RokDna(sys_days den) {
    return static_cast<int>(year_month_day{den}.year());
}

} // namespace

TTyzden::TTyzden(const TRok& rok, TRegi& regi, std::filesystem::path priecinok, const Clock& hodiny)
    : rok_(rok), regi_(regi), priecinok_(std::move(priecinok)), datum_(hodiny.Teraz()) {
    for (Den& d : dni_)
        d.poznamky = std::make_unique<TDayNotes>(priecinok_);
    Prepocitaj();
}

TTyzden::~TTyzden() = default;

void TTyzden::Zobraz(const WeekWindowFactory& vytvorOkno) {
    const std::unique_ptr<IWeekWindow> okno = vytvorOkno ? vytvorOkno() : nullptr;
    if (!okno)
        return;
    okno_ = okno.get();
    struct Zabudni {
        IWeekWindow*& okno;
        ~Zabudni() { okno = nullptr; }
    } zabudni{okno_};
    okno->Ukaz(*this);
}

TTyzden::Den& TTyzden::den(int i) {
    if (i < 1 || i > 7)
        throw std::out_of_range("Deň týždňa " + std::to_string(i) + " neexistuje.");
    return dni_[static_cast<std::size_t>(i - 1)];
}

const TTyzden::Den& TTyzden::den(int i) const {
    return const_cast<TTyzden*>(this)->den(i);
}

int TTyzden::Vykonaj(int prikaz) {
    switch (prikaz) {
    case Hladat:
        return Hladaj();
    case ChodNaDatum:
    case Dnes:
        return PresunSUlozenim(datum_);
    case UpravitZaznam:
        return UpravZaznam() ? Hotovo : Nevykonane;
    case TyzdenSpat:
        return PresunSUlozenim({datum_.den - days{7}, datum_.casDna});
    case TyzdenDopredu:
        return PresunSUlozenim({datum_.den + days{7}, datum_.casDna});
    case SkorsieVysledky:
        if (vysledky_.size() > 3 && posun_ > 0)
            --posun_;
        return Hotovo;
    case NeskorsieVysledky:
        if (vysledky_.size() > 3 && posun_ < static_cast<int>(vysledky_.size()) - 3)
            ++posun_;
        return Hotovo;
    default:
        return Nevykonane;
    }
}

int TTyzden::PresunSUlozenim(const LocalDateTime& novyDatum) {
    if (!Ulozit()) {
        // The week stays, so Datum goes back to its selected day.
        datum_ = den(vybranyDen_).datum;
        return Nevykonane;
    }
    datum_ = novyDatum;
    Prepocitaj();
    return Hotovo;
}

void TTyzden::Prepocitaj() {
    cisloTyzdna_ = IsoWeekNumber(datum_.den);
    vybranyDen_ = IsoWeekday(datum_.den);
    chybaNacitania_.clear();
    chybaOznamena_ = false;
    for (int i = 1; i <= 7; ++i) {
        Den& d = den(i);
        d.datum = {datum_.den - days{vybranyDen_} + days{i}, datum_.casDna};
        d.sviatky = &rok_.DajDatum(d.datum.den);
        d.zmeneny = false;
        try {
            d.poznamky->Nacitaj(year_month_day{d.datum.den});
        } catch (const std::exception& e) {
            // The store keeps what it read before the fault and refuses to save it.
            PridajRiadok(chybaNacitania_, e.what());
        }
        PostavRiadky(d);
    }
}

bool TTyzden::Ulozit() {
    chybaUlozenia_.clear();
    oznamenieUlozenia_.clear();
    bool ulozene = true;
    bool zapisane = false;
    for (Den& d : dni_) {
        if (!d.zmeneny || d.poznamky->NacitanieZlyhalo())
            continue; // nothing to write, or its file was not read whole and stays as it is
        try {
            // All seven days live in one folder: it is flushed once, after the last of them.
            const std::string oznamenie = d.poznamky->Uloz(FolderFlush::Later);
            d.zmeneny = false;
            if (!oznamenie.empty()) {
                // Another program's entries joined the day: its rows change.
                PridajRiadok(oznamenieUlozenia_, oznamenie);
                PostavRiadky(d);
            }
            zapisane = true;
        } catch (const std::exception& e) {
            ulozene = false;
            PridajRiadok(chybaUlozenia_, e.what());
        }
    }
    if (zapisane)
        FlushFolder(priecinok_);
    return ulozene;
}

void TTyzden::VyberDen(int i) {
    if (i < 1 || i > 7)
        return;
    vybranyDen_ = i;
    datum_ = den(i).datum;
}

void TTyzden::PostavRiadky(Den& d) {
    d.riadky.clear();
    const TDayNotes& poznamky = *d.poznamky;
    const int rok = RokDna(d.datum.den);
    for (int b = 1; b <= poznamky.Pocet(); ++b) {
        const TDruh druh = poznamky.DruhPolozky(b);
        if (druh == TDruh::Poznamka && poznamky.RokPolozky(b) != rok)
            continue; // a plain note of another year gets no row
        d.riadky.push_back({poznamky.PopisPolozky(b), druh, b - 1});
    }
}

bool TTyzden::UpravZaznam() {
    Den& d = den(vybranyDen_);
    if (!vytvorEditor_ || d.poznamky->NacitanieZlyhalo())
        return false;
    if (vybranyZaznam_ < 0 || vybranyZaznam_ > static_cast<int>(d.riadky.size()))
        return false;
    const std::unique_ptr<IEventEditor> editor = vytvorEditor_();
    if (!editor)
        return false;
    if (vybranyZaznam_ == 0) {
        auto novy = std::make_unique<TNote>();
        editor->NastavExistujucu(false);
        if (!editor->Uprav(*novy, rokZaznamu_))
            return false;
        d.poznamky->Pridaj(std::move(novy));
        d.zmeneny = true;
        PostavRiadky(d);
        return true;
    }
    const int pozicia = d.riadky[static_cast<std::size_t>(vybranyZaznam_ - 1)].Pozicia;
    TNote& zaznam = d.poznamky->Polozka(pozicia);
    const TNote povodny = zaznam;
    editor->NastavExistujucu(true);
    const bool potvrdene = editor->Uprav(zaznam, rokZaznamu_);
    if (!(zaznam == povodny))
        d.zmeneny = true;
    if (zaznam.Text.empty()) {
        d.poznamky->Zmaz(pozicia);
        d.zmeneny = true;
    }
    PostavRiadky(d);
    return potvrdene;
}

bool TTyzden::ZmazZaznam() {
    Den& d = den(vybranyDen_);
    if (d.poznamky->NacitanieZlyhalo() || vybranyZaznam_ < 0 ||
        vybranyZaznam_ >= static_cast<int>(d.riadky.size()))
        return false;
    d.poznamky->Zmaz(d.riadky[static_cast<std::size_t>(vybranyZaznam_)].Pozicia);
    d.zmeneny = true;
    PostavRiadky(d);
    return true;
}

const NameIndex& TTyzden::Index() {
    std::unique_ptr<NameIndex>& index = rok_.JazykSK ? indexSK_ : indexCZ_;
    if (!index)
        index = std::make_unique<NameIndex>(rok_.JazykSK ? rok_.TabulkaSK : rok_.TabulkaCZ);
    return *index;
}

int TTyzden::Hladaj() {
    vysledky_.clear();
    posun_ = 0;
    indexVysledkov_ = nullptr;
    if (hladane_.empty())
        return Nevykonane;
    kluc_.clear();
    AppendNormalized(kluc_, hladane_);
    indexVysledkov_ = &Index();
    indexVysledkov_->Hladaj(kluc_, vysledky_);
    return Hotovo;
}

std::string TTyzden::Normalizuj(std::string_view text) {
    return tilava::Normalizuj(text);
}

const std::string& TTyzden::Vysledok(int k) const {
    static const std::string ziadny;
    const int poradie = posun_ + k - 1;
    if (k < 1 || k > 3 || poradie >= static_cast<int>(vysledky_.size()))
        return ziadny;
    return indexVysledkov_->Zaznamy()[static_cast<std::size_t>(vysledky_[poradie])].vysledok;
}

std::array<int, 2> TTyzden::VysledokDenMesiac(int k) const {
    const int poradie = posun_ + k - 1;
    if (k < 1 || k > 3 || poradie >= static_cast<int>(vysledky_.size()))
        return {0, 0};
    const auto& zaznam = indexVysledkov_->Zaznamy()[static_cast<std::size_t>(vysledky_[poradie])];
    return {zaznam.den, zaznam.mesiac};
}

std::optional<sys_days> TTyzden::ResultDay(int k, std::chrono::year inYear) const {
    const auto [dayNumber, monthNumber] = VysledokDenMesiac(k);
    if (dayNumber == 0)
        return std::nullopt;
    const std::chrono::month m{static_cast<unsigned>(monthNumber)};
    year_month_day target = inYear / m / std::chrono::day{static_cast<unsigned>(dayNumber)};
    if (!target.ok())
        target = inYear / m / std::chrono::last;
    return sys_days{target};
}

const LocalDateTime& TTyzden::Den7(int i) const {
    return den(i).datum;
}

int TTyzden::DenMesiaca(int i) const {
    return static_cast<int>(static_cast<unsigned>(year_month_day{den(i).datum.den}.day()));
}

std::string TTyzden::DenMesiacaText(int i) const {
    return std::to_string(DenMesiaca(i));
}

int TTyzden::Mesiac(int i) const {
    return static_cast<int>(static_cast<unsigned>(year_month_day{den(i).datum.den}.month()));
}

int TTyzden::Rok(int i) const {
    return RokDna(den(i).datum.den);
}

const std::string& TTyzden::PrvyZaznam(int i) const {
    return den(i).sviatky->Nazov(1);
}

const std::string& TTyzden::DruhyZaznam(int i) const {
    return den(i).sviatky->Nazov(2);
}

bool TTyzden::Sviatok(int i) const {
    const TSviatky& sviatky = *den(i).sviatky;
    return sviatky.JeSviatok(1) || sviatky.JeSviatok(2);
}

TVelkonocnyDen TTyzden::VelkonocnyDen(int i) const {
    const sys_days d = den(i).datum.den;
    const sys_days nedela{VelkaNoc(RokDna(d))};
    if (d == nedela)
        return TVelkonocnyDen::Nedela;
    if (d == nedela + days{1})
        return TVelkonocnyDen::Pondelok;
    if (d == nedela - days{2})
        return TVelkonocnyDen::Piatok;
    return TVelkonocnyDen::Ziadny;
}

bool TTyzden::Cerveny(int i) const {
    return i == 7 || Sviatok(i) || VelkonocnyDen(i) != TVelkonocnyDen::Ziadny;
}

const TDayNotes& TTyzden::Poznamky(int i) const {
    return *den(i).poznamky;
}

const std::vector<TRiadok>& TTyzden::Riadky(int i) const {
    return den(i).riadky;
}

bool TTyzden::Upravitelny(int i) const {
    return !den(i).poznamky->NacitanieZlyhalo();
}

std::string TTyzden::VezmiChybuNacitania() {
    if (std::exchange(chybaOznamena_, true))
        return {};
    return chybaNacitania_;
}

} // namespace tilava
