#include "WidgetSupport.h"

#include "platform/SingleInstance.h"
#include "ui/InstanceChannel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono;

namespace tilava {

// The running copy is this test: it holds the single-instance claim in a runtime folder of its
// own and listens; the real program started beside it is the second copy.
class SecondStartTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void druhyStartUkazeBeziaciWidget();
    void druhyStartSkonciAjBezOdpovede();
    void socketPoPadnutejKopiiNevadi();

private:
    QProcess* DruhaKopia();

    QTemporaryDir runtime_, data_, config_;
};

void SecondStartTest::init() {
    // The claim and the socket live in $XDG_RUNTIME_DIR; both copies use the same one.
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
}

QProcess* SecondStartTest::DruhaKopia() {
    auto* proces = new QProcess(this);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), data_.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config_.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    proces->setProcessEnvironment(env);
    proces->setProcessChannelMode(QProcess::ForwardedChannels);
    proces->start(QStringLiteral(TILAVA_EXE), {});
    return proces;
}

void SecondStartTest::druhyStartUkazeBeziaciWidget() {
    SingleInstance jedina;
    QVERIFY(jedina.JePrva());
    test::WidgetWorld svet(year{2025} / 3 / 30);
    auto w = svet.Start();
    InstanceChannel kanal;
    connect(&kanal, &InstanceChannel::zobrazit, w.get(), &TfrmMain::Ukaz);
    QVERIFY(kanal.Pocuvaj());
    QVERIFY(!w->isVisible());

    QProcess* druha = DruhaKopia();
    QTRY_VERIFY_WITH_TIMEOUT(w->isVisible(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(druha->state(), QProcess::NotRunning, 10000);
    QCOMPARE(druha->exitStatus(), QProcess::NormalExit);
    QCOMPARE(druha->exitCode(), 0);
    // The second copy built nothing of its own: no notes folder, no settings.
    QVERIFY(QDir(data_.path()).isEmpty());
    QVERIFY(QDir(config_.path()).isEmpty());
}

void SecondStartTest::druhyStartSkonciAjBezOdpovede() {
    SingleInstance jedina; // a running copy that does not listen (still starting, or stuck)
    QVERIFY(jedina.JePrva());
    QElapsedTimer cas;
    cas.start();
    QProcess* druha = DruhaKopia();
    QTRY_COMPARE_WITH_TIMEOUT(druha->state(), QProcess::NotRunning, 10000);
    QCOMPARE(druha->exitCode(), 0);
    QVERIFY(cas.elapsed() < 8000);
    QVERIFY(QDir(data_.path()).isEmpty());
}

void SecondStartTest::socketPoPadnutejKopiiNevadi() {
    SingleInstance jedina;
    QVERIFY(jedina.JePrva());
    QFile zvysok(InstanceChannel::NazovKanala());
    QVERIFY(zvysok.open(QIODevice::WriteOnly)); // left behind by a copy that crashed
    zvysok.close();
    InstanceChannel kanal;
    QVERIFY(kanal.Pocuvaj());
    int ziadosti = 0;
    connect(&kanal, &InstanceChannel::zobrazit, this, [&] { ++ziadosti; });
    QVERIFY(InstanceChannel::PoziadajOZobrazenie(InstanceChannel::NazovKanala(), 2000));
    QTRY_COMPARE_WITH_TIMEOUT(ziadosti, 1, 2000);
}

} // namespace tilava

QTEST_MAIN(tilava::SecondStartTest)
#include "SecondStartTest.moc"
