#include "AccessibleSupport.h"
#include "WidgetSupport.h"

#include "core/Cp1250.h"
#include "core/uRok.h"
#include "store/uRegi.h"
#include "ui/desktop/PageOpener.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/fTyzden.h"
#include "ui/windows/fUdalost.h"
#include "ui/windows/OtvorKalendar.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
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
#include <QTest>
#include <QTimer>

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
    bool Otvor(const QUrl& adresa) override {
        otvorene << adresa;
        return uspech;
    }
    bool uspech = true;
    QList<QUrl> otvorene;
};

template <typename T = QWidget> T* Ovladac(QWidget& okno, const QString& meno) {
    auto* w = okno.findChild<T*>(meno);
    if (!w)
        qFatal("no control %s", qPrintable(meno));
    return w;
}

QLabel* Menovka(QWidget& okno, const QString& meno) {
    return Ovladac<QLabel>(okno, meno);
}

QColor Farba(QWidget* w) {
    return w->palette().color(QPalette::WindowText);
}

void Pis(QWidget* w, const QString& text) {
    for (const QChar znak : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(znak), Qt::NoModifier);
}

void Mys(QWidget* w, QEvent::Type typ, QPoint bod, Qt::MouseButton tlacidlo) {
    const Qt::MouseButtons drzane =
        typ == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(tlacidlo);
    QMouseEvent e(typ, QPointF(bod), QPointF(w->mapToGlobal(bod)), tlacidlo, drzane,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Through the window system, as a user clicks: the clicked list takes the focus first.
void Klikni(QWidget* w, QPoint bod) {
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, bod);
}

void Klikni(QWidget* w) {
    Klikni(w, w->rect().center());
}

void DvojKlik(QWidget* w, QPoint bod) {
    Klikni(w, bod);
    Mys(w, QEvent::MouseButtonPress, bod, Qt::LeftButton);
    Mys(w, QEvent::MouseButtonDblClick, bod, Qt::LeftButton);
    Mys(w, QEvent::MouseButtonRelease, bod, Qt::LeftButton);
}

// Runs `akcia` once on the first modal window of type T other than the week window; the
// returned timer watches until then.
template <typename T>
std::unique_ptr<QTimer> PriOkne(const std::function<void(T&)>& akcia, bool* spustena) {
    auto cakanie = std::make_unique<QTimer>();
    cakanie->setInterval(5);
    QTimer* t = cakanie.get();
    QObject::connect(t, &QTimer::timeout, [t, akcia, spustena] {
        auto* okno = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!okno || !okno->isVisible() || qobject_cast<TfrmTyzden*>(okno))
            return;
        t->stop();
        *spustena = true;
        akcia(*okno);
    });
    cakanie->start();
    return cakanie;
}

QByteArray Bajty(const QString& subor) {
    QFile f(subor);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray Cp(const char* utf8) {
    return QByteArray::fromStdString(EncodeCp1250(utf8));
}

std::set<int> Cervene(TfrmTyzden& okno) {
    std::set<int> cervene;
    for (int i = 1; i <= 7; ++i) {
        const QColor f = Farba(Menovka(okno, QStringLiteral("lblDen%1").arg(i)));
        for (const char* meno : {"lblDenTyzdna%1", "lblPrvy%1", "lblDruhy%1"})
            if (Farba(Menovka(okno, QString::fromLatin1(meno).arg(i))) != f)
                qWarning("row %d is not of one colour", i);
        if (f == red)
            cervene.insert(i);
        else if (f != navy)
            qWarning("row %d is neither navy nor red", i);
    }
    return cervene;
}

// What the user sees change when a control is pressed: the week and its Monday as assistive
// technology reads it, the framed day, the first result and the opened pages; or that the
// window has closed.
QString Stav(TfrmTyzden& okno, const TestOpener& web) {
    if (!okno.isVisible())
        return QStringLiteral("zatvorené");
    QStringList stranky;
    for (const QUrl& u : web.otvorene)
        stranky << u.toString();
    return QStringLiteral("%1; %2; deň %3; %4; %5")
        .arg(Menovka(okno, "lblTyzden")->text(),
             QAccessible::queryAccessibleInterface(okno.Zoznam(1))->text(QAccessible::Name))
        .arg((Ovladac(okno, "shpSel")->y() + 1 - 42) / 55)
        .arg(Ovladac<QAbstractButton>(okno, "Label1")->text(), stranky.join(QLatin1Char(' ')));
}

} // namespace

class fTyzdenTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WidgetWorld> svet;
    std::unique_ptr<TRok> rok;
    std::unique_ptr<TRegi> regi;
    TestOpener web;

    void Svet(year_month_day dnes) {
        svet = std::make_unique<WidgetWorld>(dnes);
        regi = std::make_unique<TRegi>(svet->hive);
        rok->JazykSK = true;
        web = {};
    }

    // Opens the week window as the widget does and runs `akcia` on it once it takes
    // commands; a window the action leaves open is closed with the save button's way.
    void Otvor(const std::function<void(TfrmTyzden&)>& akcia) {
        bool spustena = false;
        QTimer cakanie;
        cakanie.setInterval(5);
        connect(&cakanie, &QTimer::timeout, this, [&] {
            auto* okno = qobject_cast<TfrmTyzden*>(QApplication::activeModalWidget());
            if (spustena || !okno || okno->Zaneprazdneny || !okno->isActiveWindow())
                return;
            spustena = true;
            cakanie.stop();
            akcia(*okno);
            if (okno->isVisible())
                okno->Zatvor();
        });
        cakanie.start();
        QTimer straz;
        straz.setSingleShot(true);
        connect(&straz, &QTimer::timeout, this, [] {
            while (QWidget* w = QApplication::activeModalWidget())
                w->close();
        });
        straz.start(8000);
        OtvorKalendar(*rok, *regi, svet->priecinok.path().toStdString(), svet->hodiny, svet->oznamy,
                      web, nullptr);
        QVERIFY2(spustena, "the week window never took commands");
    }

private slots:
    void initTestCase() {
        InitSkinResources();
        QApplication::setApplicationDisplayName(QStringLiteral("Tilava"));
        rok = std::make_unique<TRok>();
        rok->Naplnit();
    }

    void opensOnTheCurrentWeekWithTheDayFramedAndItsListFocused() {
        Svet(year{2024} / 3 / 13); // a Wednesday
        Otvor([&](TfrmTyzden& okno) {
            QCOMPARE(okno.windowTitle(), QStringLiteral("Kalendár"));
            QCOMPARE(okno.size(), QSize(527, 552));
            QCOMPARE(Menovka(okno, "lblTyzden")->text(), QStringLiteral("11. týždeň"));
            QCOMPARE(Menovka(okno, "lblmesiacrok")->text(), QStringLiteral("Marec 2024"));
            QCOMPARE(Ovladac<QDateEdit>(okno, "dtpDatum")->date(), QDate(2024, 3, 13));
            for (int i = 1; i <= 7; ++i)
                QCOMPARE(Menovka(okno, QStringLiteral("lblDen%1").arg(i))->text(),
                         QString::number(10 + i));
            QCOMPARE(Menovka(okno, "lblDenTyzdna7")->text(), QStringLiteral("Nedeľa"));
            QCOMPARE(Menovka(okno, "lblPrvy4")->text(), QStringLiteral("Matilda"));
            QCOMPARE(Ovladac(okno, "shpSel")->y(), okno.Zoznam(3)->y() - 1);
            QCOMPARE(okno.Zoznam(3)->y(), 55 * 3 + 42);
            QCOMPARE(QApplication::focusWidget(), okno.Zoznam(3));
            const std::pair<const char*, QRect> miesta[] = {
                {"imgTminus", {191, 53, 16, 24}},  {"imgTplus", {340, 53, 16, 24}},
                {"dtpDatum", {371, 55, 90, 21}},   {"imgDnes", {473, 52, 40, 25}},
                {"txtFind", {184, 485, 131, 18}},  {"imgUlozit", {414, 527, 100, 25}},
                {"lblDen1", {13, 99, 48, 48}},     {"lstDen7", {182, 427, 331, 52}},
                {"imgImage7", {15, 427, 169, 54}}, {"Image1", {0, 0, 529, 49}},
            };
            for (const auto& [meno, miesto] : miesta)
                QCOMPARE(Ovladac(okno, meno)->geometry(), miesto);
            // Keyboard: Tab from the date picker reaches the search box.
            auto* dtp = Ovladac<QDateEdit>(okno, "dtpDatum");
            dtp->setFocus(Qt::TabFocusReason);
            QTest::keyClick(dtp, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), Ovladac(okno, "txtFind"));
        });
    }

    void easterAndHolidayRowsAreRed_data() {
        QTest::addColumn<QDate>("dnes");
        QTest::addColumn<int>("krok");
        QTest::addColumn<QList<int>>("cervene");
        QTest::addColumn<QStringList>("popisy");
        const QStringList vnoc{"lblVelkaNoc", "lblVelkaNedela"};
        const QStringList pondelok{"lblVelkaPondelok"};
        QTest::newRow("Easter 2009") << QDate(2009, 4, 8) << 0 << QList<int>{5, 7} << vnoc;
        QTest::newRow("after Easter 2009")
            << QDate(2009, 4, 8) << 3000 << QList<int>{1, 7} << pondelok;
        QTest::newRow("Easter 2024") << QDate(2024, 3, 27) << 0 << QList<int>{5, 7} << vnoc;
        QTest::newRow("after Easter 2024")
            << QDate(2024, 3, 27) << 3000 << QList<int>{1, 7} << pondelok;
        QTest::newRow("holiday on Friday")
            << QDate(2024, 7, 3) << 0 << QList<int>{5, 7} << QStringList{};
        QTest::newRow("the week after")
            << QDate(2024, 7, 3) << 3000 << QList<int>{7} << QStringList{};
    }
    void easterAndHolidayRowsAreRed() {
        QFETCH(QDate, dnes);
        QFETCH(int, krok);
        QFETCH(QList<int>, cervene);
        QFETCH(QStringList, popisy);
        Svet(year{dnes.year()} / dnes.month() / dnes.day());
        Otvor([&](TfrmTyzden& okno) {
            if (krok)
                QCOMPARE(okno.Prikaz(krok), 103);
            QCOMPARE(Cervene(okno), std::set<int>(cervene.begin(), cervene.end()));
            for (const char* meno : {"lblVelkaPondelok", "lblVelkaNoc", "lblVelkaNedela"})
                QCOMPARE(Menovka(okno, meno)->isVisible(), popisy.contains(QLatin1String(meno)));
        });
    }

    void searchAsYouTypeAndJumpToAResult_data() {
        QTest::addColumn<bool>("sk");
        QTest::addColumn<QDate>("dnes");
        QTest::addColumn<QString>("hladane");
        QTest::addColumn<int>("vysledkov"); // shown
        QTest::addColumn<bool>("sipky");
        QTest::addColumn<QString>("prvy");
        QTest::addColumn<QDate>("ciel");
        QTest::newRow("prefix first") << true << QDate(2024, 12, 20) << "ale" << 3 << true
                                      << "2.1. Alexandra" << QDate(2024, 1, 2);
        QTest::newRow("one result") << true << QDate(2024, 3, 13) << "ctib" << 1 << false
                                    << "13.9. Ctibor" << QDate(2024, 9, 13);
        QTest::newRow("29 February, leap year") << false << QDate(2024, 6, 10) << "horym" << 1
                                                << false << "29.2. Horymír" << QDate(2024, 2, 29);
        QTest::newRow("29 February, common year") << false << QDate(2025, 6, 10) << "horym" << 1
                                                  << false << "29.2. Horymír" << QDate(2025, 2, 28);
    }
    void searchAsYouTypeAndJumpToAResult() {
        QFETCH(bool, sk);
        QFETCH(QDate, dnes);
        QFETCH(QString, hladane);
        QFETCH(int, vysledkov);
        QFETCH(bool, sipky);
        QFETCH(QString, prvy);
        QFETCH(QDate, ciel);
        Svet(year{dnes.year()} / dnes.month() / dnes.day());
        rok->JazykSK = sk;
        Otvor([&](TfrmTyzden& okno) {
            auto* hladaj = Ovladac<QLineEdit>(okno, "txtFind");
            hladaj->setFocus();
            QAbstractButton* l[] = {Ovladac<QAbstractButton>(okno, "Label1"),
                                    Ovladac<QAbstractButton>(okno, "Label2"),
                                    Ovladac<QAbstractButton>(okno, "Label3")};
            Pis(hladaj, hladane.left(2));
            for (QAbstractButton* v : l)
                QVERIFY(v->text().isEmpty() && !v->isVisible());
            QVERIFY(!Ovladac(okno, "imgFplus")->isVisible());
            Pis(hladaj, hladane.mid(2));
            QCOMPARE(l[0]->text(), prvy);
            int pocet = 0;
            int sirka = 0;
            for (QAbstractButton* v : l)
                if (v->isVisible()) {
                    ++pocet;
                    sirka += v->width();
                }
            QCOMPARE(pocet, vysledkov);
            // Equal gaps before, between and after the shown results.
            const int medzera = (okno.width() - sirka) / (pocet + 1);
            int x = medzera;
            for (int k = 0; k < pocet; ++k) {
                QCOMPARE(l[k]->x(), x);
                x += l[k]->width() + medzera;
            }
            QCOMPARE(Ovladac(okno, "imgFminus")->isVisible(), sipky);
            QCOMPARE(Ovladac(okno, "imgFplus")->isVisible(), sipky);

            Klikni(l[0]);
            QCOMPARE(Ovladac<QDateEdit>(okno, "dtpDatum")->date(), ciel);
            const int den = ciel.dayOfWeek();
            QCOMPARE(Menovka(okno, QStringLiteral("lblDen%1").arg(den))->text(),
                     QString::number(ciel.day()));
            QCOMPARE(QApplication::focusWidget(), okno.Zoznam(den));
            QVERIFY(hladaj->text().isEmpty());
            for (QAbstractButton* v : l)
                QVERIFY(!v->isVisible());
        });
    }

    void arrowsMoveBetweenDaysAtTheEndsOfAList() {
        Svet(year{2024} / 3 / 11); // a Monday
        svet->ZapisZaznamy(11, 3, {{1, 2024, "Zubár"}, {2, 1990, "Jano"}});
        Otvor([&](TfrmTyzden& okno) {
            QListWidget* pondelok = okno.Zoznam(1);
            QCOMPARE(QApplication::focusWidget(), pondelok);
            QTest::keyClick(pondelok, Qt::Key_Down); // the list takes it: its first row
            QCOMPARE(pondelok->currentRow(), 0);
            QTest::keyClick(pondelok, Qt::Key_Up); // day 0 is refused: nothing changes
            QCOMPARE(QApplication::focusWidget(), pondelok);
            QCOMPARE(Ovladac(okno, "shpSel")->y(), pondelok->y() - 1);
            QCOMPARE(Menovka(okno, "lblTyzden")->text(), QStringLiteral("11. týždeň"));
            QTest::keyClick(pondelok, Qt::Key_Down);
            QCOMPARE(pondelok->currentRow(), 1);
            QTest::keyClick(pondelok, Qt::Key_Down); // the last row: on to Tuesday
            QCOMPARE(QApplication::focusWidget(), okno.Zoznam(2));
            QCOMPARE(Ovladac(okno, "shpSel")->y(), okno.Zoznam(2)->y() - 1);
            QCOMPARE(Ovladac<QDateEdit>(okno, "dtpDatum")->date(), QDate(2024, 3, 12));
            QTest::keyClick(okno.Zoznam(2), Qt::Key_Up); // an empty list: back to Monday
            QCOMPARE(QApplication::focusWidget(), pondelok);
        });
    }

    // A click below the rows adds an entry, a double click edits the row's entry; both
    // through the real event editor, which the test cancels.
    void clicksOpenTheEditorForANewOrTheClickedEntry() {
        Svet(year{2024} / 3 / 13);
        svet->ZapisZaznamy(13, 3, {{1, 2023, "Stará"}, {2, 1990, "Jano"}, {1, 2024, "Zubár"}});
        Otvor([&](TfrmTyzden& okno) {
            QListWidget* zoznam = okno.Zoznam(3);
            QCOMPARE(zoznam->count(), 2); // the note of 2023 has no row
            const struct {
                std::function<void()> klik;
                const char* pole;
                QString text;
            } pripady[] = {
                {[&] { Klikni(zoznam->viewport(), QPoint(20, 48)); }, "txtNar", QString()},
                {[&] {
                     DvojKlik(zoznam->viewport(), zoznam->visualItemRect(zoznam->item(1)).center());
                 },
                 "txtPoz", QStringLiteral("Zubár")},
            };
            for (const auto& p : pripady) {
                bool spustena = false;
                QString videne;
                auto cakanie = PriOkne<TfrmUdalost>(
                    [&](TfrmUdalost& editor) {
                        videne = Ovladac<QLineEdit>(editor, p.pole)->text();
                        QVERIFY(Ovladac<QLineEdit>(editor, p.pole)->isVisible());
                        editor.reject();
                    },
                    &spustena);
                p.klik();
                QVERIFY2(spustena, p.pole);
                QCOMPARE(videne, p.text);
                QCOMPARE(zoznam->count(), 2);
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
        Svet(year{2024} / 3 / 13);
        svet->ZapisZaznamy(13, 3, {{1, 2023, "Stará"}, {2, 1990, "Jano"}, {1, 2024, "Zubár"}});
        Otvor([&](TfrmTyzden& okno) {
            QListWidget* zoznam = okno.Zoznam(3);
            QWidget* plocha = zoznam->viewport();
            const QPoint riadok = zoznam->visualItemRect(zoznam->item(1)).center();
            if (menu) {
                bool spustene = false;
                QTimer cakanie;
                cakanie.setInterval(5);
                connect(&cakanie, &QTimer::timeout, this, [&] {
                    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                    if (!popup)
                        return;
                    cakanie.stop();
                    spustene = true;
                    QCOMPARE(popup->actions().value(0)->text(), QStringLiteral("Vymazať poznámku"));
                    popup->actions().value(0)->trigger();
                    popup->close();
                });
                cakanie.start();
                Mys(plocha, QEvent::MouseButtonPress, riadok, Qt::RightButton);
                Mys(plocha, QEvent::MouseButtonRelease, riadok, Qt::RightButton);
                QVERIFY(spustene);
            } else {
                Klikni(plocha, riadok);
                QCOMPARE(zoznam->currentRow(), 1);
                QTest::keyClick(zoznam, Qt::Key_Delete);
            }
            QCOMPARE(zoznam->count(), 1);
            QCOMPARE(zoznam->item(0)->text(), QStringLiteral("Jano 34. narodeniny"));
        });
        const QByteArray subor = Bajty(svet->Subor(13, 3));
        QVERIFY(subor.contains(Cp("Stará")));
        QVERIFY(subor.contains("Jano"));
        QVERIFY(!subor.contains(Cp("Zubár")));
    }

    void theStoredPositionComesBackAfterTheEditorCloses_data() {
        QTest::addColumn<bool>("ulozena");
        QTest::newRow("stored") << true;
        QTest::newRow("none stored") << false;
    }
    void theStoredPositionComesBackAfterTheEditorCloses() {
        QFETCH(bool, ulozena);
        Svet(year{2024} / 3 / 13);
        if (ulozena) {
            regi->ZapisHodnotu("frmTyzdenTop", 120);
            regi->ZapisHodnotu("frmTyzdenLeft", 310);
        }
        const QPoint ulozene = ulozena ? QPoint(310, 120) : QPoint(223, 150);
        Otvor([&](TfrmTyzden& okno) {
            QCOMPARE(okno.pos(), ulozene);
            okno.move(40, 60);
            bool spustena = false;
            auto cakanie = PriOkne<TfrmUdalost>([](TfrmUdalost& e) { e.reject(); }, &spustena);
            Klikni(okno.Zoznam(3)->viewport(), QPoint(20, 20));
            QVERIFY(spustena);
            QTRY_COMPARE_WITH_TIMEOUT(okno.pos(), ulozena ? ulozene : QPoint(40, 60), 500);
            okno.move(70, 80);
        });
        QCOMPARE(regi->CitajHodnotu("frmTyzdenTop"), 80);
        QCOMPARE(regi->CitajHodnotu("frmTyzdenLeft"), 70);
    }

    // A day file turned into a folder cannot be written: the move is refused with the reason,
    // once per click, and closing asks until the user chooses.
    void aFailingSaveIsToldAndClosingWithoutSavingIsTheUsersChoice_data() {
        QTest::addColumn<bool>("znova");
        QTest::newRow("try again") << true;
        QTest::newRow("close without saving") << false;
    }
    void aFailingSaveIsToldAndClosingWithoutSavingIsTheUsersChoice() {
        QFETCH(bool, znova);
        Svet(year{2024} / 3 / 13);
        svet->ZapisZaznamy(13, 3, {{2, 1990, "Jano"}});
        const QString subor = svet->Subor(13, 3);
        const QByteArray povodne = Bajty(subor);
        Otvor([&](TfrmTyzden& okno) {
            okno.Zoznam(3)->setCurrentRow(0);
            QTest::keyClick(okno.Zoznam(3), Qt::Key_Delete);
            QCOMPARE(okno.Zoznam(3)->count(), 0);
            // The day file becomes a folder with a file in it: nothing can replace it.
            QVERIFY(QFile::remove(subor) && QDir().mkdir(subor));
            QFile prekazka(subor + QStringLiteral("/x"));
            QVERIFY(prekazka.open(QIODevice::WriteOnly));
            prekazka.close();

            for (int klik = 1; klik <= 2; ++klik) {
                Klikni(Ovladac(okno, "imgTplus"));
                QCOMPARE(svet->oznamy.messages.size(), klik);
                QVERIFY(svet->oznamy.messages.last().contains(QStringLiteral("0313.txt")));
            }
            QCOMPARE(Menovka(okno, "lblTyzden")->text(), QStringLiteral("11. týždeň"));
            QCOMPARE(Menovka(okno, "lblDen3")->text(), QStringLiteral("13"));

            // The first answer tries again (still failing); the second mends the file and
            // tries again, or closes without saving.
            bool mended = false;
            svet->oznamy.answer = [&](int question) {
                if (question == 1 || !znova)
                    return question == 1 ? 0 : 1;
                QDir(subor).removeRecursively();
                QFile f(subor);
                mended = f.open(QIODevice::WriteOnly) && f.write(povodne) == povodne.size();
                return 0;
            };
            QTest::keyClick(okno.Zoznam(3), Qt::Key_Escape);
            QCOMPARE(svet->oznamy.questions.size(), 2);
            QCOMPARE(mended, znova);
            for (int i = 0; i < 2; ++i) {
                QVERIFY(svet->oznamy.questions[i].startsWith(
                    QStringLiteral("Zmeny sa nepodarilo uložiť:\n\n")));
                QVERIFY(svet->oznamy.questions[i].contains(QStringLiteral("0313.txt")));
                QVERIFY(svet->oznamy.questions[i].endsWith(
                    QStringLiteral("\n\nAk okno zavriete bez uloženia, tieto zmeny sa stratia.")));
                QCOMPARE(svet->oznamy.questionChoices[i],
                         (QStringList{QStringLiteral("Skúsiť znova"),
                                      QStringLiteral("Zavrieť bez uloženia")}));
                QVERIFY(svet->oznamy.questionParentShown[i]);
            }
            QVERIFY(!okno.isVisible());
        });
        if (znova) {
            QVERIFY(!QFileInfo::exists(subor)); // the emptied day has no file
        } else {
            QVERIFY(QFileInfo(subor).isDir());
            QVERIFY(!povodne.isEmpty());
        }
    }

    void aMalformedDayIsToldOnceShownGreyAndNeverWritten() {
        Svet(year{2024} / 3 / 13);
        svet->ZapisDen(14, 3, {"!", "-1", "2", "1990", "Jano", "-1", "x", "2000", "Eva"});
        const QByteArray povodne = Bajty(svet->Subor(14, 3));
        Otvor([&](TfrmTyzden& okno) {
            QCOMPARE(svet->oznamy.messages.size(), 1);
            QVERIFY(svet->oznamy.messages[0].contains(QStringLiteral("0314.txt")));
            QVERIFY(svet->oznamy.messages[0].contains(QStringLiteral("riadok 7")));
            QListWidget* den = okno.Zoznam(4);
            QCOMPARE(den->count(), 1);
            QVERIFY(den->palette().color(QPalette::Base) != Qt::white);
            QVERIFY(den->toolTip().contains(QStringLiteral("nedá upravovať")));
            QCOMPARE(okno.Zoznam(3)->palette().color(QPalette::Base), QColor(Qt::white));
            // A click into it opens no editor; the user learns why.
            Klikni(den->viewport(), QPoint(20, 40));
            QCOMPARE(svet->oznamy.messages.size(), 2);
            QCOMPARE(QApplication::activeModalWidget(), &okno);
            QCOMPARE(okno.Prikaz(3000), 103);
            QCOMPARE(svet->oznamy.messages.size(), 2);
            QCOMPARE(okno.Prikaz(2000), 103); // told again with each assembly of its week
            QCOMPARE(svet->oznamy.messages.size(), 3);
        });
        QCOMPARE(Bajty(svet->Subor(14, 3)), povodne);
    }

    void theHeaderOpensTheMakersPageOrTellsWhyNot() {
        Svet(year{2024} / 3 / 13);
        Otvor([&](TfrmTyzden& okno) {
            QCOMPARE(Ovladac(okno, "Image1")->toolTip(),
                     QStringLiteral("Choď na: ") + TfrmTyzden::WebAdresa);
            Klikni(Ovladac(okno, "Image1"));
            QCOMPARE(web.otvorene, QList<QUrl>{QUrl(TfrmTyzden::WebAdresa)});
            QVERIFY(svet->oznamy.messages.isEmpty());
            web.uspech = false;
            Klikni(Ovladac(okno, "Image1"));
            QCOMPARE(svet->oznamy.messages,
                     QStringList{QStringLiteral("Nepodarilo sa otvoriť webový prehliadač.")});
        });
    }

    // Assistive technology sees every control by the name a sighted user reads there, the
    // pictures that act as buttons as buttons, and its Press does what their click does.
    // `pred` is pressed (a control) or typed into the search box first.
    void controlsAsAssistiveTechnologySeesThem_data() {
        QTest::addColumn<QString>("pred");
        QTest::addColumn<QString>("ovladac");
        QTest::addColumn<QString>("meno");
        QTest::addColumn<int>("rola");
        QTest::addColumn<QString>("potom"); // after Press; empty: no Press
        const int tlacidlo = QAccessible::Button;
        const QString tento = QStringLiteral("11. týždeň; Pondelok 11. marca; deň 3; ; ");
        const auto riadok = [](const char* meno, const char* pred, const char* ovladac,
                               const QString& nazov, int rola, const QString& potom) {
            QTest::newRow(meno) << QString::fromUtf8(pred) << QString::fromUtf8(ovladac) << nazov
                                << rola << potom;
        };
        riadok("previous week", "", "imgTminus", "Predchádzajúci týždeň", tlacidlo,
               "10. týždeň; Pondelok 4. marca; deň 3; ; ");
        riadok("next week", "", "imgTplus", "Nasledujúci týždeň", tlacidlo,
               "12. týždeň; Pondelok 18. marca; deň 3; ; ");
        riadok("today", "imgTplus", "imgDnes", "Dnes", tlacidlo, tento);
        riadok("a day's area", "", "imgImage5", "Piatok 15. marca", tlacidlo,
               "11. týždeň; Pondelok 11. marca; deň 5; ; ");
        riadok("header", "", "Image1", "Tilava – Kalendár mien a sviatkov", QAccessible::Link,
               tento + TfrmTyzden::WebAdresa);
        riadok("a result", "ctib", "Label1", "13.9. Ctibor", tlacidlo,
               "37. týždeň; Pondelok 9. septembra; deň 5; ; ");
        riadok("more results", "ale", "imgFplus", "Ďalšie výsledky", tlacidlo,
               "11. týždeň; Pondelok 11. marca; deň 3; 9.1. Alexej; ");
        riadok("save", "", "imgUlozit", "Uložiť", tlacidlo, "zatvorené");
        riadok("Monday", "", "lstDen1", "Pondelok 11. marca", QAccessible::List, {});
        riadok("Sunday", "", "lstDen7", "Nedeľa 17. marca", QAccessible::List, {});
        riadok("search", "", "txtFind", "Hľadať meno", QAccessible::EditableText, {});
        riadok("date", "", "dtpDatum", "Dátum", QAccessible::SpinBox, {});
        riadok("week", "", "lblTyzden", "11. týždeň", QAccessible::StaticText, {});
        riadok("names", "", "lblPrvy4", "Matilda", QAccessible::StaticText, {});
    }
    void controlsAsAssistiveTechnologySeesThem() {
        QFETCH(QString, pred);
        QFETCH(QString, ovladac);
        QFETCH(QString, meno);
        QFETCH(int, rola);
        QFETCH(QString, potom);
        Svet(year{2024} / 3 / 13);
        Otvor([&](TfrmTyzden& okno) {
            if (pred.startsWith(QLatin1String("img")))
                QAccessible::queryAccessibleInterface(Ovladac(okno, pred))
                    ->actionInterface()
                    ->doAction(QAccessibleActionInterface::pressAction());
            else if (!pred.isEmpty())
                Pis(Ovladac(okno, "txtFind"), pred);
            test::OverPristupnost(Ovladac(okno, ovladac), meno, rola, !potom.isEmpty());
            if (!potom.isEmpty())
                QCOMPARE(Stav(okno, web), potom);
        });
    }

    // Tab goes round the window's controls in a sensible order, Shift+Tab back; the search's
    // results and their arrows come right after the search box.
    void tabGoesRoundTheWindow() {
        Svet(year{2024} / 3 / 13);
        Otvor([&](TfrmTyzden& okno) {
            const QStringList kruh{"lstDen4", "lstDen5",   "lstDen6",  "lstDen7", "imgUlozit",
                                   "Image1",  "imgTminus", "imgTplus", "imgDnes", "dtpDatum",
                                   "txtFind", "lstDen1",   "lstDen2",  "lstDen3"};
            test::OverKruhTabulatora(kruh);
            auto* hladaj = Ovladac<QLineEdit>(okno, "txtFind");
            hladaj->setFocus(Qt::TabFocusReason);
            Pis(hladaj, QStringLiteral("ale"));
            for (const char* meno : {"imgFminus", "Label1", "Label2", "Label3", "imgFplus"}) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(meno));
            }
            QCOMPARE(hladaj->text(), QStringLiteral("ale")); // the results stay while in reach
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), okno.Zoznam(1));
            QVERIFY(hladaj->text().isEmpty());
        });
    }

    // The keyboard alone: a picture button shows a frame while focused and keeps the focus
    // after Space; Tab to Thursday's list, Enter opens the editor, Shift+Tab to the kind
    // "Poznámka", Space, type, Tab to OK, Space; Tab on to the save button and Enter closes
    // the window and writes the note.
    void theKeyboardAloneAddsANote() {
        Svet(year{2024} / 3 / 13);
        Otvor([&](TfrmTyzden& okno) {
            QWidget* dalej = Ovladac(okno, "imgTplus");
            test::OverRamFokusu(dalej);
            dalej->setFocus(Qt::TabFocusReason);
            QTest::keyClick(dalej, Qt::Key_Space);
            QCOMPARE(Menovka(okno, "lblTyzden")->text(), QStringLiteral("12. týždeň"));
            QCOMPARE(QApplication::focusWidget(), dalej);
            QTest::keyClick(dalej, Qt::Key_Tab); // imgDnes
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(Menovka(okno, "lblTyzden")->text(), QStringLiteral("11. týždeň"));

            okno.Zoznam(3)->setFocus(Qt::TabFocusReason);
            QTest::keyClick(okno.Zoznam(3), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), okno.Zoznam(4));
            bool spustena = false;
            auto cakanie = PriOkne<TfrmUdalost>(
                [](TfrmUdalost& editor) {
                    QTRY_VERIFY_WITH_TIMEOUT(editor.isActiveWindow(), 1000);
                    QCOMPARE(editor.focusWidget(), Ovladac(editor, "txtNar"));
                    QTest::keyClick(editor.focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
                    QCOMPARE(editor.focusWidget(), Ovladac(editor, "shpPoznamka"));
                    QTest::keyClick(editor.focusWidget(), Qt::Key_Space);
                    QCOMPARE(editor.focusWidget(), Ovladac(editor, "txtPoz"));
                    QTest::keyClicks(editor.focusWidget(), "Zubar");
                    QTest::keyClick(editor.focusWidget(), Qt::Key_Tab);
                    QWidget* ok = Ovladac(editor, "imgOk");
                    QCOMPARE(editor.focusWidget(), ok);
                    test::OverRamFokusu(ok);
                    ok->setFocus(Qt::TabFocusReason);
                    QTest::keyClick(ok, Qt::Key_Space);
                },
                &spustena);
            QTest::keyClick(okno.Zoznam(4), Qt::Key_Return);
            QVERIFY(spustena);
            QCOMPARE(okno.Zoznam(4)->count(), 1);
            QCOMPARE(okno.Zoznam(4)->item(0)->text(), QStringLiteral("Zubar"));
            // Back in the week: a desktop activates it again, the offscreen platform does not.
            QCOMPARE(okno.focusWidget(), okno.Zoznam(4));
            okno.activateWindow();
            QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), okno.Zoznam(4), 1000);
            for (int i = 0; i < 4; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), Ovladac(okno, "imgUlozit"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QVERIFY(!okno.isVisible());
        });
        QCOMPARE(Bajty(svet->Subor(14, 3)), QByteArray("!\r\n-1\r\n1\r\n2024\r\nZubar\r\n"));
    }

    // The path a user takes: open the week, click into Wednesday's empty list, write a
    // birthday in the editor, confirm, press Escape; the day file holds the entry.
    void aNewBirthdayReachesTheDayFile() {
        Svet(year{2024} / 3 / 13);
        Otvor([&](TfrmTyzden& okno) {
            bool spustena = false;
            auto cakanie = PriOkne<TfrmUdalost>(
                [](TfrmUdalost& editor) {
                    QVERIFY(Ovladac<QRadioButton>(editor, "optNar")->isChecked());
                    Pis(Ovladac<QLineEdit>(editor, "txtNar"), QStringLiteral("Ľubica"));
                    QTest::keyClick(editor.focusWidget(), Qt::Key_Return);
                    QTest::keyClick(editor.focusWidget(), Qt::Key_Return);
                },
                &spustena);
            Klikni(okno.Zoznam(3)->viewport(), QPoint(20, 20));
            QVERIFY(spustena);
            QCOMPARE(okno.Zoznam(3)->count(), 1);
            QCOMPARE(okno.Zoznam(3)->item(0)->text(), QStringLiteral("Ľubica 44. narodeniny"));
            QVERIFY(!QFileInfo::exists(svet->Subor(13, 3))); // written when the week is left
            QCOMPARE(okno.focusWidget(), okno.Zoznam(3));
            QTest::keyClick(okno.focusWidget(), Qt::Key_Escape);
            QVERIFY(!okno.isVisible());
        });
        QCOMPARE(Bajty(svet->Subor(13, 3)), "!\r\n-1\r\n2\r\n1980\r\n" + Cp("Ľubica") + "\r\n");
    }
};

} // namespace tilava

QTEST_MAIN(tilava::fTyzdenTest)
#include "fTyzdenTest.moc"
