#pragma once

#include "model/DayTexts.h"
#include "model/Reminders.h"
#include "store/WidgetSettings.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tilava {

class Clock;
class LocalDateFormat;
class SettingsHive;
class TDayNotes;
class TRegi;
class TRok;

// What the main widget shows and does, without a window: it owns the settings, the calendar,
// the notes store, the day shown and the entries of the days the program did not run, and
// answers the start (first run of the day, the missed days, the beep), the tick that notices a
// new day, the reminder lines, the tray icon's tooltip and the text for a screen reader.
class WidgetModel {
public:
    // Reads the settings through `hive` and fills the calendar; the notes are read from
    // `notesFolder`. The borrowed objects must outlive the model.
    WidgetModel(const Clock& clock, SettingsHive& hive, std::filesystem::path notesFolder,
                const LocalDateFormat& dateFormat);
    ~WidgetModel();
    WidgetModel(const WidgetModel&) = delete;
    WidgetModel& operator=(const WidgetModel&) = delete;

    // The start: today becomes the day shown; on the first start of a day (the date recorded in
    // "Now" or "NowIso" is another) the entries of the days since the last run are gathered;
    // the reminder lines are built. A settings file the store refused is added to the message.
    // True when the start should beep: there are reminders for today and "Upozornenie" is 2,
    // or 1 on the first start of the day.
    bool Start();

    // One tick of the 5 s timer: when the date has changed since the lines were built (midnight,
    // a wake from sleep) they are built anew for the new day; then today's date is recorded in
    // "Now" (the user's short date) and "NowIso". True when the lines were built anew.
    bool Tick();

    // Builds the reminder lines anew for today: the missed days first, then today's reminders,
    // MaxLines lines at most. The day files that could not be read make the message. True
    // when today is another day than the one shown so far. With `Told::Once` the message
    // comes only when it differs from the last one (a rebuild for another program's writes must
    // not tell of the same unreadable file at every write).
    enum class Told { Always, Once };
    bool Rebuild(Told told = Told::Always);

    // The date has changed since the lines were built.
    bool DayChanged() const;
    // Puts the missed days away (a click on them or the end of the countdown); true when there
    // were some, and the lines must then be built anew.
    bool DropMissed();

    // The header of the day shown, or of the day after it while the pointer rests on the widget.
    DayTexts Header(bool tomorrow) const;
    // The lines under the header, the missed days first.
    const std::vector<ReminderLine>& Lines() const { return lines_; }
    // How many of Lines() are missed days.
    std::size_t MissedShown() const { return missedShown_; }
    // The entries of missed days kept until they are put away.
    std::size_t MissedCount() const { return missed_.size(); }
    // Today's reminder lines (without the missed days), as the tooltip counts them.
    int ReminderCount() const { return reminderCount_; }
    // The tray icon's tooltip for the day shown.
    std::string Tooltip() const;
    // One text for a screen reader: the header's texts with the whole date ("Dnes Streda
    // 9. decembra"), its names and every reminder line, also those the screen has no room for.
    std::string AccessibleText(bool tomorrow) const;

    // How many reminder bars the widget shows when `room` pixels are left below its header:
    // bar i takes heights[i] pixels. When not all of them fit, as many as fit together with
    // one more bar of `moreHeight` pixels that tells how many are left out (MoreText); that
    // bar is shown even when nothing fits beside it.
    struct Fit {
        std::size_t shown = 0;
        std::size_t rest = 0; // lines left out, told by the last bar

        friend bool operator==(const Fit&, const Fit&) = default;
    };
    static Fit FitLines(int room, std::span<const int> heights, int moreHeight);
    // The last bar's text when `rest` lines are left out: "a ďalšie 5…".
    static std::string MoreText(std::size_t rest);
    // The message about day files that could not be read (and at start a refused settings
    // file), once; empty when there is none.
    std::string TakeMessage();

    // The day the lines were built for.
    std::chrono::sys_days ShownDay() const { return shownDay_; }
    // Today by the clock.
    std::chrono::sys_days Today() const;

    WidgetSettings& Settings() { return settings_; }
    const WidgetSettings& Settings() const { return settings_; }
    TRok& Rok() { return *year_; }
    const TRok& Rok() const { return *year_; }
    TRegi& Regi() { return *regi_; }
    TDayNotes& Notes() { return *notes_; }

private:
    const Clock& clock_;
    const LocalDateFormat& dateFormat_;
    std::unique_ptr<TRegi> regi_;
    WidgetSettings settings_;
    std::unique_ptr<TRok> year_;
    std::unique_ptr<TDayNotes> notes_;
    std::chrono::sys_days shownDay_{};
    std::vector<ReminderLine> missed_;
    std::vector<ReminderLine> lines_;
    std::size_t missedShown_ = 0;
    int reminderCount_ = 0;
    std::string message_;
    std::string lastMessage_;
};

} // namespace tilava
