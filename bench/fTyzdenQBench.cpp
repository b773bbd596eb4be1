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
    explicit PrvaKresba(const QElapsedTimer& clock) : clock_(clock) {}
    qint64 nanosekundy = -1;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (nanosekundy < 0 && event->type() == QEvent::Paint && object->parent() &&
            object->parent()->objectName() == QLatin1String("lstDen7")) {
            nanosekundy = clock_.nsecsElapsed();
            QTimer::singleShot(0, [] {
                if (auto* window = qobject_cast<TfrmTyzden*>(QApplication::activeModalWidget()))
                    window->Close();
            });
        }
        return false;
    }

private:
    const QElapsedTimer& clock_;
};

} // namespace

class fTyzdenQBench : public QObject {
    Q_OBJECT

    TRok rok;
    MemoryHive hive;
    TRegi regi{hive};
    QTemporaryDir folder;
    FixedClock clock{year{2024} / 3 / 13, hours{10}};
    SystemNotifier notifier;
    SystemPageOpener web;

    void Open(const std::function<void(TfrmTyzden&)>& action) {
        QTimer waiting;
        waiting.setInterval(1);
        connect(&waiting, &QTimer::timeout, this, [&] {
            auto* window = qobject_cast<TfrmTyzden*>(QApplication::activeModalWidget());
            if (!window || window->Zaneprazdneny)
                return;
            waiting.stop();
            action(*window);
            window->Close();
        });
        waiting.start();
        OtvorKalendar(rok, regi, folder.path().toStdString(), clock, notifier, web, nullptr);
    }

private slots:
    void initTestCase() {
        InitSkinResources();
        rok.Naplnit();
    }

    void weekStep() {
        Open([](TfrmTyzden& window) {
            int steps = 0;
            int all = 0;
            QBENCHMARK {
                ++all;
                if (window.Prikaz(3000) == TTyzden::Done)
                    ++steps;
                window.repaint();
            }
            QVERIFY(steps > 0);
            qInfo("%d of %d steps, now %s", steps, all,
                  qPrintable(window.findChild<QLabel*>(QStringLiteral("lblTyzden"))->text()));
        });
    }

    void openToFirstPaint() {
        // One opening first, so fonts and pictures are as warm as at the widget's click.
        std::vector<double> casy;
        for (int k = 0; k < 26; ++k) {
            QElapsedTimer clockTime;
            PrvaKresba kresba(clockTime);
            qApp->installEventFilter(&kresba);
            clockTime.start();
            OtvorKalendar(rok, regi, folder.path().toStdString(), clock, notifier, web, nullptr);
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
