#include "ControlSupport.h"
#include "ModalSupport.h"
#include "PictureSupport.h"
#include "WidgetSupport.h"

#include "core/uRok.h"
#include "platform/FileHive.h"
#include "ui/controls/ReminderText.h"
#include "ui/desktop/SystemNotifier.h"
#include "ui/skin/TrayIconPicture.h"
#include "ui/windows/fTyzden.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtMath>
#include <QToolTip>

using namespace std::chrono;

namespace tilava {

using test::WidgetWorld;

namespace {

// 29 February 2024, a Thursday: the Slovak list has no name that day, so a test can put its own.
constexpr year_month_day leapDay{year{2024}, month{2}, day{29}};
// Sunday 30 March 2025.
constexpr year_month_day sunday{year{2025}, month{3}, day{30}};

using test::Control;
using test::FileBytes;

QLabel* Lbl(QWidget& w, const char* name) {
    return Control<QLabel>(w, QLatin1String(name));
}

void MouseEvent(QWidget* w, QEvent::Type type, QPoint point, Qt::MouseButton button = Qt::NoButton,
                Qt::MouseButtons held = Qt::NoButton) {
    QMouseEvent e(type, QPointF(point), QPointF(w->mapToGlobal(point)), button, held,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void MoveMouse(QWidget* w, QPoint point = {3, 3}, Qt::MouseButtons held = Qt::NoButton) {
    MouseEvent(w, QEvent::MouseMove, point, Qt::NoButton, held);
}
void Click(QWidget* w, QPoint point = {3, 3}) {
    MouseEvent(w, QEvent::MouseButtonPress, point, Qt::LeftButton, Qt::LeftButton);
    MouseEvent(w, QEvent::MouseButtonRelease, point, Qt::LeftButton, Qt::NoButton);
}

// The entries' texts as the event label shows them.
QStringList EventLines(QWidget& w) {
    const QString text = Lbl(w, "lblNote")->text();
    return text.isEmpty() ? QStringList{} : text.split(QLatin1Char('\n'));
}

// The event bars that are shown, top to bottom.
QList<QLabel*> VisibleBars(QWidget& w) {
    QList<QLabel*> bars;
    for (std::size_t i = 1; i <= Reminders::MaxLines; ++i)
        if (auto* p = w.findChild<QLabel*>(QStringLiteral("Pruh%1").arg(i));
            p && p->isVisibleTo(&w))
            bars << p;
    return bars;
}

QStringList ShownNames(QWidget& w) {
    return {Lbl(w, "lblSviatok1")->text(), Lbl(w, "lblSviatok2")->text(),
            Lbl(w, "lblSviatok3")->text()};
}

} // namespace

class fMainTest : public QObject {
    Q_OBJECT
private slots:
    void controlsInPlace();
    void dayOnSide_data();
    void dayOnSide();
    void longNames_data();
    void longNames();
    void daysAhead_data();
    void daysAhead();
    void hundredBars();
    void remindersFitTheScreen_data();
    void remindersFitTheScreen();
    void longEntryTakesAFewLines();
    void brokenDayFile();
    void anotherProgramsEntriesShowWithoutARestart();
    void midnight();
    void missedDays_data();
    void missedDays();
    void countdownTwoSeconds();
    void alwaysStartsNoCountdown();
    void edgeBelongsInside_data();
    void edgeBelongsInside();
    void tomorrowView();
    void leavingShowsToday_data();
    void leavingShowsToday();
    void dayAreaPutsTheButtonsOut();
    void hoverDimsOnLeave_data();
    void hoverDimsOnLeave();
    void dragging();
    void flagSwitchesLanguage();
    void positionOnClose();
    void hiding_data();
    void hiding();
    void notifierBoxes();
    void refusedSettingsFileToldOnce();
};

void fMainTest::controlsInPlace() {
    WidgetWorld world(sunday);
    world.WriteEntries(30, 3, {{1, 2025, "Zubár"}});
    auto w = world.Start();
    QCOMPARE(w->windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
    QCOMPARE(w->width(), 170);
    QCOMPARE(w->palette().color(QPalette::Window), QColor(0xA6, 0xCA, 0xF0));
    struct PlaceCase {
        const char* meno;
        QRect place; // an empty size: sized to its text
    };
    // bottom of the stacking order first; the reminders' text starts two pixels below the
    // header, the room above the first bar's letters
    const PlaceCase table[] = {
        {"imgMain", {0, 0, 170, 85}},      {"lblSviatok1", {72, 27, 97, 13}},
        {"lblDatum", {8, 32, 58, 41}},     {"lblSviatok2", {72, 46, 97, 13}},
        {"lblNote", {8, 87, 150, 0}},      {"imgSetup", {101, 1, 18, 16}},
        {"imgHelp", {120, 1, 13, 14}},     {"imgMin", {135, 1, 13, 14}},
        {"imgClose", {152, 1, 13, 14}},    {"lblSviatok3", {72, 58, 97, 13}},
        {"lblDnes", {5, 3, 0, 0}},         {"lblDen", {3, 25, 65, 0}},
        {"imgHornaLista", {0, 0, 97, 20}}, {"imgFlag", {46, 1, 26, 17}},
        {"imgDrag", {86, 45, 85, 38}},     {"Image1", {0, 24, 169, 57}},
    };
    QStringList order;
    for (QObject* o : w->children())
        if (qobject_cast<QWidget*>(o) && !o->objectName().startsWith(QStringLiteral("Pruh")) &&
            !qobject_cast<QWidget*>(o)->isWindow())
            order << o->objectName();
    QStringList expected;
    for (const PlaceCase& m : table) {
        expected << QLatin1String(m.meno);
        const QRect g = Control(*w, m.meno)->geometry();
        QCOMPARE(g.topLeft(), m.place.topLeft());
        if (!m.place.size().isEmpty())
            QCOMPARE(g.size(), m.place.size());
        else if (m.place.width() != 0)
            QCOMPARE(g.width(), m.place.width());
    }
    QCOMPARE(order, expected);
    // The event bar lies below every control.
    QCOMPARE(w->children().indexOf(Control(*w, "Pruh1")),
             w->children().indexOf(Control(*w, "imgMain")) - 1);
    QVERIFY(!Control(*w, "imgDrag")->isVisibleTo(w.get()));
    const char* hints[][2] = {{"imgSetup", "Nastavenia"},
                              {"imgHelp", "O programe"},
                              {"imgMin", "Minimalizovať"},
                              {"imgClose", "Zatvoriť"}};
    for (const auto& h : hints)
        QCOMPARE(Control(*w, h[0])->toolTip(), QString::fromUtf8(h[1]));
}

void fMainTest::dayOnSide_data() {
    QTest::addColumn<int>("date");
    QTest::addColumn<QString>("name");
    // the week of Monday 24 March 2025
    const char* dayList[] = {"Pondelok", "Utorok", "Streda", "Štvrtok",
                             "Piatok",   "Sobota", "Nedeľa"};
    for (int i = 0; i < 7; ++i)
        QTest::newRow(dayList[i]) << 24 + i << QString::fromUtf8(dayList[i]);
}

void fMainTest::dayOnSide() {
    QFETCH(int, date);
    QFETCH(QString, name);
    WidgetWorld world(year{2025} / 3 / date);
    auto w = world.Start();
    QLabel* lbl = Lbl(*w, "lblDen");
    const QRect side = TfrmMain::DaySide;
    // With either name-day language (the weekday names are the Slovak ones in both).
    for (bool sk : {true, false}) {
        if (w->JazykSK() != sk)
            w->SwitchLanguage();
        QCOMPARE(lbl->text(), name);
        // Where the label puts the letters, from its own font's metrics.
        const QFontMetrics fm = lbl->fontMetrics();
        const QRect cr = lbl->contentsRect();
        const int x = lbl->x() + cr.x() + (cr.width() - fm.horizontalAdvance(name)) / 2;
        const QRect ink = fm.tightBoundingRect(name).translated(x, lbl->y() + cr.y() + fm.ascent());
        QVERIFY2(side.adjusted(2, 0, -2, 0).contains(ink), qPrintable(name));
        QVERIFY2(ink.top() >= side.top() + TfrmMain::SideBand, qPrintable(name));
        QVERIFY2(qAbs(ink.center().x() - side.center().x()) <= 1, qPrintable(name));
        // The same drawn at 1x and 2x: the pixels the glyphs cover stay on the page, below the
        // band (at 2x the hinting and the caron's shape differ).
        for (int dpr : {1, 2}) {
            QImage image(w->size() * dpr, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(dpr);
            image.fill(Qt::transparent);
            {
                QPainter p(&image);
                lbl->render(&p, lbl->pos(), QRegion(), QWidget::DrawChildren);
            }
            QRect covered;
            for (int y = 0; y < image.height(); ++y)
                for (int column = 0; column < image.width(); ++column)
                    if (qAlpha(image.pixel(column, y)) > 0)
                        covered |= QRect(column, y, 1, 1);
            const QRect sidePx(side.topLeft() * dpr, side.size() * dpr);
            const QString where = QStringLiteral("%1 at %2x: %3,%4 %5x%6")
                                      .arg(name)
                                      .arg(dpr)
                                      .arg(covered.x())
                                      .arg(covered.y())
                                      .arg(covered.width())
                                      .arg(covered.height());
            QVERIFY2(!covered.isEmpty(), qPrintable(where));
            QVERIFY2(sidePx.adjusted(2 * dpr, 0, -2 * dpr, 0).contains(covered), qPrintable(where));
            QVERIFY2(covered.top() >= (side.top() + TfrmMain::SideBand) * dpr, qPrintable(where));
        }
    }
}

void fMainTest::longNames_data() {
    QTest::addColumn<QString>("meno");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("hint");
    QTest::newRow("14 characters") << "Abcdefghijkľšť"
                                   << "Abcdefghijkľšť"
                                   << "";
    QTest::newRow("15 characters") << "Štefánia Ľubica"
                                   << "Štefánia Ľu..."
                                   << "Štefánia Ľubica";
}

void fMainTest::longNames() {
    QFETCH(QString, meno);
    QFETCH(QString, shown);
    QFETCH(QString, hint);
    WidgetWorld world(leapDay);
    auto w = world.Start();
    w->Rok().Pridaj(29, 2, 's', meno.toStdString(), false);
    w->ZobrazUdalosti();
    // (which name goes on which line, and the day's texts, are the day texts' table)
    QCOMPARE(ShownNames(*w), (QStringList{"", shown, ""}));
    QCOMPARE(Lbl(*w, "lblDatum")->text(), QStringLiteral("29."));
    QCOMPARE(Lbl(*w, "lblSviatok2")->toolTip(), hint);
    // The day area lies above the name lines and shows the hint of the line under the pointer.
    w->show();
    QWidget* desktop = Control(*w, "Image1");
    const QPoint point = desktop->mapFrom(w.get(), Lbl(*w, "lblSviatok2")->geometry().center());
    QHelpEvent help(QEvent::ToolTip, point, desktop->mapToGlobal(point));
    QApplication::sendEvent(desktop, &help);
    QCOMPARE(QToolTip::isVisible(), !hint.isEmpty());
    if (!hint.isEmpty())
        QCOMPARE(QToolTip::text(), hint);
    QToolTip::hideText();

    // Seen from the day before, in the tomorrow view: the first line, its hint the shown text.
    world.clock.Set(year{2024} / 2 / 28);
    w->MysNadFormom();
    QCOMPARE(Lbl(*w, "lblSviatok1")->text(), shown);
    QCOMPARE(Lbl(*w, "lblSviatok1")->toolTip(), shown);
}

void fMainTest::daysAhead_data() {
    QTest::addColumn<QString>("daysAhead");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("2") << "2"
                       << QStringList{"Jano 45. narodeniny", "Zubár", "Po 31.3. 25. výročie svadba",
                                      "Ut 1.4. ráno: Nedeľný obed u Šimona a Ľubice"};
    QTest::newRow("-1") << "-1" << QStringList{};
}

void fMainTest::daysAhead() {
    QFETCH(QString, daysAhead);
    QFETCH(QStringList, lines);
    WidgetWorld world(sunday);
    world.WriteEntries(30, 3, {{2, 1980, "Jano"}, {1, 2025, "Zubár"}});
    world.WriteEntries(31, 3, {{3, 2000, "svadba"}});
    world.WriteEntries(1, 4, {{1, 2025, "ráno: Nedeľný obed u Šimona a Ľubice"}});
    world.WriteEntries(2, 4, {{1, 2025, "neskoro"}});
    world.hive.PutString(HiveKey::Settings, "Dopredu", daysAhead.toStdString());
    auto w = world.Start();

    QCOMPARE(EventLines(*w), lines);
    QCOMPARE(w->PocetUdalosti(), static_cast<int>(lines.size()));
    const QList<QLabel*> bars = VisibleBars(*w);
    QCOMPARE(bars.size(), lines.size());
    QLabel* note = Lbl(*w, "lblNote");
    if (lines.isEmpty()) {
        QCOMPARE(w->height(), 85);
        return;
    }
    QCOMPARE(w->height(), note->y() + note->height());
    // The bars run from the header down to the window's bottom, one line of background
    // between two of them, and each holds the lines of its own entry with room above them
    // (the carons of Ľ and Š stay off the bar's edge); a long entry wraps onto a second line.
    const auto* text = dynamic_cast<const ReminderText*>(note);
    QVERIFY(text);
    QCOMPARE(text->ParagraphCount(), lines.size());
    QCOMPARE(text->Height(), note->height());
    int hore = 85;
    for (int i = 0; i < bars.size(); ++i) {
        const QLabel* p = bars[i];
        QCOMPARE(p->y(), hore);
        QCOMPARE(p->width(), 170);
        const QRectF paragraph = text->Paragraph(i).translated(note->pos());
        const int lineCount = lines[i].size() > 25 ? 2 : 1;
        QVERIFY2(paragraph.height() >= lineCount * note->fontMetrics().height(),
                 qPrintable(lines[i]));
        QVERIFY2(paragraph.top() >= p->y() + TfrmMain::BarIndent, qPrintable(lines[i]));
        QVERIFY2(paragraph.bottom() <= p->y() + p->height(), qPrintable(lines[i]));
        hore = p->y() + p->height() + TfrmMain::BarGap;
    }
    QCOMPARE(hore - TfrmMain::BarGap, w->height());
}

void fMainTest::hundredBars() {
    WidgetWorld world(sunday);
    std::vector<WidgetWorld::Entry> many;
    for (int i = 1; i <= 101; ++i)
        many.push_back({1, 2025, "pripomienka " + std::to_string(i)});
    world.WriteEntries(30, 3, many);
    auto w = world.Start();
    // The widget lists a hundred: those the screen has room for, and the rest on the last bar.
    const int bars = static_cast<int>(VisibleBars(*w).size());
    QCOMPARE(w->PocetPruhov(), bars);
    QCOMPARE(EventLines(*w).size(), bars);
    QCOMPARE(EventLines(*w).last(), QStringLiteral("a ďalšie %1…").arg(100 - (bars - 1)));
    QVERIFY(world.notifier.messages.isEmpty());

    // A shorter list later shows only its own bars; the others stay for the next rebuild.
    world.WriteEntries(30, 3, {{1, 2025, "jedna"}, {2, 2000, "Eva"}});
    w->ZobrazUdalosti();
    QCOMPARE(w->PocetPruhov(), bars);
    QCOMPARE(VisibleBars(*w).size(), 2);
    QCOMPARE(w->height(), Lbl(*w, "lblNote")->geometry().bottom() + 1);
}

// The bars that fit between the header and the bottom of the screen, then one that tells how
// many are left out and opens the week window.
void fMainTest::remindersFitTheScreen_data() {
    QTest::addColumn<int>("top"); // -1: the default corner
    QTest::addColumn<int>("count");
    QTest::newRow("32 birthdays from the top") << -1 << 32;
    QTest::newRow("32 birthdays halfway down") << 500 << 32;
}

void fMainTest::remindersFitTheScreen() {
    QFETCH(int, top);
    QFETCH(int, count);
    WidgetWorld world(sunday);
    std::vector<WidgetWorld::Entry> birthdays;
    for (int i = 1; i <= count; ++i)
        birthdays.push_back({2, 1980, "Ľubomír Oslávenec " + std::to_string(i)});
    world.WriteEntries(30, 3, birthdays);
    if (top >= 0) {
        world.hive.PutString(HiveKey::Startup, "ZelmTilavaP", "True");
        world.hive.PutString(HiveKey::Settings, "frmMainTop", std::to_string(top));
    }
    auto w = world.StartShown();
    const QRect area = w->screen()->availableGeometry();
    QCOMPARE(w->y(), std::max(top, 0));
    QVERIFY2(w->geometry().bottom() <= area.bottom(), qPrintable(QString::number(w->height())));
    const QList<QLabel*> bars = VisibleBars(*w);
    const QStringList lines = EventLines(*w);
    QCOMPARE(w->height(), bars.last()->geometry().bottom() + 1);
    const qsizetype shown = bars.size() - 1;
    QCOMPARE(lines.last(), QStringLiteral("a ďalšie %1…").arg(count - shown));
    QCOMPARE(lines[shown - 1], QStringLiteral("Ľubomír Oslávenec %1 45. narodeniny").arg(shown));
    // No room is left for one more birthday.
    const int birthday = bars[1]->y() - bars[0]->y();
    QVERIFY(area.bottom() - w->geometry().bottom() < birthday);

    bool weekSeen = false;
    test::WhenActive<TfrmTyzden>([](TfrmTyzden&) {}, &weekSeen);
    Click(bars.last(), {165, 4}); // beside the text
    QTRY_VERIFY(weekSeen && !QApplication::activeModalWidget());
}

// A megabyte of text in one entry (an import, a hand edit) shows as a bar of a few lines whose
// last ends in "…", and the entries after it keep their bars.
void fMainTest::longEntryTakesAFewLines() {
    WidgetWorld world(sunday);
    std::string longText;
    while (longText.size() < 1024 * 1024)
        longText += "slovo ";
    world.WriteEntries(30, 3, {{1, 2025, longText}, {2, 1980, "Jano"}});
    auto w = world.Start();
    QCOMPARE(VisibleBars(*w).size(), 2);
    const auto* text = dynamic_cast<const ReminderText*>(Lbl(*w, "lblNote"));
    QVERIFY(text);
    const int lineHeight = text->fontMetrics().height();
    QVERIFY(text->Paragraph(0).height() > (ReminderText::MaxLines - 1) * lineHeight);
    QVERIFY(text->Paragraph(0).height() <= ReminderText::MaxLines * (lineHeight + 1));
    QVERIFY(EventLines(*w).first().endsWith(QStringLiteral("…")));
    QCOMPARE(EventLines(*w).last(), QStringLiteral("Jano 45. narodeniny"));
    QVERIFY(w->accessibleDescription().size() < 1000);
}

// An import from the command line or a sync tool writes today's file while the widget runs.
void fMainTest::anotherProgramsEntriesShowWithoutARestart() {
    WidgetWorld world(sunday);
    auto w = world.StartShown();
    QCOMPARE(EventLines(*w), QStringList{});
    world.WriteEntries(30, 3, {{1, 2025, "Zubár"}});
    QTRY_COMPARE_WITH_TIMEOUT(EventLines(*w), QStringList{QStringLiteral("Zubár")}, 5000);
    // A file it cannot read is told once, not again at each of its later writes.
    const std::vector<std::string> broken{"!", "-1", "x", "2025", "Zubár"};
    world.WriteDay(30, 3, broken);
    QTRY_COMPARE_WITH_TIMEOUT(world.notifier.messages.size(), 1, 5000);
    world.WriteDay(30, 3, broken);
    QTest::qWait(2000);
    QCOMPARE(world.notifier.messages.size(), 1);
}

void fMainTest::brokenDayFile() {
    WidgetWorld world(sunday);
    world.WriteEntries(30, 3, {{1, 2025, "Zubár"}});
    // line 7, the kind of the second record, is not a number; the first record is whole
    world.WriteDay(31, 3, {"!", "-1", "1", "2025", "ráno", "-1", "x", "2025", "večer"});
    world.WriteEntries(2, 4, {{2, 2000, "Eva"}});
    world.hive.PutString(HiveKey::Settings, "Dopredu", "3");
    const QByteArray badFile = FileBytes(world.Subor(31, 3));
    auto w = world.Start();

    // The bad day adds a bar of its own after what it did hold (the lines are the widget
    // model's table).
    const QList<QLabel*> bars = VisibleBars(*w);
    QCOMPARE(bars.size(), 4);
    const QImage note = bars[0]->pixmap().toImage();
    QCOMPARE(bars[1]->pixmap().toImage(), note);
    for (int i : {0, 3})
        QVERIFY(bars[2]->pixmap().toImage() != bars[i]->pixmap().toImage());
    QCOMPARE(w->height(), bars.last()->y() + bars.last()->height());
    for (const char* meno : {"imgFlag", "imgMain", "imgSetup", "imgHelp", "imgMin", "imgClose"})
        QVERIFY2(!test::ShownPicture(Control(*w, meno)).isNull(), meno);

    // The message waits until the widget is on the screen, then comes from the event loop.
    QCoreApplication::processEvents();
    QVERIFY(world.notifier.messages.isEmpty());
    w->show();
    QVERIFY(world.notifier.messages.isEmpty());
    QTRY_COMPARE(world.notifier.messages.size(), 1);
    QCOMPARE(world.notifier.parentShown, QList<bool>{true});
    QVERIFY(world.notifier.messages.first().contains(QStringLiteral("0331.txt")));
    QCOMPARE(FileBytes(world.Subor(31, 3)), badFile); // never written
}

void fMainTest::midnight() {
    // Left running overnight, the widget shows the new day as a start on that day would.
    WidgetWorld world(sunday);
    world.tray = true;
    world.clock.Set(sunday, 23h + 59min + 58s);
    world.WriteEntries(31, 3, {{1, 2025, "ráno"}, {2, 1980, "Jano"}});
    auto w = world.StartShown();
    w->tmrZapisTimer();
    QCOMPARE(Lbl(*w, "lblDatum")->text(), QStringLiteral("30."));

    world.clock.Set(year{2025} / 3 / 31, 3s);
    w->tmrZapisTimer();
    const auto fresh = world.StartShown();
    for (const char* meno :
         {"lblDnes", "lblDen", "lblDatum", "lblSviatok1", "lblSviatok2", "lblSviatok3", "lblNote"})
        QCOMPARE(Lbl(*w, meno)->text(), Lbl(*fresh, meno)->text());
    // (the new day's texts and tooltip are the widget model's table)
    QCOMPARE(w->height(), fresh->height());
    QCOMPARE(w->Tray()->toolTip(), fresh->TextTooltipu());
    QCOMPARE(w->Tray()->icon().pixmap(22).toImage(), TrayIconPicture(31).pixmap(22).toImage());
}

void fMainTest::missedDays_data() {
    QTest::addColumn<bool>("byClick"); // put away by a click on them, else by the countdown
    QTest::newRow("click") << true;
    QTest::newRow("countdown") << false;
}

void fMainTest::missedDays() {
    QFETCH(bool, byClick);
    WidgetWorld world(2026y / 12 / 9); // a Wednesday; the last run was on Saturday
    const QString saturday = QLocale::system().toString(QDate(2026, 12, 5), QLocale::ShortFormat);
    world.hive.PutString(HiveKey::Settings, "Now", saturday.toStdString());
    world.hive.PutString(HiveKey::Settings, "ShowTime", "1000");
    world.WriteEntries(6, 12, {{2, 1996, "Jano"}});
    world.WriteEntries(8, 12, {{1, 2026, "zubár"}});
    world.WriteEntries(9, 12, {{1, 2026, "dnes"}});
    auto w = world.StartShown();
    QCOMPARE(EventLines(*w).size(), 3);
    const QImage violet = Lbl(*w, "Pruh1")->pixmap().toImage();
    const QColor color = violet.pixelColor(violet.width() / 2, violet.height() / 2);
    QVERIFY2(color.blue() > color.green() + 40 && color.red() > color.green(),
             qPrintable(color.name()));
    QCOMPARE(Lbl(*w, "Pruh2")->pixmap().toImage(), violet);
    QVERIFY(Lbl(*w, "Pruh3")->pixmap().toImage() != violet);

    if (byClick) {
        Click(Control(*w, "lblNote"), {40, 4});
        QTRY_COMPARE(w->MissedCount(), 0);
        QTest::qWait(20);
        QVERIFY(!QApplication::activeModalWidget()); // not the week window
    } else {
        for (int i = 0; i < 1000 && w->isVisible() && !w->isMinimized(); ++i)
            w->tmrTimerTimer();
        QCOMPARE(w->MissedCount(), 0);
    }
    QCOMPARE(EventLines(*w), QStringList{QStringLiteral("dnes")});
    QCOMPARE(VisibleBars(*w).size(), 1);
}

void fMainTest::countdownTwoSeconds() {
    WidgetWorld world(sunday);
    world.tray = true;
    world.hive.PutString(HiveKey::Settings, "ShowTime", "2000");
    auto w = world.StartShown();
    w->SpustiOdpocet();
    w->tmrTimerTimer();
    QCOMPARE(qRound(w->windowOpacity() * 255), 161);

    w->SpustiOdpocet();
    QCOMPARE(w->windowOpacity(), 1.0);
    QElapsedTimer clockTime;
    clockTime.start();
    QTRY_VERIFY_WITH_TIMEOUT(!w->isVisible(), 4000);
    QVERIFY2(clockTime.elapsed() >= 1800, qPrintable(QString::number(clockTime.elapsed())));
    QVERIFY(!w->findChild<QTimer*>(QStringLiteral("tmrTimer"))->isActive());
}

void fMainTest::alwaysStartsNoCountdown() {
    WidgetWorld world(sunday);
    world.hive.PutString(HiveKey::Settings, "ShowTime", "1000");
    world.hive.PutString(HiveKey::Startup, "ZelmTilavaS", "True");
    auto w = world.Start();
    QVERIFY(w->Settings().Stale);
    w->show();
    w->SpustiOdpocet();
    QVERIFY(!w->findChild<QTimer*>(QStringLiteral("tmrTimer"))->isActive());
    QCOMPARE(w->windowOpacity(), 1.0);
}

void fMainTest::edgeBelongsInside_data() {
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<bool>("inside");
    // the widget at 300, 200, 170 x 85
    // (every edge is the widget rectangle's table)
    QTest::newRow("bottom right corner") << QPoint(470, 285) << true;
    QTest::newRow("right of it") << QPoint(471, 240) << false;
}

void fMainTest::edgeBelongsInside() {
    QFETCH(QPoint, cursor);
    QFETCH(bool, inside);
    WidgetWorld world(sunday);
    auto w = world.Start();
    w->move(300, 200);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(w->geometry(), QRect(300, 200, 170, 85));
    w->MysNadFormom();
    QCursor::setPos(cursor);
    QCOMPARE(QCursor::pos(), cursor);
    w->tmrNadFormomTimer();
    QCOMPARE(w->TomorrowView(), inside);
    QCOMPARE(Lbl(*w, "lblDnes")->text(),
             inside ? QStringLiteral("Zajtra") : QStringLiteral("Dnes"));
    QCOMPARE(w->findChild<QTimer*>(QStringLiteral("tmrNadFormom"))->isActive(), inside);
}

void fMainTest::tomorrowView() {
    WidgetWorld world(year{2025} / 3 / 9); // Sunday 9 March; tomorrow Monday 10 March
    auto w = world.StartShown();
    QCursor::setPos(0, 700);
    const TSviatky& tomorrow = w->Rok().DajDen(10, 3);
    // An idle widget wakes only for the 5 s record of the date.
    const auto running = [&w](const char* timer) {
        return w->findChild<QTimer*>(QLatin1String(timer))->isActive();
    };
    QVERIFY(!running("tmrNadFormom") && running("tmrZapis"));

    MoveMouse(Control(*w, "Image1"), {60, 20});
    QVERIFY(w->TomorrowView());
    QVERIFY(running("tmrNadFormom"));
    QCOMPARE(Lbl(*w, "lblDnes")->text(), QStringLiteral("Zajtra"));
    QCOMPARE(Lbl(*w, "lblDen")->text(), QStringLiteral("Pondelok"));
    QCOMPARE(Lbl(*w, "lblDatum")->text(), QStringLiteral("10."));
    QCOMPARE(Lbl(*w, "lblSviatok1")->text(), QString::fromStdString(tomorrow.Nazov(1)));
    QVERIFY(Lbl(*w, "lblSviatok1")->isVisible());
    QVERIFY(!Lbl(*w, "lblSviatok2")->isVisible());
    QVERIFY(!Lbl(*w, "lblSviatok3")->isVisible());
    QVERIFY(Lbl(*w, "imgDrag")->isVisible());

    // The pointer is away: within a tick or two the widget shows today again.
    QTRY_VERIFY_WITH_TIMEOUT(!w->TomorrowView(), 1000);
    QCOMPARE(Lbl(*w, "lblDnes")->text(), QStringLiteral("Dnes"));
    QCOMPARE(Lbl(*w, "lblDen")->text(), QStringLiteral("Nedeľa"));
    QCOMPARE(Lbl(*w, "lblDatum")->text(), QStringLiteral("9."));
    QVERIFY(Lbl(*w, "lblSviatok2")->isVisible());
    QVERIFY(!Lbl(*w, "imgDrag")->isVisible());
    QVERIFY(!running("tmrNadFormom"));
}

void fMainTest::leavingShowsToday_data() {
    QTest::addColumn<QPoint>("cursor"); // where the window system says the pointer is
    QTest::addColumn<QString>("leave"); // which widget gets a leave event, if any
    QTest::addColumn<bool>("tomorrow"); // still showing tomorrow after a tick of the check
    // the widget at 300, 200, 170 x 85
    // Wayland: the leave event comes, the position stays where the pointer left
    QTest::newRow("window left, position not told") << QPoint(400, 240) << "frmMain" << false;
    QTest::newRow("window left") << QPoint(100, 100) << "frmMain" << false;
    QTest::newRow("no leave event, pointer away") << QPoint(100, 100) << "" << false;
    QTest::newRow("no leave event, pointer rests") << QPoint(400, 240) << "" << true;
    QTest::newRow("flag left, still over the window") << QPoint(350, 210) << "imgFlag" << true;
}

void fMainTest::leavingShowsToday() {
    QFETCH(QPoint, cursor);
    QFETCH(QString, leave);
    QFETCH(bool, tomorrow);
    WidgetWorld world(year{2025} / 3 / 9); // Sunday 9 March
    auto w = world.Start();
    w->move(300, 200);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto* check = w->findChild<QTimer*>(QStringLiteral("tmrNadFormom"));

    // Twice: the widget shows tomorrow again when the pointer comes back.
    for (int round = 0; round < 2; ++round) {
        QCursor::setPos(400, 240);
        MoveMouse(Control(*w, "Image1"), {60, 20});
        QVERIFY(w->TomorrowView());
        QCursor::setPos(cursor);
        if (!leave.isEmpty()) {
            QEvent event(QEvent::Leave);
            QWidget* target = leave == w->objectName() ? w.get() : Control(*w, qPrintable(leave));
            QApplication::sendEvent(target, &event);
        }
        w->tmrNadFormomTimer();
        QCOMPARE(w->TomorrowView(), tomorrow);
        QCOMPARE(Lbl(*w, "lblDnes")->text(),
                 tomorrow ? QStringLiteral("Zajtra") : QStringLiteral("Dnes"));
        QCOMPARE(Lbl(*w, "lblDatum")->text(),
                 tomorrow ? QStringLiteral("10.") : QStringLiteral("9."));
        QCOMPARE(Lbl(*w, "imgDrag")->isVisible(), tomorrow);
        QCOMPARE(check->isActive(), tomorrow);
        if (tomorrow)
            return;
    }
}

// (which buttons a path over them lights is the hover model's table)
void fMainTest::dayAreaPutsTheButtonsOut() {
    WidgetWorld world(sunday);
    auto w = world.Start();
    w->show();
    QWidget* close = Control(*w, "imgClose");
    const QImage closeNormal = test::ShownPicture(close);
    QVERIFY(!closeNormal.isNull());
    MoveMouse(close);
    QVERIFY(w->Hover().IsLit(ButtonHover::Close));
    QVERIFY(test::ShownPicture(close) != closeNormal);
    MoveMouse(Control(*w, "Image1"), {60, 20});
    QVERIFY(!w->Hover().IsLit(ButtonHover::Close));
    QCOMPARE(test::ShownPicture(close), closeNormal);
}

void fMainTest::hoverDimsOnLeave_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("way");
    // the button's own leave event, the window's, or none at all (only the leave check sees
    // that the pointer is gone)
    // (the hover rules of every button are the hover model's table)
    for (const char* a : {"button", "window", "check"})
        QTest::addRow("imgMin, %s", a) << "imgMin" << a;
}

void fMainTest::hoverDimsOnLeave() {
    QFETCH(QString, button);
    QFETCH(QString, way);
    WidgetWorld world(sunday);
    auto w = world.StartShown();
    QCursor::setPos(0, 700); // far from the widget in the top right corner
    // The leave check has seen the pointer away and stopped.
    w->tmrNadFormomTimer();
    QWidget* b = Control(*w, qPrintable(button));
    const QImage normal = test::ShownPicture(b);
    MoveMouse(b);
    QVERIFY(test::ShownPicture(b) != normal);

    QEvent leave(QEvent::Leave);
    if (way == QLatin1String("button"))
        QApplication::sendEvent(b, &leave);
    else if (way == QLatin1String("window"))
        QApplication::sendEvent(w.get(), &leave);
    else
        QTRY_VERIFY_WITH_TIMEOUT(test::ShownPicture(b) == normal, 1000);
    QCOMPARE(test::ShownPicture(b), normal);
    for (std::size_t i = 0; i < ButtonHover::Pocet; ++i)
        QVERIFY(!w->Hover().IsLit(static_cast<ButtonHover::Button>(i)));
}

void fMainTest::dragging() {
    WidgetWorld world(sunday);
    auto w = world.Start();
    w->move(300, 200);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QWidget* titleBar = Control(*w, "imgHornaLista");
    auto* timer = w->findChild<QTimer*>(QStringLiteral("tmrTimer"));

    MouseEvent(titleBar, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    QVERIFY(!timer->isActive());
    MoveMouse(titleBar, {30, 25}, Qt::LeftButton);
    QCOMPARE(w->pos(), QPoint(320, 215));
    MoveMouse(titleBar, {5, 12}, Qt::LeftButton);
    QCOMPARE(w->pos(), QPoint(315, 217));
    MouseEvent(titleBar, QEvent::MouseButtonRelease, {5, 12}, Qt::LeftButton, Qt::NoButton);
    QVERIFY(timer->isActive());
    MoveMouse(titleBar, {50, 15});
    QCOMPARE(w->pos(), QPoint(315, 217));

    // Any button drags, and off the screen too.
    MouseEvent(titleBar, QEvent::MouseButtonPress, {10, 10}, Qt::RightButton, Qt::RightButton);
    MoveMouse(titleBar, {-400, -300}, Qt::RightButton);
    QCOMPARE(w->pos(), QPoint(-95, -93));
    MouseEvent(titleBar, QEvent::MouseButtonRelease, {-400, -300}, Qt::RightButton, Qt::NoButton);
}

void fMainTest::flagSwitchesLanguage() {
    WidgetWorld world(year{2025} / 1 / 2);
    auto w = world.Start();
    w->show();
    QCursor::setPos(0, 700);
    QWidget* flag = Control(*w, "imgFlag");
    const QImage sk = test::ShownPicture(flag);
    QCOMPARE(ShownNames(*w), (QStringList{"Alexandra", "Karina", ""}));

    Click(flag);
    QVERIFY(!w->JazykSK());
    QCOMPARE(ShownNames(*w), (QStringList{"", "Karina", ""}));
    QVERIFY(test::ShownPicture(flag) != sk);

    // Clicked in the tomorrow view: tomorrow's texts in the new language, not today's.
    MoveMouse(flag);
    QVERIFY(w->TomorrowView());
    Click(flag);
    QVERIFY(w->JazykSK());
    QCOMPARE(Lbl(*w, "lblDnes")->text(), QStringLiteral("Zajtra"));
    QCOMPARE(Lbl(*w, "lblDatum")->text(), QStringLiteral("3."));
    QCOMPARE(Lbl(*w, "lblSviatok1")->text(), QStringLiteral("Daniela"));
    QCOMPARE(test::ShownPicture(flag), sk);
}

void fMainTest::positionOnClose() {
    WidgetWorld world(sunday);
    {
        auto w = world.Start();
        QCOMPARE(w->pos(), QPoint(800 - 170, 0)); // the offscreen screen is 800 wide
        w->show();
        w->move(120, 45);
        QSignalSpy end(w.get(), &TfrmMain::closed);
        Click(Control(*w, "imgClose"));
        QCOMPARE(end.size(), 1);
        QVERIFY(!w->isVisible());
    }
    QCOMPARE(QString::fromStdString(world.hive.ReadValue(HiveKey::Settings, "frmMainTop").text),
             QStringLiteral("45"));
    QCOMPARE(QString::fromStdString(world.hive.ReadValue(HiveKey::Settings, "frmMainLeft").text),
             QStringLiteral("120"));
    QCOMPARE(world.Start()->pos(), QPoint(630, 0)); // not remembered unless Pamatat
    world.hive.PutString(HiveKey::Startup, "ZelmTilavaP", "True");
    QCOMPARE(world.Start()->pos(), QPoint(120, 45));
    world.hive.PutString(HiveKey::Settings, "frmMainTop", "0"); // 0 counts as absent
    QCOMPARE(world.Start()->pos(), QPoint(120, 0));
}

void fMainTest::hiding_data() {
    QTest::addColumn<bool>("tray");
    QTest::addColumn<bool>("countdown");   // hidden by the countdown, else by its button
    QTest::addColumn<bool>("fromTaskbar"); // brought back from the task bar, else by Ukaz
    QTest::newRow("tray, button") << true << false << false;
    QTest::newRow("tray, countdown") << true << true << false;
    QTest::newRow("no tray, button, task bar") << false << false << true;
    QTest::newRow("no tray, countdown, task bar") << false << true << true;
    QTest::newRow("no tray, countdown, second start") << false << true << false;
}

void fMainTest::hiding() {
    QFETCH(bool, tray);
    QFETCH(bool, countdown);
    QFETCH(bool, fromTaskbar);
    WidgetWorld world(sunday);
    world.tray = tray;
    world.hive.PutString(HiveKey::Settings, "ShowTime", "1000");
    auto w = world.StartShown();
    if (countdown) {
        for (int i = 0; i < 1000 && w->isVisible() && !w->isMinimized(); ++i)
            w->tmrTimerTimer();
    } else {
        Click(Control(*w, "imgMin"));
    }
    // Without a tray icon to bring it back, the widget waits in the task bar.
    QCOMPARE(w->isVisible(), !tray);
    QCOMPARE(w->isMinimized(), !tray);
    QVERIFY(!w->findChild<QTimer*>(QStringLiteral("tmrTimer"))->isActive());
    if (!tray) // not faded where it stays
        QCOMPARE(w->windowOpacity(), 1.0);

    if (fromTaskbar)
        w->showNormal();
    else
        w->Ukaz();
    QVERIFY(w->isVisible());
    QVERIFY(!w->isMinimized());
    QCOMPARE(w->windowOpacity(), 1.0);
    QVERIFY(w->findChild<QTimer*>(QStringLiteral("tmrTimer"))->isActive());
}

// A message carries the program's name; a question shows its choices as buttons, the first
// the default and the answer to Escape.
void fMainTest::notifierBoxes() {
    QApplication::setApplicationDisplayName(QStringLiteral("Tilava"));
    SystemNotifier notifier;
    QString messageTitle, messageText;
    Qt::TextFormat messageFormat = Qt::AutoText;
    test::WhenActive<QMessageBox>([&](QMessageBox& box) {
        messageTitle = box.windowTitle();
        messageText = box.text();
        messageFormat = box.textFormat();
        box.accept();
    });
    // A report names what a server sent ("<b>…</b>" in an event's summary): shown as it is.
    notifier.Message(nullptr, QStringLiteral("Konflikt: <b>Jano</b>"));
    QCOMPARE(messageTitle, QStringLiteral("Tilava"));
    QCOMPARE(messageText, QStringLiteral("Konflikt: <b>Jano</b>"));
    QCOMPARE(messageFormat, Qt::PlainText);
    const QStringList choices{QStringLiteral("Skúsiť znova"),
                              QStringLiteral("Zavrieť bez uloženia")};
    for (int press : {-1, 0, 1}) { // -1: Escape
        QString title, text;
        QStringList buttons;
        bool firstIsDefault = false;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        test::WhenActive<QMessageBox>([&](QMessageBox& box) {
            title = box.windowTitle();
            text = box.text();
            icon = box.icon();
            QCOMPARE(box.textFormat(), Qt::PlainText);
            const QList<QAbstractButton*> shown = box.buttons();
            for (QAbstractButton* b : shown)
                buttons << b->text();
            firstIsDefault = box.defaultButton() && box.defaultButton()->text() == choices[0];
            if (press < 0) {
                QTest::keyClick(&box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* b : shown)
                if (b->text() == choices[press])
                    b->click();
        });
        const int answer =
            notifier.Ask(nullptr, QStringLiteral("Zmeny sa nepodarilo uložiť"), choices);
        QCOMPARE(answer, press < 0 ? 0 : press);
        QCOMPARE(title, QStringLiteral("Tilava"));
        QCOMPARE(text, QStringLiteral("Zmeny sa nepodarilo uložiť"));
        QCOMPARE(icon, QMessageBox::Warning);
        buttons.sort();
        QStringList sorted = choices;
        sorted.sort();
        QCOMPARE(buttons, sorted);
        QVERIFY(firstIsDefault);
    }
}

void fMainTest::refusedSettingsFileToldOnce() {
    WidgetWorld world(2026y / 12 / 9);
    QTemporaryDir config;
    QVERIFY(QDir(config.path()).mkpath(QStringLiteral("ZELMtilava")));
    const QString path = config.filePath(QStringLiteral("ZELMtilava/settings.ini"));
    const QByteArray bytes = "[Settings]\nShowTime=1000\n" + QByteArray(2 * 1024 * 1024, ';');
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    FileHive hive(config.path().toStdString());
    TfrmMain w(world.clock, hive, world.folder.path().toStdString(), world.notifier,
               [] { return false; });
    w.show();
    QTRY_COMPARE(world.notifier.messages.size(), 1);
    const QString message = world.notifier.messages.first();
    QVERIFY2(message.contains(QStringLiteral("settings.ini")) &&
                 message.contains(QStringLiteral("príliš veľký")),
             qPrintable(message));
    w.tmrZapisTimer(); // "Now" cannot be recorded; that is not told again
    w.hide();
    w.show();
    QTest::qWait(20);
    QCOMPARE(world.notifier.messages.size(), 1);
    QVERIFY(FileBytes(path) == bytes);
}

} // namespace tilava

QTEST_MAIN(tilava::fMainTest)
#include "fMainTest.moc"
