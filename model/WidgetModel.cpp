#include "model/WidgetModel.h"

#include "core/Clock.h"
#include "core/uRok.h"
#include "model/LocalDateFormat.h"
#include "model/Zmeskane.h"
#include "platform/HiveError.h"
#include "store/uPoznamky.h"
#include "store/uRegi.h"

#include <algorithm>
#include <utility>

namespace tilava {

WidgetModel::WidgetModel(const Clock& clock, SettingsHive& hive, std::filesystem::path notesFolder,
                         const LocalDateFormat& dateFormat)
    : clock_(clock), dateFormat_(dateFormat), regi_(std::make_unique<TRegi>(hive)),
      settings_(WidgetSettings::Nacitaj(*regi_)), rok_(std::make_unique<TRok>()) {
    rok_->Naplnit();
    notes_ = std::make_unique<TDayNotes>(std::move(notesFolder));
}

WidgetModel::~WidgetModel() = default;

std::chrono::sys_days WidgetModel::Today() const {
    return clock_.Teraz().den;
}

bool WidgetModel::Start() {
    shownDay_ = Today();
    // "Now" still holds the date of the last run until the first tick writes today's: it tells
    // the first start of a day and the days the program did not run. "NowIso" keeps that date
    // in a form no change of language or region misreads.
    const std::string lastText = regi_->CitajText("Now");
    auto lastRun = Zmeskane::LastRunFromIso(regi_->CitajText("NowIso"), lastText, shownDay_);
    const bool firstToday = lastRun ? std::chrono::sys_days{*lastRun} != shownDay_
                                    : lastText != dateFormat_.ShortDate(shownDay_);
    if (firstToday) {
        if (!lastRun)
            lastRun = Zmeskane::CitajDatum(lastText, dateFormat_.ShortPattern(), shownDay_,
                                           dateFormat_.MonthNames());
        missed_ = Zmeskane::Zostav(*notes_, lastRun, shownDay_);
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
        regi_->ZapisHodnotu("NowIso", Zmeskane::IsoText(today));
    } catch (const HiveError&) {
        // The date is only a record; the next tick tries again.
    }
    return changed;
}

bool WidgetModel::Rebuild() {
    const std::chrono::sys_days today = Today();
    const bool newDay = today != shownDay_;
    shownDay_ = today;
    Reminders r = Reminders::Zostav(*notes_, today, settings_.Dopredu);
    reminderCount_ = static_cast<int>(r.riadky.size());
    // The missed days come first.
    missedShown_ = std::min(missed_.size(), Reminders::MaxRiadkov);
    r.riadky.insert(r.riadky.begin(), missed_.begin(),
                    missed_.begin() + static_cast<std::ptrdiff_t>(missedShown_));
    r.riadky.resize(std::min(r.riadky.size(), Reminders::MaxRiadkov));
    lines_ = std::move(r.riadky);
    if (!r.chyby.empty()) {
        message_ = "Pripomienky sa nepodarilo načítať.\n";
        for (const std::string& error : r.chyby)
            message_ += '\n' + error;
    }
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
    return tomorrow ? DayTexts::Zajtra(*rok_, Today()) : DayTexts::Dnes(*rok_, Today());
}

std::string WidgetModel::Tooltip() const {
    return Reminders::Tooltip(dateFormat_.ShortDate(shownDay_),
                              static_cast<std::size_t>(reminderCount_));
}

std::string WidgetModel::AccessibleText(bool tomorrow) const {
    const DayTexts header = Header(tomorrow);
    std::string names;
    for (const NameLine& line : header.sviatky) {
        if (!line.visible || line.text.empty())
            continue;
        if (!names.empty())
            names += ", ";
        names += line.text;
    }
    std::string text = header.dnes + ' ' + header.den + ' ' + header.datum + ": " + names + '.';
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

std::string WidgetModel::TakeMessage() {
    return std::exchange(message_, {});
}

} // namespace tilava
