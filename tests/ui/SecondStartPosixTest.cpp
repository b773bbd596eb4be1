#include "WidgetSupport.h"

#include "platform/SingleInstance.h"
#include "ui/desktop/InstanceChannel.h"
#include "ui/windows/CalendarSyncRunner.h"
#include "ui/windows/ProgramEnd.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include <sys/types.h>

using namespace std::chrono;

namespace tilava {

// The running copy is this test: it holds the single-instance claim in a runtime folder of its
// own and owns the program's name on a session bus of its own; the real program started beside
// it is the second copy.
class SecondStartPosixTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void secondStart_data();
    void secondStart();
    void aStartWhileTheEndWaitsForTheSyncRuns();

private:
    QProcess* SecondCopy(bool withBus);

    QProcess bus_;
    QString address_;
    QTemporaryDir runtime_, data_, config_;
};

void SecondStartPosixTest::initTestCase() {
    // The claim lives in $XDG_RUNTIME_DIR; both copies use the same one.
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
    // A private session bus, so the test neither needs nor touches the user's own. It must be
    // set before this process first asks for the session bus.
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    QVERIFY2(!daemon.isEmpty(), "dbus-daemon is missing: scripts/install-deps.sh test");
    bus_.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")});
    QVERIFY(bus_.waitForStarted(5000));
    QElapsedTimer clockTime;
    clockTime.start();
    while (!bus_.canReadLine() && clockTime.elapsed() < 5000)
        bus_.waitForReadyRead(100);
    address_ = QString::fromLocal8Bit(bus_.readLine()).trimmed();
    QVERIFY2(address_.startsWith(QStringLiteral("unix:")), qPrintable(address_));
    qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toLocal8Bit());
}

void SecondStartPosixTest::cleanupTestCase() {
    bus_.terminate();
    bus_.waitForFinished(3000);
}

QProcess* SecondStartPosixTest::SecondCopy(bool withBus) {
    auto* process = new QProcess(this);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), data_.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config_.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (withBus) {
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
    } else {
        // No bus at all: no address, no bus in the runtime folder, no X display to start one.
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        env.remove(QStringLiteral("DISPLAY"));
    }
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->start(QStringLiteral(TILAVA_EXE), {});
    return process;
}

// listeningAfterMs: when the running copy takes its name on the bus, counted from the second start
// (negative: never, as a copy that is stuck).
void SecondStartPosixTest::secondStart_data() {
    QTest::addColumn<bool>("withBus");
    QTest::addColumn<int>("listeningAfterMs");
    QTest::addColumn<bool>("shows");
    QTest::newRow("beziaca kopia pocuva") << true << 0 << true;
    QTest::newRow("beziaca kopia este startuje") << true << 600 << true;
    QTest::newRow("beziaca kopia nepocuva") << true << -1 << false;
    QTest::newRow("bez zbernice") << false << 0 << false;
}

void SecondStartPosixTest::secondStart() {
    QFETCH(bool, withBus);
    QFETCH(int, listeningAfterMs);
    QFETCH(bool, shows);

    SingleInstance single;
    QVERIFY(single.IsFirst());
    test::WidgetWorld world(year{2025} / 3 / 30);
    auto w = world.Start();
    auto channel = std::make_unique<InstanceChannel>();
    connect(channel.get(), &InstanceChannel::showRequested, w.get(), &TfrmMain::Ukaz);
    bool listening = false;
    if (listeningAfterMs == 0)
        listening = channel->Listen();
    else if (listeningAfterMs > 0)
        QTimer::singleShot(listeningAfterMs, channel.get(), [&] { listening = channel->Listen(); });
    QVERIFY(!w->isVisible());

    QElapsedTimer clockTime;
    clockTime.start();
    QProcess* second = SecondCopy(withBus);
    if (shows)
        QTRY_VERIFY_WITH_TIMEOUT(w->isVisible(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(second->state(), QProcess::NotRunning, 10000);
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QVERIFY(clockTime.elapsed() < 8000);
    QCOMPARE(listening, listeningAfterMs >= 0);
    QCOMPARE(w->isVisible(), shows);
    // Quietly: a second copy that cannot reach the first says nothing alarming either.
    QCOMPARE(QString::fromLocal8Bit(second->readAllStandardError()), QString());
    QCOMPARE(QString::fromLocal8Bit(second->readAllStandardOutput()), QString());
    // The second copy built nothing of its own: no notes folder, no settings.
    QVERIFY(QDir(data_.path()).isEmpty());
    QVERIFY(QDir(config_.path()).isEmpty());
}

// "Ukončit" while a sync waits for its server, and a start while the ending copy waits for it:
// the ending copy has given up its claim and its name by then, so the new start runs.
void SecondStartPosixTest::aStartWhileTheEndWaitsForTheSyncRuns() {
    std::optional<SingleInstance> single(std::in_place);
    QVERIFY(single->IsFirst());
    test::WidgetWorld world(year{2025} / 3 / 30);
    world.hive.PutString(HiveKey::Settings, "SyncCalendar", "https://cal.example.org/a/");
    world.hive.PutString(HiveKey::Settings, "SyncUser", "alice");
    auto w = world.Start();
    std::optional<InstanceChannel> channel(std::in_place);
    QVERIFY(channel->Listen());
    QTemporaryDir data, config;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
    // The user starts the program again while the ending copy waits for the sync's server.
    std::atomic<qint64> next = 0;
    w->Sync().ReplaceWork([&](const auto&, const auto&, const SyncRequest&) {
        std::this_thread::sleep_for(300ms);
        QProcess start;
        start.setProgram(QStringLiteral(TILAVA_EXE));
        start.setProcessEnvironment(env);
        qint64 pid = 0;
        if (start.startDetached(&pid))
            next = pid;
        std::this_thread::sleep_for(1200ms);
        return ExchangeResult{true, "", false};
    });
    QVERIFY(w->Sync().Start(CalendarSyncRunner::Origin::Menu));
    w->close();
    QVERIFY(EndProgram(single, channel, w->Sync(), 5s));
    QVERIFY(next > 0);
    const auto pid = static_cast<pid_t>(next.load());
    // The new copy ends with the test, also when a check fails.
    const std::unique_ptr<void, std::function<void(void*)>> ending(
        &next, [pid](void*) { ::kill(pid, SIGTERM); });
    // Longer than a second copy tries to reach the running one: the new start is the running
    // copy now.
    QTest::qWait(4000);
    QCOMPARE(::kill(pid, 0), 0);
    QVERIFY(!SingleInstance().IsFirst());
}

} // namespace tilava

QTEST_MAIN(tilava::SecondStartPosixTest)
#include "SecondStartPosixTest.moc"
