// The widget's calendar sync: the tray's "Synchronizovať" runs it off the window thread with the
// item shut meanwhile and tells its report as the report needs, "Ukončit" does not wait for it,
// and the automatic syncs run only once the sync is set up.
#include "ModalSupport.h"
#include "WeekSupport.h"
#include "WidgetSupport.h"

#include "ui/windows/CalendarSyncRunner.h"
#include "ui/windows/SyncSettingsDialog.h"

#include <QAction>
#include <QLabel>
#include <QtTest>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace tilava {

using namespace std::chrono;

namespace {

// Stands in for the sync: counts its runs and their ends, notes whether one ran on the window
// thread, and waits until released (at most 10 s) before it answers.
struct FakeSync {
    std::mutex mutex;
    std::condition_variable changed;
    bool released = false, onWindowThread = false;
    int started = 0, ended = 0;
    ExchangeResult answer;
    std::function<void()> work; // what it does to the day files
    std::vector<bool> requests; // each run's allowManyRemovals
    std::function<void(int, int)> progress;

    int Count(const int& counter) {
        const std::lock_guard lock(mutex);
        return counter;
    }
    void Release() {
        const std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
    CalendarSyncRunner::SyncWork Runs() {
        return [this, window = std::this_thread::get_id()](const auto&, const auto&,
                                                           const SyncRequest& request) {
            std::unique_lock lock(mutex);
            ++started;
            onWindowThread = onWindowThread || std::this_thread::get_id() == window;
            requests.push_back(request.allowManyRemovals);
            if (request.progress)
                progress = request.progress;
            changed.wait_for(lock, 10s, [this] { return released; });
            if (work)
                work();
            ++ended;
            changed.notify_all();
            return answer;
        };
    }
};

void SetUp(MemoryHive& hive, const QString& calendar, const QString& user, const QString& every) {
    hive.PutString(HiveKey::Settings, "SyncCalendar", calendar.toStdString());
    hive.PutString(HiveKey::Settings, "SyncUser", user.toStdString());
    hive.PutString(HiveKey::Settings, "SyncEvery", every.toStdString());
}

} // namespace

class WidgetSyncTest : public QObject {
    Q_OBJECT
private slots:
    void trayItem_data() {
        QTest::addColumn<bool>("setUp");
        QTest::addColumn<bool>("success");
        QTest::addColumn<bool>("remarks"); // the report holds what the user must read
        QTest::addColumn<bool>("quit");    // "Ukončit" while the sync runs
        // "note" (from the tray icon), "box", "dialog" (the sync's settings), "nothing"
        QTest::addColumn<QString>("told");
        QTest::newRow("a plain success: a note") << true << true << false << false << "note";
        QTest::newRow("remarks: a message box") << true << true << true << false << "box";
        QTest::newRow("a failure: a message box") << true << false << false << false << "box";
        QTest::newRow("not set up: the settings") << false << true << false << false << "dialog";
        QTest::newRow("Ukončit does not wait") << true << true << false << true << "nothing";
    }
    void trayItem() {
        QFETCH(bool, setUp);
        QFETCH(bool, success);
        QFETCH(bool, remarks);
        QFETCH(bool, quit);
        QFETCH(QString, told);
        test::WidgetWorld world(2024y / 3 / 13);
        world.tray = true;
        if (setUp)
            SetUp(world.hive, "https://cal.example.org/a/", "alice", "0");
        auto w = world.StartShown();
        FakeSync fake;
        const QString report = "Synchronizácia prebehla.\nZo servera do poznámok: pridané 1.";
        fake.answer = {success, report.toStdString(), remarks};
        // The sync brings a birthday for today.
        fake.work = [&world] { world.WriteEntries(13, 3, {{2, 1980, "Ľubica"}}); };
        w->Sync().ReplaceWork(fake.Runs());
        auto* item = w->findChild<QAction*>(QStringLiteral("Synchronizovat1"));
        QVERIFY(item && item->isEnabled());
        if (!setUp) {
            bool seen = false;
            test::WhenActive<SyncSettingsDialog>([](SyncSettingsDialog&) {}, &seen);
            item->trigger();
            QTRY_VERIFY(seen);
            QCOMPARE(fake.Count(fake.started), 0);
            return;
        }
        item->trigger();
        QTRY_COMPARE(fake.Count(fake.started), 1);
        // The window thread is here while the sync waits; the item is shut, no second one starts.
        QCOMPARE(fake.Count(fake.ended), 0);
        QCOMPARE(item->text(), QStringLiteral("Synchronizuje sa…"));
        QVERIFY(!item->isEnabled());
        QVERIFY(!w->Sync().Start(CalendarSyncRunner::Origin::Timer));
        if (quit) {
            QSignalSpy closed(w.get(), &TfrmMain::closed);
            w->findChild<QAction*>(QStringLiteral("Ukoncit1"))->trigger();
            QTRY_COMPARE(closed.size(), 1);
            QVERIFY(!w->Sync().WaitForEnd(10ms));
            w.reset(); // the sync's end then reaches nothing
        }
        fake.Release();
        QTRY_COMPARE(fake.Count(fake.ended), 1);
        QVERIFY(!fake.onWindowThread);
        if (w) {
            QTRY_VERIFY(item->isEnabled());
            QCOMPARE(item->text(), QStringLiteral("Synchronizovať"));
            // The reminders were built anew as the sync ended.
            QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblNote"))->text(),
                     QStringLiteral("Ľubica 44. narodeniny"));
        }
        QTest::qWait(20);
        QCOMPARE(world.notifier.notes, told == "note" ? QStringList{report} : QStringList());
        QCOMPARE(world.notifier.messages, told == "box" ? QStringList{report} : QStringList());
    }

    // A sync that withheld many removals asks before it makes them ("Ponechať" the default);
    // "Odstrániť" runs it again allowing them. The user's own sync asks every time, an automatic
    // one once for the same count.
    void withheldRemovalsAreAsked_data() {
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<int>("answer");       // 0 Ponechať, 1 Odstrániť
        QTest::addColumn<QList<bool>>("runs"); // allowManyRemovals of each run, two syncs
        QTest::addColumn<int>("questions");
        QTest::newRow("menu: kept") << false << 0 << QList<bool>{false, false} << 2;
        QTest::newRow("menu: removed") << false << 1 << QList<bool>{false, true, false, true} << 2;
        QTest::newRow("timer: kept, asked once") << true << 0 << QList<bool>{false, false} << 1;
    }
    void withheldRemovalsAreAsked() {
        QFETCH(bool, automatic);
        QFETCH(int, answer);
        QFETCH(QList<bool>, runs);
        QFETCH(int, questions);
        test::WidgetWorld world(2024y / 3 / 13);
        SetUp(world.hive, "https://cal.example.org/a/", "alice", "0");
        auto w = world.StartShown();
        std::mutex mutex;
        QList<bool> allowed;
        w->Sync().ReplaceWork([&](const auto&, const auto&, const SyncRequest& request) {
            const std::lock_guard lock(mutex);
            allowed << request.allowManyRemovals;
            ExchangeResult result{true, "Synchronizácia prebehla.", true};
            result.withheldRemovals = request.allowManyRemovals ? 0 : 336;
            return result;
        });
        world.notifier.answer = [answer](int) { return answer; };
        for (int sync = 0; sync < 2; ++sync) {
            QVERIFY(w->Sync().Start(automatic ? CalendarSyncRunner::Origin::Timer
                                              : CalendarSyncRunner::Origin::Menu));
            QTRY_VERIFY(!w->Sync().Running() && [&] {
                const std::lock_guard lock(mutex);
                return allowed.size() == (answer == 1 ? 2 : 1) * (sync + 1);
            }());
        }
        QCOMPARE(allowed, runs);
        QCOMPARE(world.notifier.questions.size(), questions);
        QVERIFY2(world.notifier.questions[0].startsWith(
                     QStringLiteral("Synchronizácia by odstránila 336 záznamov z poznámok")),
                 qPrintable(world.notifier.questions[0]));
        QCOMPARE(world.notifier.questionChoices[0],
                 (QStringList{QStringLiteral("Ponechať"), QStringLiteral("Odstrániť")}));
    }

    // A long sync shows its progress in the tray's item and tooltip; an automatic sync's
    // remarks come as a warning note and stay in the tray's menu until they are read.
    void progressAndUnreadReports() {
        test::WidgetWorld world(2024y / 3 / 13);
        world.tray = true;
        SetUp(world.hive, "https://cal.example.org/a/", "alice", "0");
        auto w = world.StartShown();
        FakeSync fake;
        fake.answer = {true, "Synchronizácia prebehla.", false};
        w->Sync().ReplaceWork(fake.Runs());
        auto* item = w->findChild<QAction*>(QStringLiteral("Synchronizovat1"));
        auto* report = w->findChild<QAction*>(QStringLiteral("SpravaSynchronizacie1"));
        QVERIFY(item && report && !report->isVisible());
        item->trigger();
        QTRY_COMPARE(fake.Count(fake.started), 1);
        std::function<void(int, int)> progress;
        {
            const std::lock_guard lock(fake.mutex);
            progress = fake.progress;
        }
        QVERIFY(progress);
        progress(120, 303);
        QTRY_COMPARE(item->text(), QStringLiteral("Synchronizuje sa… 120 z 303"));
        QVERIFY(w->Tray()->toolTip().endsWith(QStringLiteral("\nSynchronizuje sa… 120 z 303")));
        fake.Release();
        QTRY_VERIFY(item->isEnabled());
        QCOMPARE(item->text(), QStringLiteral("Synchronizovať"));
        QCOMPARE(w->Tray()->toolTip(), w->TextTooltipu());

        const QString conflict = QStringLiteral(
            "Synchronizácia prebehla.\nKonflikty (záznam zmenený na oboch stranách):\n  Jano");
        fake.answer = {true, conflict.toStdString(), true};
        QVERIFY(w->Sync().Start(CalendarSyncRunner::Origin::Timer));
        QTRY_VERIFY(report->isVisible());
        QCOMPARE(world.notifier.warnings, QStringList{conflict});
        QCOMPARE(world.notifier.notes, QStringList{QStringLiteral("Synchronizácia prebehla.")});
        QVERIFY(world.notifier.messages.isEmpty());
        report->trigger();
        QTRY_COMPARE(world.notifier.messages, QStringList{conflict});
        QVERIFY(!report->isVisible());
    }

    void automaticSyncs_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("every");
        QTest::addColumn<int>("interval");  // of the automatic sync's timer; -1 when off
        QTest::addColumn<int>("afterSave"); // syncs after the week window saved; -1: not saved
        QTest::newRow("nothing set: off") << ""
                                          << "" << -1 << 0;
        QTest::newRow("set up, 0 minutes: after a save") << "alice"
                                                         << "0" << -1 << 1;
        QTest::newRow("every 15 minutes") << "alice"
                                          << "15" << 15 * 60000 << -1;
        QTest::newRow("15 minutes without a user: off") << ""
                                                        << "15" << -1 << -1;
    }
    // Every N minutes once set up (off by default), and once a short while after the week
    // window saved, however many saves came within it; a repeated failure is told once.
    void automaticSyncs() {
        QFETCH(QString, user);
        QFETCH(QString, every);
        QFETCH(int, interval);
        QFETCH(int, afterSave);
        test::WidgetWorld world(2024y / 3 / 13); // a Wednesday
        world.tray = true;
        if (!every.isEmpty())
            SetUp(world.hive, "https://cal.example.org/a/", user, every);
        auto w = world.StartShown();
        FakeSync fake;
        fake.answer = {false, "Server cal.example.org neodpovedá."};
        fake.Release();
        w->Sync().ReplaceWork(fake.Runs());
        auto* timer = w->findChild<QTimer*>(QStringLiteral("syncEvery"));
        QCOMPARE(timer->isActive() ? timer->interval() : -1, interval);
        if (interval > 0) {
            timer->setInterval(20);
            QTRY_VERIFY(fake.Count(fake.ended) >= 3);
            timer->stop();
            QTRY_VERIFY(!w->Sync().Running());
            QCOMPARE(world.notifier.warnings, QStringList{"Server cal.example.org neodpovedá."});
            QCOMPARE(world.notifier.messages, QStringList());
        }
        if (afterSave < 0)
            return;
        bool week = false, editor = false;
        test::WhenActive<TfrmTyzden>(
            [&](TfrmTyzden& window) {
                test::AddBirthdayInWeek(window, editor);
                QTest::keyClick(window.focusWidget(), Qt::Key_Escape); // closes, saving
            },
            &week);
        QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("Image1")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(week && editor && !QApplication::activeModalWidget(), 6000);
        auto* delay = w->findChild<QTimer*>(QStringLiteral("syncAfterSave"));
        QVERIFY(delay->isActive() && delay->interval() == 10000);
        QCOMPARE(fake.Count(fake.started), 0);
        w->Sync().ChangesSaved();
        delay->setInterval(10);
        w->Sync().ChangesSaved();
        QTest::qWait(200);
        QCOMPARE(fake.Count(fake.started), afterSave);
    }
};

} // namespace tilava

QTEST_MAIN(tilava::WidgetSyncTest)
#include "WidgetSyncTest.moc"
