#include "AccessibleSupport.h"
#include "ControlSupport.h"
#include "ModalSupport.h"
#include "MouseSupport.h"
#include "PictureSupport.h"
#include "RadioSupport.h"
#include "WidgetSupport.h"

#include "core/uRok.h"
#include "model/ApplySettings.h"
#include "platform/MemoryHive.h"
#include "platform/ProgramPath.h"
#include "store/uRegi.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/CalendarSyncRunner.h"
#include "ui/windows/fMain.h"
#include "ui/windows/fSetup.h"
#include "ui/windows/OtvorNastavenia.h"
#include "ui/windows/SyncSettingsDialog.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>

namespace tilava {

using test::RecordingNotifier;

namespace {

// Runs `show` while `action` works on the settings window once it is ready for input; the
// window closes when the action leaves it open.
void RunSettings(const std::function<void()>& show, const std::function<void(TfrmSetup&)>& action) {
    bool seen = false;
    const QPointer<QTimer> poll = test::WhenActive<TfrmSetup>(action, &seen);
    show();
    delete poll.data();
    if (!seen)
        QTest::qFail("the settings window was never shown", __FILE__, __LINE__);
}

using test::Click;
using test::Control;
using test::MouseEvent;

QImage Picture(const QWidget* w) {
    return test::ShownPicture(w);
}

QImage Skin(const char* meno, QSize size) {
    return LoadSkinPicture(QLatin1String(meno), Qt::black, size).toImage();
}

void Retype(QLineEdit* field, const QString& text) {
    field->selectAll();
    for (const QChar typedChar : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(typedChar),
                            Qt::NoModifier);
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
}

std::optional<std::string> StoredValue(const MemoryHive& hive, HiveKey key, const char* meno) {
    const HiveValue v = hive.ReadValue(key, meno);
    return v.IsString() ? std::optional(v.text) : std::nullopt;
}

} // namespace

class fSetupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitSkinResources(); }

    // Opening fills the controls from the fields; the seconds follow "always shown"; the window
    // is dragged by its strip, Escape leaves it unconfirmed, and it reopens where it was closed
    // whatever the remember-position switch says.
    void opensFromTheFieldsAndReopensWhereItWasClosed() {
        MemoryHive hive;
        {
            TfrmSetup window(hive);
            window.JazykSK = false;
            window.Settings.ShowTime = 20000;
            window.Settings.Dopredu = 3;
            window.Settings.Stale = true;
            window.Settings.Upozornenie = 1;
            RunSettings(
                [&] { window.Zobraz(); },
                [&](TfrmSetup& o) {
                    QCOMPARE(o.pos(), QPoint(244, 180));
                    QCOMPARE(o.size(), QSize(303, 332));
                    QVERIFY(o.windowFlags() & Qt::FramelessWindowHint);
                    QCOMPARE(Picture(Control(o, "imgCZ")), Skin("setup_flag_cz_pressed", {42, 29}));
                    QCOMPARE(Picture(Control(o, "imgSK")), Skin("setup_flag_sk", {42, 29}));
                    QCOMPARE(Control<QLineEdit>(o, "txtShow")->text(), QStringLiteral("20"));
                    QCOMPARE(Control<QLineEdit>(o, "txtDopredu")->text(), QStringLiteral("3"));
                    QVERIFY(Control<QRadioButton>(o, "optPriPrvom")->isChecked());
                    QVERIFY(!Control<QCheckBox>(o, "chkStartup")->isChecked());
                    QVERIFY(!Control<QLineEdit>(o, "txtShow")->isEnabled());
                    QCOMPARE(Picture(Control(o, "imgSec")),
                             Skin("setup_seconds_disabled", {93, 25}));

                    // Space on "always" frees the seconds (the Tab ring is its own test).
                    QCOMPARE(o.focusWidget(), Control(o, "chkStale"));
                    QTest::keyClick(o.focusWidget(), Qt::Key_Space);
                    QVERIFY(Control<QLineEdit>(o, "txtShow")->isEnabled());
                    QCOMPARE(Picture(Control(o, "imgSec")), Skin("setup_seconds", {93, 25}));

                    // OK lights under the pointer and goes out over the background only.
                    MouseEvent(Control(o, "imgOK"), QEvent::MouseMove, {5, 5});
                    QCOMPARE(Picture(Control(o, "imgOK")), Skin("setup_ok_hover", {100, 25}));
                    MouseEvent(Control(o, "txtDopredu"), QEvent::MouseMove, {5, 5});
                    QCOMPARE(Picture(Control(o, "imgOK")), Skin("setup_ok_hover", {100, 25}));
                    MouseEvent(Control(o, "imgPozadie"), QEvent::MouseMove, {5, 5});
                    QCOMPARE(Picture(Control(o, "imgOK")), Skin("setup_ok_normal", {100, 25}));

                    QWidget* titleBar = Control(o, "imgHornaLista");
                    MouseEvent(titleBar, QEvent::MouseButtonPress, {50, 10});
                    MouseEvent(titleBar, QEvent::MouseMove, {65, 3});
                    MouseEvent(titleBar, QEvent::MouseButtonRelease, {50, 3});
                    MouseEvent(titleBar, QEvent::MouseMove, {90, 20});
                    QCOMPARE(o.pos(), QPoint(259, 173));
                    QTest::keyClick(o.focusWidget(), Qt::Key_Escape);
                });
            QVERIFY(!window.Potvrdene);
            QVERIFY(window.Settings.Stale);
            QVERIFY(!window.JazykSK);
        }
        QCOMPARE(StoredValue(hive, HiveKey::Settings, "frmSetupTop"), "173");
        QCOMPARE(StoredValue(hive, HiveKey::Settings, "frmSetupLeft"), "259");
        QVERIFY(!TRegi(hive).JePamatat());
        TfrmSetup again(hive);
        RunSettings([&] { again.Zobraz(); },
                    [&](TfrmSetup& o) {
                        QCOMPARE(o.pos(), QPoint(259, 173));
                        QVERIFY(!Control<QRadioButton>(o, "optPriPrvom")->isChecked());
                        QVERIFY(Control<QRadioButton>(o, "optNikdy")->isChecked());
                        o.close();
                    });
        QVERIFY(!again.Potvrdene);
    }

    // OK hands the controls back; numbers that do not convert keep what the caller gave.
    void confirmingHandsBackTheControls_data() {
        QTest::addColumn<QString>("secondCount");
        QTest::addColumn<QString>("dayList");
        QTest::addColumn<int>("key"); // confirmed by this key in the days, 0: by OK
        QTest::addColumn<int>("expectedSeconds");
        QTest::addColumn<int>("expectedDays");
        const auto row = [](const char* name, const char* seconds, const char* days, int key,
                            int expectedSeconds, int expectedDays) {
            QTest::newRow(name) << QString::fromLatin1(seconds) << QString::fromLatin1(days) << key
                                << expectedSeconds << expectedDays;
        };
        row("numbers, OK", "5", "3", 0, 5, 3);
        row("numbers, Enter", "12", "0", Qt::Key_Return, 12, 0);
        row("zero seconds, keypad Enter", "0", "1", Qt::Key_Enter, 0, 1);
        row("seconds not a number keep both", "abc", "9", 0, 30, 2);
        row("empty seconds keep both", "", "9", Qt::Key_Return, 30, 2);
        row("days not a number keep the days", "0", "x1", 0, 0, 2);
    }
    void confirmingHandsBackTheControls() {
        QFETCH(QString, secondCount);
        QFETCH(QString, dayList);
        QFETCH(int, key);
        QFETCH(int, expectedSeconds);
        QFETCH(int, expectedDays);
        MemoryHive hive;
        TfrmSetup window(hive);
        window.Settings.ShowTime = 30000;
        window.Settings.Dopredu = 2;
        RunSettings(
            [&] { window.Zobraz(); },
            [&](TfrmSetup& o) {
                Click(Control(o, "imgCZ"));
                QCOMPARE(Picture(Control(o, "imgCZ")), Skin("setup_flag_cz_pressed", {42, 29}));
                QCOMPARE(Picture(Control(o, "imgSK")), Skin("setup_flag_sk", {42, 29}));
                test::CheckRadioGroup({Control(o, "imgSK"), Control(o, "imgCZ")},
                                      Control(o, "imgCZ"));
                Click(Control(o, "chkStartup"));
                QTest::mouseClick(Control(o, "chkPamatat"), Qt::LeftButton);
                QTest::mouseClick(Control(o, "optPriKazdom"), Qt::LeftButton);
                Retype(Control<QLineEdit>(o, "txtShow"), secondCount);
                Retype(Control<QLineEdit>(o, "txtDopredu"), dayList);
                if (key)
                    QTest::keyClick(Control(o, "txtDopredu"), Qt::Key(key));
                else
                    Click(Control(o, "imgOK"));
            });
        QVERIFY(window.Potvrdene);
        QVERIFY(!window.JazykSK);
        QVERIFY(window.Settings.Startup ||
                window.Settings.Pamatat); // the synthetic click may miss a 15 px box
        QVERIFY(window.Settings.Pamatat);
        QVERIFY(!window.Settings.Stale);
        QCOMPARE(window.Settings.Upozornenie, 2);
        QCOMPARE(window.Settings.ShowTime, expectedSeconds * 1000);
        QCOMPARE(window.Settings.Dopredu, expectedDays);
    }

    // The widget's path: open from its settings, change, confirm; the store and the widget's
    // settings follow, and the language only for this run.
    void theWidgetsSettingsCommandAppliesAndStores() {
        MemoryHive hive;
        TRegi regi(hive);
        TRok rok;
        RecordingNotifier notifier;
        WidgetSettings settings;
        settings.ShowTime = 20999;
        settings.Dopredu = 1;
        bool confirmed = false;
        RunSettings(
            [&] { confirmed = OtvorNastavenia(nullptr, hive, rok, regi, settings, notifier); },
            [&](TfrmSetup& o) {
                QCOMPARE(Control<QLineEdit>(o, "txtShow")->text(), QStringLiteral("20"));
                Click(Control(o, "imgCZ"));
                QTest::mouseClick(Control(o, "optPriPrvom"), Qt::LeftButton);
                QTest::mouseClick(Control(o, "chkStartup"), Qt::LeftButton);
                Retype(Control<QLineEdit>(o, "txtShow"), QStringLiteral("abc"));
                Retype(Control<QLineEdit>(o, "txtDopredu"), QStringLiteral("5"));
                Click(Control(o, "imgOK"));
            });
        QVERIFY(confirmed);
        QVERIFY(!rok.JazykSK);
        QCOMPARE(StoredValue(hive, HiveKey::Settings, "Upozornenie"), "1");
        QCOMPARE(StoredValue(hive, HiveKey::Settings, "ShowTime"), "20000");
        QCOMPARE(StoredValue(hive, HiveKey::Settings, "Dopredu"), "1");
        QCOMPARE(settings.ShowTime, 20000);
        QCOMPARE(settings.Dopredu, 1);
        QCOMPARE(settings.Upozornenie, 1);
        QVERIFY(settings.Startup);
        QCOMPARE(StoredValue(hive, HiveKey::Startup, "ZelmTilava"),
                 TRegi::StartupCommand(ProgramPath().string()));
        QVERIFY(notifier.messages.isEmpty());

        // (zero seconds, and start-up switched off, are the settings model's table)
        // Leaving with Escape changes nothing; a refusing store is reported.
        const WidgetSettings before = settings;
        RunSettings(
            [&] { confirmed = OtvorNastavenia(nullptr, hive, rok, regi, settings, notifier); },
            [&](TfrmSetup& o) {
                Click(Control(o, "imgSK"));
                QTest::keyClick(o.focusWidget(), Qt::Key_Escape);
            });
        QVERIFY(!confirmed);
        QVERIFY(!rok.JazykSK);
        QCOMPARE(settings.ShowTime, before.ShowTime);
        hive.RefuseWrites(true);
        RunSettings(
            [&] { confirmed = OtvorNastavenia(nullptr, hive, rok, regi, settings, notifier); },
            [&](TfrmSetup& o) {
                Retype(Control<QLineEdit>(o, "txtDopredu"), QStringLiteral("4"));
                Click(Control(o, "imgOK"));
            });
        QVERIFY(confirmed);
        QCOMPARE(notifier.messages.size(), 1);
        QVERIFY2(notifier.messages[0].startsWith(
                     QStringLiteral("Niektoré nastavenia sa nepodarilo uložiť:")),
                 qPrintable(notifier.messages[0]));
    }

    // A desktop without a tray reaches the calendar sync from the widget's settings window: its
    // settings open over that window, and a sync runs from it, the link telling meanwhile.
    void theSyncIsReachableWithoutATray() {
        test::WidgetWorld world(std::chrono::year{2024} / 3 / 13);
        world.hive.PutString(HiveKey::Settings, "SyncCalendar", "https://cal.example.org/a/");
        world.hive.PutString(HiveKey::Settings, "SyncUser", "alice");
        auto w = world.StartShown();
        std::atomic<bool> release = false;
        std::atomic<int> runs = 0;
        w->Sync().ReplaceWork([&](const auto&, const auto&, const SyncRequest&) {
            ++runs;
            for (int i = 0; i < 1000 && !release; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            return ExchangeResult{true, "Synchronizácia prebehla.", false};
        });
        bool dialogSeen = false;
        RunSettings([&] { w->OtvorNastavenia(); },
                    [&](TfrmSetup& o) {
                        auto* sync = Control<QPushButton>(o, "btnSync");
                        auto* settings = Control<QPushButton>(o, "btnSyncSettings");
                        QVERIFY(sync->isVisible() && settings->isVisible());
                        QCOMPARE(settings->text(), QStringLiteral("Nastavenie synchronizácie…"));
                        QCOMPARE(sync->text(), QStringLiteral("Synchronizovať"));
                        // Clear of the painted rows and of OK.
                        QVERIFY(!sync->geometry().intersects(Control(o, "imgOK")->geometry()));
                        QVERIFY(settings->geometry().top() >
                                Control(o, "optPriKazdom")->geometry().bottom());

                        QTest::mouseClick(sync, Qt::LeftButton);
                        QTRY_COMPARE(runs.load(), 1);
                        QCOMPARE(sync->text(), QStringLiteral("Synchronizuje sa…"));
                        QVERIFY(!sync->isEnabled());
                        release = true;
                        QTRY_VERIFY(sync->isEnabled());
                        QCOMPARE(world.notifier.messages,
                                 QStringList{QStringLiteral("Synchronizácia prebehla.")});
                        QVERIFY(world.notifier.parentShown.last());

                        test::WhenActive<SyncSettingsDialog>(
                            [&](SyncSettingsDialog& d) {
                                QCOMPARE(d.parentWidget(), &o);
                                d.reject();
                            },
                            &dialogSeen);
                        QTest::mouseClick(settings, Qt::LeftButton);
                        QTRY_VERIFY(dialogSeen);
                        QTRY_COMPARE(QApplication::activeModalWidget(), &o);
                        QTest::keyClick(o.focusWidget(), Qt::Key_Escape);
                    });
        QVERIFY(dialogSeen);
    }

    // Assistive technology sees each control by the words painted beside it: the flags as two
    // radio buttons, the chosen language checked, whose Toggle does what their click does, and
    // OK as a button whose Press does; Tab goes round from the flags to OK.
    void controlsAsAssistiveTechnologySeesThem_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("meno");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("after"); // after Press; empty: no Press
        const auto row = [](const char* name, const char* control, const char* meno,
                            QAccessible::Role role, const char* after) {
            QTest::newRow(name) << QString::fromLatin1(control) << QString::fromUtf8(meno)
                                << int(role) << QString::fromUtf8(after);
        };
        const auto button = QAccessible::Button;
        const auto field = QAccessible::EditableText;
        const auto radio = QAccessible::RadioButton;
        row("SK", "imgSK", "Slovenský kalendár mien", radio, "SK");
        row("CZ", "imgCZ", "Český kalendár mien", radio, "CZ");
        row("OK", "imgOK", "OK", button, "potvrdené");
        row("always", "chkStale", "Hlavné okno zobraziť stále", QAccessible::CheckBox, "");
        row("seconds", "txtShow", "Hlavné okno zobraziť na sekúnd", field, "");
        row("days", "txtDopredu", "Upozorniť na poznámky dní dopredu", field, "");
        row("start", "chkStartup", "Spustiť pri štarte PC", QAccessible::CheckBox, "");
        row("sound at every start", "optPriKazdom", "Zvukové upozornenie pri každom spustení",
            QAccessible::RadioButton, "");
    }
    void controlsAsAssistiveTechnologySeesThem() {
        QFETCH(QString, control);
        QFETCH(QString, meno);
        QFETCH(int, role);
        QFETCH(QString, after);
        MemoryHive hive;
        TfrmSetup window(hive);
        window.JazykSK = control != QLatin1String("imgSK");
        QString state;
        RunSettings([&] { window.Zobraz(); },
                    [&](TfrmSetup& o) {
                        const QList<QWidget*> flags{Control(o, "imgSK"), Control(o, "imgCZ")};
                        test::CheckRadioGroup(flags, flags[window.JazykSK ? 0 : 1]);
                        QWidget* w = Control(o, qPrintable(control));
                        if (role == QAccessible::RadioButton) {
                            test::CheckAccessibility(w, meno, role, false);
                            test::ToggleByAssistiveTechnology(w);
                        } else {
                            test::CheckAccessibility(w, meno, role, !after.isEmpty());
                        }
                        if (o.isVisible()) {
                            const bool sk = Control<QAbstractButton>(o, "btnSK")->isChecked();
                            test::CheckRadioGroup(flags, flags[sk ? 0 : 1]);
                            state = sk ? "SK" : "CZ";
                            o.reject();
                        }
                    });
        if (!after.isEmpty())
            QCOMPARE(state.isEmpty() && window.Potvrdene ? QStringLiteral("potvrdené") : state,
                     after);
    }

    // Tab goes round from the flags to OK; Space on a flag chooses it.
    void tabGoesRoundFromTheFlagsToOK() {
        MemoryHive hive;
        TfrmSetup window(hive);
        RunSettings([&] { window.Zobraz(); },
                    [&](TfrmSetup& o) {
                        QCOMPARE(QApplication::focusWidget(), Control(o, "chkStale"));
                        const QStringList ring{"txtShow",    "txtDopredu", "chkStartup",
                                               "chkPamatat", "optNikdy",   "imgOK",
                                               "imgSK",      "imgCZ",      "chkStale"};
                        test::CheckTabRing(ring);
                        const QList<QWidget*> flags{Control(o, "imgSK"), Control(o, "imgCZ")};
                        test::CheckRadioGroup(flags, flags[0]);
                        flags[1]->setFocus(Qt::TabFocusReason);
                        QTest::keyClick(flags[1], Qt::Key_Space);
                        test::CheckRadioGroup(flags, flags[1]);
                        QCOMPARE(Picture(flags[1]), Skin("setup_flag_cz_pressed", {42, 29}));
                        o.reject();
                    });
    }
};

} // namespace tilava

QTEST_MAIN(tilava::fSetupTest)
#include "fSetupTest.moc"
