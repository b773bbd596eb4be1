#include "ui/windows/CalendarSyncRunner.h"

#include "store/uRegi.h"
#include "ui/desktop/Notifier.h"
#include "ui/windows/SyncSettingsDialog.h"
#include "ui/windows/WidgetTray.h"

#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace tilava {

namespace {

// How often the window thread hears of a sync's progress at most.
constexpr std::chrono::milliseconds kProgressEvery{250};

// "1 záznam", "3 záznamy", "336 záznamov".
QString Entries(int count) {
    const char* word = count == 1 ? "záznam" : count >= 2 && count <= 4 ? "záznamy" : "záznamov";
    return QString::number(count) + QLatin1Char(' ') + QString::fromUtf8(word);
}

} // namespace

// What the sync's thread shares with the window thread. The thread is never joined: at the
// program's end it may still be waiting for the server, and a sync is safe to cut.
struct CalendarSyncRunner::Shared {
    std::mutex mutex;
    std::condition_variable ended;
    bool running = false;
    CalendarSyncRunner* receiver = nullptr; // none once the runner is gone
    // The sync's progress; posted to the window thread at most every kProgressEvery.
    int done = 0, total = 0;
    bool posted = false;
    std::chrono::steady_clock::time_point lastPost;

    void Progress(int stepsDone, int steps) {
        const std::lock_guard lock(mutex);
        done = stepsDone;
        total = steps;
        const auto now = std::chrono::steady_clock::now();
        if (posted || !receiver || (now - lastPost < kProgressEvery && done < total))
            return;
        posted = true;
        lastPost = now;
        QMetaObject::invokeMethod(
            receiver, [runner = receiver] { runner->TakeProgress(); }, Qt::QueuedConnection);
    }
};

CalendarSyncRunner::CalendarSyncRunner(QWidget& owner, WidgetTray& tray, TRegi& regi,
                                       std::filesystem::path folder, Notifier& notifier)
    : QObject(&owner), owner_(owner), tray_(tray), regi_(regi), folder_(std::move(folder)),
      notifier_(notifier), work_(&SyncCalendar), shared_(std::make_shared<Shared>()) {
    shared_->receiver = this;
    every_ = new QTimer(this);
    every_->setObjectName(QStringLiteral("syncEvery"));
    connect(every_, &QTimer::timeout, this, [this] { Start(Origin::Timer); });
    afterSave_ = new QTimer(this);
    afterSave_->setObjectName(QStringLiteral("syncAfterSave"));
    afterSave_->setSingleShot(true);
    afterSave_->setInterval(AfterSaveDelay);
    connect(afterSave_, &QTimer::timeout, this, [this] {
        if (!Start(Origin::AfterSave) && running_)
            savedMeanwhile_ = true;
    });
    FollowSettings();
}

CalendarSyncRunner::~CalendarSyncRunner() {
    const std::lock_guard lock(shared_->mutex);
    shared_->receiver = nullptr;
}

bool CalendarSyncRunner::Start(Origin origin, bool allowManyRemovals) {
    if (stopped_ || running_)
        return false;
    const SyncSettings settings = SyncSettings::Read(regi_);
    if (!settings.Configured()) {
        if (origin == Origin::Menu)
            emit settingsWanted();
        return false;
    }
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->running = true;
        shared_->done = shared_->total = 0;
    }
    SyncRequest request;
    request.allowManyRemovals = allowManyRemovals;
    request.progress = [shared = std::weak_ptr<Shared>(shared_)](int done, int total) {
        if (const auto alive = shared.lock())
            alive->Progress(done, total);
    };
    try {
        std::thread([shared = shared_, work = work_, folder = folder_, settings, origin,
                     request = std::move(request)] {
            ExchangeResult result;
            try {
                result = work(folder, settings, request);
            } catch (const std::exception& e) {
                result = {false, std::string("Synchronizácia sa nedokončila: ") + e.what()};
            } catch (...) {
                result = {false, "Synchronizácia sa nedokončila pre neznámu chybu."};
            }
            const std::lock_guard lock(shared->mutex);
            shared->running = false;
            if (CalendarSyncRunner* runner = shared->receiver)
                QMetaObject::invokeMethod(
                    runner, [runner, result, origin] { runner->Finished(result, origin); },
                    Qt::QueuedConnection);
            shared->ended.notify_all();
        }).detach();
    } catch (const std::system_error& e) {
        {
            const std::lock_guard lock(shared_->mutex);
            shared_->running = false;
        }
        Report({false, std::string("Synchronizácia sa nespustila: systém nedal vlákno (") +
                           e.what() + ")."},
               origin);
        return false;
    }
    running_ = true;
    done_ = total_ = 0;
    ShowStatus();
    return true;
}

void CalendarSyncRunner::TakeProgress() {
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->posted = false;
        done_ = shared_->done;
        total_ = shared_->total;
    }
    if (running_)
        ShowStatus();
}

QString CalendarSyncRunner::Status() const {
    if (!running_)
        return {};
    if (total_ <= 0)
        return QStringLiteral("Synchronizuje sa…");
    return QStringLiteral("Synchronizuje sa… %1 z %2").arg(done_).arg(total_);
}

void CalendarSyncRunner::ShowStatus() {
    tray_.SetSyncStatus(Status(), !unread_.isEmpty());
    emit statusChanged();
}

void CalendarSyncRunner::ShowUnreadReport(QWidget* parent) {
    if (unread_.isEmpty())
        return;
    const QString report = std::exchange(unread_, {});
    ShowStatus();
    notifier_.Message(parent, report);
}

void CalendarSyncRunner::Finished(const ExchangeResult& result, Origin origin) {
    running_ = false;
    ShowStatus();
    if (stopped_)
        return;
    emit finished();
    if (result.withheldRemovals <= 0)
        withheldAsked_ = 0;
    if (result.withheldRemovals <= 0 || !AskAboutRemovals(result, origin))
        Report(result, origin);
    if (std::exchange(savedMeanwhile_, false))
        ChangesSaved();
}

void CalendarSyncRunner::Report(const ExchangeResult& result, Origin origin) {
    QString text = QString::fromStdString(result.message).trimmed();
    if (text.isEmpty())
        text = result.success ? QStringLiteral("Synchronizácia s kalendárom prebehla.")
                              : QStringLiteral("Synchronizácia s kalendárom sa nepodarila.");
    const bool remarks = !result.success || result.remarks;
    QWidget* window = QApplication::activeModalWidget();
    QWidget* parent = window ? window : &owner_;
    // A note where the desktop shows none becomes a message box. An automatic sync's warning
    // stays in the tray's menu until it is read.
    const auto tell = [&](bool warning) {
        if (!(warning ? notifier_.Warn(tray_.Icon(), text)
                      : notifier_.Notify(tray_.Icon(), text))) {
            notifier_.Message(parent, text);
        } else if (warning) {
            unread_ = text;
            ShowStatus();
        }
    };
    if (result.success)
        failureTold_ = false;
    if (origin == Origin::Menu) {
        if (remarks)
            notifier_.Message(parent, text);
        else
            tell(false);
        return;
    }
    if (result.success) {
        if (remarks)
            tell(true);
        return;
    }
    // The same failure every few minutes (no network) is told once.
    if (!std::exchange(failureTold_, true))
        tell(true);
}

bool CalendarSyncRunner::AskAboutRemovals(const ExchangeResult& result, Origin origin) {
    // An automatic sync asks once for the same removals; the user's "Ponechať" stands until
    // they change.
    if (origin != Origin::Menu && result.withheldRemovals == withheldAsked_)
        return true;
    withheldAsked_ = result.withheldRemovals;
    QString text =
        QStringLiteral("Synchronizácia by odstránila %1 z poznámok naraz – všetky alebo veľkú "
                       "časť. Kalendár na serveri mohol byť vyprázdnený alebo nahradený omylom, "
                       "preto sa zatiaľ nič neodstránilo.\n\nOdstrániť tieto záznamy aj z "
                       "poznámok?")
            .arg(Entries(result.withheldRemovals));
    if (const QString report = QString::fromStdString(result.message).trimmed(); !report.isEmpty())
        text += QStringLiteral("\n\n") + report;
    QWidget* window = QApplication::activeModalWidget();
    const int answer = notifier_.Ask(window ? window : &owner_, text,
                                     {QStringLiteral("Ponechať"), QStringLiteral("Odstrániť")});
    if (answer == 1 && !stopped_)
        Start(Origin::Menu, true);
    return true;
}

void CalendarSyncRunner::ChangesSaved() {
    if (!stopped_ && !afterSave_->isActive())
        afterSave_->start();
}

bool CalendarSyncRunner::EditSettings(QWidget* owner, bool thenSync) {
    SyncSettingsDialog dialog(regi_, notifier_, &KeepSyncPassword, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    FollowSettings();
    if (thenSync && SyncSettings::Read(regi_).Configured())
        Start(Origin::Menu);
    return true;
}

void CalendarSyncRunner::FollowSettings() {
    const SyncSettings settings = SyncSettings::Read(regi_);
    if (stopped_ || !settings.Configured() || settings.everyMinutes == 0) {
        every_->stop();
        return;
    }
    const int interval = settings.everyMinutes * 60 * 1000;
    if (!every_->isActive() || every_->interval() != interval)
        every_->start(interval);
}

void CalendarSyncRunner::Stop() {
    stopped_ = true;
    every_->stop();
    afterSave_->stop();
}

bool CalendarSyncRunner::WaitForEnd(std::chrono::milliseconds most) const {
    std::unique_lock lock(shared_->mutex);
    return shared_->ended.wait_for(lock, most, [this] { return !shared_->running; });
}

} // namespace tilava
