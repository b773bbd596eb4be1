// The widget's calendar sync: the tray's "Synchronizovať" runs it on a thread of its own with
// the item shut meanwhile and tells its report as the report needs, "Ukončit" does not wait
// for it, and the automatic syncs run only once the sync is set up.
#include "ModalSupport.h"
#include "WeekSupport.h"
#include "WidgetSupport.h"

#include "ui/windows/CalendarSyncRunner.h"
#include "ui/windows/fTyzden.h"
#include "ui/windows/SyncSettingsDialog.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace tilava {

using namespace std::chrono;

namespace {

// Stands in for the sync: counts its runs, notes whether each ran off the window thread, and
// waits until released before it answers.
struct FakeSync {
    std::mutex mutex;
    std::condition_variable changed;
    bool released = false;
    int started = 0;
    int ended = 0;
    bool offWindowThread = true;
    ExchangeResult answer;
    std::function<void()> work; // what it does to the day files

    int Started() {
        const std::lock_guard lock(mutex);
        return started;
    }
    int Ended() {
        const std::lock_guard lock(mutex);
        return ended;
    }
    void Release() {
        const std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
    bool WaitForEnds(int count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 5s, [&] { return ended >= count; });
    }
};

CalendarSyncRunner::SyncWork Runs(const std::shared_ptr<FakeSync>& fake) {
    return [fake, window = std::this_thread::get_id()](const std::filesystem::path&,
                                                       const SyncSettings&) {
        std::unique_lock lock(fake->mutex);
        ++fake->started;
        fake->offWindowThread = fake->offWindowThread && std::this_thread::get_id() != window;
        // (a sync run on the window thread would wait here for ever)
        fake->changed.wait_for(lock, 10s, [&] { return fake->released; });
        if (fake->work)
            fake->work();
        ++fake->ended;
        fake->changed.notify_all();
        return fake->answer;
    };
}

void SetUp(MemoryHive& hive, const char* calendar, const char* user, const char* every = "0") {
    hive.PutString(HiveKey::Settings, "SyncCalendar", calendar);
    hive.PutString(HiveKey::Settings, "SyncUser", user);
    hive.PutString(HiveKey::Settings, "SyncEvery", every);
}

QString ShownReminderText(QWidget& w) {
    return w.findChild<QLabel*>(QStringLiteral("lblNote"))->text();
}

} // namespace

class WidgetSyncTest : public QObject {
    Q_OBJECT
private slots:
    void trayItem_data() {
        QTest::addColumn<bool>("setUp");
        QTest::addColumn<bool>("success");
        QTest::addColumn<bool>("remarks"); // the report holds what the user must read
        QTest::addColumn<QString>("report");
        QTest::addColumn<bool>("quit"); // "Ukončit" while the sync runs
        // "note" (from the tray icon), "box" (a message box), "dialog" (the sync's settings),
        // "nothing"
        QTest::addColumn<QString>("told");
        const char* done = "Synchronizácia prebehla.\nZo servera do poznámok: pridané 1.\n";
        QTest::newRow("a plain success: a note")
            << true << true << false << done << false << "note";
        QTest::newRow("remarks: a message box")
            << true << true << true
            << "Synchronizácia prebehla.\nKonflikty:\n  Jano – narodeniny: zmenený v Tilave aj na "
               "serveri, ponechané sú obe verzie.\n"
            << false << "box";
        QTest::newRow("a failure: a message box")
            << true << false << false << "Server cal.example.org neodpovedá; nič sa nezmenilo.\n"
            << false << "box";
        QTest::newRow("not set up: the settings first")
            << false << true << false << "" << false << "dialog";
        QTest::newRow("Ukončit does not wait") << true << true << false << "" << true << "nothing";
    }
    void trayItem() {
        QFETCH(bool, setUp);
        QFETCH(bool, success);
        QFETCH(bool, remarks);
        QFETCH(QString, report);
        QFETCH(bool, quit);
        QFETCH(QString, told);
        test::WidgetWorld world(2024y / 3 / 13);
        world.tray = true;
        if (setUp)
            SetUp(world.hive, "https://cal.example.org/a/", "alice");
        auto w = world.StartShown();
        auto fake = std::make_shared<FakeSync>();
        fake->answer = {success, report.toStdString(), remarks};
        // The sync brings a birthday for today.
        fake->work = [&world] { world.WriteEntries(13, 3, {{2, 1980, "Ľubica"}}); };
        w->Sync().ReplaceWork(Runs(fake));
        auto* item = w->findChild<QAction*>(QStringLiteral("Synchronizovat1"));
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("Synchronizovať"));

        if (!setUp) {
            bool seen = false;
            test::WhenActive<SyncSettingsDialog>([](SyncSettingsDialog&) {}, &seen);
            item->trigger();
            QTRY_VERIFY(seen);
            QCOMPARE(fake->Started(), 0);
            return;
        }
        item->trigger();
        QTRY_COMPARE(fake->Started(), 1);
        QVERIFY(fake->offWindowThread);
        // The window thread goes on while the sync waits, the item is shut and a second sync
        // does not start.
        QCOMPARE(fake->Ended(), 0);
        QCOMPARE(item->text(), QStringLiteral("Synchronizuje sa…"));
        QVERIFY(!item->isEnabled());
        item->trigger();
        QVERIFY(!w->Sync().Start(CalendarSyncRunner::Origin::Timer));
        QTest::qWait(20);
        QCOMPARE(fake->Started(), 1);

        if (quit) {
            QSignalSpy closed(w.get(), &TfrmMain::closed);
            w->findChild<QAction*>(QStringLiteral("Ukoncit1"))->trigger();
            QTRY_COMPARE(closed.size(), 1);
            QVERIFY(!w->Sync().WaitForEnd(10ms));
            // The widget goes while the sync still runs; its end reaches nothing.
            w.reset();
            fake->Release();
            QVERIFY(fake->WaitForEnds(1));
            QTest::qWait(50);
            QVERIFY(world.notifier.messages.isEmpty() && world.notifier.notes.isEmpty());
            return;
        }
        fake->Release();
        QTRY_VERIFY(item->isEnabled());
        QCOMPARE(item->text(), QStringLiteral("Synchronizovať"));
        // The reminders were built anew as the sync ended.
        QCOMPARE(ShownReminderText(*w), QStringLiteral("Ľubica 44. narodeniny"));
        const QStringList expected{report.trimmed()};
        QCOMPARE(world.notifier.notes, told == "note" ? expected : QStringList());
        QCOMPARE(world.notifier.messages, told == "box" ? expected : QStringList());
    }

    void automaticSyncs_data() {
        QTest::addColumn<QString>("calendar");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("every");
        QTest::addColumn<int>("interval"); // of the automatic sync's timer; -1 when off
        QTest::addColumn<bool>("weekSave");
        QTest::addColumn<int>("afterSave"); // syncs after the week window saved
        QTest::newRow("nothing set: off") << ""
                                          << ""
                                          << "" << -1 << true << 0;
        QTest::newRow("set up, 0 minutes: only after a save") << "https://cal.example.org/a/"
                                                              << "alice"
                                                              << "0" << -1 << true << 1;
        QTest::newRow("set up, every 15 minutes") << "https://cal.example.org/a/"
                                                  << "alice"
                                                  << "15" << 15 * 60000 << false << 0;
        QTest::newRow("15 minutes without a user: off") << "https://cal.example.org/a/"
                                                        << ""
                                                        << "15" << -1 << false << 0;
    }
    // The automatic syncs: every N minutes once set up (off by default), and one a short while
    // after the week window saved, however many saves came within it; a failure that repeats
    // is told once, as a note.
    void automaticSyncs() {
        QFETCH(QString, calendar);
        QFETCH(QString, user);
        QFETCH(QString, every);
        QFETCH(int, interval);
        QFETCH(bool, weekSave);
        QFETCH(int, afterSave);
        test::WidgetWorld world(2024y / 3 / 13); // a Wednesday
        world.tray = true;
        if (!every.isEmpty())
            SetUp(world.hive, calendar.toUtf8().constData(), user.toUtf8().constData(),
                  every.toUtf8().constData());
        auto w = world.StartShown();
        auto fake = std::make_shared<FakeSync>();
        fake->answer = {false, "Server cal.example.org neodpovedá.\n"};
        fake->Release();
        w->Sync().ReplaceWork(Runs(fake));
        auto* timer = w->findChild<QTimer*>(QStringLiteral("syncEvery"));
        QVERIFY(timer);
        QCOMPARE(timer->isActive() ? timer->interval() : -1, interval);
        if (interval > 0) {
            timer->setInterval(20);
            QTRY_VERIFY(fake->Started() >= 3);
            timer->stop();
            QTRY_VERIFY(!w->Sync().Running());
            QCOMPARE(world.notifier.notes, QStringList{"Server cal.example.org neodpovedá."});
            QVERIFY(world.notifier.messages.isEmpty());
        }
        if (!weekSave)
            return;
        bool week = false, editor = false;
        test::WhenActive<TfrmTyzden>(
            [&](TfrmTyzden& window) {
                test::AddBirthdayInWeek(window, editor);
                QTest::keyClick(window.focusWidget(), Qt::Key_Escape); // closes, saving
            },
            &week);
        QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("Image1")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(week && !QApplication::activeModalWidget(), 6000);
        QVERIFY(editor);
        auto* delay = w->findChild<QTimer*>(QStringLiteral("syncAfterSave"));
        QVERIFY(delay && delay->isActive());
        QCOMPARE(delay->interval(), 10000);
        QCOMPARE(fake->Started(), 0);
        w->Sync().ChangesSaved();
        delay->setInterval(10);
        w->Sync().ChangesSaved();
        QTest::qWait(200);
        QCOMPARE(fake->Started(), afterSave);
    }
};

} // namespace tilava

QTEST_MAIN(tilava::WidgetSyncTest)
#include "WidgetSyncTest.moc"
