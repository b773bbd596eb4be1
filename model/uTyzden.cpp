#include "model/uTyzden.h"

#include "core/CalendarWords.h"
#include "core/Dates.h"
#include "model/Collation.h"
#include "platform/AtomicFile.h"

#include <stdexcept>
#include <utility>

namespace tilava {

using namespace std::chrono;

namespace {

void PridajRiadok(std::string& text, const std::string& line) {
    if (!text.empty())
        text += '\n';
    text += line;
}

int RokDna(sys_days date) {
    return static_cast<int>(year_month_day{date}.year());
}

} // namespace

TTyzden::TTyzden(const TRok& rok, TRegi& regi, std::filesystem::path folder, const Clock& clock,
                 const SaveOptions& options)
    : year_(rok), regi_(regi), folder_(std::move(folder)), date_(clock.Now()) {
    for (Day& d : days_)
        d.notes = std::make_unique<TDayNotes>(folder_, options);
    Prepocitaj();
}

TTyzden::~TTyzden() = default;

void TTyzden::Zobraz(const WeekWindowFactory& createWindow) {
    const std::unique_ptr<IWeekWindow> window = createWindow ? createWindow() : nullptr;
    if (!window)
        return;
    window_ = window.get();
    struct Zabudni {
        IWeekWindow*& window;
        ~Zabudni() { window = nullptr; }
    } zabudni{window_};
    window->Ukaz(*this);
}

TTyzden::Day& TTyzden::date(int i) {
    if (i < 1 || i > 7)
        throw std::out_of_range("Deň týždňa " + std::to_string(i) + " neexistuje.");
    return days_[static_cast<std::size_t>(i - 1)];
}

const TTyzden::Day& TTyzden::date(int i) const {
    return const_cast<TTyzden*>(this)->date(i);
}

int TTyzden::Vykonaj(int command) {
    switch (command) {
    case Search:
        return Hladaj();
    case GoToDate:
    case Today:
        return MoveWithSave(date_);
    case EditEntry:
        return UpravZaznam() ? Done : NotDone;
    case WeekBack:
        return MoveWithSave({date_.date - days{7}, date_.timeOfDay});
    case WeekForward:
        return MoveWithSave({date_.date + days{7}, date_.timeOfDay});
    case EarlierResults:
        if (results_.size() > 3 && shift_ > 0)
            --shift_;
        return Done;
    case LaterResults:
        if (results_.size() > 3 && shift_ < static_cast<int>(results_.size()) - 3)
            ++shift_;
        return Done;
    default:
        return NotDone;
    }
}

int TTyzden::MoveWithSave(const LocalDateTime& newDate) {
    if (!Ulozit()) {
        // The week stays, so Datum goes back to its selected day.
        date_ = date(selectedDay_).datum;
        return NotDone;
    }
    date_ = newDate;
    Prepocitaj();
    return Done;
}

void TTyzden::Prepocitaj() {
    weekNumber_ = IsoWeekNumber(date_.date);
    selectedDay_ = IsoWeekday(date_.date);
    for (int i = 1; i <= 7; ++i) {
        Day& d = date(i);
        d.datum = {date_.date - days{selectedDay_} + days{i}, date_.timeOfDay};
        d.nameDays = &year_.DajDatum(d.datum.date);
        d.changed = false;
        Load(d);
    }
    JoinLoadErrors();
    errorReported_ = false;
}

void TTyzden::Load(Day& d) {
    d.loadError.clear();
    try {
        d.notes->Nacitaj(year_month_day{d.datum.date});
    } catch (const std::exception& e) {
        // The store keeps what it read before the fault and refuses to save it.
        d.loadError = e.what();
    }
    BuildLines(d);
}

void TTyzden::JoinLoadErrors() {
    loadError_.clear();
    for (const Day& d : days_)
        if (!d.loadError.empty())
            PridajRiadok(loadError_, d.loadError);
}

std::vector<int> TTyzden::ReloadUnchanged() {
    std::vector<int> redrawn;
    for (int i = 1; i <= 7; ++i) {
        Day& d = date(i);
        if (i == editedDay_)
            continue;
        if (d.changed) {
            // The user's unsaved entries stay; what the others wrote joins them at once.
            if (const std::string notice = d.notes->JoinChanges(); !notice.empty()) {
                PridajRiadok(joinNotice_, notice);
                BuildLines(d);
                redrawn.push_back(i);
            }
            continue;
        }
        const std::vector<WeekLine> before = d.lines;
        const bool readable = d.loadError.empty();
        Load(d);
        if (d.lines != before || d.loadError.empty() != readable)
            redrawn.push_back(i);
    }
    const std::string before = loadError_;
    JoinLoadErrors();
    if (loadError_ != before)
        errorReported_ = false;
    return redrawn;
}

bool TTyzden::Ulozit() {
    saveError_.clear();
    saveNotice_.clear();
    bool saved = true;
    bool writtenUids = false;
    for (Day& d : days_) {
        if (!d.changed || d.notes->LoadFailed())
            continue; // nothing to write, or its file was not read whole and stays as it is
        try {
            // All seven days live in one folder: it is flushed once, after the last of them.
            const std::string notice = d.notes->Uloz(FolderFlush::Later);
            d.changed = false;
            if (!notice.empty()) {
                // Another program's entries joined the day: its rows change.
                PridajRiadok(saveNotice_, notice);
                BuildLines(d);
            }
            writtenUids = true;
        } catch (const std::exception& e) {
            saved = false;
            PridajRiadok(saveError_, e.what());
        }
    }
    if (writtenUids) {
        FlushFolder(folder_);
        if (saved_)
            saved_();
    }
    return saved;
}

void TTyzden::VyberDen(int i) {
    if (i < 1 || i > 7)
        return;
    selectedDay_ = i;
    date_ = date(i).datum;
}

void TTyzden::BuildLines(Day& d) {
    d.lines.clear();
    const TDayNotes& notes = *d.notes;
    const int rok = RokDna(d.datum.date);
    for (int b = 1; b <= notes.Pocet(); ++b) {
        const EntryKind kind = notes.DruhPolozky(b);
        if (kind == EntryKind::Poznamka && notes.RokPolozky(b) != rok)
            continue; // a plain note of another year gets no row
        d.lines.push_back({notes.PopisPolozky(b), kind, b - 1});
    }
}

bool TTyzden::UpravZaznam() {
    Day& d = date(selectedDay_);
    if (!createEditor_ || d.notes->LoadFailed())
        return false;
    if (selectedEntry_ < 0 || selectedEntry_ > static_cast<int>(d.lines.size()))
        return false;
    const std::unique_ptr<IEventEditor> editor = createEditor_();
    if (!editor)
        return false;
    // The editor holds an entry of this day: a reread meanwhile must not free it.
    editedDay_ = selectedDay_;
    struct EditEnds {
        int& day;
        ~EditEnds() { day = 0; }
    } editEnds{editedDay_};
    if (selectedEntry_ == 0) {
        auto fresh = std::make_unique<TNote>();
        editor->SetExisting(false);
        if (!editor->Uprav(*fresh, entryYear_))
            return false;
        d.notes->Pridaj(std::move(fresh));
        d.changed = true;
        BuildLines(d);
        return true;
    }
    const int pozicia = d.lines[static_cast<std::size_t>(selectedEntry_ - 1)].Position;
    TNote& entry = d.notes->Polozka(pozicia);
    const TNote original = entry;
    editor->SetExisting(true);
    const bool confirmed = editor->Uprav(entry, entryYear_);
    if (!(entry == original))
        d.changed = true;
    if (entry.Text.empty()) {
        d.notes->Zmaz(pozicia);
        d.changed = true;
    }
    BuildLines(d);
    return confirmed;
}

bool TTyzden::ZmazZaznam() {
    Day& d = date(selectedDay_);
    if (d.notes->LoadFailed() || selectedEntry_ < 0 ||
        selectedEntry_ >= static_cast<int>(d.lines.size()))
        return false;
    d.notes->Zmaz(d.lines[static_cast<std::size_t>(selectedEntry_)].Position);
    d.changed = true;
    BuildLines(d);
    return true;
}

const NameIndex& TTyzden::Index() {
    std::unique_ptr<NameIndex>& index = year_.JazykSK ? indexSK_ : indexCZ_;
    if (!index)
        index = std::make_unique<NameIndex>(year_.JazykSK ? year_.TabulkaSK : year_.TabulkaCZ);
    return *index;
}

int TTyzden::Hladaj() {
    results_.clear();
    shift_ = 0;
    resultIndex_ = nullptr;
    if (searched_.empty())
        return NotDone;
    key_.clear();
    AppendNormalized(key_, searched_);
    resultIndex_ = &Index();
    resultIndex_->Hladaj(key_, results_);
    return Done;
}

std::string TTyzden::Normalizuj(std::string_view text) {
    return tilava::Normalizuj(text);
}

const std::string& TTyzden::Vysledok(int k) const {
    static const std::string ziadny;
    const int order = shift_ + k - 1;
    if (k < 1 || k > 3 || order >= static_cast<int>(results_.size()))
        return ziadny;
    return resultIndex_->Entries()[static_cast<std::size_t>(results_[order])].result;
}

std::array<int, 2> TTyzden::ResultDayMonth(int k) const {
    const int order = shift_ + k - 1;
    if (k < 1 || k > 3 || order >= static_cast<int>(results_.size()))
        return {0, 0};
    const auto& entry = resultIndex_->Entries()[static_cast<std::size_t>(results_[order])];
    return {entry.date, entry.monthNumber};
}

std::optional<sys_days> TTyzden::ResultDay(int k, std::chrono::year inYear) const {
    const auto [dayNumber, monthNumber] = ResultDayMonth(k);
    if (dayNumber == 0)
        return std::nullopt;
    const std::chrono::month m{static_cast<unsigned>(monthNumber)};
    year_month_day target = inYear / m / std::chrono::day{static_cast<unsigned>(dayNumber)};
    if (!target.ok())
        target = inYear / m / std::chrono::last;
    return sys_days{target};
}

const LocalDateTime& TTyzden::WeekDay(int i) const {
    return date(i).datum;
}

int TTyzden::DayOfMonth(int i) const {
    return static_cast<int>(static_cast<unsigned>(year_month_day{date(i).datum.date}.day()));
}

std::string TTyzden::DayOfMonthText(int i) const {
    return std::to_string(DayOfMonth(i));
}

int TTyzden::Month(int i) const {
    return static_cast<int>(static_cast<unsigned>(year_month_day{date(i).datum.date}.month()));
}

int TTyzden::Rok(int i) const {
    return RokDna(date(i).datum.date);
}

const std::string& TTyzden::FirstEntry(int i) const {
    return date(i).nameDays->Nazov(1);
}

const std::string& TTyzden::SecondEntry(int i) const {
    return date(i).nameDays->Nazov(2);
}

std::string TTyzden::DayTitle(int i) const {
    return std::string(Dni.at(static_cast<std::size_t>(i))) + ' ' + DayOfMonthText(i) + ". " +
           std::string(MonthsAfterDay[static_cast<std::size_t>(Month(i))]);
}

std::string TTyzden::DayNames(int i) const {
    std::string names = FirstEntry(i);
    if (!SecondEntry(i).empty())
        names += (names.empty() ? "" : ", ") + SecondEntry(i);
    return names;
}

bool TTyzden::Sviatok(int i) const {
    const TSviatky& nameDays = *date(i).nameDays;
    return nameDays.JeSviatok(1) || nameDays.JeSviatok(2);
}

EasterDay TTyzden::EasterDayOf(int i) const {
    const sys_days d = date(i).datum.date;
    const sys_days sunday{VelkaNoc(RokDna(d))};
    if (d == sunday)
        return EasterDay::EasterSunday;
    if (d == sunday + days{1})
        return EasterDay::EasterMonday;
    if (d == sunday - days{2})
        return EasterDay::GoodFriday;
    return EasterDay::NotEaster;
}

bool TTyzden::IsRed(int i) const {
    return i == 7 || Sviatok(i) || EasterDayOf(i) != EasterDay::NotEaster;
}

const TDayNotes& TTyzden::Poznamky(int i) const {
    return *date(i).notes;
}

const std::vector<WeekLine>& TTyzden::Lines(int i) const {
    return date(i).lines;
}

bool TTyzden::Editable(int i) const {
    return !date(i).notes->LoadFailed();
}

std::string TTyzden::TakeJoinNotice() {
    return std::exchange(joinNotice_, {});
}

std::string TTyzden::TakeLoadError() {
    if (std::exchange(errorReported_, true))
        return {};
    return loadError_;
}

} // namespace tilava
