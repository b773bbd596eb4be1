#include "AccessibleSupport.h"
#include "ControlSupport.h"
#include "ModalSupport.h"
#include "MouseSupport.h"
#include "PictureSupport.h"
#include "RadioSupport.h"
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
        QTest::qFail("the event editor was never shown", __FILE__, __LINE__);
    return result;
}

using test::Click;
using test::Control;
using test::MoveMouse;
using test::TypeText;

// The three kinds: the hidden option that holds the choice and the painted label's click area.
constexpr std::pair<const char*, const char*> kKinds[] = {
    {"optNar", "shpNarodeniny"}, {"optVyr", "shpVyrocie"}, {"optPoz", "shpPoznamka"}};

// The selected kind's option, after checking that assistive technology sees the same kind
// checked among the three radio buttons of the kinds.
QString CheckedKind(QWidget& window) {
    QString picked;
    QWidget* checkedArea = nullptr;
    QList<QWidget*> areas;
    for (const auto& [volba, area] : kKinds) {
        areas << Control(window, area);
        if (Control<QRadioButton>(window, volba)->isChecked()) {
            picked = QLatin1String(volba);
            checkedArea = areas.last();
        }
    }
    test::CheckRadioGroup(areas, checkedArea);
    return picked;
}

QLineEdit* LineEdit(QWidget& window, const char* name) {
    return Control<QLineEdit>(window, QLatin1String(name));
}

void Enter(QWidget& window) {
    QTest::keyClick(window.focusWidget(), Qt::Key_Return);
}

} // namespace

class fUdalostTest : public QObject {
    Q_OBJECT

    FixedClock clock{year{2024} / 3 / 13};
    RecordingNotifier notifier;
    std::unique_ptr<TfrmUdalost> window;
    TfrmUdalost& Window() { return *window; }

private slots:
    void initTestCase() { InitSkinResources(); }
    void init() {
        notifier.beeps = 0;
        notifier.messages.clear();
        window = std::make_unique<TfrmUdalost>(clock, notifier);
    }
    void cleanup() { window.reset(); }

    void newEntryOpensAsABirthdayIn1980() {
        TNote n;
        const bool ok = RunEditor(Window(), n, 2024, [&] {
            QCOMPARE(Window().windowTitle(), QStringLiteral("Udalosť dňa "));
            QCOMPARE(Window().size(), QSize(369, 188));
            QCOMPARE(CheckedKind(Window()), QStringLiteral("optNar"));
            QCOMPARE(LineEdit(Window(), "txtNar")->text(), QString());
            QCOMPARE(LineEdit(Window(), "txtNarRok")->text(), QStringLiteral("1980"));
            QCOMPARE(LineEdit(Window(), "txtVyrRok")->text(), QStringLiteral("1980"));
            QCOMPARE(Window().focusWidget(), LineEdit(Window(), "txtNar"));
            const std::pair<const char*, QRect> places[] = {
                {"imgPozadie", {0, 0, 370, 189}},   {"imgOk", {158, 158, 100, 26}},
                {"imgStorno", {264, 158, 100, 26}}, {"shpNarodeniny", {32, 48, 73, 17}},
                {"shpVyrocie", {32, 84, 53, 17}},   {"shpPoznamka", {32, 124, 69, 17}},
                {"txtNar", {117, 49, 145, 18}},     {"txtNarRok", {292, 48, 32, 21}},
                {"updNar", {324, 48, 15, 21}},      {"txtVyr", {117, 86, 145, 19}},
                {"txtVyrRok", {292, 86, 32, 19}},   {"updVyr", {324, 86, 15, 19}},
                {"txtPoz", {117, 126, 245, 18}},
            };
            for (const auto& [meno, place] : places)
                QCOMPARE(Control(Window(), meno)->geometry(), place);
            QTest::keyClick(LineEdit(Window(), "txtNar"), Qt::Key_Escape);
        });
        QVERIFY(!ok);
        QCOMPARE(n, TNote{});
    }

    void enterInTheNameGoesToTheYearAndASecondEnterConfirms() {
        TNote n;
        const bool ok = RunEditor(Window(), n, 2024, [&] {
            QTest::keyClicks(LineEdit(Window(), "txtNar"), "Jano");
            Enter(Window());
            QVERIFY(Window().isVisible());
            QCOMPARE(Window().focusWidget(), LineEdit(Window(), "txtNarRok"));
            QCOMPARE(n, TNote{});
            Enter(Window());
        });
        QVERIFY(ok);
        QCOMPARE(n, (TNote{EntryKind::Narodeniny, 1980, true, "Jano"}));
        QVERIFY(Window().Prijate());
    }

    void escapeInAnyFieldLeavesTheEntryUnchanged_data() {
        QTest::addColumn<QString>("field");
        for (const char* field : {"txtNar", "txtNarRok", "txtVyr", "txtVyrRok", "txtPoz"})
            QTest::newRow(field) << QString::fromLatin1(field);
    }
    void escapeInAnyFieldLeavesTheEntryUnchanged() {
        QFETCH(QString, field);
        const TNote original{EntryKind::Vyrocie, 2000, true, "svadba"};
        TNote n = original;
        Window().Existujuca = true;
        const bool ok = RunEditor(Window(), n, 2024, [&] {
            QCOMPARE(LineEdit(Window(), "txtVyr")->text(), QStringLiteral("svadba"));
            QCOMPARE(LineEdit(Window(), "txtVyrRok")->text(), QStringLiteral("2000"));
            auto* w = LineEdit(Window(), field.toLatin1().constData());
            w->setFocus();
            QTest::keyClicks(w, "19");
            QTest::keyClick(w, Qt::Key_Escape);
        });
        QVERIFY(!ok);
        QCOMPARE(n, original);
    }

    void aPlainNoteTakesTheYearOfTheWeek() {
        TNote n{EntryKind::Poznamka, 2019, false, "Zubár"};
        Window().Existujuca = true;
        QVERIFY(RunEditor(Window(), n, 2024, [&] {
            QVERIFY(Control<QRadioButton>(Window(), "optPoz")->isChecked());
            QCOMPARE(Window().focusWidget(), LineEdit(Window(), "txtPoz"));
            Enter(Window());
        }));
        QCOMPARE(n, (TNote{EntryKind::Poznamka, 2024, true, "Zubár"}));

        // A new entry turned into a note by its painted label.
        init();
        TNote fresh;
        QVERIFY(RunEditor(Window(), fresh, 2025, [&] {
            Click(Control(Window(), "shpPoznamka"));
            QCOMPARE(Window().focusWidget(), LineEdit(Window(), "txtPoz"));
            TypeText(LineEdit(Window(), "txtPoz"), QStringLiteral("  Kúpiť chlieb "));
            Enter(Window());
        }));
        QCOMPARE(fresh, (TNote{EntryKind::Poznamka, 2025, true, "  Kúpiť chlieb "}));
    }

    void choosingAKindEmptiesTheOtherTexts() {
        TNote n;
        QVERIFY(RunEditor(Window(), n, 2024, [&] {
            QTest::keyClicks(LineEdit(Window(), "txtNar"), "Jano");
            Click(Control(Window(), "shpVyrocie"));
            QCOMPARE(LineEdit(Window(), "txtNar")->text(), QString());
            QCOMPARE(CheckedKind(Window()), QStringLiteral("optVyr"));
            QCOMPARE(Window().focusWidget(), LineEdit(Window(), "txtVyr"));
            QTest::keyClicks(LineEdit(Window(), "txtVyr"), "svadba");

            // Moving with the keyboard changes no kind; a click into a field does.
            QTest::keyClick(Window().focusWidget(), Qt::Key_Tab);
            QTest::keyClick(Window().focusWidget(), Qt::Key_Tab);
            QCOMPARE(Window().focusWidget(), LineEdit(Window(), "txtPoz"));
            QTest::keyClicks(LineEdit(Window(), "txtPoz"), "pozn");
            QCOMPARE(CheckedKind(Window()), QStringLiteral("optVyr"));
            QTest::mouseClick(LineEdit(Window(), "txtNar"), Qt::LeftButton);
            QCOMPARE(CheckedKind(Window()), QStringLiteral("optNar"));
            QCOMPARE(LineEdit(Window(), "txtVyr")->text(), QString());
            QCOMPARE(LineEdit(Window(), "txtPoz")->text(), QString());
            QTest::mouseClick(LineEdit(Window(), "txtVyr"), Qt::LeftButton);
            QTest::keyClicks(LineEdit(Window(), "txtVyr"), "promocia");
            // The year boxes select nothing and are never emptied.
            QTest::mouseClick(LineEdit(Window(), "txtNarRok"), Qt::LeftButton);
            QCOMPARE(CheckedKind(Window()), QStringLiteral("optVyr"));
            QCOMPARE(LineEdit(Window(), "txtVyrRok")->text(), QStringLiteral("1980"));
            Click(Control(Window(), "imgOk"));
        }));
        QCOMPARE(n, (TNote{EntryKind::Vyrocie, 1980, true, "promocia"}));
    }

    // A text longer than a text field holds (an import, a hand edit) is never cut: the user is
    // told, the field shows its beginning read-only, and OK stores the whole text with the new
    // kind and year.
    void aTextTooLongForTheFieldIsKeptWhole() {
        std::string longText;
        while (longText.size() < 100000)
            longText += "Ľubica ";
        TNote n{EntryKind::Narodeniny, 1980, true, longText};
        QVERIFY(RunEditor(Window(), n, 2024, [&] {
            QCOMPARE(notifier.messages.size(), 1);
            QVERIFY(notifier.messages.first().contains(QStringLiteral("ostane nezmenený")));
            QVERIFY(LineEdit(Window(), "txtNar")->isReadOnly());
            QVERIFY(
                QString::fromStdString(longText).startsWith(LineEdit(Window(), "txtNar")->text()));
            Click(Control(Window(), "shpVyrocie"));
            QCOMPARE(LineEdit(Window(), "txtVyr")->text().size(),
                     LineEdit(Window(), "txtVyr")->maxLength());
            LineEdit(Window(), "txtVyrRok")->setText(QStringLiteral("2001"));
            Click(Control(Window(), "imgOk"));
        }));
        QCOMPARE(n, (TNote{EntryKind::Vyrocie, 2001, true, longText}));
    }

    void anEmptyNewEntryBeepsAndStaysOpen() {
        TNote n;
        QVERIFY(!RunEditor(Window(), n, 2024, [&] {
            for (const char* empty : {"", "   "}) {
                LineEdit(Window(), "txtNar")->setText(QString::fromLatin1(empty));
                LineEdit(Window(), "txtNarRok")->setFocus();
                Enter(Window());
                QVERIFY(Window().isVisible());
                QCOMPARE(Window().focusWidget(), LineEdit(Window(), "txtNar"));
            }
            QCOMPARE(notifier.beeps, 2);
            Click(Control(Window(), "imgOk"));
            QCOMPARE(notifier.beeps, 3);
            QVERIFY(Window().isVisible());
            Click(Control(Window(), "imgStorno"));
        }));
        QCOMPARE(n, TNote{});
        QVERIFY(notifier.messages.isEmpty());

        // An existing entry may be emptied: the week model then deletes it.
        init();
        TNote existing{EntryKind::Narodeniny, 1975, true, "Jano"};
        Window().Existujuca = true;
        QVERIFY(RunEditor(Window(), existing, 2024, [&] {
            QCOMPARE(LineEdit(Window(), "txtNarRok")->text(), QStringLiteral("1975"));
            LineEdit(Window(), "txtNar")->clear();
            Enter(Window());
            Enter(Window());
        }));
        QCOMPARE(existing, (TNote{EntryKind::Narodeniny, 1975, true, ""}));
        QCOMPARE(notifier.beeps, 0);
    }

    // The year box from the week window to the day file: year 0 is a year not known, shown
    // without a count and as an empty box; an empty box stores 0; a year after the current one
    // (2024 here) is refused with a message, the window staying open with everything typed.
    void theYearBoxFromTheDayFileBackToIt_data() {
        QTest::addColumn<int>("kindCode"); // as in the day file: 2 birthday, 3 anniversary
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("shown"); // in the year box when the window opens
        QTest::addColumn<QString>("typed"); // replaces the year box's text
        QTest::addColumn<int>("saved");     // the year in the file afterwards
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, int kindCode, int stored, const char* listed,
                            const char* shown, const char* typed, int saved, const char* message) {
            QTest::newRow(name) << kindCode << stored << QString::fromUtf8(listed)
                                << QString::fromUtf8(shown) << QString::fromUtf8(typed) << saved
                                << QString::fromUtf8(message);
        };
        row("birthday without a year", 2, 0, "Jano – narodeniny", "", "", 0, "");
        row("anniversary without a year", 3, 0, "Jano – výročie", "", "", 0, "");
        row("a year given later", 2, 0, "Jano – narodeniny", "", "1990", 1990, "");
        row("a year emptied", 2, 1975, "Jano 49. narodeniny", "1975", "", 0, "");
        row("this year", 3, 1975, "49. výročie Jano", "1975", "2024", 2024, "");
        row("a future year of birth", 2, 1975, "Jano 49. narodeniny", "1975", "2025", 1975,
            "Rok narodenia 2025 je v budúcnosti. Zadajte rok, ktorý už bol (najviac 2024), alebo "
            "pole nechajte prázdne, ak rok nepoznáte.");
        // A year the four-digit box cannot show stays as it was, unless another is written.
        row("a year too long for the box", 2, 12345, "Jano – narodeniny", "", "", 12345, "");
        row("a year too long, replaced", 3, -12345, "14369. výročie Jano", "", "1990", 1990, "");
        row("a future year of origin", 3, 0, "Jano – výročie", "", "2031", 0,
            "Rok vzniku 2031 je v budúcnosti. Zadajte rok, ktorý už bol (najviac 2024), alebo "
            "pole nechajte prázdne, ak rok nepoznáte.");
    }
    void theYearBoxFromTheDayFileBackToIt() {
        QFETCH(int, kindCode);
        QFETCH(int, stored);
        QFETCH(QString, listed);
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(int, saved);
        QFETCH(QString, message);
        const auto dayFile = [kindCode](int rok) {
            return QByteArray("!\r\n-1\r\n") + QByteArray::number(kindCode) + "\r\n" +
                   QByteArray::number(rok) + "\r\nJano\r\n";
        };
        QTemporaryDir folder;
        const QString subor = folder.filePath(QStringLiteral("0313.txt"));
        test::WriteFile(subor, dayFile(stored));
        TRok rok;
        MemoryHive hive;
        TRegi regi(hive);
        TTyzden week(rok, regi, folder.path().toStdString(), clock);
        week.SetEditor([this] { return std::make_unique<TfrmUdalost>(clock, notifier); });
        week.SetEntryYear(2024);
        QCOMPARE(QString::fromStdString(week.Lines(3).at(0).Text), listed);
        week.NastavZaznam(1);
        bool seen = false;
        test::WhenActive<TfrmUdalost>(
            [&](TfrmUdalost& editor) {
                auto* yearBox = LineEdit(editor, kindCode == 2 ? "txtNarRok" : "txtVyrRok");
                QCOMPARE(yearBox->text(), shown);
                // A click into the box, a year written over what it showed.
                QTest::mouseClick(yearBox, Qt::LeftButton, {},
                                  QPoint(yearBox->width() - 2, yearBox->height() / 2));
                QCOMPARE(editor.focusWidget(), yearBox);
                if (!shown.isEmpty()) {
                    QTest::keyClick(yearBox, Qt::Key_A, Qt::ControlModifier);
                    QTest::keyClick(yearBox, Qt::Key_Backspace);
                }
                QTest::keyClicks(yearBox, qPrintable(typed));
                Enter(editor);
                if (message.isEmpty())
                    return;
                QCOMPARE(notifier.messages, QStringList{message});
                QVERIFY(editor.isVisible());
                QCOMPARE(editor.focusWidget(), yearBox);
                QCOMPARE(yearBox->text(), typed);
                QCOMPARE(LineEdit(editor, kindCode == 2 ? "txtNar" : "txtVyr")->text(),
                         QStringLiteral("Jano"));
                QTest::keyClick(yearBox, Qt::Key_Escape);
            },
            &seen);
        QCOMPARE(week.Vykonaj(TTyzden::EditEntry),
                 message.isEmpty() ? TTyzden::Done : TTyzden::NotDone);
        QVERIFY(seen);
        QVERIFY(week.Ulozit());
        QCOMPARE(test::FileBytes(subor), dayFile(saved));
        if (message.isEmpty())
            QVERIFY(notifier.messages.isEmpty());
    }

    void aCharacterThatADayFileCannotHoldIsNamed() {
        TNote n;
        QVERIFY(!RunEditor(Window(), n, 2024, [&] {
            TypeText(LineEdit(Window(), "txtNar"), QStringLiteral("Ωmega"));
            LineEdit(Window(), "txtNarRok")->setFocus();
            Enter(Window());
            QCOMPARE(notifier.messages.size(), 1);
            QVERIFY2(notifier.messages[0].contains(QStringLiteral("U+03A9")),
                     qPrintable(notifier.messages[0]));
            QVERIFY(notifier.messages[0].contains(QStringLiteral("Ω")));
            QVERIFY(Window().isVisible());
            QCOMPARE(Window().focusWidget(), LineEdit(Window(), "txtNar"));
            QTest::keyClick(Window().focusWidget(), Qt::Key_Escape);
        }));
        QCOMPARE(n, TNote{});

        // A pasted line break must never reach the entry: it would split its record in the
        // day file.
        init();
        RunEditor(Window(), n, 2024, [&] {
            LineEdit(Window(), "txtNar")->setText(QStringLiteral("Jano\r\nFero"));
            LineEdit(Window(), "txtNarRok")->setFocus();
            Enter(Window());
            if (Window().isVisible())
                QTest::keyClick(Window().focusWidget(), Qt::Key_Escape);
        });
        QCOMPARE(n.Text.find_first_of("\r\n"), std::string::npos);
    }

    void arrowsStepInsideTheirRangeTypedYearsStayAsTyped() {
        TNote n;
        QVERIFY(RunEditor(Window(), n, 2024, [&] {
            auto* rok = LineEdit(Window(), "txtNarRok");
            auto* hore = Control<QToolButton>(Window(), "updNarHore");
            auto* down = Control<QToolButton>(Window(), "updNarDole");
            auto* anniversaryYear = LineEdit(Window(), "txtVyrRok");
            struct Step {
                QLineEdit* field;
                QString before;
                QToolButton* arrow;
                QString later;
            };
            const Step steps[] = {
                {rok, "1980", hore, "1981"},
                {rok, "1980", down, "1979"},
                {rok, "2024", hore, "2024"}, // the current year is the maximum
                {rok, "2030", down, "2024"},
                {rok, "1900", down, "1900"},
                {rok, "", hore, "1981"},
                {anniversaryYear, "1000", Control<QToolButton>(Window(), "updVyrDole"), "1000"},
                {anniversaryYear, "999", Control<QToolButton>(Window(), "updVyrHore"), "1000"},
                {anniversaryYear, "1899", Control<QToolButton>(Window(), "updVyrDole"), "1898"},
            };
            for (const Step& k : steps) {
                k.field->setText(k.before);
                QTest::mouseClick(k.arrow, Qt::LeftButton);
                QCOMPARE(k.field->text(), k.later);
            }
            QVERIFY(Control<QRadioButton>(Window(), "optNar")->isChecked());
            QTest::keyClicks(LineEdit(Window(), "txtNar"), "Eva");
            rok->setFocus();
            QTest::keyClick(rok, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(rok, "1850");
            Enter(Window());
        }));
        QCOMPARE(n, (TNote{EntryKind::Narodeniny, 1850, true, "Eva"}));
    }

    void buttonsShowTheirHoverPictures() {
        const auto image = [](const char* meno) {
            return LoadSkinPicture(QString::fromLatin1(meno), Qt::black, QSize(100, 26)).toImage();
        };
        const QImage okNormal = image("event_ok_normal"), okHover = image("event_ok_hover");
        const QImage stNormal = image("event_cancel_normal"), stHover = image("event_cancel_hover");
        QVERIFY(okNormal != okHover && stNormal != stHover);
        TNote n;
        RunEditor(Window(), n, 2024, [&] {
            auto* ok = Control(Window(), "imgOk");
            auto* cancel = Control(Window(), "imgStorno");
            auto* background = Control(Window(), "imgPozadie");
            const auto showing = [&](const QImage& o, const QImage& s) {
                return test::ShownPicture(ok) == o && test::ShownPicture(cancel) == s;
            };
            QVERIFY(showing(okNormal, stNormal));
            MoveMouse(ok); // before the pointer has passed the background, nothing lights up
            QVERIFY(showing(okNormal, stNormal));
            MoveMouse(background);
            MoveMouse(ok);
            QVERIFY(showing(okHover, stNormal));
            MoveMouse(cancel);
            QVERIFY(showing(okNormal, stHover));
            MoveMouse(Control(Window(), "shpVyrocie"));
            QVERIFY(showing(okNormal, stNormal));
            MoveMouse(cancel);
            QVERIFY(showing(okNormal, stHover));
            MoveMouse(background);
            QVERIFY(showing(okNormal, stNormal));
            Click(cancel);
        });
        QVERIFY(!Window().Prijate());
    }

    // The week model opens this window for an edit through its factory.
    void theWeekModelEditsThroughTheWindow() {
        TRok rok;
        MemoryHive hive;
        TRegi regi(hive);
        QTemporaryDir folder;
        TTyzden week(rok, regi, folder.path().toStdString(), clock);
        week.SetEditor([this] { return std::make_unique<TfrmUdalost>(clock, notifier); });
        week.SetEntryYear(2024);
        week.NastavZaznam(0);
        bool seen = false;
        test::WhenActive<TfrmUdalost>(
            [&](TfrmUdalost& editor) {
                Click(Control(editor, "shpPoznamka"));
                QTest::keyClicks(LineEdit(editor, "txtPoz"), "Kino");
                QTest::keyClick(LineEdit(editor, "txtPoz"), Qt::Key_Enter);
            },
            &seen);
        QCOMPARE(week.Vykonaj(TTyzden::EditEntry), TTyzden::Done);
        QVERIFY(seen);
        QCOMPARE(week.Lines(3).size(), std::size_t{1});
        QCOMPARE(week.Poznamky(3).Polozka(0), (TNote{EntryKind::Poznamka, 2024, true, "Kino"}));
    }

    // Assistive technology sees each control by the words painted beside it: the kinds as
    // radio buttons whose Toggle does what their click does, OK and Storno as buttons whose
    // Press does. `before` is typed into the focused field first; `after` is the selected kind
    // (seen checked by assistive technology too), the focused control and the year of birth,
    // or how the window closed.
    void controlsAsAssistiveTechnologySeesThem_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("meno");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("after"); // after Press; empty: no Press
        const auto row = [](const char* name, const char* before, const char* control,
                            const char* meno, QAccessible::Role role, const char* after) {
            QTest::newRow(name) << QString::fromUtf8(before) << QString::fromUtf8(control)
                                << QString::fromUtf8(meno) << int(role) << QString::fromUtf8(after);
        };
        const auto button = QAccessible::Button;
        const auto field = QAccessible::EditableText;
        const auto radio = QAccessible::RadioButton;
        row("anniversary", "", "shpVyrocie", "Výročie", radio, "optVyr txtVyr 1980");
        row("note", "", "shpPoznamka", "Poznámka", radio, "optPoz txtPoz 1980");
        row("birthday, text kept", "Jano", "shpNarodeniny", "Narodeniny", radio,
            "optNar txtNar 1980 Jano");
        row("year up", "", "updNarHore", "Zvýšiť rok narodenia", button, "optNar txtNar 1981");
        row("year down", "", "updVyrDole", "Znížiť rok vzniku", button, "optNar txtNar 1980");
        row("OK", "Jano", "imgOk", "OK", button, "prijaté");
        row("OK, empty", "", "imgOk", "OK", button, "optNar txtNar 1980");
        row("Storno", "Jano", "imgStorno", "Storno", button, "zrušené");
        row("name", "", "txtNar", "Meno", field, "");
        row("year of birth", "", "txtNarRok", "Rok narodenia", field, "");
        row("description", "", "txtVyr", "Popis udalosti", field, "");
        row("year of origin", "", "txtVyrRok", "Rok vzniku", field, "");
        row("note text", "", "txtPoz", "Text poznámky", field, "");
        row("heading", "", "imgPozadie", "Zadajte udalosť", QAccessible::Graphic, "");
    }
    void controlsAsAssistiveTechnologySeesThem() {
        QFETCH(QString, before);
        QFETCH(QString, control);
        QFETCH(QString, meno);
        QFETCH(int, role);
        QFETCH(QString, after);
        TNote n;
        QString state;
        const bool accepted = RunEditor(Window(), n, 2024, [&] {
            QTest::keyClicks(Window().focusWidget(), qPrintable(before));
            QWidget* w = Control(Window(), qPrintable(control));
            if (role == QAccessible::RadioButton) {
                test::CheckAccessibility(w, meno, role, false);
                test::ToggleByAssistiveTechnology(w);
            } else {
                test::CheckAccessibility(w, meno, role, !after.isEmpty());
            }
            if (!Window().isVisible())
                return;
            state = CheckedKind(Window());
            state += QLatin1Char(' ') + Window().focusWidget()->objectName() + QLatin1Char(' ') +
                     LineEdit(Window(), "txtNarRok")->text();
            if (!LineEdit(Window(), "txtNar")->text().isEmpty())
                state += QLatin1Char(' ') + LineEdit(Window(), "txtNar")->text();
            Window().reject();
        });
        if (!after.isEmpty())
            QCOMPARE(state.isEmpty() ? QString(accepted ? "prijaté" : "zrušené") : state, after);
    }

    // Tab goes round: the fields, OK, Storno, the three kinds; Shift+Tab back. The year's
    // arrow keys step it like its arrows.
    void tabGoesRoundAndTheArrowKeysStepTheYear() {
        TNote n;
        RunEditor(Window(), n, 2024, [&] {
            const QStringList ring{"txtNarRok",   "txtVyr",    "txtVyrRok",     "txtPoz",
                                   "imgOk",       "imgStorno", "shpNarodeniny", "shpVyrocie",
                                   "shpPoznamka", "txtNar"};
            test::CheckTabRing(ring);
            QTest::keyClick(Window().focusWidget(), Qt::Key_Tab);
            QTest::keyClick(Window().focusWidget(), Qt::Key_Up);
            QTest::keyClick(Window().focusWidget(), Qt::Key_Up);
            QTest::keyClick(Window().focusWidget(), Qt::Key_Down);
            QCOMPARE(LineEdit(Window(), "txtNarRok")->text(), QStringLiteral("1981"));
            Window().reject();
        });
    }
};

} // namespace tilava

QTEST_MAIN(tilava::fUdalostTest)
#include "fUdalostTest.moc"
