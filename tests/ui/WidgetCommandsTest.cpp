// The widget's commands as a user reaches them: a click on the day opens the week window, where
// a new birthday goes through the editor into its day file and back onto the widget; the right
// button and the gear open the settings, the "?" button the about window; the tray icon hides
// and shows the widget, and its menu works over each of those windows and ends the program
// from inside them too.
#include "AccessibleSupport.h"
#include "ControlSupport.h"
#include "ModalSupport.h"
#include "MouseSupport.h"
#include "WeekSupport.h"
#include "WidgetSupport.h"

#include "core/Cp1250.h"
#include "ui/desktop/SessionEnd.h"
#include "ui/windows/fAbout.h"
#include "ui/windows/fNapoveda.h"
#include "ui/windows/fSetup.h"
#include "ui/windows/fTyzden.h"
#include "ui/windows/fUdalost.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QtTest>
#include <QWindow>

#include <csignal>
#include <functional>

namespace tilava {

using namespace std::chrono;

namespace {

using test::AddBirthdayInWeek;

QString ShownReminderText(QWidget& w) {
    return w.findChild<QLabel*>(QStringLiteral("lblNote"))->text();
}

// Opens `open` as a user does ("week", "editor" over the week window, "setup", "about", "help"
// over the about window, "import": the import's file dialog) and calls `atTop` with the top
// window once it takes input; the windows stay open.
void OpenWindows(TfrmMain& w, const QString& open, const std::function<void(QWidget&)>& atTop) {
    const auto keep = test::AfterAction::KeepOpen;
    if (open == "week" || open == "editor") {
        test::WhenActive<TfrmTyzden>(
            [open, atTop, keep](TfrmTyzden& week) {
                if (open == "week")
                    return atTop(week);
                test::WhenActive<TfrmUdalost>(atTop, nullptr, keep);
                QTest::mouseClick(week.DayList(3)->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
            },
            nullptr, keep);
        QTest::mouseClick(test::Control(w, QStringLiteral("Image1")), Qt::LeftButton);
    } else if (open == "setup") {
        test::WhenActive<TfrmSetup>(atTop, nullptr, keep);
        test::Click(test::Control(w, QStringLiteral("imgSetup")));
    } else if (open == "about" || open == "help") {
        test::WhenActive<TfrmAbout>(
            [open, atTop, keep](TfrmAbout& about) {
                if (open == "about")
                    return atTop(about);
                test::WhenActive<TfrmNapoveda>(atTop, nullptr, keep);
                test::Click(test::Control(about, QStringLiteral("imgNapoveda")));
            },
            nullptr, keep);
        test::Click(test::Control(w, QStringLiteral("imgHelp")));
    } else {
        test::WhenActive<QFileDialog>(atTop, nullptr, keep);
        w.findChild<QAction*>(QStringLiteral("Importovat1"))->trigger();
    }
}

} // namespace

class WidgetCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void newCelebrationFromWeekOnWidget() {
        test::WidgetWorld world(2024y / 3 / 13); // a Wednesday
        auto w = world.StartShown();
        QVERIFY(ShownReminderText(*w).isEmpty());

        bool week = false, editor = false;
        test::WhenActive<TfrmTyzden>(
            [&](TfrmTyzden& window) {
                AddBirthdayInWeek(window, editor);
                QTest::keyClick(window.focusWidget(), Qt::Key_Escape); // closes, saving
            },
            &week);
        QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("Image1")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(week && !QApplication::activeModalWidget(), 6000);
        QVERIFY(editor);

        QFile subor(world.Subor(13, 3));
        QVERIFY(subor.open(QIODevice::ReadOnly));
        QCOMPARE(subor.readAll().toStdString(),
                 "!\r\n-1\r\n2\r\n1980\r\n" + EncodeCp1250("Ľubica") + "\r\n");
        QTRY_COMPARE(ShownReminderText(*w), QStringLiteral("Ľubica 44. narodeniny"));
        QVERIFY(w->Countdown().running);
    }

    void commandWindows_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("key"); // pressed on the widget instead of the click
        QTest::newRow("right click on the names")
            << "Image1" << int(Qt::RightButton) << "setup" << 0;
        QTest::newRow("gear") << "imgSetup" << int(Qt::LeftButton) << "setup" << 0;
        QTest::newRow("about button") << "imgHelp" << int(Qt::LeftButton) << "about" << 0;
        QTest::newRow("Enter") << "" << 0 << "week" << int(Qt::Key_Return);
        QTest::newRow("menu key") << "" << 0 << "setup" << int(Qt::Key_Menu);
    }
    // Cancelled or not, the settings window leaves the reminders built anew (an entry saved
    // meanwhile appears) and the countdown running; the about window only restarts it.
    void commandWindows() {
        QFETCH(QString, control);
        QFETCH(int, button);
        QFETCH(QString, window);
        QFETCH(int, key);
        test::WidgetWorld world(2024y / 3 / 13);
        auto w = world.StartShown();

        bool seen = false;
        bool countdownStopped = false;
        const auto close = [&](QWidget& o) {
            countdownStopped = !w->Countdown().running;
            world.WriteEntries(13, 3, {{1, 2024, "Zubár"}});
            QTest::keyClick(&o, Qt::Key_Escape);
        };
        if (window == "setup")
            test::WhenActive<TfrmSetup>(close, &seen);
        else if (window == "week")
            test::WhenActive<TfrmTyzden>(close, &seen);
        else
            test::WhenActive<TfrmAbout>(close, &seen);
        if (key)
            QTest::keyClick(w.get(), Qt::Key(key));
        else
            QTest::mouseClick(w->findChild<QWidget*>(control), Qt::MouseButton(button));
        QTRY_VERIFY_WITH_TIMEOUT(seen && !QApplication::activeModalWidget(), 6000);
        QVERIFY(countdownStopped);
        QVERIFY(w->Countdown().running);
        QCOMPARE(ShownReminderText(*w), window != "about" ? QStringLiteral("Zubár") : QString());
    }

    // What a screen reader is told of the widget and its buttons. (Their Press does what their
    // click does, as for every picture button; what each click does is the tests above and the
    // widget's own.)
    void accessibility() {
        test::WidgetWorld world(2024y / 3 / 13);
        world.WriteEntries(13, 3, {{1, 2024, "Zubár"}});
        auto w = world.StartShown();
        // The focus starts on the widget itself, its day, where no focus frame is drawn (on a
        // button a mouse user would see one); Tab goes round the flag and the buttons.
        w->activateWindow();
        test::CheckTabRing({"imgFlag", "imgSetup", "imgHelp", "imgMin", "imgClose", "frmMain"});
        // A window named "Tilava"; the day with its month, its names and the reminders read as
        // one text.
        QAccessibleInterface* widget = QAccessible::queryAccessibleInterface(w.get());
        QCOMPARE(widget->role(), QAccessible::Window);
        QCOMPARE(widget->text(QAccessible::Name), QStringLiteral("Tilava"));
        QVERIFY2(widget->text(QAccessible::Description)
                     .startsWith(QStringLiteral("Dnes Streda 13. marca: ")),
                 qPrintable(w->accessibleDescription()));
        QVERIFY(w->accessibleDescription().endsWith(QStringLiteral(". Pripomienky: Zubár.")));
        // Each button says what it does, in Slovak.
        for (const auto& [control, name] : {std::pair{"imgSetup", "Nastavenia"},
                                            {"imgHelp", "O programe"},
                                            {"imgMin", "Minimalizovať"},
                                            {"imgClose", "Zatvoriť"}}) {
            QAccessibleInterface* button =
                QAccessible::queryAccessibleInterface(test::Control(*w, QLatin1String(control)));
            QCOMPARE(button->text(QAccessible::Name), QString::fromUtf8(name));
            QCOMPARE(button->role(), QAccessible::Button);
            QVERIFY(button->actionInterface()->actionNames().contains(
                QAccessibleActionInterface::pressAction()));
        }
        QCOMPARE(test::Control(*w, QStringLiteral("imgHelp"))->accessibleDescription(),
                 QStringLiteral("Otvorí okno o programe, odkiaľ sa otvára nápoveda"));
        // The flag is a toggle, on for the Slovak names.
        QAccessibleInterface* flag =
            QAccessible::queryAccessibleInterface(test::Control(*w, QStringLiteral("imgFlag")));
        QCOMPARE(flag->text(QAccessible::Name), QStringLiteral("Slovenské mená"));
        QCOMPARE(flag->role(), QAccessible::CheckBox);
        QVERIFY(flag->state().checkable && flag->state().checked);
        test::Click(test::Control(*w, QStringLiteral("imgFlag")));
        QVERIFY(!w->JazykSK());
        QVERIFY(flag->state().checkable && !flag->state().checked);
        test::Click(test::Control(*w, QStringLiteral("imgFlag")));
        QVERIFY(w->JazykSK() && flag->state().checked);
    }

    void trayIcon() {
        test::WidgetWorld world(2024y / 3 / 13);
        world.tray = true;
        auto w = world.StartShown();
        QVERIFY(w->Tray() && w->Tray()->isVisible());
        QCOMPARE(w->Tray()->toolTip(), w->TextTooltipu());
        // The right button hides the widget before the menu opens, whatever the menu does.
        w->TrayIconActivated(QSystemTrayIcon::Context);
        QVERIFY(!w->isVisible());
        QVERIFY(!w->findChild<QTimer*>(QStringLiteral("tmrTimer"))->isActive());
        for (const auto reason : {QSystemTrayIcon::DoubleClick, QSystemTrayIcon::MiddleClick})
            w->TrayIconActivated(reason);
        QVERIFY(!w->isVisible());
        w->TrayIconActivated(QSystemTrayIcon::Trigger);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowOpacity(), 1.0);
        QVERIFY(w->Countdown().running);
        QCOMPARE(w->Countdown().Opacity, 255);

        QStringList items;
        for (const QAction* a : w->Tray()->contextMenu()->actions())
            if (a->isVisible()) // (the sync's unread report, when there is one)
                items << a->text();
        QCOMPARE(items, (QStringList{"Ukončit", "Zobraziť", "Exportovať do kalendára…",
                                     "Importovať kontakty…", "Synchronizovať",
                                     "Nastavenie synchronizácie…"}));

        QSignalSpy end(w.get(), &TfrmMain::closed);
        w->findChild<QAction*>(QStringLiteral("Ukoncit1"))->trigger();
        QCOMPARE(end.size(), 1);
        QVERIFY(!w->Tray()->isVisible());
    }

    // "Ukončit" from the tray while the editor is open over the week window: the editor is
    // cancelled, the week window closes by its own close reaction (storing its place), and
    // only then does the widget close, once.
    void quitFromOpenWindow() {
        test::WidgetWorld world(2024y / 3 / 13);
        world.tray = true;
        auto w = world.StartShown();
        QSignalSpy end(w.get(), &TfrmMain::closed);
        QPoint position;
        bool week = false, editor = false;
        test::WhenActive<TfrmTyzden>(
            [&](TfrmTyzden& window) {
                window.move(40, 70);
                position = window.pos();
                test::WhenActive<TfrmUdalost>(
                    [&](TfrmUdalost&) {
                        w->findChild<QAction*>(QStringLiteral("Ukoncit1"))->trigger();
                        QCOMPARE(end.size(), 0); // not while its windows are open
                    },
                    &editor, test::AfterAction::KeepOpen);
                QTest::mouseClick(window.DayList(3)->viewport(), Qt::LeftButton, {},
                                  QPoint(20, 20));
            },
            &week, test::AfterAction::KeepOpen);
        QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("Image1")), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(end.size(), 1, 6000);
        QVERIFY(week && editor);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!w->isVisible());
        const auto value = [&](const char* meno) {
            return QString::fromStdString(world.hive.ReadValue(HiveKey::Settings, meno).text);
        };
        QCOMPARE(value("frmTyzdenTop"), QString::number(position.y()));
        QCOMPARE(value("frmTyzdenLeft"), QString::number(position.x()));
        QVERIFY(!value("frmMainTop").isEmpty());
        QTest::qWait(200);
        QCOMPARE(end.size(), 1);
    }

    void trayOverOpenWindows_data() {
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("item"); // of the tray menu, chosen over the open windows
        // What it does then: "dialog" (its file dialog opens), "shown" (the widget, without its
        // countdown, the window staying in front), else the start of its message.
        QTest::addColumn<QString>("answer");
        const char* weekOpen = "Export do kalendára sa teraz nespustil: v otvorenom okne Kalendár";
        const char* busy = "Export do kalendára alebo import kontaktov už prebieha";
        const struct {
            const char *row, *open, *item, *answer;
        } rows[] = {{"export over the week window", "week", "Exportovat1", weekOpen},
                    {"export over the editor", "editor", "Exportovat1", weekOpen},
                    {"import over the week window", "week", "Importovat1", "dialog"},
                    {"export over the settings", "setup", "Exportovat1", "dialog"},
                    {"import over the about window", "about", "Importovat1", "dialog"},
                    {"export over the help", "help", "Exportovat1", "dialog"},
                    {"export over the import", "import", "Exportovat1", busy},
                    {"Zobraziť over the settings", "setup", "Zobrazi1", "shown"}};
        for (const auto& r : rows)
            QTest::newRow(r.row) << QString(r.open) << QString(r.item)
                                 << QString::fromUtf8(r.answer);
    }
    // The tray works while any window of the widget is open: a window they do not own (as the
    // tray icon's own window is) takes clicks, the menu's items run or say why not, and
    // "Ukončit" closes every window, then the widget, once.
    void trayOverOpenWindows() {
        QFETCH(QString, open);
        QFETCH(QString, item);
        QFETCH(QString, answer);
        test::WidgetWorld world(2024y / 3 / 13);
        world.tray = true;
        auto w = world.StartShown();
        QPushButton icon;
        icon.setGeometry(1000, 700, 22, 22);
        icon.show();
        QVERIFY(QTest::qWaitForWindowExposed(&icon));
        QSignalSpy iconPressed(&icon, &QPushButton::pressed);
        QSignalSpy closed(w.get(), &TfrmMain::closed);
        const auto choose = [&w](const QString& name) { w->findChild<QAction*>(name)->trigger(); };

        QString outcome;
        OpenWindows(*w, open, [&](QWidget& top) {
            // Whatever the checks find, the windows close.
            const auto quit = qScopeGuard([&] { choose(QStringLiteral("Ukoncit1")); });
            QTest::mouseClick(icon.windowHandle(), Qt::LeftButton, {}, QPoint(11, 11));
            w->TrayIconActivated(QSystemTrayIcon::Context);
            // (the import's own file dialog may be the window open)
            const QPointer<QTimer> poll =
                answer != "dialog" ? nullptr : test::WhenActive<QFileDialog>([&](QFileDialog&) {
                    outcome = QStringLiteral("dialog");
                });
            const auto stop = qScopeGuard([&] { delete poll; });
            choose(item);
            QTRY_VERIFY_WITH_TIMEOUT(
                !outcome.isEmpty() || !world.notifier.messages.isEmpty() || w->isVisible(), 3000);
            if (w->isVisible() && !w->Countdown().running &&
                QApplication::activeModalWidget() == &top)
                outcome = QStringLiteral("shown");
            outcome += world.notifier.messages.join('\n');
        });
        QTRY_COMPARE_WITH_TIMEOUT(closed.size(), 1, 10000);
        QCOMPARE(iconPressed.size(), 1);
        QVERIFY2(outcome.startsWith(answer), qPrintable(outcome));
        QVERIFY(!QApplication::activeModalWidget());
        QTest::qWait(100);
        QCOMPARE(closed.size(), 1);
    }

    void pressReturnsBeforeTheWindowOpens_data() {
        QTest::addColumn<QString>("control");
        QTest::newRow("gear") << "imgSetup";
        QTest::newRow("about button") << "imgHelp";
        QTest::newRow("tray: export") << "Exportovat1";
        QTest::newRow("tray: import") << "Importovat1";
    }
    // A press by assistive technology (or a menu item's trigger) returns before the window of
    // its command opens: the caller waits for its answer, and a window's loop inside it would
    // keep it waiting for as long as the window is open.
    void pressReturnsBeforeTheWindowOpens() {
        QFETCH(QString, control);
        test::WidgetWorld world(2024y / 3 / 13);
        world.tray = true;
        auto w = world.StartShown();
        bool returned = false, opened = false, openedAfter = false;
        test::WhenActive<QDialog>([&](QDialog&) {
            opened = true;
            openedAfter = returned;
        });
        if (auto* action = w->findChild<QAction*>(control)) {
            action->trigger();
            returned = true;
        } else {
            auto* button = qobject_cast<QAbstractButton*>(test::Control(*w, control));
            // After the widget's own reaction to the click.
            connect(button, &QAbstractButton::clicked, this, [&] { returned = true; });
            QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
        }
        QTRY_VERIFY_WITH_TIMEOUT(opened && !QApplication::activeModalWidget(), 6000);
        QVERIFY(openedAfter);
    }

    // A termination signal (logout, shutdown) while an entry waits unsaved in the week window:
    // the window closes and saves it, then the widget closes, as with "Ukončit".
    void endOfSessionSavesTheOpenWeekWindow() {
#ifdef Q_OS_WIN
        QSKIP("Windows ends a session with window messages, not signals");
#endif
        test::WidgetWorld world(2024y / 3 / 13);
        auto w = world.StartShown();
        SessionEnd sessionEnd;
        connect(&sessionEnd, &SessionEnd::ending, w.get(), &TfrmMain::EndSession);
        QSignalSpy closed(w.get(), &TfrmMain::closed);
        bool week = false, editor = false;
        test::WhenActive<TfrmTyzden>(
            [&](TfrmTyzden& window) {
                AddBirthdayInWeek(window, editor);
                // The entry is in the week model only; the window stays open.
                QTimer::singleShot(100, qApp, [] { ::raise(SIGTERM); });
            },
            &week, test::AfterAction::KeepOpen);
        QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("Image1")), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(closed.size(), 1, 6000);
        QVERIFY(week && editor);
        QFile file(world.Subor(13, 3));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().toStdString(),
                 "!\r\n-1\r\n2\r\n1980\r\n" + EncodeCp1250("Ľubica") + "\r\n");
    }
};

} // namespace tilava

QTEST_MAIN(tilava::WidgetCommandsTest)
#include "WidgetCommandsTest.moc"
