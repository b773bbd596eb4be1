#pragma once

#include "core/Clock.h"
#include "core/uRok.h"
#include "model/IEventEditor.h"
#include "model/IWeekWindow.h"
#include "model/NameIndex.h"
#include "store/uPoznamky.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilava {

class TRegi;

// Which Easter day a day of the week is.
enum class TVelkonocnyDen : std::uint8_t { Ziadny, Piatok, Nedela, Pondelok };

// One row of a day's list in the week window.
struct TRiadok {
    std::string Text; // PopisPolozky for the year of the day
    TDruh Druh = TDruh::Narodeniny;
    int Pozicia = 0; // 0-based position of the entry in the day's store
};

// The model behind the week window: one calendar week, Monday to Sunday, around Datum, with
// the calendar entries and the user's entries of each day, the selected day and entry, and
// the name search. The window sets a few inputs and runs numbered commands through Vykonaj.
// Days are counted 1 (Monday) .. 7 (Sunday) in every operation.
class TTyzden {
public:
    static constexpr int Hotovo = 103;
    static constexpr int Nevykonane = 666;

    // Command codes of Vykonaj.
    static constexpr int Hladat = 100;             // name search over Hladane
    static constexpr int ChodNaDatum = 200;        // save, then the week of Datum
    static constexpr int UpravitZaznam = 500;      // add or edit an entry (UpravZaznam)
    static constexpr int Dnes = 600;               // save, then the week of Datum (now)
    static constexpr int TyzdenSpat = 2000;        // save, then the week before
    static constexpr int TyzdenDopredu = 3000;     // save, then the week after
    static constexpr int SkorsieVysledky = 4000;   // show the results one earlier
    static constexpr int NeskorsieVysledky = 5000; // show the results one later

    // Borrows the calendar and the settings store; each day's notes store reads and writes
    // `priecinok`. Datum starts at the clock's present moment and the week is assembled.
    TTyzden(const TRok& rok, TRegi& regi, std::filesystem::path priecinok, const Clock& hodiny);
    ~TTyzden();
    TTyzden(const TTyzden&) = delete;
    TTyzden& operator=(const TTyzden&) = delete;

    // Runs a command; answers Hotovo (103) or Nevykonane (666). Moves to another week
    // (200, 600, 2000, 3000) save the seven days first and do not move when a save fails:
    // Datum then stays on the selected day of the shown week.
    int Vykonaj(int prikaz);

    // Assembles the week around Datum and loads the seven days. A day whose file cannot be
    // read keeps the entries read before the fault, cannot be edited and is not saved; the
    // reasons are kept for the window (ChybaNacitania).
    void Prepocitaj();
    // Saves every day whose entries changed since it was loaded or saved; a day whose file
    // was not read completely is never saved, and a day that fails does not stop the others.
    // False when any failed (the reasons in ChybaUlozenia). An unchanged day is not written
    // again: browsing weeks costs no disk writes.
    bool Ulozit();

    void NastavDatum(const LocalDateTime& datum) { datum_ = datum; }
    // Selects day i (1..7) of the shown week; nothing is reloaded. Other numbers are ignored.
    void VyberDen(int i);
    // The entry selector: a 1-based row for UpravZaznam (0 adds a new entry), a 0-based row
    // for ZmazZaznam.
    void NastavZaznam(int n) { vybranyZaznam_ = n; }
    // Adds (selector 0) or edits the entry of the selected day through the event editor.
    // True when the user confirmed. An existing entry left with an empty text is deleted.
    bool UpravZaznam();
    // Deletes the entry of the selected day shown in the 0-based row VybranyZaznam; false
    // when there is no such row or the day cannot be edited. Nothing is saved.
    bool ZmazZaznam();

    // The name search over the active language: Hotovo with the results, or Nevykonane and
    // no results for an empty Hladane.
    int Hladaj();
    static std::string Normalizuj(std::string_view text);
    // The k-th (1..3) of the shown results, "2.1. Alexandra"; empty when there is none.
    const std::string& Vysledok(int k) const;
    // Day and month of the k-th shown result; {0, 0} when there is none.
    std::array<int, 2> VysledokDenMesiac(int k) const;
    // The day of the k-th shown result in `inYear`, where a jump to it lands: 29 February of a
    // common year gives 28 February, so the week that holds it is shown. Nothing when there is
    // no such result.
    std::optional<std::chrono::sys_days> ResultDay(int k, std::chrono::year inYear) const;
    // More results than the three shown.
    bool ViacVysledkov() const { return vysledky_.size() >= 4; }
    int PocetVysledkov() const { return static_cast<int>(vysledky_.size()); }
    int Posun() const { return posun_; }

    void NastavHladane(std::string hladane) { hladane_ = std::move(hladane); }
    const std::string& Hladane() const { return hladane_; }
    void NastavRokZaznamu(int rok) { rokZaznamu_ = rok; }
    int RokZaznamu() const { return rokZaznamu_; }
    // Creates the event editor for each edit; without it UpravZaznam does nothing.
    void NastavEditor(EventEditorFactory vytvor) { vytvorEditor_ = std::move(vytvor); }

    // Creates the week window, shows this week in it modally and frees it when the user has
    // closed it. The window is known as Okno meanwhile.
    void Zobraz(const WeekWindowFactory& vytvorOkno);
    IWeekWindow* Okno() const { return okno_; }

    const LocalDateTime& Datum() const { return datum_; }
    int CisloTyzdna() const { return cisloTyzdna_; }
    int VybranyDen() const { return vybranyDen_; }
    int VybranyZaznam() const { return vybranyZaznam_; }
    TRegi& Regi() const { return regi_; }
    const std::filesystem::path& Priecinok() const { return priecinok_; }

    // Day i (1..7) of the shown week; other numbers throw std::out_of_range.
    const LocalDateTime& Den7(int i) const;
    int DenMesiaca(int i) const;
    std::string DenMesiacaText(int i) const;
    int Mesiac(int i) const;
    int Rok(int i) const;
    // The first and second calendar entry of the day (empty when there is none).
    const std::string& PrvyZaznam(int i) const;
    const std::string& DruhyZaznam(int i) const;
    // The first or second calendar entry is a public holiday.
    bool Sviatok(int i) const;
    TVelkonocnyDen VelkonocnyDen(int i) const;
    // Drawn in red: Sunday, a holiday, Good Friday, Easter Sunday and Easter Monday.
    bool Cerveny(int i) const;
    const TDayNotes& Poznamky(int i) const;
    // The rows of the day's list: every birthday and anniversary, and the plain notes of the
    // day's year, in store order. The entry selector refers to these rows.
    const std::vector<TRiadok>& Riadky(int i) const;
    // The day's file was read completely, so its entries can be changed and saved.
    bool Upravitelny(int i) const;
    // The day's entries changed since it was loaded or saved.
    bool Zmeneny(int i) const { return den(i).zmeneny; }

    // Why days of the last assembly could not be read (file, line, reason, one line per
    // day); empty when all were read.
    const std::string& ChybaNacitania() const { return chybaNacitania_; }
    // ChybaNacitania the first time after an assembly, then empty until the next one, so
    // the window reports a fault once.
    std::string VezmiChybuNacitania();
    // Why the last Ulozit failed, one line per day; empty after a complete save.
    const std::string& ChybaUlozenia() const { return chybaUlozenia_; }
    // Which days of the last Ulozit had been changed by another program meanwhile and were
    // joined with it, one line per day; empty when none were.
    const std::string& OznamenieUlozenia() const { return oznamenieUlozenia_; }

private:
    struct Den {
        std::unique_ptr<TDayNotes> poznamky;
        LocalDateTime datum;
        const TSviatky* sviatky = nullptr;
        std::vector<TRiadok> riadky;
        bool zmeneny = false; // entries changed since the last load or save
    };

    Den& den(int i);
    const Den& den(int i) const;
    void PostavRiadky(Den& den);
    int PresunSUlozenim(const LocalDateTime& novyDatum);
    const NameIndex& Index();

    const TRok& rok_;
    TRegi& regi_;
    std::filesystem::path priecinok_;
    std::array<Den, 7> dni_;

    LocalDateTime datum_;
    int vybranyDen_ = 1;
    int cisloTyzdna_ = 0;
    int vybranyZaznam_ = 0;
    int rokZaznamu_ = 0;
    EventEditorFactory vytvorEditor_;
    IWeekWindow* okno_ = nullptr;

    std::string hladane_;
    std::string kluc_; // Hladane normalised
    std::unique_ptr<NameIndex> indexSK_;
    std::unique_ptr<NameIndex> indexCZ_;
    const NameIndex* indexVysledkov_ = nullptr;
    std::vector<int> vysledky_; // entries of indexVysledkov_ in result order
    int posun_ = 0;

    std::string chybaNacitania_;
    bool chybaOznamena_ = false;
    std::string chybaUlozenia_;
    std::string oznamenieUlozenia_;
};

} // namespace tilava
