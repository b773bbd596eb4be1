#include "AccessibleSupport.h"
#include "ModalSupport.h"
#include "PictureSupport.h"
#include "WidgetSupport.h"

#include "core/uRok.h"
#include "model/uTyzden.h"
#include "store/uRegi.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/fUdalost.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

using namespace std::chrono;

namespace tilava {

using test::RecordingNotifier;

namespace {

// Runs Uprav while `action` works on the window once it is ready for input; the window closes
// when the action leaves it open.
bool RunEditor(TfrmUdalost& window, TNote& note, int year, const std::function<void()>& action) {
    bool seen = false;
    const QPointer<QTimer> poll =
        test::WhenActive<TfrmUdalost>([&](TfrmUdalost&) { action(); }, &seen);
    const bool result = window.Uprav(note, year);
    delete poll.data();
    if (!seen)
        qWarning("the event editor was never shown");
    return result;
}

template <typename T = QWidget> T* Ovladac(QWidget& okno, const char* meno) {
    auto* w = okno.findChild<T*>(QLatin1String(meno));
    if (!w)
        qFatal("no control %s", meno);
    return w;
}

QLineEdit* Pole(QWidget& okno, const char* meno) {
    return Ovladac<QLineEdit>(okno, meno);
}

void Pis(QWidget* w, const QString& text) {
    for (const QChar znak : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(znak), Qt::NoModifier);
}

void Enter(QWidget& okno) {
    QTest::keyClick(okno.focusWidget(), Qt::Key_Return);
}

void Mys(QWidget* w, QEvent::Type typ, QPoint bod, Qt::MouseButton tlacidlo) {
    const Qt::MouseButtons drzane =
        typ == QEvent::MouseButtonPress ? Qt::MouseButtons(tlacidlo) : Qt::NoButton;
    QMouseEvent e(typ, QPointF(bod), QPointF(w->mapToGlobal(bod)), tlacidlo, drzane,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Klikni(QWidget* w) {
    const QPoint stred = w->rect().center();
    Mys(w, QEvent::MouseButtonPress, stred, Qt::LeftButton);
    Mys(w, QEvent::MouseButtonRelease, stred, Qt::LeftButton);
}

void Pohni(QWidget* w) {
    Mys(w, QEvent::MouseMove, w->rect().center(), Qt::NoButton);
}

} // namespace

class fUdalostTest : public QObject {
    Q_OBJECT

    FixedClock hodiny{year{2024} / 3 / 13};
    RecordingNotifier oznamy;
    std::unique_ptr<TfrmUdalost> okno;
    TfrmUdalost& Okno() { return *okno; }

private slots:
    void initTestCase() { InitSkinResources(); }
    void init() {
        oznamy.beeps = 0;
        oznamy.messages.clear();
        okno = std::make_unique<TfrmUdalost>(hodiny, oznamy);
    }
    void cleanup() { okno.reset(); }

    void newEntryOpensAsABirthdayIn1980() {
        TNote n;
        const bool ok = RunEditor(Okno(), n, 2024, [&] {
            QCOMPARE(Okno().windowTitle(), QStringLiteral("Udalosť dňa "));
            QCOMPARE(Okno().size(), QSize(369, 188));
            QVERIFY(Ovladac<QRadioButton>(Okno(), "optNar")->isChecked());
            QCOMPARE(Pole(Okno(), "txtNar")->text(), QString());
            QCOMPARE(Pole(Okno(), "txtNarRok")->text(), QStringLiteral("1980"));
            QCOMPARE(Pole(Okno(), "txtVyrRok")->text(), QStringLiteral("1980"));
            QCOMPARE(Okno().focusWidget(), Pole(Okno(), "txtNar"));
            const std::pair<const char*, QRect> miesta[] = {
                {"imgPozadie", {0, 0, 370, 189}},   {"imgOk", {158, 158, 100, 26}},
                {"imgStorno", {264, 158, 100, 26}}, {"shpNarodeniny", {32, 48, 73, 17}},
                {"shpVyrocie", {32, 84, 53, 17}},   {"shpPoznamka", {32, 124, 69, 17}},
                {"txtNar", {117, 49, 145, 18}},     {"txtNarRok", {292, 48, 32, 21}},
                {"updNar", {324, 48, 15, 21}},      {"txtVyr", {117, 86, 145, 19}},
                {"txtVyrRok", {292, 86, 32, 19}},   {"updVyr", {324, 86, 15, 19}},
                {"txtPoz", {117, 126, 245, 18}},
            };
            for (const auto& [meno, miesto] : miesta)
                QCOMPARE(Ovladac(Okno(), meno)->geometry(), miesto);
            QTest::keyClick(Pole(Okno(), "txtNar"), Qt::Key_Escape);
        });
        QVERIFY(!ok);
        QCOMPARE(n, TNote{});
    }

    void enterInTheNameGoesToTheYearAndASecondEnterConfirms() {
        TNote n;
        const bool ok = RunEditor(Okno(), n, 2024, [&] {
            QTest::keyClicks(Pole(Okno(), "txtNar"), "Jano");
            Enter(Okno());
            QVERIFY(Okno().isVisible());
            QCOMPARE(Okno().focusWidget(), Pole(Okno(), "txtNarRok"));
            QCOMPARE(n, TNote{});
            Enter(Okno());
        });
        QVERIFY(ok);
        QCOMPARE(n, (TNote{TDruh::Narodeniny, 1980, true, "Jano"}));
        QVERIFY(Okno().Prijate());
    }

    void escapeInAnyFieldLeavesTheEntryUnchanged_data() {
        QTest::addColumn<QString>("pole");
        for (const char* pole : {"txtNar", "txtNarRok", "txtVyr", "txtVyrRok", "txtPoz"})
            QTest::newRow(pole) << QString::fromLatin1(pole);
    }
    void escapeInAnyFieldLeavesTheEntryUnchanged() {
        QFETCH(QString, pole);
        const TNote povodny{TDruh::Vyrocie, 2000, true, "svadba"};
        TNote n = povodny;
        Okno().Existujuca = true;
        const bool ok = RunEditor(Okno(), n, 2024, [&] {
            QCOMPARE(Pole(Okno(), "txtVyr")->text(), QStringLiteral("svadba"));
            QCOMPARE(Pole(Okno(), "txtVyrRok")->text(), QStringLiteral("2000"));
            auto* w = Pole(Okno(), pole.toLatin1().constData());
            w->setFocus();
            QTest::keyClicks(w, "19");
            QTest::keyClick(w, Qt::Key_Escape);
        });
        QVERIFY(!ok);
        QCOMPARE(n, povodny);
    }

    void aPlainNoteTakesTheYearOfTheWeek() {
        TNote n{TDruh::Poznamka, 2019, false, "Zubár"};
        Okno().Existujuca = true;
        QVERIFY(RunEditor(Okno(), n, 2024, [&] {
            QVERIFY(Ovladac<QRadioButton>(Okno(), "optPoz")->isChecked());
            QCOMPARE(Okno().focusWidget(), Pole(Okno(), "txtPoz"));
            Enter(Okno());
        }));
        QCOMPARE(n, (TNote{TDruh::Poznamka, 2024, true, "Zubár"}));

        // A new entry turned into a note by its painted label.
        init();
        TNote novy;
        QVERIFY(RunEditor(Okno(), novy, 2025, [&] {
            Klikni(Ovladac(Okno(), "shpPoznamka"));
            QCOMPARE(Okno().focusWidget(), Pole(Okno(), "txtPoz"));
            Pis(Pole(Okno(), "txtPoz"), QStringLiteral("  Kúpiť chlieb "));
            Enter(Okno());
        }));
        QCOMPARE(novy, (TNote{TDruh::Poznamka, 2025, true, "  Kúpiť chlieb "}));
    }

    void choosingAKindEmptiesTheOtherTexts() {
        TNote n;
        QVERIFY(RunEditor(Okno(), n, 2024, [&] {
            QTest::keyClicks(Pole(Okno(), "txtNar"), "Jano");
            Klikni(Ovladac(Okno(), "shpVyrocie"));
            QCOMPARE(Pole(Okno(), "txtNar")->text(), QString());
            QVERIFY(Ovladac<QRadioButton>(Okno(), "optVyr")->isChecked());
            QCOMPARE(Okno().focusWidget(), Pole(Okno(), "txtVyr"));
            QTest::keyClicks(Pole(Okno(), "txtVyr"), "svadba");

            // Moving with the keyboard changes no kind; a click into a field does.
            QTest::keyClick(Okno().focusWidget(), Qt::Key_Tab);
            QTest::keyClick(Okno().focusWidget(), Qt::Key_Tab);
            QCOMPARE(Okno().focusWidget(), Pole(Okno(), "txtPoz"));
            QTest::keyClicks(Pole(Okno(), "txtPoz"), "pozn");
            QVERIFY(Ovladac<QRadioButton>(Okno(), "optVyr")->isChecked());
            QTest::mouseClick(Pole(Okno(), "txtNar"), Qt::LeftButton);
            QVERIFY(Ovladac<QRadioButton>(Okno(), "optNar")->isChecked());
            QCOMPARE(Pole(Okno(), "txtVyr")->text(), QString());
            QCOMPARE(Pole(Okno(), "txtPoz")->text(), QString());
            QTest::mouseClick(Pole(Okno(), "txtVyr"), Qt::LeftButton);
            QTest::keyClicks(Pole(Okno(), "txtVyr"), "promocia");
            // The year boxes select nothing and are never emptied.
            QTest::mouseClick(Pole(Okno(), "txtNarRok"), Qt::LeftButton);
            QVERIFY(Ovladac<QRadioButton>(Okno(), "optVyr")->isChecked());
            QCOMPARE(Pole(Okno(), "txtVyrRok")->text(), QStringLiteral("1980"));
            Klikni(Ovladac(Okno(), "imgOk"));
        }));
        QCOMPARE(n, (TNote{TDruh::Vyrocie, 1980, true, "promocia"}));
    }

    // A text longer than a text field holds (an import, a hand edit) is never cut: the user is
    // told, the field shows its beginning read-only, and OK stores the whole text with the new
    // kind and year.
    void aTextTooLongForTheFieldIsKeptWhole() {
        std::string longText;
        while (longText.size() < 100000)
            longText += "Ľubica ";
        TNote n{TDruh::Narodeniny, 1980, true, longText};
        QVERIFY(RunEditor(Okno(), n, 2024, [&] {
            QCOMPARE(oznamy.messages.size(), 1);
            QVERIFY(oznamy.messages.first().contains(QStringLiteral("ostane nezmenený")));
            QVERIFY(Pole(Okno(), "txtNar")->isReadOnly());
            QVERIFY(QString::fromStdString(longText).startsWith(Pole(Okno(), "txtNar")->text()));
            Klikni(Ovladac(Okno(), "shpVyrocie"));
            QCOMPARE(Pole(Okno(), "txtVyr")->text().size(), Pole(Okno(), "txtVyr")->maxLength());
            Pole(Okno(), "txtVyrRok")->setText(QStringLiteral("2001"));
            Klikni(Ovladac(Okno(), "imgOk"));
        }));
        QCOMPARE(n, (TNote{TDruh::Vyrocie, 2001, true, longText}));
    }

    void anEmptyNewEntryBeepsAndStaysOpen() {
        TNote n;
        QVERIFY(!RunEditor(Okno(), n, 2024, [&] {
            for (const char* prazdny : {"", "   "}) {
                Pole(Okno(), "txtNar")->setText(QString::fromLatin1(prazdny));
                Pole(Okno(), "txtNarRok")->setFocus();
                Enter(Okno());
                QVERIFY(Okno().isVisible());
                QCOMPARE(Okno().focusWidget(), Pole(Okno(), "txtNar"));
            }
            QCOMPARE(oznamy.beeps, 2);
            Klikni(Ovladac(Okno(), "imgOk"));
            QCOMPARE(oznamy.beeps, 3);
            QVERIFY(Okno().isVisible());
            Klikni(Ovladac(Okno(), "imgStorno"));
        }));
        QCOMPARE(n, TNote{});
        QVERIFY(oznamy.messages.isEmpty());

        // An existing entry may be emptied: the week model then deletes it.
        init();
        TNote existujuci{TDruh::Narodeniny, 0, true, "Jano"};
        Okno().Existujuca = true;
        QVERIFY(RunEditor(Okno(), existujuci, 2024, [&] {
            QCOMPARE(Pole(Okno(), "txtNarRok")->text(), QStringLiteral("1980"));
            Pole(Okno(), "txtNar")->clear();
            Enter(Okno());
            Enter(Okno());
        }));
        QCOMPARE(existujuci, (TNote{TDruh::Narodeniny, 1980, true, ""}));
        QCOMPARE(oznamy.beeps, 0);
    }

    void aYearThatIsNoNumberIsRefusedWithAMessage() {
        const TNote povodny{TDruh::Narodeniny, 1975, true, "Jano"};
        TNote n = povodny;
        Okno().Existujuca = true;
        QVERIFY(RunEditor(Okno(), n, 2024, [&] {
            auto* rok = Pole(Okno(), "txtNarRok");
            rok->setFocus();
            QTest::keyClick(rok, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(rok, Qt::Key_Backspace);
            QCOMPARE(rok->text(), QString());
            QTest::keyClicks(Pole(Okno(), "txtNar"), "ko");
            Enter(Okno());
            QCOMPARE(oznamy.messages, QStringList{"Rok musí byť číslo. Zadajte ho číslicami, "
                                                  "napríklad 1980."});
            QVERIFY(Okno().isVisible());
            QCOMPARE(Okno().focusWidget(), rok);
            QCOMPARE(n, povodny);
            QTest::keyClicks(rok, "1976");
            Enter(Okno());
        }));
        QCOMPARE(n, (TNote{TDruh::Narodeniny, 1976, true, "Janoko"}));
    }

    void aCharacterThatADayFileCannotHoldIsNamed() {
        TNote n;
        QVERIFY(!RunEditor(Okno(), n, 2024, [&] {
            Pis(Pole(Okno(), "txtNar"), QStringLiteral("Ωmega"));
            Pole(Okno(), "txtNarRok")->setFocus();
            Enter(Okno());
            QCOMPARE(oznamy.messages.size(), 1);
            QVERIFY2(oznamy.messages[0].contains(QStringLiteral("U+03A9")),
                     qPrintable(oznamy.messages[0]));
            QVERIFY(oznamy.messages[0].contains(QStringLiteral("Ω")));
            QVERIFY(Okno().isVisible());
            QCOMPARE(Okno().focusWidget(), Pole(Okno(), "txtNar"));
            QTest::keyClick(Okno().focusWidget(), Qt::Key_Escape);
        }));
        QCOMPARE(n, TNote{});

        // A pasted line break must never reach the entry: it would split its record in the
        // day file.
        init();
        RunEditor(Okno(), n, 2024, [&] {
            Pole(Okno(), "txtNar")->setText(QStringLiteral("Jano\r\nFero"));
            Pole(Okno(), "txtNarRok")->setFocus();
            Enter(Okno());
            if (Okno().isVisible())
                QTest::keyClick(Okno().focusWidget(), Qt::Key_Escape);
        });
        QCOMPARE(n.Text.find_first_of("\r\n"), std::string::npos);
    }

    void arrowsStepInsideTheirRangeTypedYearsStayAsTyped() {
        TNote n;
        QVERIFY(RunEditor(Okno(), n, 2024, [&] {
            auto* rok = Pole(Okno(), "txtNarRok");
            auto* hore = Ovladac<QToolButton>(Okno(), "updNarHore");
            auto* dole = Ovladac<QToolButton>(Okno(), "updNarDole");
            auto* vyrRok = Pole(Okno(), "txtVyrRok");
            struct Krok {
                QLineEdit* pole;
                QString pred;
                QToolButton* sipka;
                QString po;
            };
            const Krok kroky[] = {
                {rok, "1980", hore, "1981"},
                {rok, "1980", dole, "1979"},
                {rok, "2024", hore, "2024"}, // the current year is the maximum
                {rok, "2030", dole, "2024"},
                {rok, "1900", dole, "1900"},
                {rok, "", hore, "1981"},
                {vyrRok, "1000", Ovladac<QToolButton>(Okno(), "updVyrDole"), "1000"},
                {vyrRok, "999", Ovladac<QToolButton>(Okno(), "updVyrHore"), "1000"},
                {vyrRok, "1899", Ovladac<QToolButton>(Okno(), "updVyrDole"), "1898"},
            };
            for (const Krok& k : kroky) {
                k.pole->setText(k.pred);
                QTest::mouseClick(k.sipka, Qt::LeftButton);
                QCOMPARE(k.pole->text(), k.po);
            }
            QVERIFY(Ovladac<QRadioButton>(Okno(), "optNar")->isChecked());
            QTest::keyClicks(Pole(Okno(), "txtNar"), "Eva");
            rok->setFocus();
            QTest::keyClick(rok, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(rok, "2031");
            Enter(Okno());
        }));
        QCOMPARE(n, (TNote{TDruh::Narodeniny, 2031, true, "Eva"}));
    }

    void buttonsShowTheirHoverPictures() {
        const auto obraz = [](const char* meno) {
            return LoadSkinPicture(QString::fromLatin1(meno), Qt::black, QSize(100, 26)).toImage();
        };
        const QImage okNormal = obraz("event_ok_normal"), okHover = obraz("event_ok_hover");
        const QImage stNormal = obraz("event_cancel_normal"), stHover = obraz("event_cancel_hover");
        QVERIFY(okNormal != okHover && stNormal != stHover);
        TNote n;
        RunEditor(Okno(), n, 2024, [&] {
            auto* ok = Ovladac(Okno(), "imgOk");
            auto* storno = Ovladac(Okno(), "imgStorno");
            auto* pozadie = Ovladac(Okno(), "imgPozadie");
            const auto ukazuje = [&](const QImage& o, const QImage& s) {
                return test::ShownPicture(ok) == o && test::ShownPicture(storno) == s;
            };
            QVERIFY(ukazuje(okNormal, stNormal));
            Pohni(ok); // before the pointer has passed the background, nothing lights up
            QVERIFY(ukazuje(okNormal, stNormal));
            Pohni(pozadie);
            Pohni(ok);
            QVERIFY(ukazuje(okHover, stNormal));
            Pohni(storno);
            QVERIFY(ukazuje(okNormal, stHover));
            Pohni(Ovladac(Okno(), "shpVyrocie"));
            QVERIFY(ukazuje(okNormal, stNormal));
            Pohni(storno);
            QVERIFY(ukazuje(okNormal, stHover));
            Pohni(pozadie);
            QVERIFY(ukazuje(okNormal, stNormal));
            Klikni(storno);
        });
        QVERIFY(!Okno().Prijate());
    }

    // The week model opens this window for an edit through its factory.
    void theWeekModelEditsThroughTheWindow() {
        TRok rok;
        MemoryHive hive;
        TRegi regi(hive);
        QTemporaryDir priecinok;
        TTyzden tyzden(rok, regi, priecinok.path().toStdString(), hodiny);
        tyzden.NastavEditor([this] { return std::make_unique<TfrmUdalost>(hodiny, oznamy); });
        tyzden.NastavRokZaznamu(2024);
        tyzden.NastavZaznam(0);
        bool seen = false;
        test::WhenActive<TfrmUdalost>(
            [&](TfrmUdalost& editor) {
                Klikni(Ovladac(editor, "shpPoznamka"));
                QTest::keyClicks(Pole(editor, "txtPoz"), "Kino");
                QTest::keyClick(Pole(editor, "txtPoz"), Qt::Key_Enter);
            },
            &seen);
        QCOMPARE(tyzden.Vykonaj(TTyzden::UpravitZaznam), TTyzden::Hotovo);
        QVERIFY(seen);
        QCOMPARE(tyzden.Riadky(3).size(), std::size_t{1});
        QCOMPARE(tyzden.Poznamky(3).Polozka(0), (TNote{TDruh::Poznamka, 2024, true, "Kino"}));
    }

    // Assistive technology sees each control by the words painted beside it, the kinds and
    // OK and Storno as buttons whose Press does what their click does. `pred` is typed into
    // the focused field first; `potom` is the selected kind, the focused control and the year
    // of birth, or how the window closed.
    void controlsAsAssistiveTechnologySeesThem_data() {
        QTest::addColumn<QString>("pred");
        QTest::addColumn<QString>("ovladac");
        QTest::addColumn<QString>("meno");
        QTest::addColumn<int>("rola");
        QTest::addColumn<QString>("potom"); // after Press; empty: no Press
        const int tlacidlo = QAccessible::Button;
        const int pole = QAccessible::EditableText;
        QTest::newRow("anniversary") << ""
                                     << "shpVyrocie"
                                     << "Výročie" << tlacidlo << "optVyr txtVyr 1980";
        QTest::newRow("note") << ""
                              << "shpPoznamka"
                              << "Poznámka" << tlacidlo << "optPoz txtPoz 1980";
        QTest::newRow("birthday, text kept")
            << "Jano"
            << "shpNarodeniny"
            << "Narodeniny" << tlacidlo << "optNar txtNar 1980 Jano";
        QTest::newRow("year up") << ""
                                 << "updNarHore"
                                 << "Zvýšiť rok narodenia" << tlacidlo << "optNar txtNar 1981";
        QTest::newRow("year down") << ""
                                   << "updVyrDole"
                                   << "Znížiť rok vzniku" << tlacidlo << "optNar txtNar 1980";
        QTest::newRow("OK") << "Jano"
                            << "imgOk"
                            << "OK" << tlacidlo << "prijaté";
        QTest::newRow("OK, empty") << ""
                                   << "imgOk"
                                   << "OK" << tlacidlo << "optNar txtNar 1980";
        QTest::newRow("Storno") << "Jano"
                                << "imgStorno"
                                << "Storno" << tlacidlo << "zrušené";
        QTest::newRow("name") << ""
                              << "txtNar"
                              << "Meno" << pole << "";
        QTest::newRow("year of birth") << ""
                                       << "txtNarRok"
                                       << "Rok narodenia" << pole << "";
        QTest::newRow("description") << ""
                                     << "txtVyr"
                                     << "Popis udalosti" << pole << "";
        QTest::newRow("year of origin") << ""
                                        << "txtVyrRok"
                                        << "Rok vzniku" << pole << "";
        QTest::newRow("note text") << ""
                                   << "txtPoz"
                                   << "Text poznámky" << pole << "";
        QTest::newRow("heading") << ""
                                 << "imgPozadie"
                                 << "Zadajte udalosť" << int(QAccessible::Graphic) << "";
    }
    void controlsAsAssistiveTechnologySeesThem() {
        QFETCH(QString, pred);
        QFETCH(QString, ovladac);
        QFETCH(QString, meno);
        QFETCH(int, rola);
        QFETCH(QString, potom);
        TNote n;
        QString stav;
        const bool prijate = RunEditor(Okno(), n, 2024, [&] {
            QTest::keyClicks(Okno().focusWidget(), qPrintable(pred));
            test::OverPristupnost(Ovladac(Okno(), qPrintable(ovladac)), meno, rola,
                                  !potom.isEmpty());
            if (!Okno().isVisible())
                return;
            for (const char* volba : {"optNar", "optVyr", "optPoz"})
                if (Ovladac<QRadioButton>(Okno(), volba)->isChecked())
                    stav = QLatin1String(volba);
            stav += QLatin1Char(' ') + Okno().focusWidget()->objectName() + QLatin1Char(' ') +
                    Pole(Okno(), "txtNarRok")->text();
            if (!Pole(Okno(), "txtNar")->text().isEmpty())
                stav += QLatin1Char(' ') + Pole(Okno(), "txtNar")->text();
            Okno().reject();
        });
        if (!potom.isEmpty())
            QCOMPARE(stav.isEmpty() ? QString(prijate ? "prijaté" : "zrušené") : stav, potom);
    }

    // Tab goes round: the fields, OK, Storno, the three kinds; Shift+Tab back. The year's
    // arrow keys step it like its arrows.
    void tabGoesRoundAndTheArrowKeysStepTheYear() {
        TNote n;
        RunEditor(Okno(), n, 2024, [&] {
            const QStringList kruh{"txtNarRok",   "txtVyr",    "txtVyrRok",     "txtPoz",
                                   "imgOk",       "imgStorno", "shpNarodeniny", "shpVyrocie",
                                   "shpPoznamka", "txtNar"};
            test::OverKruhTabulatora(kruh);
            QTest::keyClick(Okno().focusWidget(), Qt::Key_Tab);
            QTest::keyClick(Okno().focusWidget(), Qt::Key_Up);
            QTest::keyClick(Okno().focusWidget(), Qt::Key_Up);
            QTest::keyClick(Okno().focusWidget(), Qt::Key_Down);
            QCOMPARE(Pole(Okno(), "txtNarRok")->text(), QStringLiteral("1981"));
            Okno().reject();
        });
    }
};

} // namespace tilava

QTEST_MAIN(tilava::fUdalostTest)
#include "fUdalostTest.moc"
