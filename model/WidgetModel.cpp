#include "model/WidgetModel.h"

#include "core/CalendarWords.h"
#include "core/Clock.h"
#include "core/uRok.h"
#include "model/LocalDateFormat.h"
#include "model/MissedDays.h"
#include "platform/HiveError.h"
#include "store/uPoznamky.h"
#include "store/uRegi.h"

#include <algorithm>
#include <utility>

namespace tilava {

WidgetModel::WidgetModel(const Clock& clock, SettingsHive& hive, std::filesystem::path notesFolder,
                         const LocalDateFormat& dateFormat)
    : clock_(clock), dateFormat_(dateFormat), regi_(std::make_unique<TRegi>(hive)),
      settings_(WidgetSettings::Nacitaj(*regi_)), year_(std::make_unique<TRok>()) {
    year_->Naplnit();
    notes_ = std::make_unique<TDayNotes>(std::move(notesFolder));
}

WidgetModel::~WidgetModel() = default;

std::chrono::sys_days WidgetModel::Today() const {
    return clock_.Now().date;
}

bool WidgetModel::Start() {
    shownDay_ = Today();
    // "Now" still holds the date of the last run until the first tick writes today's: it tells
    // the first start of a day and the days the program did not run. "NowIso" keeps that date
    // in a form no change of language or region misreads.
    const std::string lastText = regi_->ReadText("Now");
    auto lastRun = MissedDays::LastRunFromIso(regi_->ReadText("NowIso"), lastText, shownDay_);
    const bool firstToday = lastRun ? std::chrono::sys_days{*lastRun} != shownDay_
                                    : lastText != dateFormat_.ShortDate(shownDay_);
    if (firstToday) {
        if (!lastRun)
            lastRun = MissedDays::ReadDate(lastText, dateFormat_.ShortPattern(), shownDay_,
                                           dateFormat_.MonthNames());
        missed_ = MissedDays::Build(*notes_, lastRun, shownDay_);
    }
    Rebuild();
    // A settings file the store refuses (too large, an unknown encoding) is told once, with the
    // day files' messages.
    if (const std::string refusal = regi_->Refusal(); !refusal.empty())
        message_ += (message_.empty() ? "" : "\n\n") + refusal;
    const int sound = settings_.Upozornenie;
    return reminderCount_ > 0 && (sound == 2 || (sound == 1 && firstToday));
}

bool WidgetModel::Tick() {
    const bool changed = DayChanged();
    if (changed)
        Rebuild();
    try {
        const std::chrono::sys_days today = Today();
        regi_->ZapisHodnotu("Now", dateFormat_.ShortDate(today));
        regi_->ZapisHodnotu("NowIso", MissedDays::IsoText(today));
    } catch (const HiveError&) {
        // The date is only a record; the next tick tries again.
    }
    return changed;
}

bool WidgetModel::Rebuild(Told told) {
    const std::chrono::sys_days today = Today();
    const bool newDay = today != shownDay_;
    shownDay_ = today;
    Reminders r = Reminders::Build(*notes_, today, settings_.Dopredu);
    reminderCount_ = static_cast<int>(r.lines.size());
    // The missed days come first.
    missedShown_ = std::min(missed_.size(), Reminders::MaxLines);
    r.lines.insert(r.lines.begin(), missed_.begin(),
                   missed_.begin() + static_cast<std::ptrdiff_t>(missedShown_));
    r.lines.resize(std::min(r.lines.size(), Reminders::MaxLines));
    lines_ = std::move(r.lines);
    std::string message;
    if (!r.errors.empty()) {
        message = "Pripomienky sa nepodarilo načítať.\n";
        for (const std::string& error : r.errors)
            message += '\n' + error;
    }
    if (!message.empty() && (told == Told::Always || message != lastMessage_))
        message_ = message;
    lastMessage_ = std::move(message);
    return newDay;
}

bool WidgetModel::DayChanged() const {
    return Today() != shownDay_;
}

bool WidgetModel::DropMissed() {
    if (missed_.empty())
        return false;
    missed_.clear();
    return true;
}

DayTexts WidgetModel::Header(bool tomorrow) const {
    return tomorrow ? DayTexts::Tomorrow(*year_, Today()) : DayTexts::Today(*year_, Today());
}

std::string WidgetModel::Tooltip() const {
    return Reminders::Tooltip(dateFormat_.ShortDate(shownDay_),
                              static_cast<std::size_t>(reminderCount_));
}

std::string WidgetModel::AccessibleText(bool tomorrow) const {
    const DayTexts header = Header(tomorrow);
    std::string names;
    for (const NameLine& line : header.nameDays) {
        if (!line.visible || line.text.empty())
            continue;
        if (!names.empty())
            names += ", ";
        names += line.text;
    }
    const std::chrono::year_month_day day{Today() + std::chrono::days{tomorrow ? 1 : 0}};
    const std::string month(MonthsAfterDay[static_cast<unsigned>(day.month())]);
    std::string text =
        header.today + ' ' + header.date + ' ' + header.datum + ' ' + month + ": " + names + '.';
    if (!lines_.empty()) {
        text += " Pripomienky: ";
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (i > 0)
                text += "; ";
            std::string line = lines_[i].text;
            std::erase(line, '\r');
            text += line;
        }
        text += '.';
    }
    return text;
}

WidgetModel::Fit WidgetModel::FitLines(int room, std::span<const int> heights, int moreHeight) {
    long long used = 0;
    for (const int height : heights)
        used += height;
    if (used <= room)
        return {heights.size(), 0};
    // Room for the bar that tells the rest, then the bars from the top while they fit.
    long long left = static_cast<long long>(room) - moreHeight;
    std::size_t shown = 0;
    while (shown < heights.size() && heights[shown] <= left)
        left -= heights[shown++];
    return {shown, heights.size() - shown};
}

std::string WidgetModel::MoreText(std::size_t rest) {
    return "a ďalšie " + std::to_string(rest) + "…";
}

std::string WidgetModel::TakeMessage() {
    return std::exchange(message_, {});
}

} // namespace tilava
