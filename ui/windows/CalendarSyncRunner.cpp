#include "ui/windows/CalendarSyncRunner.h"

#include "store/uRegi.h"
#include "ui/desktop/Notifier.h"
#include "ui/windows/SyncSettingsDialog.h"
#include "ui/windows/WidgetTray.h"

#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace tilava {

// What the sync's thread shares with the window thread. The thread is never joined: at the
// program's end it may still be waiting for the server, and a sync is safe to cut.
struct CalendarSyncRunner::Shared {
    std::mutex mutex;
    std::condition_variable ended;
    bool running = false;
    CalendarSyncRunner* receiver = nullptr; // none once the runner is gone
};

CalendarSyncRunner::CalendarSyncRunner(QWidget& owner, WidgetTray& tray, TRegi& regi,
                                       std::filesystem::path folder, Notifier& notifier)
    : QObject(&owner), owner_(owner), tray_(tray), regi_(regi), folder_(std::move(folder)),
      notifier_(notifier), work_([](const std::filesystem::path& f, const SyncSettings& s) {
          return SyncCalendar(f, s);
      }),
      shared_(std::make_shared<Shared>()) {
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

bool CalendarSyncRunner::Start(Origin origin) {
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
    }
    try {
        std::thread([shared = shared_, work = work_, folder = folder_, settings, origin] {
            ExchangeResult result;
            try {
                result = work(folder, settings);
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
    tray_.SetSyncRunning(true);
    return true;
}

void CalendarSyncRunner::Finished(const ExchangeResult& result, Origin origin) {
    running_ = false;
    tray_.SetSyncRunning(false);
    if (stopped_)
        return;
    emit finished();
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
    // A note where the desktop shows none becomes a message box.
    const auto tell = [&] {
        if (!notifier_.Notify(tray_.Icon(), text))
            notifier_.Message(parent, text);
    };
    if (result.success)
        failureTold_ = false;
    if (origin == Origin::Menu) {
        if (remarks)
            notifier_.Message(parent, text);
        else
            tell();
        return;
    }
    if (result.success) {
        if (remarks)
            tell();
        return;
    }
    // The same failure every few minutes (no network) is told once.
    if (!std::exchange(failureTold_, true))
        tell();
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
