// The widget's commands as a user reaches them: a click on the day opens the week window, where
// a new birthday goes through the editor into its day file and back onto the widget; the right
// button and the gear open the settings, the "?" button the about window; the tray icon hides
// and shows the widget, and its "Ukončit" ends the program from inside those windows too.
#include "AccessibleSupport.h"
#include "ModalSupport.h"
#include "WidgetSupport.h"

#include "core/Cp1250.h"
#include "ui/desktop/SessionEnd.h"
#include "ui/windows/fAbout.h"
#include "ui/windows/fSetup.h"
#include "ui/windows/fTyzden.h"
#include "ui/windows/fUdalost.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTimer>
#include <QtTest>
#include <QWindow>

#include <csignal>
#include <functional>

namespace tilava {

using namespace std::chrono;

namespace {

void Pis(QWidget* w, const QString& text) {
    for (const QChar znak : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(znak), Qt::NoModifier);
}

QString TextPripomienok(QWidget& w) {
    return w.findChild<QLabel*>(QStringLiteral("lblNote"))->text();
}

// In the week window: a click into Wednesday's list opens the editor, where "Ľubica" is typed
// and confirmed as a birthday of 1980; the window stays open.
void AddBirthdayInWeek(TfrmTyzden& week, bool& editorSeen) {
    test::WhenActive<TfrmUdalost>(
        [](TfrmUdalost& e) {
            Pis(e.findChild<QLineEdit*>(QStringLiteral("txtNar")), QStringLiteral("Ľubica"));
            QTest::keyClick(e.focusWidget(), Qt::Key_Return);
            QTest::keyClick(e.focusWidget(), Qt::Key_Return);
        },
        &editorSeen);
    QTest::mouseClick(week.Zoznam(3)->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
}

} // namespace

class WidgetCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void novaOslavaZTyzdnaNaWidgete() {
        test::WidgetWorld svet(2024y / 3 / 13); // a Wednesday
        auto w = svet.Start();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(TextPripomienok(*w).isEmpty());

        bool tyzden = false, editor = false;
        test::WhenActive<TfrmTyzden>(
            [&](TfrmTyzden& okno) {
                AddBirthdayInWeek(okno, editor);
                QTest::keyClick(okno.focusWidget(), Qt::Key_Escape); // closes, saving
            },
            &tyzden);
        QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("Image1")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(tyzden && !QApplication::activeModalWidget(), 6000);
        QVERIFY(editor);

        QFile subor(svet.Subor(13, 3));
        QVERIFY(subor.open(QIODevice::ReadOnly));
        QCOMPARE(subor.readAll().toStdString(),
                 "!\r\n-1\r\n2\r\n1980\r\n" + EncodeCp1250("Ľubica") + "\r\n");
        QTRY_COMPARE(TextPripomienok(*w), QStringLiteral("Ľubica 44. narodeniny"));
        QVERIFY(w->Odpocet().Bezi);
    }

    void oknaPrikazov_data() {
        QTest::addColumn<QString>("ovladac");
        QTest::addColumn<int>("tlacidlo");
        QTest::addColumn<QString>("okno");
        QTest::addColumn<int>("kluc"); // pressed on the widget instead of the click
        QTest::newRow("right click on the names")
            << "Image1" << int(Qt::RightButton) << "setup" << 0;
        QTest::newRow("gear") << "imgSetup" << int(Qt::LeftButton) << "setup" << 0;
        QTest::newRow("about button") << "imgHelp" << int(Qt::LeftButton) << "about" << 0;
        QTest::newRow("Enter") << "" << 0 << "week" << int(Qt::Key_Return);
        QTest::newRow("menu key") << "" << 0 << "setup" << int(Qt::Key_Menu);
    }
    // Cancelled or not, the settings window leaves the reminders built anew (an entry saved
    // meanwhile appears) and the countdown running; the about window only restarts it.
    void oknaPrikazov() {
        QFETCH(QString, ovladac);
        QFETCH(int, tlacidlo);
        QFETCH(QString, okno);
        QFETCH(int, kluc);
        test::WidgetWorld svet(2024y / 3 / 13);
        auto w = svet.Start();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));

        bool videne = false;
        bool odpocetStal = false;
        const auto zatvor = [&](QWidget& o) {
            odpocetStal = !w->Odpocet().Bezi;
            svet.ZapisZaznamy(13, 3, {{1, 2024, "Zubár"}});
            QTest::keyClick(&o, Qt::Key_Escape);
        };
        if (okno == "setup")
            test::WhenActive<TfrmSetup>(zatvor, &videne);
        else if (okno == "week")
            test::WhenActive<TfrmTyzden>(zatvor, &videne);
        else
            test::WhenActive<TfrmAbout>(zatvor, &videne);
        if (kluc)
            QTest::keyClick(w.get(), Qt::Key(kluc));
        else
            QTest::mouseClick(w->findChild<QWidget*>(ovladac), Qt::MouseButton(tlacidlo));
        QTRY_VERIFY_WITH_TIMEOUT(videne && !QApplication::activeModalWidget(), 6000);
        QVERIFY(odpocetStal);
        QVERIFY(w->Odpocet().Bezi);
        QCOMPARE(TextPripomienok(*w), okno != "about" ? QStringLiteral("Zubár") : QString());
    }

    // What a screen reader is told of the widget's buttons, and their Press action.
    void pristupnost_data() {
        QTest::addColumn<QString>("ovladac");
        QTest::addColumn<QString>("meno");
        QTest::newRow("gear") << "imgSetup"
                              << "Nastavenia";
        QTest::newRow("about") << "imgHelp"
                               << "Pomocník";
        QTest::newRow("hide") << "imgMin"
                              << "Minimalizovať";
        QTest::newRow("flag") << "imgFlag"
                              << "Slovenské mená";
        QTest::newRow("close") << "imgClose"
                               << "Zatvoriť";
    }
    void pristupnost() {
        QFETCH(QString, ovladac);
        QFETCH(QString, meno);
        test::WidgetWorld svet(2024y / 3 / 13);
        svet.tray = true;
        svet.ZapisZaznamy(13, 3, {{1, 2024, "Zubár"}});
        auto w = svet.Start();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        // The day, its names and the reminders read as one text.
        QVERIFY2(w->accessibleDescription().startsWith(QStringLiteral("Dnes Streda 13.: ")),
                 qPrintable(w->accessibleDescription()));
        QVERIFY(w->accessibleDescription().endsWith(QStringLiteral(". Pripomienky: Zubár.")));

        bool videne = false;
        const auto zatvor = [&](QWidget& o) { QTest::keyClick(&o, Qt::Key_Escape); };
        if (ovladac == "imgSetup")
            test::WhenActive<TfrmSetup>(zatvor, &videne);
        else if (ovladac == "imgHelp")
            test::WhenActive<TfrmAbout>(zatvor, &videne);
        QSignalSpy koniec(w.get(), &TfrmMain::zatvorene);
        test::OverPristupnost(w->findChild<QWidget*>(ovladac), meno, QAccessible::Button, true);
        if (ovladac == "imgSetup" || ovladac == "imgHelp") {
            QTRY_VERIFY_WITH_TIMEOUT(videne && !QApplication::activeModalWidget(), 6000);
        } else if (ovladac == "imgMin") {
            QVERIFY(!w->isVisible());
        } else if (ovladac == "imgFlag") {
            QVERIFY(!w->JazykSK());
            QCOMPARE(w->findChild<QWidget*>(ovladac)->accessibleName(),
                     QStringLiteral("České mená"));
        } else {
            QCOMPARE(koniec.size(), 1);
        }
    }

    void trayIkona() {
        test::WidgetWorld svet(2024y / 3 / 13);
        svet.tray = true;
        auto w = svet.Start();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(w->Tray() && w->Tray()->isVisible());
        QCOMPARE(w->Tray()->toolTip(), w->TextTooltipu());
        // The right button hides the widget before the menu opens, whatever the menu does.
        w->IkonaKlik(QSystemTrayIcon::Context);
        QVERIFY(!w->isVisible());
        QVERIFY(!w->findChild<QTimer*>(QStringLiteral("tmrTimer"))->isActive());
        for (const auto dovod : {QSystemTrayIcon::DoubleClick, QSystemTrayIcon::MiddleClick})
            w->IkonaKlik(dovod);
        QVERIFY(!w->isVisible());
        w->IkonaKlik(QSystemTrayIcon::Trigger);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowOpacity(), 1.0);
        QVERIFY(w->Odpocet().Bezi);
        QCOMPARE(w->Odpocet().Nepriehladnost, 255);

        QStringList polozky;
        for (const QAction* a : w->Tray()->contextMenu()->actions())
            polozky << a->text();
        QCOMPARE(polozky, (QStringList{"Ukončit", "Zobraziť", "Exportovať do kalendára…",
                                       "Importovať kontakty…"}));

        QSignalSpy koniec(w.get(), &TfrmMain::zatvorene);
        w->findChild<QAction*>(QStringLiteral("Ukoncit1"))->trigger();
        QCOMPARE(koniec.size(), 1);
        QVERIFY(!w->Tray()->isVisible());
    }

    // "Ukončit" from the tray while the editor is open over the week window: the editor is
    // cancelled, the week window closes by its own close reaction (storing its place), and
    // only then does the widget close, once.
    void ukoncitZOtvorenehoOkna() {
        test::WidgetWorld svet(2024y / 3 / 13);
        svet.tray = true;
        auto w = svet.Start();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QSignalSpy koniec(w.get(), &TfrmMain::zatvorene);
        QPoint poloha;
        bool tyzden = false, editor = false;
        test::WhenActive<TfrmTyzden>(
            [&](TfrmTyzden& okno) {
                okno.move(40, 70);
                poloha = okno.pos();
                test::WhenActive<TfrmUdalost>(
                    [&](TfrmUdalost&) {
                        w->findChild<QAction*>(QStringLiteral("Ukoncit1"))->trigger();
                        QCOMPARE(koniec.size(), 0); // not while its windows are open
                    },
                    &editor, test::AfterAction::KeepOpen);
                QTest::mouseClick(okno.Zoznam(3)->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
            },
            &tyzden, test::AfterAction::KeepOpen);
        QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("Image1")), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(koniec.size(), 1, 6000);
        QVERIFY(tyzden && editor);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!w->isVisible());
        const auto hodnota = [&](const char* meno) {
            return QString::fromStdString(svet.hive.ReadValue(HiveKey::Settings, meno).text);
        };
        QCOMPARE(hodnota("frmTyzdenTop"), QString::number(poloha.y()));
        QCOMPARE(hodnota("frmTyzdenLeft"), QString::number(poloha.x()));
        QVERIFY(!hodnota("frmMainTop").isEmpty());
        QTest::qWait(200);
        QCOMPARE(koniec.size(), 1);
    }

    // A termination signal (logout, shutdown) while an entry waits unsaved in the week window:
    // the window closes and saves it, then the widget closes, as with "Ukončit".
    void endOfSessionSavesTheOpenWeekWindow() {
#ifdef Q_OS_WIN
        QSKIP("Windows ends a session with window messages, not signals");
#endif
        test::WidgetWorld svet(2024y / 3 / 13);
        auto w = svet.Start();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        SessionEnd sessionEnd;
        connect(&sessionEnd, &SessionEnd::ending, w.get(), &TfrmMain::EndSession);
        QSignalSpy closed(w.get(), &TfrmMain::zatvorene);
        bool week = false, editor = false;
        test::WhenActive<TfrmTyzden>(
            [&](TfrmTyzden& okno) {
                AddBirthdayInWeek(okno, editor);
                // The entry is in the week model only; the window stays open.
                QTimer::singleShot(100, qApp, [] { ::raise(SIGTERM); });
            },
            &week, test::AfterAction::KeepOpen);
        QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("Image1")), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(closed.size(), 1, 6000);
        QVERIFY(week && editor);
        QFile file(svet.Subor(13, 3));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().toStdString(),
                 "!\r\n-1\r\n2\r\n1980\r\n" + EncodeCp1250("Ľubica") + "\r\n");
    }
};

} // namespace tilava

QTEST_MAIN(tilava::WidgetCommandsTest)
#include "WidgetCommandsTest.moc"
