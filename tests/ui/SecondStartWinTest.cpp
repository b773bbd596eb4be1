#include "WidgetSupport.h"

#include "platform/SingleInstance.h"
#include "ui/desktop/InstanceChannel.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace std::chrono;

namespace tilava {

// The running copy is this test: it holds the single-instance mutex and waits on the show
// event; the real program started beside it is the second copy.
class SecondStartWinTest : public QObject {
    Q_OBJECT
private slots:
    void secondStart_data();
    void secondStart();
};

// listensAfterMs: when the running copy starts to listen, counted from the second start
// (negative: never, as a copy that is stuck).
void SecondStartWinTest::secondStart_data() {
    QTest::addColumn<int>("listensAfterMs");
    QTest::addColumn<bool>("shows");
    QTest::newRow("running copy listens") << 0 << true;
    QTest::newRow("running copy still starting") << 600 << true;
    QTest::newRow("running copy does not listen") << -1 << false;
}

void SecondStartWinTest::secondStart() {
    QFETCH(int, listensAfterMs);
    QFETCH(bool, shows);

    SingleInstance instance;
    QVERIFY(instance.IsFirst());
    test::WidgetWorld world(year{2025} / 3 / 30);
    auto widget = world.Start();
    auto channel = std::make_unique<InstanceChannel>();
    connect(channel.get(), &InstanceChannel::showRequested, widget.get(), &TfrmMain::Ukaz);
    bool listens = false;
    if (listensAfterMs == 0)
        listens = channel->Listen();
    else if (listensAfterMs > 0)
        QTimer::singleShot(listensAfterMs, channel.get(), [&] { listens = channel->Listen(); });
    QVERIFY(!widget->isVisible());

    QElapsedTimer time;
    time.start();
    QProcess second;
    second.start(QStringLiteral(TILAVA_EXE), {});
    if (shows)
        QTRY_VERIFY_WITH_TIMEOUT(widget->isVisible(), 15000);
    QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 15000);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(time.elapsed() < 12000);
    QCOMPARE(listens, listensAfterMs >= 0);
    QCOMPARE(widget->isVisible(), shows);
    QCOMPARE(QString::fromLocal8Bit(second.readAllStandardError()), QString());
    QCOMPARE(QString::fromLocal8Bit(second.readAllStandardOutput()), QString());
}

} // namespace tilava

QTEST_MAIN(tilava::SecondStartWinTest)
#include "SecondStartWinTest.moc"
