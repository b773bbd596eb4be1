#include "WidgetSupport.h"

#include "platform/SingleInstance.h"
#include "ui/desktop/InstanceChannel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

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
    void druhyStart_data();
    void druhyStart();

private:
    QProcess* DruhaKopia(bool sBusom);

    QProcess zbernica_;
    QString adresa_;
    QTemporaryDir runtime_, data_, config_;
};

void SecondStartPosixTest::initTestCase() {
    // The claim lives in $XDG_RUNTIME_DIR; both copies use the same one.
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
    // A private session bus, so the test neither needs nor touches the user's own. It must be
    // set before this process first asks for the session bus.
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    QVERIFY2(!daemon.isEmpty(), "dbus-daemon is missing: scripts/install-deps.sh test");
    zbernica_.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                             QStringLiteral("--print-address=1")});
    QVERIFY(zbernica_.waitForStarted(5000));
    QElapsedTimer cas;
    cas.start();
    while (!zbernica_.canReadLine() && cas.elapsed() < 5000)
        zbernica_.waitForReadyRead(100);
    adresa_ = QString::fromLocal8Bit(zbernica_.readLine()).trimmed();
    QVERIFY2(adresa_.startsWith(QStringLiteral("unix:")), qPrintable(adresa_));
    qputenv("DBUS_SESSION_BUS_ADDRESS", adresa_.toLocal8Bit());
}

void SecondStartPosixTest::cleanupTestCase() {
    zbernica_.terminate();
    zbernica_.waitForFinished(3000);
}

QProcess* SecondStartPosixTest::DruhaKopia(bool sBusom) {
    auto* proces = new QProcess(this);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), data_.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config_.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (sBusom) {
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), adresa_);
    } else {
        // No bus at all: no address, no bus in the runtime folder, no X display to start one.
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        env.remove(QStringLiteral("DISPLAY"));
    }
    proces->setProcessEnvironment(env);
    proces->setProcessChannelMode(QProcess::SeparateChannels);
    proces->start(QStringLiteral(TILAVA_EXE), {});
    return proces;
}

// pocuvaOdMs: when the running copy takes its name on the bus, counted from the second start
// (negative: never, as a copy that is stuck).
void SecondStartPosixTest::druhyStart_data() {
    QTest::addColumn<bool>("sBusom");
    QTest::addColumn<int>("pocuvaOdMs");
    QTest::addColumn<bool>("ukaze");
    QTest::newRow("beziaca kopia pocuva") << true << 0 << true;
    QTest::newRow("beziaca kopia este startuje") << true << 600 << true;
    QTest::newRow("beziaca kopia nepocuva") << true << -1 << false;
    QTest::newRow("bez zbernice") << false << 0 << false;
}

void SecondStartPosixTest::druhyStart() {
    QFETCH(bool, sBusom);
    QFETCH(int, pocuvaOdMs);
    QFETCH(bool, ukaze);

    SingleInstance jedina;
    QVERIFY(jedina.JePrva());
    test::WidgetWorld svet(year{2025} / 3 / 30);
    auto w = svet.Start();
    auto kanal = std::make_unique<InstanceChannel>();
    connect(kanal.get(), &InstanceChannel::zobrazit, w.get(), &TfrmMain::Ukaz);
    bool pocuva = false;
    if (pocuvaOdMs == 0)
        pocuva = kanal->Pocuvaj();
    else if (pocuvaOdMs > 0)
        QTimer::singleShot(pocuvaOdMs, kanal.get(), [&] { pocuva = kanal->Pocuvaj(); });
    QVERIFY(!w->isVisible());

    QElapsedTimer cas;
    cas.start();
    QProcess* druha = DruhaKopia(sBusom);
    if (ukaze)
        QTRY_VERIFY_WITH_TIMEOUT(w->isVisible(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(druha->state(), QProcess::NotRunning, 10000);
    QCOMPARE(druha->exitStatus(), QProcess::NormalExit);
    QCOMPARE(druha->exitCode(), 0);
    QVERIFY(cas.elapsed() < 8000);
    QCOMPARE(pocuva, pocuvaOdMs >= 0);
    QCOMPARE(w->isVisible(), ukaze);
    // Quietly: a second copy that cannot reach the first says nothing alarming either.
    QCOMPARE(QString::fromLocal8Bit(druha->readAllStandardError()), QString());
    QCOMPARE(QString::fromLocal8Bit(druha->readAllStandardOutput()), QString());
    // The second copy built nothing of its own: no notes folder, no settings.
    QVERIFY(QDir(data_.path()).isEmpty());
    QVERIFY(QDir(config_.path()).isEmpty());
}

} // namespace tilava

QTEST_MAIN(tilava::SecondStartPosixTest)
#include "SecondStartPosixTest.moc"
