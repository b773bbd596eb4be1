#include "AccessibleSupport.h"
#include "ModalSupport.h"
#include "MouseSupport.h"
#include "PictureSupport.h"
#include "WidgetSupport.h"

#include "core/uRok.h"
#include "model/Nastavenia.h"
#include "platform/MemoryHive.h"
#include "platform/ProgramPath.h"
#include "store/uRegi.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/fSetup.h"
#include "ui/windows/OtvorNastavenia.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

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
        qWarning("the settings window was never shown");
}

template <typename T = QWidget> T* Ovladac(QWidget& okno, const char* meno) {
    auto* w = okno.findChild<T*>(QLatin1String(meno));
    if (!w)
        qFatal("no control %s", meno);
    return w;
}

using test::Klikni;
using test::Mys;

QImage Obraz(const QWidget* w) {
    return test::ShownPicture(w);
}

QImage Skin(const char* meno, QSize velkost) {
    return LoadSkinPicture(QLatin1String(meno), Qt::black, velkost).toImage();
}

void Prepis(QLineEdit* pole, const QString& text) {
    pole->selectAll();
    for (const QChar znak : text)
        QTest::sendKeyEvent(QTest::Click, pole, Qt::Key_unknown, QString(znak), Qt::NoModifier);
    if (text.isEmpty())
        QTest::keyClick(pole, Qt::Key_Delete);
}

std::optional<std::string> Hodnota(const MemoryHive& hive, HiveKey key, const char* meno) {
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
            TfrmSetup okno(hive);
            okno.JazykSK = false;
            okno.Nastavenia.ShowTime = 20000;
            okno.Nastavenia.Dopredu = 3;
            okno.Nastavenia.Stale = true;
            okno.Nastavenia.Upozornenie = 1;
            RunSettings(
                [&] { okno.Zobraz(); },
                [&](TfrmSetup& o) {
                    QCOMPARE(o.pos(), QPoint(244, 180));
                    QCOMPARE(o.size(), QSize(303, 332));
                    QVERIFY(o.windowFlags() & Qt::FramelessWindowHint);
                    QCOMPARE(Obraz(Ovladac(o, "imgCZ")), Skin("setup_flag_cz_pressed", {42, 29}));
                    QCOMPARE(Obraz(Ovladac(o, "imgSK")), Skin("setup_flag_sk", {42, 29}));
                    QCOMPARE(Ovladac<QLineEdit>(o, "txtShow")->text(), QStringLiteral("20"));
                    QCOMPARE(Ovladac<QLineEdit>(o, "txtDopredu")->text(), QStringLiteral("3"));
                    QVERIFY(Ovladac<QRadioButton>(o, "optPriPrvom")->isChecked());
                    QVERIFY(!Ovladac<QCheckBox>(o, "chkStartup")->isChecked());
                    QVERIFY(!Ovladac<QLineEdit>(o, "txtShow")->isEnabled());
                    QCOMPARE(Obraz(Ovladac(o, "imgSec")), Skin("setup_seconds_disabled", {93, 25}));

                    // The keyboard goes round the rows in their order.
                    QCOMPARE(o.focusWidget(), Ovladac(o, "chkStale"));
                    QTest::keyClick(o.focusWidget(), Qt::Key_Space);
                    QVERIFY(Ovladac<QLineEdit>(o, "txtShow")->isEnabled());
                    QCOMPARE(Obraz(Ovladac(o, "imgSec")), Skin("setup_seconds", {93, 25}));
                    for (const char* dalsi :
                         {"txtShow", "txtDopredu", "chkStartup", "chkPamatat", "optNikdy"}) {
                        QTest::keyClick(o.focusWidget(), Qt::Key_Tab);
                        QCOMPARE(o.focusWidget()->objectName(), QLatin1String(dalsi));
                    }

                    // OK lights under the pointer and goes out over the background only.
                    Mys(Ovladac(o, "imgOK"), QEvent::MouseMove, {5, 5});
                    QCOMPARE(Obraz(Ovladac(o, "imgOK")), Skin("setup_ok_hover", {100, 25}));
                    Mys(Ovladac(o, "txtDopredu"), QEvent::MouseMove, {5, 5});
                    QCOMPARE(Obraz(Ovladac(o, "imgOK")), Skin("setup_ok_hover", {100, 25}));
                    Mys(Ovladac(o, "imgPozadie"), QEvent::MouseMove, {5, 5});
                    QCOMPARE(Obraz(Ovladac(o, "imgOK")), Skin("setup_ok_normal", {100, 25}));

                    QWidget* lista = Ovladac(o, "imgHornaLista");
                    Mys(lista, QEvent::MouseButtonPress, {50, 10});
                    Mys(lista, QEvent::MouseMove, {65, 3});
                    Mys(lista, QEvent::MouseButtonRelease, {50, 3});
                    Mys(lista, QEvent::MouseMove, {90, 20});
                    QCOMPARE(o.pos(), QPoint(259, 173));
                    QTest::keyClick(o.focusWidget(), Qt::Key_Escape);
                });
            QVERIFY(!okno.Potvrdene);
            QVERIFY(okno.Nastavenia.Stale);
            QVERIFY(!okno.JazykSK);
        }
        QCOMPARE(Hodnota(hive, HiveKey::Settings, "frmSetupTop"), "173");
        QCOMPARE(Hodnota(hive, HiveKey::Settings, "frmSetupLeft"), "259");
        QVERIFY(!TRegi(hive).JePamatat());
        TfrmSetup znova(hive);
        RunSettings([&] { znova.Zobraz(); },
                    [&](TfrmSetup& o) {
                        QCOMPARE(o.pos(), QPoint(259, 173));
                        QVERIFY(!Ovladac<QRadioButton>(o, "optPriPrvom")->isChecked());
                        QVERIFY(Ovladac<QRadioButton>(o, "optNikdy")->isChecked());
                        o.close();
                    });
        QVERIFY(!znova.Potvrdene);
    }

    // OK hands the controls back; numbers that do not convert keep what the caller gave.
    void confirmingHandsBackTheControls_data() {
        QTest::addColumn<QString>("sekundy");
        QTest::addColumn<QString>("dni");
        QTest::addColumn<bool>("enterom");
        QTest::addColumn<int>("cakaneSekundy");
        QTest::addColumn<int>("cakaneDni");
        QTest::newRow("numbers, OK") << "5"
                                     << "3" << false << 5 << 3;
        QTest::newRow("numbers, Enter") << "12"
                                        << "0" << true << 12 << 0;
        QTest::newRow("seconds not a number keep both") << "abc"
                                                        << "9" << false << 30 << 2;
        QTest::newRow("empty seconds keep both") << ""
                                                 << "9" << true << 30 << 2;
        QTest::newRow("days not a number keep the days") << "0"
                                                         << "x1" << false << 0 << 2;
    }
    void confirmingHandsBackTheControls() {
        QFETCH(QString, sekundy);
        QFETCH(QString, dni);
        QFETCH(bool, enterom);
        QFETCH(int, cakaneSekundy);
        QFETCH(int, cakaneDni);
        MemoryHive hive;
        TfrmSetup okno(hive);
        okno.Nastavenia.ShowTime = 30000;
        okno.Nastavenia.Dopredu = 2;
        RunSettings(
            [&] { okno.Zobraz(); },
            [&](TfrmSetup& o) {
                Klikni(Ovladac(o, "imgCZ"));
                QCOMPARE(Obraz(Ovladac(o, "imgCZ")), Skin("setup_flag_cz_pressed", {42, 29}));
                QCOMPARE(Obraz(Ovladac(o, "imgSK")), Skin("setup_flag_sk", {42, 29}));
                Klikni(Ovladac(o, "chkStartup"));
                QTest::mouseClick(Ovladac(o, "chkPamatat"), Qt::LeftButton);
                QTest::mouseClick(Ovladac(o, "optPriKazdom"), Qt::LeftButton);
                Prepis(Ovladac<QLineEdit>(o, "txtShow"), sekundy);
                Prepis(Ovladac<QLineEdit>(o, "txtDopredu"), dni);
                if (enterom)
                    QTest::keyClick(Ovladac(o, "txtDopredu"), Qt::Key_Return);
                else
                    Klikni(Ovladac(o, "imgOK"));
            });
        QVERIFY(okno.Potvrdene);
        QVERIFY(!okno.JazykSK);
        QVERIFY(okno.Nastavenia.Startup ||
                okno.Nastavenia.Pamatat); // the synthetic click may miss a 15 px box
        QVERIFY(okno.Nastavenia.Pamatat);
        QVERIFY(!okno.Nastavenia.Stale);
        QCOMPARE(okno.Nastavenia.Upozornenie, 2);
        QCOMPARE(okno.Nastavenia.ShowTime, cakaneSekundy * 1000);
        QCOMPARE(okno.Nastavenia.Dopredu, cakaneDni);
    }

    // The widget's path: open from its settings, change, confirm; the store and the widget's
    // settings follow, and the language only for this run.
    void theWidgetsSettingsCommandAppliesAndStores() {
        MemoryHive hive;
        TRegi regi(hive);
        TRok rok;
        RecordingNotifier oznamy;
        WidgetSettings nastavenia;
        nastavenia.ShowTime = 20999;
        nastavenia.Dopredu = 1;
        bool potvrdene = false;
        RunSettings(
            [&] { potvrdene = OtvorNastavenia(nullptr, hive, rok, regi, nastavenia, oznamy); },
            [&](TfrmSetup& o) {
                QCOMPARE(Ovladac<QLineEdit>(o, "txtShow")->text(), QStringLiteral("20"));
                Klikni(Ovladac(o, "imgCZ"));
                QTest::mouseClick(Ovladac(o, "optPriPrvom"), Qt::LeftButton);
                QTest::mouseClick(Ovladac(o, "chkStartup"), Qt::LeftButton);
                Prepis(Ovladac<QLineEdit>(o, "txtShow"), QStringLiteral("abc"));
                Prepis(Ovladac<QLineEdit>(o, "txtDopredu"), QStringLiteral("5"));
                Klikni(Ovladac(o, "imgOK"));
            });
        QVERIFY(potvrdene);
        QVERIFY(!rok.JazykSK);
        QCOMPARE(Hodnota(hive, HiveKey::Settings, "Upozornenie"), "1");
        QCOMPARE(Hodnota(hive, HiveKey::Settings, "ShowTime"), "20000");
        QCOMPARE(Hodnota(hive, HiveKey::Settings, "Dopredu"), "1");
        QCOMPARE(nastavenia.ShowTime, 20000);
        QCOMPARE(nastavenia.Dopredu, 1);
        QCOMPARE(nastavenia.Upozornenie, 1);
        QVERIFY(nastavenia.Startup);
        QCOMPARE(Hodnota(hive, HiveKey::Startup, "ZelmTilava"),
                 TRegi::StartupCommand(ProgramPath().string()));
        QVERIFY(oznamy.messages.isEmpty());

        // Zero seconds is stored as it is and reads back as the default; start-up goes off.
        RunSettings(
            [&] { potvrdene = OtvorNastavenia(nullptr, hive, rok, regi, nastavenia, oznamy); },
            [&](TfrmSetup& o) {
                QCOMPARE(Obraz(Ovladac(o, "imgCZ")), Skin("setup_flag_cz_pressed", {42, 29}));
                QTest::mouseClick(Ovladac(o, "chkStartup"), Qt::LeftButton);
                Prepis(Ovladac<QLineEdit>(o, "txtShow"), QStringLiteral("0"));
                QTest::keyClick(Ovladac(o, "txtShow"), Qt::Key_Enter);
            });
        QVERIFY(potvrdene);
        QCOMPARE(Hodnota(hive, HiveKey::Settings, "ShowTime"), "0");
        QCOMPARE(nastavenia.ShowTime, 20000);
        QVERIFY(!nastavenia.Startup);
        QCOMPARE(Hodnota(hive, HiveKey::Startup, "ZelmTilava"), std::nullopt);

        // Leaving with Escape changes nothing; a refusing store is reported.
        const WidgetSettings pred = nastavenia;
        RunSettings(
            [&] { potvrdene = OtvorNastavenia(nullptr, hive, rok, regi, nastavenia, oznamy); },
            [&](TfrmSetup& o) {
                Klikni(Ovladac(o, "imgSK"));
                QTest::keyClick(o.focusWidget(), Qt::Key_Escape);
            });
        QVERIFY(!potvrdene);
        QVERIFY(!rok.JazykSK);
        QCOMPARE(nastavenia.ShowTime, pred.ShowTime);
        hive.RefuseWrites(true);
        RunSettings(
            [&] { potvrdene = OtvorNastavenia(nullptr, hive, rok, regi, nastavenia, oznamy); },
            [&](TfrmSetup& o) { Klikni(Ovladac(o, "imgOK")); });
        QVERIFY(potvrdene);
        QCOMPARE(oznamy.messages.size(), 1);
        QVERIFY2(oznamy.messages[0].startsWith(
                     QStringLiteral("Niektoré nastavenia sa nepodarilo uložiť:")),
                 qPrintable(oznamy.messages[0]));
    }

    // Assistive technology sees each control by the words painted beside it, the flags and OK
    // as buttons whose Press does what their click does; Tab goes round from the flags to OK.
    void controlsAsAssistiveTechnologySeesThem_data() {
        QTest::addColumn<QString>("ovladac");
        QTest::addColumn<QString>("meno");
        QTest::addColumn<int>("rola");
        QTest::addColumn<QString>("potom"); // after Press; empty: no Press
        const int tlacidlo = QAccessible::Button;
        QTest::newRow("SK") << "imgSK"
                            << "Slovenský kalendár mien" << tlacidlo << "SK";
        QTest::newRow("CZ") << "imgCZ"
                            << "Český kalendár mien" << tlacidlo << "CZ";
        QTest::newRow("OK") << "imgOK"
                            << "OK" << tlacidlo << "potvrdené";
        QTest::newRow("always") << "chkStale"
                                << "Hlavné okno zobraziť stále" << int(QAccessible::CheckBox) << "";
        QTest::newRow("seconds") << "txtShow"
                                 << "Hlavné okno zobraziť na sekúnd"
                                 << int(QAccessible::EditableText) << "";
        QTest::newRow("days") << "txtDopredu"
                              << "Upozorniť na poznámky dní dopredu"
                              << int(QAccessible::EditableText) << "";
        QTest::newRow("start") << "chkStartup"
                               << "Spustiť pri štarte PC" << int(QAccessible::CheckBox) << "";
        QTest::newRow("sound at every start")
            << "optPriKazdom"
            << "Zvukové upozornenie pri každom spustení" << int(QAccessible::RadioButton) << "";
    }
    void controlsAsAssistiveTechnologySeesThem() {
        QFETCH(QString, ovladac);
        QFETCH(QString, meno);
        QFETCH(int, rola);
        QFETCH(QString, potom);
        MemoryHive hive;
        TfrmSetup okno(hive);
        okno.JazykSK = ovladac != QLatin1String("imgSK");
        QString stav;
        RunSettings([&] { okno.Zobraz(); },
                    [&](TfrmSetup& o) {
                        test::OverPristupnost(Ovladac(o, qPrintable(ovladac)), meno, rola,
                                              !potom.isEmpty());
                        if (o.isVisible()) {
                            stav = Ovladac<QAbstractButton>(o, "btnSK")->isChecked() ? "SK" : "CZ";
                            o.reject();
                        }
                    });
        if (!potom.isEmpty())
            QCOMPARE(stav.isEmpty() && okno.Potvrdene ? QStringLiteral("potvrdené") : stav, potom);
    }

    void tabGoesRoundFromTheFlagsToOK() {
        MemoryHive hive;
        TfrmSetup okno(hive);
        RunSettings([&] { okno.Zobraz(); },
                    [&](TfrmSetup& o) {
                        QCOMPARE(QApplication::focusWidget(), Ovladac(o, "chkStale"));
                        const QStringList kruh{"txtShow",    "txtDopredu", "chkStartup",
                                               "chkPamatat", "optNikdy",   "imgOK",
                                               "imgSK",      "imgCZ",      "chkStale"};
                        test::OverKruhTabulatora(kruh);
                        o.reject();
                    });
    }
};

} // namespace tilava

QTEST_MAIN(tilava::fSetupTest)
#include "fSetupTest.moc"
