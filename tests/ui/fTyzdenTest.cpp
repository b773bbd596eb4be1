#include "AccessibleSupport.h"
#include "ControlSupport.h"
#include "ModalSupport.h"
#include "WeekSupport.h"
#include "WidgetSupport.h"

#include "core/Cp1250.h"
#include "core/uRok.h"
#include "exchange/sync/SyncState.h"
#include "platform/SyncStateFolder.h"
#include "store/uRegi.h"
#include "ui/desktop/NotesFolderWatch.h"
#include "ui/desktop/PageOpener.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/fTyzden.h"
#include "ui/windows/fUdalost.h"
#include "ui/windows/OtvorKalendar.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

using namespace std::chrono;

namespace tilava {

using test::WidgetWorld;

namespace {

const QColor navy(0x00, 0x00, 0x80);
const QColor red(0xFF, 0x00, 0x00);

class TestOpener final : public PageOpener {
public:
    bool Open(const QUrl& address) override {
        opened << address;
        return success;
    }
    bool success = true;
    QList<QUrl> opened;
};

using test::Control;
using test::FileBytes;
using test::TypeText;

QLabel* Label(QWidget& window, const QString& name) {
    return Control<QLabel>(window, name);
}

QColor TextColor(QWidget* w) {
    return w->palette().color(QPalette::WindowText);
}

void MouseEvent(QWidget* w, QEvent::Type type, QPoint point, Qt::MouseButton button) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(point), QPointF(w->mapToGlobal(point)), button, held,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Through the window system, as a user clicks: the clicked list takes the focus first.
void Click(QWidget* w, QPoint point) {
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, point);
}

void Click(QWidget* w) {
    Click(w, w->rect().center());
}

void DoubleClick(QWidget* w, QPoint point) {
    Click(w, point);
    MouseEvent(w, QEvent::MouseButtonPress, point, Qt::LeftButton);
    MouseEvent(w, QEvent::MouseButtonDblClick, point, Qt::LeftButton);
    MouseEvent(w, QEvent::MouseButtonRelease, point, Qt::LeftButton);
}

QByteArray Cp(const char* utf8) {
    return QByteArray::fromStdString(EncodeCp1250(utf8));
}

std::set<int> RedDays(TfrmTyzden& window) {
    std::set<int> redDays;
    for (int i = 1; i <= 7; ++i) {
        const QColor f = TextColor(Label(window, QStringLiteral("lblDen%1").arg(i)));
        for (const char* meno : {"lblDenTyzdna%1", "lblPrvy%1", "lblDruhy%1"})
            if (TextColor(Label(window, QString::fromLatin1(meno).arg(i))) != f)
                qWarning("row %d is not of one colour", i);
        if (f == red)
            redDays.insert(i);
        else if (f != navy)
            qWarning("row %d is neither navy nor red", i);
    }
    return redDays;
}

// What the user sees change when a control is pressed: the week and its Monday as assistive
// technology reads it, the framed day, the first result and the opened pages; or that the
// window has closed.
QString State(TfrmTyzden& window, const TestOpener& web) {
    if (!window.isVisible())
        return QStringLiteral("zatvorené");
    QStringList pages;
    for (const QUrl& u : web.opened)
        pages << u.toString();
    return QStringLiteral("%1; %2; deň %3; %4; %5")
        .arg(Label(window, "lblTyzden")->text(),
             QAccessible::queryAccessibleInterface(window.DayList(1))->text(QAccessible::Name))
        .arg((Control(window, "shpSel")->y() + 1 - 42) / 55)
        .arg(Control<QAbstractButton>(window, "Label1")->text(), pages.join(QLatin1Char(' ')));
}

} // namespace

class fTyzdenTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WidgetWorld> world;
    std::unique_ptr<TRok> rok;
    std::unique_ptr<TRegi> regi;
    TestOpener web;
    QTemporaryDir config; // the sync's state folder lies under it

    void World(year_month_day today) {
        world = std::make_unique<WidgetWorld>(today);
        regi = std::make_unique<TRegi>(world->hive);
        rok->JazykSK = true;
        web = {};
    }

    // Opens the week window as the widget does and runs `action` on it once it takes
    // commands; a window the action leaves open is closed with the save button's way.
    void Open(const std::function<void(TfrmTyzden&)>& action, NotesFolderWatch* watch = nullptr) {
        bool started = false;
        QTimer waiting;
        waiting.setInterval(5);
        connect(&waiting, &QTimer::timeout, this, [&] {
            auto* window = qobject_cast<TfrmTyzden*>(QApplication::activeModalWidget());
            if (started || !window || window->Zaneprazdneny || !window->isActiveWindow())
                return;
            started = true;
            waiting.stop();
            action(*window);
            if (window->isVisible())
                window->Close();
        });
        waiting.start();
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [] {
            while (QWidget* w = QApplication::activeModalWidget())
                w->close();
        });
        guard.start(8000);
        OtvorKalendar(*rok, *regi, world->folder.path().toStdString(), world->clock,
                      world->notifier, web, nullptr, watch);
        QVERIFY2(started, "the week window never took commands");
    }

private slots:
    void initTestCase() {
        InitSkinResources();
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        QApplication::setApplicationDisplayName(QStringLiteral("Tilava"));
        rok = std::make_unique<TRok>();
        rok->Naplnit();
    }

    void opensOnTheCurrentWeekWithTheDayFramedAndItsListFocused() {
        World(year{2024} / 3 / 13); // a Wednesday
        Open([&](TfrmTyzden& window) {
            QCOMPARE(window.windowTitle(), QStringLiteral("Kalendár"));
            QCOMPARE(window.size(), QSize(527, 552));
            QCOMPARE(Label(window, "lblTyzden")->text(), QStringLiteral("11. týždeň"));
            QCOMPARE(Label(window, "lblmesiacrok")->text(), QStringLiteral("Marec 2024"));
            QCOMPARE(Control<QDateEdit>(window, "dtpDatum")->date(), QDate(2024, 3, 13));
            for (int i = 1; i <= 7; ++i)
                QCOMPARE(Label(window, QStringLiteral("lblDen%1").arg(i))->text(),
                         QString::number(10 + i));
            QCOMPARE(Label(window, "lblDenTyzdna7")->text(), QStringLiteral("Nedeľa"));
            QCOMPARE(Label(window, "lblPrvy4")->text(), QStringLiteral("Matilda"));
            QCOMPARE(Control(window, "shpSel")->y(), window.DayList(3)->y() - 1);
            QCOMPARE(window.DayList(3)->y(), 55 * 3 + 42);
            QCOMPARE(QApplication::focusWidget(), window.DayList(3));
            const std::pair<const char*, QRect> places[] = {
                {"imgTminus", {191, 53, 16, 24}},  {"imgTplus", {340, 53, 16, 24}},
                {"dtpDatum", {371, 55, 90, 21}},   {"imgDnes", {473, 52, 40, 25}},
                {"txtFind", {184, 485, 131, 18}},  {"imgUlozit", {414, 527, 100, 25}},
                {"lblDen1", {13, 99, 48, 48}},     {"lstDen7", {182, 427, 331, 52}},
                {"imgImage7", {15, 427, 169, 54}}, {"Image1", {0, 0, 529, 49}},
            };
            for (const auto& [meno, place] : places)
                QCOMPARE(Control(window, meno)->geometry(), place);
            // Keyboard: Tab from the date picker reaches the search box.
            auto* dtp = Control<QDateEdit>(window, "dtpDatum");
            dtp->setFocus(Qt::TabFocusReason);
            QTest::keyClick(dtp, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), Control(window, "txtFind"));
        });
    }

    void easterAndHolidayRowsAreRed_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("step");
        QTest::addColumn<QList<int>>("redDays");
        QTest::addColumn<QStringList>("descriptions");
        const QStringList easterSunday{"lblVelkaNoc", "lblVelkaNedela"};
        const QStringList monday{"lblVelkaPondelok"};
        // (which days of which years are Easter days is the week model's table)
        QTest::newRow("Easter 2024") << QDate(2024, 3, 27) << 0 << QList<int>{5, 7} << easterSunday;
        QTest::newRow("after Easter 2024")
            << QDate(2024, 3, 27) << 3000 << QList<int>{1, 7} << monday;
        QTest::newRow("holiday on Friday")
            << QDate(2024, 7, 3) << 0 << QList<int>{5, 7} << QStringList{};
        QTest::newRow("the week after")
            << QDate(2024, 7, 3) << 3000 << QList<int>{7} << QStringList{};
    }
    void easterAndHolidayRowsAreRed() {
        QFETCH(QDate, today);
        QFETCH(int, step);
        QFETCH(QList<int>, redDays);
        QFETCH(QStringList, descriptions);
        World(year{today.year()} / today.month() / today.day());
        Open([&](TfrmTyzden& window) {
            if (step)
                QCOMPARE(window.Prikaz(step), 103);
            QCOMPARE(RedDays(window), std::set<int>(redDays.begin(), redDays.end()));
            for (const char* meno : {"lblVelkaPondelok", "lblVelkaNoc", "lblVelkaNedela"})
                QCOMPARE(Label(window, meno)->isVisible(),
                         descriptions.contains(QLatin1String(meno)));
        });
    }

    void searchAsYouTypeAndJumpToAResult_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("searched");
        QTest::addColumn<int>("resultCount"); // shown
        QTest::addColumn<bool>("arrows");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QDate>("target");
        // (the day a result lands on, 29 February in a common year too, is the week model's
        // table)
        QTest::newRow("prefix first")
            << QDate(2024, 12, 20) << "ale" << 3 << true << "2.1. Alexandra" << QDate(2024, 1, 2);
        QTest::newRow("one result")
            << QDate(2024, 3, 13) << "ctib" << 1 << false << "13.9. Ctibor" << QDate(2024, 9, 13);
    }
    void searchAsYouTypeAndJumpToAResult() {
        QFETCH(QDate, today);
        QFETCH(QString, searched);
        QFETCH(int, resultCount);
        QFETCH(bool, arrows);
        QFETCH(QString, first);
        QFETCH(QDate, target);
        World(year{today.year()} / today.month() / today.day());
        Open([&](TfrmTyzden& window) {
            auto* searchField = Control<QLineEdit>(window, "txtFind");
            searchField->setFocus();
            QAbstractButton* l[] = {Control<QAbstractButton>(window, "Label1"),
                                    Control<QAbstractButton>(window, "Label2"),
                                    Control<QAbstractButton>(window, "Label3")};
            TypeText(searchField, searched.left(2));
            for (QAbstractButton* v : l)
                QVERIFY(v->text().isEmpty() && !v->isVisible());
            QVERIFY(!Control(window, "imgFplus")->isVisible());
            TypeText(searchField, searched.mid(2));
            QCOMPARE(l[0]->text(), first);
            int count = 0;
            int width = 0;
            for (QAbstractButton* v : l)
                if (v->isVisible()) {
                    ++count;
                    width += v->width();
                }
            QCOMPARE(count, resultCount);
            // Equal gaps before, between and after the shown results.
            const int gap = (window.width() - width) / (count + 1);
            int x = gap;
            for (int k = 0; k < count; ++k) {
                QCOMPARE(l[k]->x(), x);
                x += l[k]->width() + gap;
            }
            QCOMPARE(Control(window, "imgFminus")->isVisible(), arrows);
            QCOMPARE(Control(window, "imgFplus")->isVisible(), arrows);

            Click(l[0]);
            QCOMPARE(Control<QDateEdit>(window, "dtpDatum")->date(), target);
            const int date = target.dayOfWeek();
            QCOMPARE(Label(window, QStringLiteral("lblDen%1").arg(date))->text(),
                     QString::number(target.day()));
            QCOMPARE(QApplication::focusWidget(), window.DayList(date));
            QVERIFY(searchField->text().isEmpty());
            for (QAbstractButton* v : l)
                QVERIFY(!v->isVisible());
        });
    }

    void arrowsMoveBetweenDaysAtTheEndsOfAList() {
        World(year{2024} / 3 / 11); // a Monday
        world->WriteEntries(11, 3, {{1, 2024, "Zubár"}, {2, 1990, "Jano"}});
        Open([&](TfrmTyzden& window) {
            QListWidget* monday = window.DayList(1);
            QCOMPARE(QApplication::focusWidget(), monday);
            QTest::keyClick(monday, Qt::Key_Down); // the list takes it: its first row
            QCOMPARE(monday->currentRow(), 0);
            QTest::keyClick(monday, Qt::Key_Up); // day 0 is refused: nothing changes
            QCOMPARE(QApplication::focusWidget(), monday);
            QCOMPARE(Control(window, "shpSel")->y(), monday->y() - 1);
            QCOMPARE(Label(window, "lblTyzden")->text(), QStringLiteral("11. týždeň"));
            QTest::keyClick(monday, Qt::Key_Down);
            QCOMPARE(monday->currentRow(), 1);
            QTest::keyClick(monday, Qt::Key_Down); // the last row: on to Tuesday
            QCOMPARE(QApplication::focusWidget(), window.DayList(2));
            QCOMPARE(Control(window, "shpSel")->y(), window.DayList(2)->y() - 1);
            QCOMPARE(Control<QDateEdit>(window, "dtpDatum")->date(), QDate(2024, 3, 12));
            QTest::keyClick(window.DayList(2), Qt::Key_Up); // an empty list: back to Monday
            QCOMPARE(QApplication::focusWidget(), monday);
        });
    }

    // A click below the rows adds an entry, a double click edits the row's entry; both
    // through the real event editor, which the test cancels.
    void clicksOpenTheEditorForANewOrTheClickedEntry() {
        World(year{2024} / 3 / 13);
        world->WriteEntries(13, 3, {{1, 2023, "Stará"}, {2, 1990, "Jano"}, {1, 2024, "Zubár"}});
        Open([&](TfrmTyzden& window) {
            QListWidget* list = window.DayList(3);
            QCOMPARE(list->count(), 2); // the note of 2023 has no row
            const struct {
                std::function<void()> click;
                const char* field;
                QString text;
            } cases[] = {
                {[&] { Click(list->viewport(), QPoint(20, 48)); }, "txtNar", QString()},
                {[&] {
                     DoubleClick(list->viewport(), list->visualItemRect(list->item(1)).center());
                 },
                 "txtPoz", QStringLiteral("Zubár")},
            };
            for (const auto& p : cases) {
                bool started = false;
                QString seen;
                test::WhenActive<TfrmUdalost>(
                    [&](TfrmUdalost& editor) {
                        seen = Control<QLineEdit>(editor, p.field)->text();
                        QVERIFY(Control<QLineEdit>(editor, p.field)->isVisible());
                        editor.reject();
                    },
                    &started);
                p.click();
                QVERIFY2(started, p.field);
                QCOMPARE(seen, p.text);
                QCOMPARE(list->count(), 2);
            }
        });
    }

    void deleteRemovesTheEntryOfTheRowWhenAnotherYearsNoteHidesOne_data() {
        QTest::addColumn<bool>("menu");
        QTest::newRow("Delete key") << false;
        QTest::newRow("popup menu") << true;
    }
    void deleteRemovesTheEntryOfTheRowWhenAnotherYearsNoteHidesOne() {
        QFETCH(bool, menu);
        World(year{2024} / 3 / 13);
        world->WriteEntries(13, 3, {{1, 2023, "Stará"}, {2, 1990, "Jano"}, {1, 2024, "Zubár"}});
        Open([&](TfrmTyzden& window) {
            QListWidget* list = window.DayList(3);
            QWidget* viewport = list->viewport();
            const QPoint line = list->visualItemRect(list->item(1)).center();
            if (menu) {
                bool launched = false;
                QTimer waiting;
                waiting.setInterval(5);
                connect(&waiting, &QTimer::timeout, this, [&] {
                    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                    if (!popup)
                        return;
                    waiting.stop();
                    launched = true;
                    QCOMPARE(popup->actions().value(0)->text(), QStringLiteral("Vymazať poznámku"));
                    popup->actions().value(0)->trigger();
                    popup->close();
                });
                waiting.start();
                MouseEvent(viewport, QEvent::MouseButtonPress, line, Qt::RightButton);
                MouseEvent(viewport, QEvent::MouseButtonRelease, line, Qt::RightButton);
                QVERIFY(launched);
            } else {
                Click(viewport, line);
                QCOMPARE(list->currentRow(), 1);
                QTest::keyClick(list, Qt::Key_Delete);
            }
            QCOMPARE(list->count(), 1);
            QCOMPARE(list->item(0)->text(), QStringLiteral("Jano 34. narodeniny"));
        });
        const QByteArray subor = FileBytes(world->Subor(13, 3));
        QVERIFY(subor.contains(Cp("Stará")));
        QVERIFY(subor.contains("Jano"));
        QVERIFY(!subor.contains(Cp("Zubár")));
    }

    void theStoredPositionComesBackAfterTheEditorCloses_data() {
        QTest::addColumn<bool>("positionSaved");
        QTest::newRow("stored") << true;
        QTest::newRow("none stored") << false;
    }
    void theStoredPositionComesBackAfterTheEditorCloses() {
        QFETCH(bool, positionSaved);
        World(year{2024} / 3 / 13);
        if (positionSaved) {
            regi->ZapisHodnotu("frmTyzdenTop", 120);
            regi->ZapisHodnotu("frmTyzdenLeft", 310);
        }
        const QPoint saved = positionSaved ? QPoint(310, 120) : QPoint(223, 150);
        Open([&](TfrmTyzden& window) {
            QCOMPARE(window.pos(), saved);
            window.move(40, 60);
            bool started = false;
            test::WhenActive<TfrmUdalost>([](TfrmUdalost& e) { e.reject(); }, &started);
            Click(window.DayList(3)->viewport(), QPoint(20, 20));
            QVERIFY(started);
            QTRY_COMPARE_WITH_TIMEOUT(window.pos(), positionSaved ? saved : QPoint(40, 60), 500);
            window.move(70, 80);
        });
        QCOMPARE(regi->CitajHodnotu("frmTyzdenTop"), 80);
        QCOMPARE(regi->CitajHodnotu("frmTyzdenLeft"), 70);
    }

    // A day file turned into a folder cannot be written: the move is refused with the reason,
    // once per click, and closing asks until the user chooses.
    void aFailingSaveIsToldAndClosingWithoutSavingIsTheUsersChoice_data() {
        QTest::addColumn<bool>("again");
        QTest::newRow("try again") << true;
        QTest::newRow("close without saving") << false;
    }
    void aFailingSaveIsToldAndClosingWithoutSavingIsTheUsersChoice() {
        QFETCH(bool, again);
        World(year{2024} / 3 / 13);
        world->WriteEntries(13, 3, {{2, 1990, "Jano"}});
        const QString subor = world->Subor(13, 3);
        const QByteArray original = FileBytes(subor);
        Open([&](TfrmTyzden& window) {
            window.DayList(3)->setCurrentRow(0);
            QTest::keyClick(window.DayList(3), Qt::Key_Delete);
            QCOMPARE(window.DayList(3)->count(), 0);
            // The day file becomes a folder with a file in it: nothing can replace it.
            QVERIFY(QFile::remove(subor) && QDir().mkdir(subor));
            QFile obstacle(subor + QStringLiteral("/x"));
            QVERIFY(obstacle.open(QIODevice::WriteOnly));
            obstacle.close();

            for (int click = 1; click <= 2; ++click) {
                Click(Control(window, "imgTplus"));
                QCOMPARE(world->notifier.messages.size(), click);
                QVERIFY(world->notifier.messages.last().contains(QStringLiteral("0313.txt")));
            }
            QCOMPARE(Label(window, "lblTyzden")->text(), QStringLiteral("11. týždeň"));
            QCOMPARE(Label(window, "lblDen3")->text(), QStringLiteral("13"));

            // The first answer tries again (still failing); the second mends the file and
            // tries again, or closes without saving.
            bool mended = false;
            world->notifier.answer = [&](int question) {
                if (question == 1 || !again)
                    return question == 1 ? 0 : 1;
                QDir(subor).removeRecursively();
                QFile f(subor);
                mended = f.open(QIODevice::WriteOnly) && f.write(original) == original.size();
                return 0;
            };
            QTest::keyClick(window.DayList(3), Qt::Key_Escape);
            QCOMPARE(world->notifier.questions.size(), 2);
            QCOMPARE(mended, again);
            for (int i = 0; i < 2; ++i) {
                QVERIFY(world->notifier.questions[i].startsWith(
                    QStringLiteral("Zmeny sa nepodarilo uložiť:\n\n")));
                QVERIFY(world->notifier.questions[i].contains(QStringLiteral("0313.txt")));
                QVERIFY(world->notifier.questions[i].endsWith(
                    QStringLiteral("\n\nAk okno zavriete bez uloženia, tieto zmeny sa stratia.")));
                QCOMPARE(world->notifier.questionChoices[i],
                         (QStringList{QStringLiteral("Skúsiť znova"),
                                      QStringLiteral("Zavrieť bez uloženia")}));
                QVERIFY(world->notifier.questionParentShown[i]);
            }
            QVERIFY(!window.isVisible());
        });
        if (again) {
            QVERIFY(!QFileInfo::exists(subor)); // the emptied day has no file
        } else {
            QVERIFY(QFileInfo(subor).isDir());
            QVERIFY(!original.isEmpty());
        }
    }

    void aMalformedDayIsToldOnceShownGreyAndNeverWritten() {
        World(year{2024} / 3 / 13);
        world->WriteDay(14, 3, {"!", "-1", "2", "1990", "Jano", "-1", "x", "2000", "Eva"});
        const QByteArray original = FileBytes(world->Subor(14, 3));
        Open([&](TfrmTyzden& window) {
            QCOMPARE(world->notifier.messages.size(), 1);
            QVERIFY(world->notifier.messages[0].contains(QStringLiteral("0314.txt")));
            QVERIFY(world->notifier.messages[0].contains(QStringLiteral("riadok 7")));
            QListWidget* date = window.DayList(4);
            QCOMPARE(date->count(), 1);
            QVERIFY(date->palette().color(QPalette::Base) != Qt::white);
            QVERIFY(date->toolTip().contains(QStringLiteral("nedá upravovať")));
            QCOMPARE(window.DayList(3)->palette().color(QPalette::Base), QColor(Qt::white));
            // A click into it opens no editor; the user learns why.
            Click(date->viewport(), QPoint(20, 40));
            QCOMPARE(world->notifier.messages.size(), 2);
            QCOMPARE(QApplication::activeModalWidget(), &window);
            QCOMPARE(window.Prikaz(3000), 103);
            QCOMPARE(world->notifier.messages.size(), 2);
            QCOMPARE(window.Prikaz(2000), 103); // told again with each assembly of its week
            QCOMPARE(world->notifier.messages.size(), 3);
        });
        QCOMPARE(FileBytes(world->Subor(14, 3)), original);
    }

    void theHeaderOpensTheMakersPageOrTellsWhyNot() {
        World(year{2024} / 3 / 13);
        Open([&](TfrmTyzden& window) {
            QCOMPARE(Control(window, "Image1")->toolTip(),
                     QStringLiteral("Choď na: ") + TfrmTyzden::WebAddress);
            Click(Control(window, "Image1"));
            QCOMPARE(web.opened, QList<QUrl>{QUrl(TfrmTyzden::WebAddress)});
            QVERIFY(world->notifier.messages.isEmpty());
            web.success = false;
            Click(Control(window, "Image1"));
            QCOMPARE(world->notifier.messages,
                     QStringList{QStringLiteral("Nepodarilo sa otvoriť webový prehliadač.")});
        });
    }

    // Assistive technology sees every control by the name a sighted user reads there, the
    // pictures that act as buttons as buttons, and its Press does what their click does.
    // `before` is pressed (a control) or typed into the search box first.
    void controlsAsAssistiveTechnologySeesThem_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("meno");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("after"); // after Press; empty: no Press
        const int button = QAccessible::Button;
        const QString thisOne = QStringLiteral("11. týždeň; Pondelok 11. marca; deň 3; ; ");
        const auto line = [](const char* meno, const char* before, const char* control,
                             const QString& name, int role, const QString& after) {
            QTest::newRow(meno) << QString::fromUtf8(before) << QString::fromUtf8(control) << name
                                << role << after;
        };
        line("previous week", "", "imgTminus", "Predchádzajúci týždeň", button,
             "10. týždeň; Pondelok 4. marca; deň 3; ; ");
        line("next week", "", "imgTplus", "Nasledujúci týždeň", button,
             "12. týždeň; Pondelok 18. marca; deň 3; ; ");
        line("today", "imgTplus", "imgDnes", "Dnes", button, thisOne);
        line("a day's area", "", "imgImage5", "Piatok 15. marca", button,
             "11. týždeň; Pondelok 11. marca; deň 5; ; ");
        line("header", "", "Image1", "Tilava – Kalendár mien a sviatkov", QAccessible::Link,
             thisOne + TfrmTyzden::WebAddress);
        line("a result", "ctib", "Label1", "13.9. Ctibor", button,
             "37. týždeň; Pondelok 9. septembra; deň 5; ; ");
        line("more results", "ale", "imgFplus", "Ďalšie výsledky", button,
             "11. týždeň; Pondelok 11. marca; deň 3; 9.1. Alexej; ");
        line("save", "", "imgUlozit", "Uložiť", button, "zatvorené");
        line("Monday", "", "lstDen1", "Pondelok 11. marca", QAccessible::List, {});
        line("Sunday", "", "lstDen7", "Nedeľa 17. marca", QAccessible::List, {});
        line("search", "", "txtFind", "Hľadať meno", QAccessible::EditableText, {});
        line("date", "", "dtpDatum", "Dátum", QAccessible::SpinBox, {});
        line("week", "", "lblTyzden", "11. týždeň", QAccessible::StaticText, {});
        line("names", "", "lblPrvy4", "Matilda", QAccessible::StaticText, {});
    }
    void controlsAsAssistiveTechnologySeesThem() {
        QFETCH(QString, before);
        QFETCH(QString, control);
        QFETCH(QString, meno);
        QFETCH(int, role);
        QFETCH(QString, after);
        World(year{2024} / 3 / 13);
        Open([&](TfrmTyzden& window) {
            if (before.startsWith(QLatin1String("img")))
                QAccessible::queryAccessibleInterface(Control(window, before))
                    ->actionInterface()
                    ->doAction(QAccessibleActionInterface::pressAction());
            else if (!before.isEmpty())
                TypeText(Control(window, "txtFind"), before);
            test::CheckAccessibility(Control(window, control), meno, role, !after.isEmpty());
            // A result's painted text is not read a second time beside its button.
            QVERIFY(QAccessible::queryAccessibleInterface(Control(window, "Label1Text"))
                        ->state()
                        .invisible);
            if (!after.isEmpty())
                QCOMPARE(State(window, web), after);
        });
    }

    // A date is typed as into any date field: after Tab, over a selected part or over the whole
    // text, with Enter or leaving the field to take it; the arrows and the calendar take theirs
    // at once. The week of the date is shown, and nothing typed reaches the search box.
    void aDateIsTypedOrPickedAsInAnyDateField_data() {
        QTest::addColumn<QString>("selected"); // before the keys; empty: reached by Tab
        QTest::addColumn<QString>("keys");     // \n Enter, \t Tab, ^ Up, v Down
        QTest::addColumn<QDate>("shown");
        QTest::addColumn<QString>("focus"); // afterwards
        const auto row = [](const char* name, const char* selected, const char* keys, QDate shown,
                            const char* focus = "dtpDatum") {
            QTest::newRow(name) << QString::fromLatin1(selected) << QString::fromLatin1(keys)
                                << shown << QString::fromLatin1(focus);
        };
        row("a whole date", "", "18.04.2025\n", QDate(2025, 4, 18));
        row("no leading zeros", "", "18.4.2025\n", QDate(2025, 4, 18));
        row("commas of the number pad", "", "1,5,2025\n", QDate(2025, 5, 1));
        row("a two-digit year", "", "3.1.25\n", QDate(2025, 1, 3));
        row("over the whole text", "all", "18.04.2025\n", QDate(2025, 4, 18));
        row("the day", "day", "5\n", QDate(2024, 3, 5));
        row("the month", "month", "11\n", QDate(2024, 11, 13));
        row("the year, then Tab", "year", "2025\t", QDate(2025, 3, 13), "txtFind");
        row("a click on the year", "click", "1999\n", QDate(1999, 3, 13));
        row("31 in February", "", "31.2.2025\n", QDate(2025, 2, 28));
        row("the arrows", "day", "^^", QDate(2024, 3, 15));
        row("the calendar", "calendar", "v\n", QDate(2024, 3, 20), "");
    }
    void aDateIsTypedOrPickedAsInAnyDateField() {
        QFETCH(QString, selected);
        QFETCH(QString, keys);
        QFETCH(QDate, shown);
        QFETCH(QString, focus);
        World(year{2024} / 3 / 13);
        Open([&](TfrmTyzden& window) {
            auto* field = Control<QDateEdit>(window, "dtpDatum");
            auto* text = field->findChild<QLineEdit*>();
            if (selected.isEmpty()) {
                Control(window, "imgDnes")->setFocus(Qt::TabFocusReason);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            } else {
                field->setFocus(Qt::TabFocusReason);
            }
            QCOMPARE(QApplication::focusWidget(), field);
            if (selected == QLatin1String("all"))
                text->selectAll();
            else if (selected == QLatin1String("day"))
                field->setSelectedSection(QDateTimeEdit::DaySection);
            else if (selected == QLatin1String("month"))
                field->setSelectedSection(QDateTimeEdit::MonthSection);
            else if (selected == QLatin1String("year"))
                field->setSelectedSection(QDateTimeEdit::YearSection);
            else if (selected == QLatin1String("click"))
                Click(text, QPoint(text->fontMetrics().horizontalAdvance(QStringLiteral("13.3.20")),
                                   text->height() / 2));
            else if (selected == QLatin1String("calendar")) {
                Click(field, QPoint(field->width() - 6, field->height() / 2));
                QTRY_VERIFY(QApplication::activePopupWidget());
            }
            for (const QChar key : keys) {
                QWidget* target = QApplication::focusWidget();
                switch (key.unicode()) {
                case '\n':
                    QTest::keyClick(target, Qt::Key_Return);
                    break;
                case '\t':
                    QTest::keyClick(target, Qt::Key_Tab);
                    break;
                case '^':
                    QTest::keyClick(target, Qt::Key_Up);
                    break;
                case 'v':
                    QTest::keyClick(target, Qt::Key_Down);
                    break;
                default:
                    QTest::keyClick(target, key.toLatin1());
                }
            }
            QCOMPARE(field->date(), shown);
            const int day = shown.dayOfWeek();
            QCOMPARE(Label(window, QStringLiteral("lblDen%1").arg(day))->text(),
                     QString::number(shown.day()));
            QCOMPARE(Control(window, "shpSel")->y(), window.DayList(day)->y() - 1);
            QCOMPARE(Control<QLineEdit>(window, "txtFind")->text(), QString());
            if (!focus.isEmpty())
                QCOMPARE(QApplication::focusWidget()->objectName(), focus);
            // No closed calendar moves its current cell with the date, which assistive
            // technology reads out as a focused cell: there is none until it has been opened,
            // and once closed again it keeps quiet.
            auto* calendar = field->findChild<QCalendarWidget*>();
            QCOMPARE(calendar != nullptr, selected == QLatin1String("calendar"));
            if (calendar) {
                QTRY_VERIFY(!calendar->isVisible());
                int cellMoves = 0;
                connect(calendar->findChild<QTableView*>()->selectionModel(),
                        &QItemSelectionModel::currentChanged, &window, [&] { ++cellMoves; });
                field->setFocus(Qt::TabFocusReason);
                QTest::keyClick(field, Qt::Key_Up);
                QCOMPARE(field->date(), shown.addDays(1));
                QCOMPARE(Label(window, QStringLiteral("lblDen%1").arg(day % 7 + 1))->text(),
                         QString::number(shown.addDays(1).day()));
                QCOMPARE(cellMoves, 0);
            }
        });
    }

    // Two-digit days keep apart from the names beside them; four entries show whole without a
    // scroll bar, more scroll; the results keep off the search box and the footer.
    void theWeekShowsItsTextsWholeAndApart_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("four entries") << 4 << false;
        QTest::newRow("five entries") << 5 << true;
    }
    void theWeekShowsItsTextsWholeAndApart() {
        QFETCH(int, entries);
        QFETCH(bool, scrolls);
        World(year{2025} / 3 / 26); // 24 .. 30 March
        std::vector<WidgetWorld::Entry> many;
        for (int i = 1; i <= entries; ++i)
            many.push_back({2, 1990 + i, "Ľubomír Šťastný " + std::to_string(i)});
        world->WriteEntries(26, 3, many);
        Open([&](TfrmTyzden& window) {
            QListWidget* list = window.DayList(3);
            QCOMPARE(list->count(), entries);
            QCOMPARE(list->verticalScrollBar()->isVisible(), scrolls);
            for (int r = 0; r < std::min(entries, 4); ++r)
                QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(r))));

            // The ink of the day's digits and that of the weekday and the names beside them:
            // where the window looks different without them.
            const auto without = [&](const QStringList& kinds) {
                QList<QWidget*> hidden;
                for (int i = 1; i <= 7; ++i)
                    for (const QString& kind : kinds)
                        hidden << Control(window, kind.arg(i));
                for (QWidget* w : hidden)
                    w->hide();
                const QImage face = window.grab().toImage();
                for (QWidget* w : hidden)
                    w->show();
                return face;
            };
            const QImage face = window.grab().toImage();
            const QImage noDigits = without({QStringLiteral("lblDen%1")});
            const QImage noNames =
                without({QStringLiteral("lblDenTyzdna%1"), QStringLiteral("lblPrvy%1"),
                         QStringLiteral("lblDruhy%1")});
            for (int i = 1; i <= 7; ++i) {
                // Four clear pixels or more between them, at any scale.
                const QRect band = Label(window, QStringLiteral("lblDen%1").arg(i))->geometry();
                int right = 0;
                int left = face.width();
                for (int y = band.top() * face.devicePixelRatio();
                     y <= band.bottom() * face.devicePixelRatio(); ++y)
                    for (int x = 0; x < face.width(); ++x) {
                        if (face.pixel(x, y) != noDigits.pixel(x, y))
                            right = std::max(right, x);
                        if (face.pixel(x, y) != noNames.pixel(x, y))
                            left = std::min(left, x);
                    }
                QVERIFY2(
                    left - right > 4 * face.devicePixelRatio(),
                    qPrintable(QStringLiteral("row %1: %2 .. %3").arg(i).arg(right).arg(left)));
            }

            auto* searchField = Control<QLineEdit>(window, "txtFind");
            searchField->setFocus(Qt::TabFocusReason);
            TypeText(searchField, QStringLiteral("jozef"));
            for (const char* shown : {"Label1Text", "lblHladanie"}) {
                if (QString::fromLatin1(shown) == QLatin1String("lblHladanie"))
                    TypeText(searchField, QStringLiteral("xq"));
                const QRect r = Control(window, shown)->geometry();
                QVERIFY2(Control(window, shown)->isVisible() && r.top() >= 507 && r.bottom() <= 521,
                         shown);
            }
        });
    }

    // Another program writes the day files while the week is open (an import, a sync tool):
    // the days the user has not changed show what is there now, the user's own change stays
    // and is joined at once with the other program's entries. The week's own save is told
    // once; reading the files does not set the watch off again.
    void anotherProgramsWritesShowInTheOpenWeek() {
        World(year{2024} / 3 / 13);
        world->WriteEntries(11, 3, {{2, 1990, "Jano"}});
        world->WriteEntries(13, 3, {{2, 1990, "Jano"}, {1, 2024, "Zubár"}});
        NotesFolderWatch watch(world->folder.path(), nullptr, std::chrono::milliseconds{100});
        int told = 0;
        connect(&watch, &NotesFolderWatch::Changed, this, [&] { ++told; });
        Open(
            [&](TfrmTyzden& window) {
                QListWidget* wednesday = window.DayList(3);
                wednesday->setCurrentRow(1);
                QTest::keyClick(wednesday, Qt::Key_Delete);
                QCOMPARE(wednesday->count(), 1);

                world->WriteEntries(11, 3, {{2, 1990, "Jano"}, {2, 1985, "Eva"}});
                world->WriteEntries(13, 3,
                                    {{2, 1990, "Jano"}, {1, 2024, "Zubár"}, {2, 1970, "Fero"}});
                world->WriteEntries(15, 3, {{1, 2024, "Marta"}});
                QTRY_COMPARE_WITH_TIMEOUT(window.DayList(5)->count(), 1, 5000);
                QCOMPARE(window.DayList(1)->count(), 2);
                QCOMPARE(wednesday->count(), 2);
                QCOMPARE(wednesday->item(0)->text(), QStringLiteral("Jano 34. narodeniny"));
                QCOMPARE(wednesday->item(1)->text(), QStringLiteral("Fero 54. narodeniny"));
            },
            &watch);
        QCOMPARE(FileBytes(world->Subor(13, 3)),
                 QByteArray("!\r\n-1\r\n2\r\n1990\r\nJano\r\n-1\r\n2\r\n1970\r\nFero\r\n"));
        QVERIFY(FileBytes(world->Subor(11, 3)).contains("Eva"));
        const int before = told;
        QTRY_VERIFY_WITH_TIMEOUT(told > before, 5000);
        const int afterSave = told;
        QTest::qWait(600);
        QCOMPARE(told, afterSave);

        // A folder that is not there yet is watched once another program makes it.
        const QString later = world->folder.filePath(QStringLiteral("later"));
        NotesFolderWatch waiting(later, nullptr, std::chrono::milliseconds{100},
                                 std::chrono::seconds{3}, std::chrono::milliseconds{100});
        int toldLater = 0;
        connect(&waiting, &NotesFolderWatch::Changed, this, [&] { ++toldLater; });
        QVERIFY(QDir().mkdir(later));
        QTRY_COMPARE_WITH_TIMEOUT(toldLater, 1, 5000);
        test::WriteFile(later + QStringLiteral("/0313.txt"), "!\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(toldLater, 2, 5000);
    }

    // The user adds a birthday to Wednesday; before the window closes, the sync deletes the
    // day's file. The untouched entries go at once, the user's stays and is saved, and the
    // message names the day and the sync.
    void anUnsavedEditOutlivesTheSyncDeletingItsDay() {
        World(year{2024} / 3 / 13);
        world->WriteEntries(13, 3, {{2, 1990, "Jano"}, {1, 2024, "Zubár"}});
        const std::filesystem::path state = *SyncStateFolder() / kSyncStateName;
        // The sync replaces its state with another; a longer one is another version however
        // coarse the file system's clock (Windows keeps whole seconds through this library).
        std::string written;
        const auto syncWrote = [&] {
            written += "state\n";
            std::ofstream(state) << written;
        };
        syncWrote();
        NotesFolderWatch watch(world->folder.path(), nullptr, std::chrono::milliseconds{100});
        Open(
            [&](TfrmTyzden& window) {
                QListWidget* wednesday = window.DayList(3);
                bool editor = false;
                test::AddBirthdayInWeek(window, editor,
                                        QPoint(20, wednesday->viewport()->height() - 4));
                QCOMPARE(wednesday->count(), 3);
                QVERIFY(QFile::remove(world->Subor(13, 3)));
                syncWrote();
                QTRY_COMPARE_WITH_TIMEOUT(wednesday->count(), 1, 5000);
                QCOMPARE(wednesday->item(0)->text(), QStringLiteral("Ľubica 44. narodeniny"));
                QCOMPARE(world->notifier.messages.size(), 1);
                QVERIFY2(world->notifier.messages[0].startsWith(
                             QStringLiteral("Záznamy dňa 13. marca medzitým odstránila "
                                            "synchronizácia s kalendárom.")),
                         qPrintable(world->notifier.messages[0]));
            },
            &watch);
        QVERIFY(world->notifier.questions.isEmpty());
        QCOMPARE(FileBytes(world->Subor(13, 3)), QByteArray("!\r\n-1\r\n2\r\n1980\r\n\xBC"
                                                            "ubica\r\n"));
    }

    // The search says what it found: that a query is too short, that nothing holds it, or (to
    // assistive technology, as the search box's description) the results it shows. The arrows
    // are out of use at the ends of the results.
    void theSearchSaysWhatItFound_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("later"); // presses of ">"
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("usable"); // the arrows in use: "<", ">", "<>" or ""
        const QString tooShort = QStringLiteral("Napíšte aspoň tri písmená.");
        QTest::newRow("one letter") << "a" << 0 << tooShort << tooShort << "";
        QTest::newRow("two letters") << "al" << 0 << tooShort << tooShort << "";
        QTest::newRow("nothing holds it")
            << "xyzq" << 0 << QStringLiteral("Meno ani sviatok „xyzq“ sa v kalendári nenašli.")
            << QStringLiteral("Meno ani sviatok „xyzq“ sa v kalendári nenašli.") << "";
        QTest::newRow("one result") << "ctib" << 0 << ""
                                    << "1 výsledok: 13.9. Ctibor"
                                    << "";
        QTest::newRow("more results") << "jozef" << 0 << ""
                                      << "2 výsledky: 19.3. Jozef, 6.8. Jozefína"
                                      << "";
        QTest::newRow("the first three of many")
            << "ale" << 0 << ""
            << "10 výsledkov, zobrazené 1. až 3.: 2.1. Alexandra, 9.1. Alexej, "
               "27.2. Alexander"
            << ">";
        QTest::newRow("the last three") << "ale" << 7 << "" << QString() << "<";
        QTest::newRow("an empty box says nothing") << "" << 0 << ""
                                                   << ""
                                                   << "";
    }
    void theSearchSaysWhatItFound() {
        QFETCH(QString, typed);
        QFETCH(int, later);
        QFETCH(QString, note);
        QFETCH(QString, told);
        QFETCH(QString, usable);
        World(year{2024} / 3 / 13);
        Open([&](TfrmTyzden& window) {
            auto* searchField = Control<QLineEdit>(window, "txtFind");
            searchField->setFocus(Qt::TabFocusReason);
            TypeText(searchField, typed.isEmpty() ? QStringLiteral("x") : typed);
            if (typed.isEmpty())
                QTest::keyClick(searchField, Qt::Key_Backspace);
            auto* further = Control<QAbstractButton>(window, "imgFplus");
            further->setFocus(Qt::TabFocusReason);
            for (int i = 0; i < later; ++i)
                QTest::keyClick(further, Qt::Key_Space);
            QLabel* said = Label(window, "lblHladanie");
            QCOMPARE(said->isVisible() ? said->text() : QString(), note);
            if (!told.isNull())
                QCOMPARE(searchField->accessibleDescription(), told);
            QCOMPARE(Control(window, "imgFminus")->isEnabled(), usable.contains('<'));
            QCOMPARE(further->isEnabled(), usable.contains('>'));
            if (later > 0) {
                // The keyboard stays in the search: the focus went on to the last result.
                QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Label3"));
                QCOMPARE(searchField->text(), typed);
            }
            // A hidden result is still named for assistive technology.
            for (int k = 1; k <= 3; ++k)
                QVERIFY(
                    !Control(window, QStringLiteral("Label%1").arg(k))->accessibleName().isEmpty());
        });
    }

    // Tab goes round the window's controls in a sensible order, Shift+Tab back; the search's
    // results and their arrows come right after the search box.
    void tabGoesRoundTheWindow() {
        World(year{2024} / 3 / 13);
        Open([&](TfrmTyzden& window) {
            // The header band is a link for the mouse and assistive technology only.
            const QStringList ring{"lstDen4",   "lstDen5",  "lstDen6", "lstDen7",  "imgUlozit",
                                   "imgTminus", "imgTplus", "imgDnes", "dtpDatum", "txtFind",
                                   "lstDen1",   "lstDen2",  "lstDen3"};
            test::CheckTabRing(ring);
            auto* searchField = Control<QLineEdit>(window, "txtFind");
            searchField->setFocus(Qt::TabFocusReason);
            TypeText(searchField, QStringLiteral("ale"));
            // "<" is out of use at the first results.
            for (const char* meno : {"Label1", "Label2", "Label3", "imgFplus"}) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(meno));
            }
            QCOMPARE(searchField->text(), QStringLiteral("ale")); // the results stay while in reach
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), window.DayList(1));
            QVERIFY(searchField->text().isEmpty());
        });
    }

    // The keyboard alone: a picture button shows a frame while focused and keeps the focus
    // after Space; Tab to Thursday's list, Enter opens the editor, Shift+Tab to the kind
    // "Poznámka", Space, type, Tab to OK, Space; Tab on to the save button and Enter closes
    // the window and writes the note.
    void theKeyboardAloneAddsANote() {
        World(year{2024} / 3 / 13);
        Open([&](TfrmTyzden& window) {
            QWidget* further = Control(window, "imgTplus");
            test::CheckFocusFrame(further);
            further->setFocus(Qt::TabFocusReason);
            QTest::keyClick(further, Qt::Key_Space);
            QCOMPARE(Label(window, "lblTyzden")->text(), QStringLiteral("12. týždeň"));
            QCOMPARE(QApplication::focusWidget(), further);
            QTest::keyClick(further, Qt::Key_Tab); // imgDnes
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(Label(window, "lblTyzden")->text(), QStringLiteral("11. týždeň"));

            window.DayList(3)->setFocus(Qt::TabFocusReason);
            QTest::keyClick(window.DayList(3), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), window.DayList(4));
            bool started = false;
            test::WhenActive<TfrmUdalost>(
                [](TfrmUdalost& editor) {
                    QTRY_VERIFY_WITH_TIMEOUT(editor.isActiveWindow(), 1000);
                    QCOMPARE(editor.focusWidget(), Control(editor, "txtNar"));
                    QTest::keyClick(editor.focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
                    QCOMPARE(editor.focusWidget(), Control(editor, "shpPoznamka"));
                    QTest::keyClick(editor.focusWidget(), Qt::Key_Space);
                    QCOMPARE(editor.focusWidget(), Control(editor, "txtPoz"));
                    QTest::keyClicks(editor.focusWidget(), "Zubar");
                    QTest::keyClick(editor.focusWidget(), Qt::Key_Tab);
                    QWidget* ok = Control(editor, "imgOk");
                    QCOMPARE(editor.focusWidget(), ok);
                    test::CheckFocusFrame(ok);
                    ok->setFocus(Qt::TabFocusReason);
                    QTest::keyClick(ok, Qt::Key_Space);
                },
                &started);
            QTest::keyClick(window.DayList(4), Qt::Key_Return);
            QVERIFY(started);
            QCOMPARE(window.DayList(4)->count(), 1);
            QCOMPARE(window.DayList(4)->item(0)->text(), QStringLiteral("Zubar"));
            // Back in the week: a desktop activates it again, the offscreen platform does not.
            QCOMPARE(window.focusWidget(), window.DayList(4));
            window.activateWindow();
            QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), window.DayList(4), 1000);
            for (int i = 0; i < 4; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), Control(window, "imgUlozit"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QVERIFY(!window.isVisible());
        });
        QCOMPARE(FileBytes(world->Subor(14, 3)), QByteArray("!\r\n-1\r\n1\r\n2024\r\nZubar\r\n"));
    }

    // The path a user takes: open the week, click into Wednesday's empty list, write a
    // birthday in the editor, confirm, press Escape; the day file holds the entry.
    void aNewBirthdayReachesTheDayFile() {
        World(year{2024} / 3 / 13);
        Open([&](TfrmTyzden& window) {
            bool started = false;
            test::WhenActive<TfrmUdalost>(
                [](TfrmUdalost& editor) {
                    QVERIFY(Control<QRadioButton>(editor, "optNar")->isChecked());
                    TypeText(Control<QLineEdit>(editor, "txtNar"), QStringLiteral("Ľubica"));
                    QTest::keyClick(editor.focusWidget(), Qt::Key_Return);
                    QTest::keyClick(editor.focusWidget(), Qt::Key_Return);
                },
                &started);
            Click(window.DayList(3)->viewport(), QPoint(20, 20));
            QVERIFY(started);
            QCOMPARE(window.DayList(3)->count(), 1);
            QCOMPARE(window.DayList(3)->item(0)->text(), QStringLiteral("Ľubica 44. narodeniny"));
            QVERIFY(!QFileInfo::exists(world->Subor(13, 3))); // written when the week is left
            QCOMPARE(window.focusWidget(), window.DayList(3));
            QTest::keyClick(window.focusWidget(), Qt::Key_Escape);
            QVERIFY(!window.isVisible());
        });
        QCOMPARE(FileBytes(world->Subor(13, 3)),
                 "!\r\n-1\r\n2\r\n1980\r\n" + Cp("Ľubica") + "\r\n");
    }
};

} // namespace tilava

QTEST_MAIN(tilava::fTyzdenTest)
#include "fTyzdenTest.moc"
