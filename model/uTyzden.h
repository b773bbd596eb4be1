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
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tilava {

class TRegi;

// Which Easter day a day of the week is.
enum class EasterDay : std::uint8_t { NotEaster, GoodFriday, EasterSunday, EasterMonday };

// One row of a day's list in the week window.
struct WeekLine {
    std::string Text; // PopisPolozky for the year of the day
    EntryKind Druh = EntryKind::Narodeniny;
    int Position = 0; // 0-based position of the entry in the day's store

    friend bool operator==(const WeekLine&, const WeekLine&) = default;
};

// The model behind the week window: one calendar week, Monday to Sunday, around Datum, with
// the calendar entries and the user's entries of each day, the selected day and entry, and
// the name search. The window sets a few inputs and runs numbered commands through Vykonaj.
// Days are counted 1 (Monday) .. 7 (Sunday) in every operation.
class TTyzden {
public:
    static constexpr int Done = 103;
    static constexpr int NotDone = 666;

    // Command codes of Vykonaj.
    static constexpr int Search = 100;          // name search over Hladane
    static constexpr int GoToDate = 200;        // save, then the week of Datum
    static constexpr int EditEntry = 500;       // add or edit an entry (UpravZaznam)
    static constexpr int Today = 600;           // save, then the week of Datum (now)
    static constexpr int WeekBack = 2000;       // save, then the week before
    static constexpr int WeekForward = 3000;    // save, then the week after
    static constexpr int EarlierResults = 4000; // show the results one earlier
    static constexpr int LaterResults = 5000;   // show the results one later

    // Borrows the calendar and the settings store; each day's notes store reads and writes
    // `folder` with `options`. Datum starts at the clock's present moment and the week is
    // assembled.
    TTyzden(const TRok& rok, TRegi& regi, std::filesystem::path folder, const Clock& clock,
            const SaveOptions& options = {});
    ~TTyzden();
    TTyzden(const TTyzden&) = delete;
    TTyzden& operator=(const TTyzden&) = delete;

    // Runs a command; answers Done (103) or NotDone (666). Moves to another week
    // (200, 600, 2000, 3000) save the seven days first and do not move when a save fails:
    // Datum then stays on the selected day of the shown week.
    int Vykonaj(int command);

    // Assembles the week around Datum and loads the seven days. A day whose file cannot be
    // read keeps the entries read before the fault, cannot be edited and is not saved; the
    // reasons are kept for the window (LoadError).
    void Prepocitaj();
    // Saves every day whose entries changed since it was loaded or saved; a day whose file
    // was not read completely is never saved, and a day that fails does not stop the others.
    // False when any failed (the reasons in SaveError). An unchanged day is not written
    // again: browsing weeks costs no disk writes.
    bool Ulozit();
    // Rereads the days whose entries the user has not changed since they were loaded or saved,
    // so that what another program wrote into their files shows. A day the user changed keeps
    // the user's entries, joined now with what the other program wrote or deleted
    // (TDayNotes::JoinChanges; what to tell the user in TakeJoinNotice). The day whose entry
    // the event editor holds is left for a later reread. Answers the days whose rows or
    // readability changed; a new reason why a day cannot be read is reported once
    // (TakeLoadError).
    std::vector<int> ReloadUnchanged();
    // The event editor is open on an entry of the selected day.
    bool Editing() const { return editedDay_ != 0; }

    void NastavDatum(const LocalDateTime& datum) { date_ = datum; }
    // Selects day i (1..7) of the shown week; nothing is reloaded. Other numbers are ignored.
    void VyberDen(int i);
    // The entry selector: a 1-based row for UpravZaznam (0 adds a new entry), a 0-based row
    // for ZmazZaznam.
    void NastavZaznam(int n) { selectedEntry_ = n; }
    // Adds (selector 0) or edits the entry of the selected day through the event editor.
    // True when the user confirmed. An existing entry left with an empty text is deleted.
    bool UpravZaznam();
    // Deletes the entry of the selected day shown in the 0-based row VybranyZaznam; false
    // when there is no such row or the day cannot be edited. Nothing is saved.
    bool ZmazZaznam();

    // The name search over the active language: Done with the results, or NotDone and
    // no results for an empty Hladane.
    int Hladaj();
    static std::string Normalizuj(std::string_view text);
    // The k-th (1..3) of the shown results, "2.1. Alexandra"; empty when there is none.
    const std::string& Vysledok(int k) const;
    // Day and month of the k-th shown result; {0, 0} when there is none.
    std::array<int, 2> ResultDayMonth(int k) const;
    // The day of the k-th shown result in `inYear`, where a jump to it lands: 29 February of a
    // common year gives 28 February, so the week that holds it is shown. Nothing when there is
    // no such result.
    std::optional<std::chrono::sys_days> ResultDay(int k, std::chrono::year inYear) const;
    // More results than the three shown.
    bool ViacVysledkov() const { return results_.size() >= 4; }
    int ResultCount() const { return static_cast<int>(results_.size()); }
    int Posun() const { return shift_; }

    void SetSearched(std::string searched) { searched_ = std::move(searched); }
    const std::string& Hladane() const { return searched_; }
    void SetEntryYear(int rok) { entryYear_ = rok; }
    int RokZaznamu() const { return entryYear_; }
    // Called after each save that wrote at least one day.
    void SetSavedReaction(std::function<void()> saved) { saved_ = std::move(saved); }
    // Creates the event editor for each edit; without it UpravZaznam does nothing.
    void SetEditor(EventEditorFactory create) { createEditor_ = std::move(create); }

    // Creates the week window, shows this week in it modally and frees it when the user has
    // closed it. The window is known as Window meanwhile.
    void Zobraz(const WeekWindowFactory& createWindow);
    IWeekWindow* Window() const { return window_; }

    const LocalDateTime& Datum() const { return date_; }
    int CisloTyzdna() const { return weekNumber_; }
    int VybranyDen() const { return selectedDay_; }
    int VybranyZaznam() const { return selectedEntry_; }
    TRegi& Regi() const { return regi_; }
    const std::filesystem::path& Priecinok() const { return folder_; }

    // Day i (1..7) of the shown week; other numbers throw std::out_of_range.
    const LocalDateTime& WeekDay(int i) const;
    int DayOfMonth(int i) const;
    std::string DayOfMonthText(int i) const;
    int Month(int i) const;
    int Rok(int i) const;
    // The first and second calendar entry of the day (empty when there is none).
    const std::string& FirstEntry(int i) const;
    const std::string& SecondEntry(int i) const;
    // "Pondelok 24. marca": the weekday, the day and the month of day i.
    std::string DayTitle(int i) const;
    // The day's calendar entries as the row shows them, "Alexandra, Karina"; empty when none.
    std::string DayNames(int i) const;
    // The first or second calendar entry is a public holiday.
    bool Sviatok(int i) const;
    EasterDay EasterDayOf(int i) const;
    // Drawn in red: Sunday, a holiday, Good Friday, Easter Sunday and Easter Monday.
    bool IsRed(int i) const;
    const TDayNotes& Poznamky(int i) const;
    // The rows of the day's list: every birthday and anniversary, and the plain notes of the
    // day's year, in store order. The entry selector refers to these rows.
    const std::vector<WeekLine>& Lines(int i) const;
    // The day's file was read completely, so its entries can be changed and saved.
    bool Editable(int i) const;
    // The day's entries changed since it was loaded or saved.
    bool Changed(int i) const { return date(i).changed; }

    // Why days of the last assembly could not be read (file, line, reason, one line per
    // day); empty when all were read.
    const std::string& LoadError() const { return loadError_; }
    // LoadError the first time after an assembly, then empty until the next one, so
    // the window reports a fault once.
    std::string TakeLoadError();
    // What the last rereads joined into days with unsaved changes, one line per day; then
    // empty until the next such join.
    std::string TakeJoinNotice();
    // Why the last Ulozit failed, one line per day; empty after a complete save.
    const std::string& SaveError() const { return saveError_; }
    // Which days of the last Ulozit had been changed by another program meanwhile and were
    // joined with it, one line per day; empty when none were.
    const std::string& SaveNotice() const { return saveNotice_; }

private:
    struct Day {
        std::unique_ptr<TDayNotes> notes;
        LocalDateTime datum;
        const TSviatky* nameDays = nullptr;
        std::vector<WeekLine> lines;
        bool changed = false;  // entries changed since the last load or save
        std::string loadError; // why the last load failed; empty when it did not
    };

    Day& date(int i);
    const Day& date(int i) const;
    void BuildLines(Day& date);
    void Load(Day& date);
    void JoinLoadErrors();
    int MoveWithSave(const LocalDateTime& newDate);
    const NameIndex& Index();

    const TRok& year_;
    TRegi& regi_;
    std::filesystem::path folder_;
    std::array<Day, 7> days_;

    LocalDateTime date_;
    int selectedDay_ = 1;
    int weekNumber_ = 0;
    int selectedEntry_ = 0;
    int entryYear_ = 0;
    int editedDay_ = 0; // the day whose entry the editor holds; 0 when none
    EventEditorFactory createEditor_;
    std::function<void()> saved_;
    IWeekWindow* window_ = nullptr;

    std::string searched_;
    std::string key_; // Hladane normalised
    std::unique_ptr<NameIndex> indexSK_;
    std::unique_ptr<NameIndex> indexCZ_;
    const NameIndex* resultIndex_ = nullptr;
    std::vector<int> results_; // entries of resultIndex_ in result order
    int shift_ = 0;

    std::string loadError_;
    bool errorReported_ = false;
    std::string saveError_;
    std::string saveNotice_;
    std::string joinNotice_;
};

} // namespace tilava
