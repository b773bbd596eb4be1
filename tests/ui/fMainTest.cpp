#include "ModalSupport.h"
#include "PictureSupport.h"
#include "WidgetSupport.h"

#include "core/uRok.h"
#include "platform/FileHive.h"
#include "ui/controls/ReminderText.h"
#include "ui/desktop/SystemNotifier.h"
#include "ui/skin/TrayIconPicture.h"

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
constexpr year_month_day prestupnyDen{year{2024}, month{2}, day{29}};
// Sunday 30 March 2025.
constexpr year_month_day nedela{year{2025}, month{3}, day{30}};

QLabel* Lbl(QWidget& w, const char* meno) {
    auto* l = w.findChild<QLabel*>(QLatin1String(meno));
    if (!l)
        qFatal("no control %s", meno);
    return l;
}

QWidget* Ovladac(QWidget& w, const char* meno) {
    auto* c = w.findChild<QWidget*>(QLatin1String(meno));
    if (!c)
        qFatal("no control %s", meno);
    return c;
}

void Mys(QWidget* w, QEvent::Type typ, QPoint bod, Qt::MouseButton tlacidlo = Qt::NoButton,
         Qt::MouseButtons drzane = Qt::NoButton) {
    QMouseEvent e(typ, QPointF(bod), QPointF(w->mapToGlobal(bod)), tlacidlo, drzane,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void Pohni(QWidget* w, QPoint bod = {3, 3}, Qt::MouseButtons drzane = Qt::NoButton) {
    Mys(w, QEvent::MouseMove, bod, Qt::NoButton, drzane);
}
void Klikni(QWidget* w, QPoint bod = {3, 3}) {
    Mys(w, QEvent::MouseButtonPress, bod, Qt::LeftButton, Qt::LeftButton);
    Mys(w, QEvent::MouseButtonRelease, bod, Qt::LeftButton, Qt::NoButton);
}

// The entries' texts as the event label shows them.
QStringList RiadkyUdalosti(QWidget& w) {
    const QString text = Lbl(w, "lblNote")->text();
    return text.isEmpty() ? QStringList{} : text.split(QLatin1Char('\n'));
}

// The event bars that are shown, top to bottom.
QList<QLabel*> ViditelnePruhy(QWidget& w) {
    QList<QLabel*> pruhy;
    for (std::size_t i = 1; i <= Reminders::MaxRiadkov; ++i)
        if (auto* p = w.findChild<QLabel*>(QStringLiteral("Pruh%1").arg(i));
            p && p->isVisibleTo(&w))
            pruhy << p;
    return pruhy;
}

QByteArray Bajty(const QString& cesta) {
    QFile subor(cesta);
    if (!subor.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(cesta));
    return subor.readAll();
}

QStringList Mena(QWidget& w) {
    return {Lbl(w, "lblSviatok1")->text(), Lbl(w, "lblSviatok2")->text(),
            Lbl(w, "lblSviatok3")->text()};
}

} // namespace

class fMainTest : public QObject {
    Q_OBJECT
private slots:
    void ovladaceNaMiestach();
    void menaNaRiadkoch_data();
    void menaNaRiadkoch();
    void denNaStrane_data();
    void denNaStrane();
    void dlheMena_data();
    void dlheMena();
    void dopredu_data();
    void dopredu();
    void stoPruhov();
    void longEntryTakesAFewLines();
    void chybnySuborDna();
    void polnoc();
    void zmeskaneDni_data();
    void zmeskaneDni();
    void odpocetDveSekundy();
    void staleNespustiOdpocet();
    void okrajPatriDnu_data();
    void okrajPatriDnu();
    void zajtrajsiPohlad();
    void hoverZMinNaClose();
    void hoverZhasnePoOdchode_data();
    void hoverZhasnePoOdchode();
    void tahanie();
    void vlajkaPrepneJazyk();
    void polohaPriZatvoreni();
    void skrytie_data();
    void skrytie();
    void spravaMaNazovProgramu();
    void questionOffersTheChoices();
    void refusedSettingsFileToldOnce();
};

void fMainTest::ovladaceNaMiestach() {
    WidgetWorld svet(nedela);
    svet.ZapisZaznamy(30, 3, {{1, 2025, "Zubár"}});
    auto w = svet.Start();
    QCOMPARE(w->windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
    QCOMPARE(w->width(), 170);
    QCOMPARE(w->palette().color(QPalette::Window), QColor(0xA6, 0xCA, 0xF0));
    struct Miesto {
        const char* meno;
        QRect miesto; // an empty size: sized to its text
    };
    // bottom of the stacking order first; the reminders' text starts two pixels below the
    // header, the room above the first bar's letters
    const Miesto tabulka[] = {
        {"imgMain", {0, 0, 170, 85}},      {"lblSviatok1", {72, 27, 97, 13}},
        {"lblDatum", {8, 32, 58, 41}},     {"lblSviatok2", {72, 46, 97, 13}},
        {"lblNote", {8, 87, 150, 0}},      {"imgSetup", {101, 1, 18, 16}},
        {"imgHelp", {120, 1, 13, 14}},     {"imgMin", {135, 1, 13, 14}},
        {"imgClose", {152, 1, 13, 14}},    {"lblSviatok3", {72, 58, 97, 13}},
        {"lblDnes", {5, 3, 0, 0}},         {"lblDen", {3, 25, 65, 0}},
        {"imgHornaLista", {0, 0, 97, 20}}, {"imgFlag", {46, 1, 26, 17}},
        {"imgDrag", {86, 45, 85, 38}},     {"Image1", {0, 24, 169, 57}},
    };
    QStringList poradie;
    for (QObject* o : w->children())
        if (qobject_cast<QWidget*>(o) && !o->objectName().startsWith(QStringLiteral("Pruh")) &&
            !qobject_cast<QWidget*>(o)->isWindow())
            poradie << o->objectName();
    QStringList ocakavane;
    for (const Miesto& m : tabulka) {
        ocakavane << QLatin1String(m.meno);
        const QRect g = Ovladac(*w, m.meno)->geometry();
        QCOMPARE(g.topLeft(), m.miesto.topLeft());
        if (!m.miesto.size().isEmpty())
            QCOMPARE(g.size(), m.miesto.size());
        else if (m.miesto.width() != 0)
            QCOMPARE(g.width(), m.miesto.width());
    }
    QCOMPARE(poradie, ocakavane);
    // The event bar lies below every control.
    QCOMPARE(w->children().indexOf(Ovladac(*w, "Pruh1")),
             w->children().indexOf(Ovladac(*w, "imgMain")) - 1);
    QVERIFY(!Ovladac(*w, "imgDrag")->isVisibleTo(w.get()));
    const char* hinty[][2] = {{"imgSetup", "Nastavenia"},
                              {"imgHelp", "Help"},
                              {"imgMin", "Minimalizovať"},
                              {"imgClose", "Zatvoriť"}};
    for (const auto& h : hinty)
        QCOMPARE(Ovladac(*w, h[0])->toolTip(), QString::fromUtf8(h[1]));
}

void fMainTest::menaNaRiadkoch_data() {
    QTest::addColumn<QStringList>("mena");
    QTest::addColumn<QStringList>("riadky");
    // (which name goes on which line is the day texts' table)
    QTest::newRow("1") << QStringList{"Adam"} << QStringList{"", "Adam", ""};
}

void fMainTest::menaNaRiadkoch() {
    QFETCH(QStringList, mena);
    QFETCH(QStringList, riadky);
    WidgetWorld svet(prestupnyDen);
    auto w = svet.Start();
    for (const QString& m : mena)
        w->Rok().Pridaj(29, 2, 's', m.toStdString(), false);
    w->ZobrazUdalosti();
    QCOMPARE(Mena(*w), riadky);
    QCOMPARE(Lbl(*w, "lblDatum")->text(), QStringLiteral("29."));
    QCOMPARE(Lbl(*w, "lblDen")->text(), QStringLiteral("Štvrtok"));
    QCOMPARE(Lbl(*w, "lblDnes")->text(), QStringLiteral("Dnes"));
}

void fMainTest::denNaStrane_data() {
    QTest::addColumn<int>("den");
    QTest::addColumn<QString>("nazov");
    // the week of Monday 24 March 2025
    const char* dni[] = {"Pondelok", "Utorok", "Streda", "Štvrtok", "Piatok", "Sobota", "Nedeľa"};
    for (int i = 0; i < 7; ++i)
        QTest::newRow(dni[i]) << 24 + i << QString::fromUtf8(dni[i]);
}

void fMainTest::denNaStrane() {
    QFETCH(int, den);
    QFETCH(QString, nazov);
    WidgetWorld svet(year{2025} / 3 / den);
    auto w = svet.Start();
    QLabel* lbl = Lbl(*w, "lblDen");
    const QRect strana = TfrmMain::StranaDna;
    // With either name-day language (the weekday names are the Slovak ones in both).
    for (bool sk : {true, false}) {
        if (w->JazykSK() != sk)
            w->PrepniJazyk();
        QCOMPARE(lbl->text(), nazov);
        // Where the label puts the letters, from its own font's metrics.
        const QFontMetrics fm = lbl->fontMetrics();
        const QRect cr = lbl->contentsRect();
        const int x = lbl->x() + cr.x() + (cr.width() - fm.horizontalAdvance(nazov)) / 2;
        const QRect ink =
            fm.tightBoundingRect(nazov).translated(x, lbl->y() + cr.y() + fm.ascent());
        QVERIFY2(strana.adjusted(2, 0, -2, 0).contains(ink), qPrintable(nazov));
        QVERIFY2(ink.top() >= strana.top() + TfrmMain::PasStrany, qPrintable(nazov));
        QVERIFY2(qAbs(ink.center().x() - strana.center().x()) <= 1, qPrintable(nazov));
        // The same drawn at 1x and 2x: the pixels the glyphs cover stay on the page, below the
        // band (at 2x the hinting and the caron's shape differ).
        for (int dpr : {1, 2}) {
            QImage obraz(w->size() * dpr, QImage::Format_ARGB32_Premultiplied);
            obraz.setDevicePixelRatio(dpr);
            obraz.fill(Qt::transparent);
            {
                QPainter p(&obraz);
                lbl->render(&p, lbl->pos(), QRegion(), QWidget::DrawChildren);
            }
            QRect pokryte;
            for (int y = 0; y < obraz.height(); ++y)
                for (int column = 0; column < obraz.width(); ++column)
                    if (qAlpha(obraz.pixel(column, y)) > 0)
                        pokryte |= QRect(column, y, 1, 1);
            const QRect stranaPx(strana.topLeft() * dpr, strana.size() * dpr);
            const QString kde = QStringLiteral("%1 at %2x: %3,%4 %5x%6")
                                    .arg(nazov)
                                    .arg(dpr)
                                    .arg(pokryte.x())
                                    .arg(pokryte.y())
                                    .arg(pokryte.width())
                                    .arg(pokryte.height());
            QVERIFY2(!pokryte.isEmpty(), qPrintable(kde));
            QVERIFY2(stranaPx.adjusted(2 * dpr, 0, -2 * dpr, 0).contains(pokryte), qPrintable(kde));
            QVERIFY2(pokryte.top() >= (strana.top() + TfrmMain::PasStrany) * dpr, qPrintable(kde));
        }
    }
}

void fMainTest::dlheMena_data() {
    QTest::addColumn<QString>("meno");
    QTest::addColumn<QString>("zobrazene");
    QTest::addColumn<QString>("hint");
    QTest::newRow("14 characters") << "Abcdefghijkľšť"
                                   << "Abcdefghijkľšť"
                                   << "";
    QTest::newRow("15 characters") << "Štefánia Ľubica"
                                   << "Štefánia Ľu..."
                                   << "Štefánia Ľubica";
}

void fMainTest::dlheMena() {
    QFETCH(QString, meno);
    QFETCH(QString, zobrazene);
    QFETCH(QString, hint);
    WidgetWorld svet(prestupnyDen);
    auto w = svet.Start();
    w->Rok().Pridaj(29, 2, 's', meno.toStdString(), false);
    w->ZobrazUdalosti();
    QCOMPARE(Lbl(*w, "lblSviatok2")->text(), zobrazene);
    QCOMPARE(Lbl(*w, "lblSviatok2")->toolTip(), hint);
    // The day area lies above the name lines and shows the hint of the line under the pointer.
    w->show();
    QWidget* plocha = Ovladac(*w, "Image1");
    const QPoint bod = plocha->mapFrom(w.get(), Lbl(*w, "lblSviatok2")->geometry().center());
    QHelpEvent pomoc(QEvent::ToolTip, bod, plocha->mapToGlobal(bod));
    QApplication::sendEvent(plocha, &pomoc);
    QCOMPARE(QToolTip::isVisible(), !hint.isEmpty());
    if (!hint.isEmpty())
        QCOMPARE(QToolTip::text(), hint);
    QToolTip::hideText();

    // Seen from the day before, in the tomorrow view: the first line, its hint the shown text.
    svet.hodiny.Nastav(year{2024} / 2 / 28);
    w->MysNadFormom();
    QCOMPARE(Lbl(*w, "lblSviatok1")->text(), zobrazene);
    QCOMPARE(Lbl(*w, "lblSviatok1")->toolTip(), zobrazene);
}

void fMainTest::dopredu_data() {
    QTest::addColumn<QString>("dopredu");
    QTest::addColumn<QStringList>("riadky");
    QTest::newRow("2") << "2"
                       << QStringList{"Jano 45. narodeniny", "Zubár", "25. výročie svadba",
                                      "ráno: Nedeľný obed u Šimona a Ľubice"};
    QTest::newRow("-1") << "-1" << QStringList{};
}

void fMainTest::dopredu() {
    QFETCH(QString, dopredu);
    QFETCH(QStringList, riadky);
    WidgetWorld svet(nedela);
    svet.ZapisZaznamy(30, 3, {{2, 1980, "Jano"}, {1, 2025, "Zubár"}});
    svet.ZapisZaznamy(31, 3, {{3, 2000, "svadba"}});
    svet.ZapisZaznamy(1, 4, {{1, 2025, "ráno: Nedeľný obed u Šimona a Ľubice"}});
    svet.ZapisZaznamy(2, 4, {{1, 2025, "neskoro"}});
    svet.hive.PutString(HiveKey::Settings, "Dopredu", dopredu.toStdString());
    auto w = svet.Start();

    QCOMPARE(RiadkyUdalosti(*w), riadky);
    QCOMPARE(w->PocetUdalosti(), static_cast<int>(riadky.size()));
    const QList<QLabel*> pruhy = ViditelnePruhy(*w);
    QCOMPARE(pruhy.size(), riadky.size());
    QLabel* note = Lbl(*w, "lblNote");
    if (riadky.isEmpty()) {
        QCOMPARE(w->height(), 85);
        return;
    }
    QCOMPARE(w->height(), note->y() + note->height());
    // The bars run from the header down to the window's bottom, one line of background
    // between two of them, and each holds the lines of its own entry with room above them
    // (the carons of Ľ and Š stay off the bar's edge); a long entry wraps onto a second line.
    const auto* text = dynamic_cast<const ReminderText*>(note);
    QVERIFY(text);
    QCOMPARE(text->PocetOdsekov(), riadky.size());
    QCOMPARE(text->Vyska(), note->height());
    int hore = 85;
    for (int i = 0; i < pruhy.size(); ++i) {
        const QLabel* p = pruhy[i];
        QCOMPARE(p->y(), hore);
        QCOMPARE(p->width(), 170);
        const QRectF odsek = text->Odsek(i).translated(note->pos());
        const int riadkov = riadky[i].size() > 25 ? 2 : 1;
        QVERIFY2(odsek.height() >= riadkov * note->fontMetrics().height(), qPrintable(riadky[i]));
        QVERIFY2(odsek.top() >= p->y() + TfrmMain::OdsadeniePruhu, qPrintable(riadky[i]));
        QVERIFY2(odsek.bottom() <= p->y() + p->height(), qPrintable(riadky[i]));
        hore = p->y() + p->height() + TfrmMain::MedzeraPruhov;
    }
    QCOMPARE(hore - TfrmMain::MedzeraPruhov, w->height());
}

void fMainTest::stoPruhov() {
    WidgetWorld svet(nedela);
    std::vector<WidgetWorld::Zaznam> vela;
    for (int i = 1; i <= 101; ++i)
        vela.push_back({1, 2025, "pripomienka " + std::to_string(i)});
    svet.ZapisZaznamy(30, 3, vela);
    auto w = svet.Start();
    QCOMPARE(w->PocetPruhov(), 100);
    QCOMPARE(ViditelnePruhy(*w).size(), 100);
    QCOMPARE(RiadkyUdalosti(*w).size(), 100);
    QCOMPARE(RiadkyUdalosti(*w).last(), QStringLiteral("pripomienka 100"));
    QVERIFY(svet.oznamy.messages.isEmpty());

    // A shorter list later shows only its own bars; the others stay for the next rebuild.
    svet.ZapisZaznamy(30, 3, {{1, 2025, "jedna"}, {2, 2000, "Eva"}});
    w->ZobrazUdalosti();
    QCOMPARE(w->PocetPruhov(), 100);
    QCOMPARE(ViditelnePruhy(*w).size(), 2);
    QCOMPARE(w->height(), Lbl(*w, "lblNote")->geometry().bottom() + 1);
}

// A megabyte of text in one entry (an import, a hand edit) shows as a bar of a few lines whose
// last ends in "…", and the entries after it keep their bars.
void fMainTest::longEntryTakesAFewLines() {
    WidgetWorld world(nedela);
    std::string longText;
    while (longText.size() < 1024 * 1024)
        longText += "slovo ";
    world.ZapisZaznamy(30, 3, {{1, 2025, longText}, {2, 1980, "Jano"}});
    auto w = world.Start();
    QCOMPARE(ViditelnePruhy(*w).size(), 2);
    const auto* text = dynamic_cast<const ReminderText*>(Lbl(*w, "lblNote"));
    QVERIFY(text);
    const int lineHeight = text->fontMetrics().height();
    QVERIFY(text->Odsek(0).height() > (ReminderText::MaxLines - 1) * lineHeight);
    QVERIFY(text->Odsek(0).height() <= ReminderText::MaxLines * (lineHeight + 1));
    QVERIFY(RiadkyUdalosti(*w).first().endsWith(QStringLiteral("…")));
    QCOMPARE(RiadkyUdalosti(*w).last(), QStringLiteral("Jano 45. narodeniny"));
    QVERIFY(w->accessibleDescription().size() < 1000);
}

void fMainTest::chybnySuborDna() {
    WidgetWorld svet(nedela);
    svet.ZapisZaznamy(30, 3, {{1, 2025, "Zubár"}});
    // line 7, the kind of the second record, is not a number; the first record is whole
    svet.ZapisDen(31, 3, {"!", "-1", "1", "2025", "ráno", "-1", "x", "2025", "večer"});
    svet.ZapisZaznamy(2, 4, {{2, 2000, "Eva"}});
    svet.hive.PutString(HiveKey::Settings, "Dopredu", "3");
    const QByteArray zlySubor = Bajty(svet.Subor(31, 3));
    auto w = svet.Start();

    // Every readable day is listed; the bad one adds its own bar after what it did hold.
    QCOMPARE(RiadkyUdalosti(*w),
             (QStringList{"Zubár", "ráno", "Súbor 0331.txt sa nedá prečítať (riadok 7)",
                          "Eva 25. narodeniny"}));
    const QList<QLabel*> pruhy = ViditelnePruhy(*w);
    QCOMPARE(pruhy.size(), 4);
    const QImage poznamka = pruhy[0]->pixmap().toImage();
    QCOMPARE(pruhy[1]->pixmap().toImage(), poznamka);
    for (int i : {0, 3})
        QVERIFY(pruhy[2]->pixmap().toImage() != pruhy[i]->pixmap().toImage());
    QCOMPARE(w->height(), pruhy.last()->y() + pruhy.last()->height());
    for (const char* meno : {"imgFlag", "imgMain", "imgSetup", "imgHelp", "imgMin", "imgClose"})
        QVERIFY2(!test::ShownPicture(Ovladac(*w, meno)).isNull(), meno);

    // The message waits until the widget is on the screen, then comes from the event loop.
    QCoreApplication::processEvents();
    QVERIFY(svet.oznamy.messages.isEmpty());
    w->show();
    QVERIFY(svet.oznamy.messages.isEmpty());
    QTRY_COMPARE(svet.oznamy.messages.size(), 1);
    QCOMPARE(svet.oznamy.parentShown, QList<bool>{true});
    QVERIFY(svet.oznamy.messages.first().contains(QStringLiteral("0331.txt")));
    QCOMPARE(Bajty(svet.Subor(31, 3)), zlySubor); // never written
}

void fMainTest::polnoc() {
    // Left running overnight, the widget shows the new day as a start on that day would.
    WidgetWorld svet(nedela);
    svet.tray = true;
    svet.hodiny.Nastav(nedela, 23h + 59min + 58s);
    svet.ZapisZaznamy(31, 3, {{1, 2025, "ráno"}, {2, 1980, "Jano"}});
    auto w = svet.Start();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    const QString vcera = w->TextTooltipu();
    w->tmrZapisTimer();
    QCOMPARE(Lbl(*w, "lblDatum")->text(), QStringLiteral("30."));

    svet.hodiny.Nastav(year{2025} / 3 / 31, 3s);
    w->tmrZapisTimer();
    const auto novy = svet.Start();
    novy->show();
    QVERIFY(QTest::qWaitForWindowExposed(novy.get()));
    for (const char* meno :
         {"lblDnes", "lblDen", "lblDatum", "lblSviatok1", "lblSviatok2", "lblSviatok3", "lblNote"})
        QCOMPARE(Lbl(*w, meno)->text(), Lbl(*novy, meno)->text());
    QCOMPARE(Lbl(*w, "lblDen")->text(), QStringLiteral("Pondelok"));
    QCOMPARE(w->height(), novy->height());
    QCOMPARE(w->TextTooltipu(), novy->TextTooltipu());
    QVERIFY(w->TextTooltipu() != vcera);
    QCOMPARE(w->Tray()->toolTip(), w->TextTooltipu());
    QCOMPARE(w->Tray()->icon().pixmap(22).toImage(), TrayIconPicture(31).pixmap(22).toImage());
}

void fMainTest::zmeskaneDni_data() {
    QTest::addColumn<bool>("klikom"); // put away by a click on them, else by the countdown
    QTest::newRow("click") << true;
    QTest::newRow("countdown") << false;
}

void fMainTest::zmeskaneDni() {
    QFETCH(bool, klikom);
    WidgetWorld svet(2026y / 12 / 9); // a Wednesday; the last run was on Saturday
    const QString sobota = QLocale::system().toString(QDate(2026, 12, 5), QLocale::ShortFormat);
    svet.hive.PutString(HiveKey::Settings, "Now", sobota.toStdString());
    svet.hive.PutString(HiveKey::Settings, "ShowTime", "1000");
    svet.ZapisZaznamy(6, 12, {{2, 1996, "Jano"}});
    svet.ZapisZaznamy(8, 12, {{1, 2026, "zubár"}});
    svet.ZapisZaznamy(9, 12, {{1, 2026, "dnes"}});
    auto w = svet.Start();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(RiadkyUdalosti(*w).size(), 3);
    const QImage fialovy = Lbl(*w, "Pruh1")->pixmap().toImage();
    const QColor farba = fialovy.pixelColor(fialovy.width() / 2, fialovy.height() / 2);
    QVERIFY2(farba.blue() > farba.green() + 40 && farba.red() > farba.green(),
             qPrintable(farba.name()));
    QCOMPARE(Lbl(*w, "Pruh2")->pixmap().toImage(), fialovy);
    QVERIFY(Lbl(*w, "Pruh3")->pixmap().toImage() != fialovy);

    if (klikom) {
        Klikni(Ovladac(*w, "lblNote"), {40, 4});
        QTRY_COMPARE(w->PocetZmeskanych(), 0);
        QTest::qWait(20);
        QVERIFY(!QApplication::activeModalWidget()); // not the week window
    } else {
        for (int i = 0; i < 1000 && w->isVisible() && !w->isMinimized(); ++i)
            w->tmrTimerTimer();
        QCOMPARE(w->PocetZmeskanych(), 0);
    }
    QCOMPARE(RiadkyUdalosti(*w), QStringList{QStringLiteral("dnes")});
    QCOMPARE(ViditelnePruhy(*w).size(), 1);
}

void fMainTest::odpocetDveSekundy() {
    WidgetWorld svet(nedela);
    svet.tray = true;
    svet.hive.PutString(HiveKey::Settings, "ShowTime", "2000");
    auto w = svet.Start();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->SpustiOdpocet();
    w->tmrTimerTimer();
    QCOMPARE(qRound(w->windowOpacity() * 255), 161);

    w->SpustiOdpocet();
    QCOMPARE(w->windowOpacity(), 1.0);
    QElapsedTimer cas;
    cas.start();
    QTRY_VERIFY_WITH_TIMEOUT(!w->isVisible(), 4000);
    QVERIFY2(cas.elapsed() >= 1800, qPrintable(QString::number(cas.elapsed())));
    QVERIFY(!w->findChild<QTimer*>(QStringLiteral("tmrTimer"))->isActive());
}

void fMainTest::staleNespustiOdpocet() {
    WidgetWorld svet(nedela);
    svet.hive.PutString(HiveKey::Settings, "ShowTime", "1000");
    svet.hive.PutString(HiveKey::Startup, "ZelmTilavaS", "True");
    auto w = svet.Start();
    QVERIFY(w->Settings().Stale);
    w->show();
    w->SpustiOdpocet();
    QVERIFY(!w->findChild<QTimer*>(QStringLiteral("tmrTimer"))->isActive());
    QCOMPARE(w->windowOpacity(), 1.0);
}

void fMainTest::okrajPatriDnu_data() {
    QTest::addColumn<QPoint>("kurzor");
    QTest::addColumn<bool>("dnu");
    // the widget at 300, 200, 170 x 85
    // (every edge is the widget rectangle's table)
    QTest::newRow("bottom right corner") << QPoint(470, 285) << true;
    QTest::newRow("right of it") << QPoint(471, 240) << false;
}

void fMainTest::okrajPatriDnu() {
    QFETCH(QPoint, kurzor);
    QFETCH(bool, dnu);
    WidgetWorld svet(nedela);
    auto w = svet.Start();
    w->move(300, 200);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(w->geometry(), QRect(300, 200, 170, 85));
    w->MysNadFormom();
    QCursor::setPos(kurzor);
    QCOMPARE(QCursor::pos(), kurzor);
    w->tmrNadFormomTimer();
    QCOMPARE(w->ZajtrajsiPohlad(), dnu);
    QCOMPARE(Lbl(*w, "lblDnes")->text(), dnu ? QStringLiteral("Zajtra") : QStringLiteral("Dnes"));
    QCOMPARE(w->findChild<QTimer*>(QStringLiteral("tmrNadFormom"))->isActive(), dnu);
}

void fMainTest::zajtrajsiPohlad() {
    WidgetWorld svet(year{2025} / 3 / 9); // Sunday 9 March; tomorrow Monday 10 March
    auto w = svet.Start();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCursor::setPos(0, 700);
    const TSviatky& zajtra = w->Rok().DajDen(10, 3);
    // An idle widget wakes only for the 5 s record of the date.
    const auto bezi = [&w](const char* casovac) {
        return w->findChild<QTimer*>(QLatin1String(casovac))->isActive();
    };
    QVERIFY(!bezi("tmrNadFormom") && bezi("tmrZapis"));

    Pohni(Ovladac(*w, "Image1"), {60, 20});
    QVERIFY(w->ZajtrajsiPohlad());
    QVERIFY(bezi("tmrNadFormom"));
    QCOMPARE(Lbl(*w, "lblDnes")->text(), QStringLiteral("Zajtra"));
    QCOMPARE(Lbl(*w, "lblDen")->text(), QStringLiteral("Pondelok"));
    QCOMPARE(Lbl(*w, "lblDatum")->text(), QStringLiteral("10."));
    QCOMPARE(Lbl(*w, "lblSviatok1")->text(), QString::fromStdString(zajtra.Nazov(1)));
    QVERIFY(Lbl(*w, "lblSviatok1")->isVisible());
    QVERIFY(!Lbl(*w, "lblSviatok2")->isVisible());
    QVERIFY(!Lbl(*w, "lblSviatok3")->isVisible());
    QVERIFY(Lbl(*w, "imgDrag")->isVisible());

    // The pointer is away: within a tick or two the widget shows today again.
    QTRY_VERIFY_WITH_TIMEOUT(!w->ZajtrajsiPohlad(), 1000);
    QCOMPARE(Lbl(*w, "lblDnes")->text(), QStringLiteral("Dnes"));
    QCOMPARE(Lbl(*w, "lblDen")->text(), QStringLiteral("Nedeľa"));
    QCOMPARE(Lbl(*w, "lblDatum")->text(), QStringLiteral("9."));
    QVERIFY(Lbl(*w, "lblSviatok2")->isVisible());
    QVERIFY(!Lbl(*w, "imgDrag")->isVisible());
    QVERIFY(!bezi("tmrNadFormom"));
}

void fMainTest::hoverZMinNaClose() {
    WidgetWorld svet(nedela);
    auto w = svet.Start();
    w->show();
    QWidget* min = Ovladac(*w, "imgMin");
    QWidget* close = Ovladac(*w, "imgClose");
    const QImage minNormal = test::ShownPicture(min);
    const QImage closeNormal = test::ShownPicture(close);
    QVERIFY(!minNormal.isNull());

    Pohni(min);
    QVERIFY(w->Hover().Svieti(ButtonHover::Min));
    QVERIFY(test::ShownPicture(min) != minNormal);
    Pohni(close);
    for (auto b : {ButtonHover::Setup, ButtonHover::Help, ButtonHover::Min})
        QVERIFY(!w->Hover().Svieti(b));
    QVERIFY(w->Hover().Svieti(ButtonHover::Close));
    QCOMPARE(test::ShownPicture(min), minNormal);
    QVERIFY(test::ShownPicture(close) != closeNormal);
    // Moving over a button leaves the countdown alone; the day area puts the buttons out.
    Pohni(Ovladac(*w, "Image1"), {60, 20});
    QVERIFY(!w->Hover().Svieti(ButtonHover::Close));
    QCOMPARE(test::ShownPicture(close), closeNormal);
}

void fMainTest::hoverZhasnePoOdchode_data() {
    QTest::addColumn<QString>("tlacidlo");
    QTest::addColumn<QString>("ako");
    // the button's own leave event, the window's, or none at all (only the leave check sees
    // that the pointer is gone)
    // (the hover rules of every button are the hover model's table)
    for (const char* a : {"button", "window", "check"})
        QTest::addRow("imgMin, %s", a) << "imgMin" << a;
}

void fMainTest::hoverZhasnePoOdchode() {
    QFETCH(QString, tlacidlo);
    QFETCH(QString, ako);
    WidgetWorld svet(nedela);
    auto w = svet.Start();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCursor::setPos(0, 700); // far from the widget in the top right corner
    // The leave check has seen the pointer away and stopped.
    w->tmrNadFormomTimer();
    QWidget* b = Ovladac(*w, qPrintable(tlacidlo));
    const QImage normalny = test::ShownPicture(b);
    Pohni(b);
    QVERIFY(test::ShownPicture(b) != normalny);

    QEvent odchod(QEvent::Leave);
    if (ako == QLatin1String("button"))
        QApplication::sendEvent(b, &odchod);
    else if (ako == QLatin1String("window"))
        QApplication::sendEvent(w.get(), &odchod);
    else
        QTRY_VERIFY_WITH_TIMEOUT(test::ShownPicture(b) == normalny, 1000);
    QCOMPARE(test::ShownPicture(b), normalny);
    for (std::size_t i = 0; i < ButtonHover::Pocet; ++i)
        QVERIFY(!w->Hover().Svieti(static_cast<ButtonHover::Tlacidlo>(i)));
}

void fMainTest::tahanie() {
    WidgetWorld svet(nedela);
    auto w = svet.Start();
    w->move(300, 200);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QWidget* lista = Ovladac(*w, "imgHornaLista");
    auto* casovac = w->findChild<QTimer*>(QStringLiteral("tmrTimer"));

    Mys(lista, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    QVERIFY(!casovac->isActive());
    Pohni(lista, {30, 25}, Qt::LeftButton);
    QCOMPARE(w->pos(), QPoint(320, 215));
    Pohni(lista, {5, 12}, Qt::LeftButton);
    QCOMPARE(w->pos(), QPoint(315, 217));
    Mys(lista, QEvent::MouseButtonRelease, {5, 12}, Qt::LeftButton, Qt::NoButton);
    QVERIFY(casovac->isActive());
    Pohni(lista, {50, 15});
    QCOMPARE(w->pos(), QPoint(315, 217));

    // Any button drags, and off the screen too.
    Mys(lista, QEvent::MouseButtonPress, {10, 10}, Qt::RightButton, Qt::RightButton);
    Pohni(lista, {-400, -300}, Qt::RightButton);
    QCOMPARE(w->pos(), QPoint(-95, -93));
    Mys(lista, QEvent::MouseButtonRelease, {-400, -300}, Qt::RightButton, Qt::NoButton);
}

void fMainTest::vlajkaPrepneJazyk() {
    WidgetWorld svet(year{2025} / 1 / 2);
    auto w = svet.Start();
    w->show();
    QCursor::setPos(0, 700);
    QWidget* vlajka = Ovladac(*w, "imgFlag");
    const QImage sk = test::ShownPicture(vlajka);
    QCOMPARE(Mena(*w), (QStringList{"Alexandra", "Karina", ""}));

    Klikni(vlajka);
    QVERIFY(!w->JazykSK());
    QCOMPARE(Mena(*w), (QStringList{"", "Karina", ""}));
    QVERIFY(test::ShownPicture(vlajka) != sk);

    // Clicked in the tomorrow view: tomorrow's texts in the new language, not today's.
    Pohni(vlajka);
    QVERIFY(w->ZajtrajsiPohlad());
    Klikni(vlajka);
    QVERIFY(w->JazykSK());
    QCOMPARE(Lbl(*w, "lblDnes")->text(), QStringLiteral("Zajtra"));
    QCOMPARE(Lbl(*w, "lblDatum")->text(), QStringLiteral("3."));
    QCOMPARE(Lbl(*w, "lblSviatok1")->text(), QStringLiteral("Daniela"));
    QCOMPARE(test::ShownPicture(vlajka), sk);
}

void fMainTest::polohaPriZatvoreni() {
    WidgetWorld svet(nedela);
    {
        auto w = svet.Start();
        QCOMPARE(w->pos(), QPoint(800 - 170, 0)); // the offscreen screen is 800 wide
        w->show();
        w->move(120, 45);
        QSignalSpy koniec(w.get(), &TfrmMain::zatvorene);
        Klikni(Ovladac(*w, "imgClose"));
        QCOMPARE(koniec.size(), 1);
        QVERIFY(!w->isVisible());
    }
    QCOMPARE(QString::fromStdString(svet.hive.ReadValue(HiveKey::Settings, "frmMainTop").text),
             QStringLiteral("45"));
    QCOMPARE(QString::fromStdString(svet.hive.ReadValue(HiveKey::Settings, "frmMainLeft").text),
             QStringLiteral("120"));
    QCOMPARE(svet.Start()->pos(), QPoint(630, 0)); // not remembered unless Pamatat
    svet.hive.PutString(HiveKey::Startup, "ZelmTilavaP", "True");
    QCOMPARE(svet.Start()->pos(), QPoint(120, 45));
    svet.hive.PutString(HiveKey::Settings, "frmMainTop", "0"); // 0 counts as absent
    QCOMPARE(svet.Start()->pos(), QPoint(120, 0));
}

void fMainTest::skrytie_data() {
    QTest::addColumn<bool>("tray");
    QTest::addColumn<bool>("odpocet");   // hidden by the countdown, else by its button
    QTest::addColumn<bool>("zTaskbaru"); // brought back from the task bar, else by Ukaz
    QTest::newRow("tray, button") << true << false << false;
    QTest::newRow("tray, countdown") << true << true << false;
    QTest::newRow("no tray, button, task bar") << false << false << true;
    QTest::newRow("no tray, countdown, task bar") << false << true << true;
    QTest::newRow("no tray, countdown, second start") << false << true << false;
}

void fMainTest::skrytie() {
    QFETCH(bool, tray);
    QFETCH(bool, odpocet);
    QFETCH(bool, zTaskbaru);
    WidgetWorld svet(nedela);
    svet.tray = tray;
    svet.hive.PutString(HiveKey::Settings, "ShowTime", "1000");
    auto w = svet.Start();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    if (odpocet) {
        for (int i = 0; i < 1000 && w->isVisible() && !w->isMinimized(); ++i)
            w->tmrTimerTimer();
    } else {
        Klikni(Ovladac(*w, "imgMin"));
    }
    // Without a tray icon to bring it back, the widget waits in the task bar.
    QCOMPARE(w->isVisible(), !tray);
    QCOMPARE(w->isMinimized(), !tray);
    QVERIFY(!w->findChild<QTimer*>(QStringLiteral("tmrTimer"))->isActive());
    if (!tray) // not faded where it stays
        QCOMPARE(w->windowOpacity(), 1.0);

    if (zTaskbaru)
        w->showNormal();
    else
        w->Ukaz();
    QVERIFY(w->isVisible());
    QVERIFY(!w->isMinimized());
    QCOMPARE(w->windowOpacity(), 1.0);
    QVERIFY(w->findChild<QTimer*>(QStringLiteral("tmrTimer"))->isActive());
}

void fMainTest::spravaMaNazovProgramu() {
    QApplication::setApplicationDisplayName(QStringLiteral("Tilava"));
    SystemNotifier oznamy;
    QString titulok, text;
    test::WhenActive<QMessageBox>([&](QMessageBox& box) {
        titulok = box.windowTitle();
        text = box.text();
        box.accept();
    });
    oznamy.Message(nullptr, QStringLiteral("Súbor „0331.txt“, riadok 3: chyba"));
    QCOMPARE(titulok, QStringLiteral("Tilava"));
    QCOMPARE(text, QStringLiteral("Súbor „0331.txt“, riadok 3: chyba"));
}

// A question shows its choices as buttons, the first the default and the answer to Escape.
void fMainTest::questionOffersTheChoices() {
    SystemNotifier notifier;
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
    TfrmMain w(world.hodiny, hive, world.priecinok.path().toStdString(), world.oznamy,
               [] { return false; });
    w.show();
    QTRY_COMPARE(world.oznamy.messages.size(), 1);
    const QString message = world.oznamy.messages.first();
    QVERIFY2(message.contains(QStringLiteral("settings.ini")) &&
                 message.contains(QStringLiteral("príliš veľký")),
             qPrintable(message));
    w.tmrZapisTimer(); // "Now" cannot be recorded; that is not told again
    w.hide();
    w.show();
    QTest::qWait(20);
    QCOMPARE(world.oznamy.messages.size(), 1);
    QVERIFY(Bajty(path) == bytes);
}

} // namespace tilava

QTEST_MAIN(tilava::fMainTest)
#include "fMainTest.moc"
