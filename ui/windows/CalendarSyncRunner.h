#pragma once

#include "exchange/CalendarExchange.h"
#include "store/SyncSettings.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

class QTimer;
class QWidget;

namespace tilava {

class Notifier;
class TRegi;
class WidgetTray;

// The widget's calendar sync: the tray's "Synchronizovať", an automatic sync every few minutes
// (SyncEvery, off by default) and one a short while after the week window saved the user's
// changes, all only once the sync is set up. A sync runs on a thread of its own, one at a time;
// meanwhile the tray's item cannot be chosen.
//
// The report of a sync the user chose: a plain success as a short note from the tray icon, a
// failure or a report with remarks (an entry changed on both sides, an event the notes cannot
// hold) in a message box. An automatic sync tells a failure once, as a warning note, until a
// sync succeeds again; its remarks as a warning note too, and both stay in the tray's menu
// ("Správa o synchronizácii…") until the user has read them; its plain success not at all.
// A sync that withheld many removals from the notes asks whether to make them (an automatic
// one once for the same count), and on "Odstrániť" runs again allowing them.
//
// A sync may be cut at any moment (the next one picks up where it stopped), so the program does
// not wait for one at its end for more than a moment (WaitForEnd).
class CalendarSyncRunner final : public QObject {
    Q_OBJECT
public:
    // What runs a sync; on the sync's own thread.
    using SyncWork = std::function<ExchangeResult(const std::filesystem::path&, const SyncSettings&,
                                                  const SyncRequest&)>;
    enum class Origin { Menu, Timer, AfterSave };

    // The delay between a save of the week window and its sync; saves within it share one.
    static constexpr std::chrono::seconds AfterSaveDelay{10};

    // Reports over `owner` (or the window open over it); `regi` and `notifier` must outlive it.
    CalendarSyncRunner(QWidget& owner, WidgetTray& tray, TRegi& regi, std::filesystem::path folder,
                       Notifier& notifier);
    ~CalendarSyncRunner() override;

    // Starts a sync unless one runs or the program ends. One the user chose asks for the
    // settings (settingsWanted) while the sync is not set up; an automatic one does nothing
    // then. `allowManyRemovals`: the user agreed to the removals a sync withheld. True when a
    // sync started.
    bool Start(Origin origin, bool allowManyRemovals = false);
    // The week window saved the user's changes: a sync follows after AfterSaveDelay.
    void ChangesSaved();
    // The settings dialog, modal to `owner`; the automatic syncs follow what it saved. A sync
    // starts after it when `thenSync` and the sync is set up. True when saved.
    bool EditSettings(QWidget* owner, bool thenSync);
    // Reads the settings anew and sets the automatic sync's timer by them.
    void FollowSettings();
    // The program ends: no sync starts any more and none is reported.
    void Stop();
    // Waits up to `most` for a running sync; true when none runs (any more).
    bool WaitForEnd(std::chrono::milliseconds most) const;
    bool Running() const { return running_; }
    // What a running sync is doing, "Synchronizuje sa… 120 z 303" once it knows its steps;
    // empty while none runs.
    QString Status() const;
    // The report of an automatic sync that the user must read and has not yet; else empty.
    const QString& UnreadReport() const { return unread_; }
    // Shows that report in a message box over `parent`; it is read then.
    void ShowUnreadReport(QWidget* parent);

    // Runs syncs with `work` instead of SyncCalendar (tests).
    void ReplaceWork(SyncWork work) { work_ = std::move(work); }

signals:
    // The user chose the sync before it was set up.
    void settingsWanted();
    // A sync ended and may have changed the day files.
    void finished();
    // Status() or UnreadReport() changed.
    void statusChanged();

private:
    struct Shared;
    void Finished(const ExchangeResult& result, Origin origin);
    void Report(const ExchangeResult& result, Origin origin);
    // Asks about the removals a sync withheld, and runs it again allowing them when the user
    // agrees. False when it did not ask: the report is told as any other.
    bool AskAboutRemovals(const ExchangeResult& result, Origin origin);
    // The latest progress the sync's thread left.
    void TakeProgress();
    void ShowStatus();

    QWidget& owner_;
    WidgetTray& tray_;
    TRegi& regi_;
    std::filesystem::path folder_;
    Notifier& notifier_;
    SyncWork work_;
    std::shared_ptr<Shared> shared_;
    bool running_ = false;
    bool stopped_ = false;
    bool savedMeanwhile_ = false; // the week window saved while a sync ran
    bool failureTold_ = false;    // an automatic sync's failure was told since the last success
    int withheldAsked_ = 0;       // the withheld removals last asked about
    int done_ = 0, total_ = 0;    // the running sync's steps
    QString unread_;
    QTimer* every_ = nullptr;
    QTimer* afterSave_ = nullptr;
};

} // namespace tilava
