// The week window's two costs a user feels: one step to the next week (command 3000 with the
// redraw of all seven rows, nothing edited), and the time from OtvorKalendar to the window's
// first paint. Run on the offscreen platform, release build:
//   QT_QPA_PLATFORM=offscreen build/hE-rel/bench/bench_fTyzdenQBench -median 9
#include "core/Clock.h"
#include "core/uRok.h"
#include "model/uTyzden.h"
#include "platform/MemoryHive.h"
#include "store/uRegi.h"
#include "ui/desktop/PageOpener.h"
#include "ui/desktop/SystemNotifier.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/fTyzden.h"
#include "ui/windows/OtvorKalendar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <vector>

using namespace std::chrono;

namespace tilava {

namespace {

// Records the moment painting of the week window reaches its last control (Sunday's list).
class PrvaKresba final : public QObject {
public:
    explicit PrvaKresba(const QElapsedTimer& hodiny) : hodiny_(hodiny) {}
    qint64 nanosekundy = -1;

protected:
    bool eventFilter(QObject* objekt, QEvent* udalost) override {
        if (nanosekundy < 0 && udalost->type() == QEvent::Paint && objekt->parent() &&
            objekt->parent()->objectName() == QLatin1String("lstDen7")) {
            nanosekundy = hodiny_.nsecsElapsed();
            QTimer::singleShot(0, [] {
                if (auto* okno = qobject_cast<TfrmTyzden*>(QApplication::activeModalWidget()))
                    okno->Zatvor();
            });
        }
        return false;
    }

private:
    const QElapsedTimer& hodiny_;
};

} // namespace

class fTyzdenQBench : public QObject {
    Q_OBJECT

    TRok rok;
    MemoryHive hive;
    TRegi regi{hive};
    QTemporaryDir priecinok;
    FixedClock hodiny{year{2024} / 3 / 13, hours{10}};
    SystemNotifier oznamy;
    SystemPageOpener web;

    void Otvor(const std::function<void(TfrmTyzden&)>& akcia) {
        QTimer cakanie;
        cakanie.setInterval(1);
        connect(&cakanie, &QTimer::timeout, this, [&] {
            auto* okno = qobject_cast<TfrmTyzden*>(QApplication::activeModalWidget());
            if (!okno || okno->Zaneprazdneny)
                return;
            cakanie.stop();
            akcia(*okno);
            okno->Zatvor();
        });
        cakanie.start();
        OtvorKalendar(rok, regi, priecinok.path().toStdString(), hodiny, oznamy, web, nullptr);
    }

private slots:
    void initTestCase() {
        InitSkinResources();
        rok.Naplnit();
    }

    void weekStep() {
        Otvor([](TfrmTyzden& okno) {
            int krokov = 0;
            int vsetky = 0;
            QBENCHMARK {
                ++vsetky;
                if (okno.Prikaz(3000) == TTyzden::Hotovo)
                    ++krokov;
                okno.repaint();
            }
            QVERIFY(krokov > 0);
            qInfo("%d of %d steps, now %s", krokov, vsetky,
                  qPrintable(okno.findChild<QLabel*>(QStringLiteral("lblTyzden"))->text()));
        });
    }

    void openToFirstPaint() {
        // One opening first, so fonts and pictures are as warm as at the widget's click.
        std::vector<double> casy;
        for (int k = 0; k < 26; ++k) {
            QElapsedTimer cas;
            PrvaKresba kresba(cas);
            qApp->installEventFilter(&kresba);
            cas.start();
            OtvorKalendar(rok, regi, priecinok.path().toStdString(), hodiny, oznamy, web, nullptr);
            qApp->removeEventFilter(&kresba);
            QVERIFY(kresba.nanosekundy > 0);
            if (k > 0)
                casy.push_back(static_cast<double>(kresba.nanosekundy) / 1e6);
        }
        std::sort(casy.begin(), casy.end());
        const double median = casy[casy.size() / 2];
        qInfo("open to first paint: median %.2f ms of %zu (min %.2f, max %.2f)", median,
              casy.size(), casy.front(), casy.back());
        QTest::setBenchmarkResult(median, QTest::WalltimeMilliseconds);
    }
};

} // namespace tilava

QTEST_MAIN(tilava::fTyzdenQBench)
#include "fTyzdenQBench.moc"
