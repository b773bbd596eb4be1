#include "AccessibleSupport.h"
#include "ModalSupport.h"
#include "MouseSupport.h"
#include "PictureSupport.h"
#include "WidgetSupport.h"

#include "ui/desktop/PageOpener.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/fAbout.h"
#include "ui/windows/fNapoveda.h"
#include "ui/windows/ZelmAdresy.h"

#include <QAccessible>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace tilava {

using test::RecordingNotifier;

namespace {

class RecordingPageOpener final : public PageOpener {
public:
    bool Otvor(const QUrl& adresa) override {
        adresy << adresa.toString();
        return podari;
    }
    QStringList adresy;
    bool podari = true;
};

using test::Klikni;
using test::Mys;

QWidget* Ovladac(QWidget& okno, const QString& meno) {
    auto* w = okno.findChild<QWidget*>(meno);
    if (!w)
        qFatal("no control %s", qPrintable(meno));
    return w;
}

QImage Obraz(QWidget& okno, const char* meno) {
    return test::ShownPicture(Ovladac(okno, QLatin1String(meno)));
}

QImage Skin(const char* meno) {
    return LoadSkinPicture(QLatin1String(meno), Qt::black, QSize(100, 25)).toImage();
}

} // namespace

class fAboutTest : public QObject {
    Q_OBJECT

    QTemporaryDir priecinok;
    RecordingNotifier oznamy;
    RecordingPageOpener web;

private slots:
    void initTestCase() { InitSkinResources(); }

    // Opened by the widget at its Top and Left - 470: beside the widget at its default place,
    // and kept whole on the screen when the widget stands near an edge.
    void opensBesideTheWidgetAndStaysOnItsScreen_data() {
        const QRect s = QGuiApplication::primaryScreen()->availableGeometry();
        QTest::addColumn<QPoint>("widget");
        QTest::addColumn<QPoint>("cakane");
        QTest::newRow("default place")
            << QPoint(s.right() + 1 - 170, s.top()) << QPoint(s.right() + 1 - 640, s.top());
        QTest::newRow("dragged to the left edge")
            << QPoint(s.left(), s.top() + 120) << QPoint(s.left(), s.top() + 120);
        QTest::newRow("near the bottom") << QPoint(s.left() + 600, s.bottom() - 40)
                                         << QPoint(s.left() + 130, s.bottom() + 1 - 377);
    }
    void opensBesideTheWidgetAndStaysOnItsScreen() {
        QFETCH(QPoint, widget);
        QFETCH(QPoint, cakane);
        TfrmAbout okno(priecinok.path().toStdU16String(), oznamy, web);
        QPoint poloha;
        test::WhenActive<TfrmAbout>([&](TfrmAbout& o) {
            poloha = o.pos();
            QTest::keyClick(&o, Qt::Key_Escape);
        });
        okno.Ukaz(widget.y(), widget.x() - TfrmAbout::OdsadenieOdWidgetu);
        QCOMPARE(poloha, cakane);
        QCOMPARE(okno.size(), QSize(640, 377));
    }

    // Every link opens its page; a page that cannot be opened is told and the window stays.
    // The buttons light under the pointer and go out over the background only; the strip
    // drags the window; the close button ends Ukaz.
    void linksButtonsAndDragging() {
        TfrmAbout okno(priecinok.path().toStdU16String(), oznamy, web);
        oznamy.messages.clear();
        web.adresy.clear();
        bool otvorene = false;
        test::WhenActive<TfrmAbout>([&](TfrmAbout& o) {
            otvorene = true;
            Klikni(Ovladac(o, QStringLiteral("Image1")));
            for (int i = 1; i <= 6; ++i)
                Klikni(Ovladac(o, QStringLiteral("imgOdkaz%1").arg(i)));
            Klikni(Ovladac(o, QStringLiteral("imgZelm")));
            QVERIFY(oznamy.messages.isEmpty());
            web.podari = false;
            Klikni(Ovladac(o, QStringLiteral("imgOdkaz4")));
            web.podari = true;
            QCOMPARE(oznamy.messages,
                     QStringList{QStringLiteral("Nepodarilo sa otvoriť webový prehliadač.")});
            QVERIFY(o.isVisible());

            Mys(Ovladac(o, QStringLiteral("imgZatvorit")), QEvent::MouseMove, {5, 5});
            Mys(Ovladac(o, QStringLiteral("imgNapoveda")), QEvent::MouseMove, {5, 5});
            QCOMPARE(Obraz(o, "imgZatvorit"), Skin("about_close_hover"));
            QCOMPARE(Obraz(o, "imgNapoveda"), Skin("about_help_hover"));
            Mys(Ovladac(o, QStringLiteral("imgOdkaz1")), QEvent::MouseMove, {5, 5});
            QCOMPARE(Obraz(o, "imgZatvorit"), Skin("about_close_hover"));
            Mys(Ovladac(o, QStringLiteral("imgOPrograme")), QEvent::MouseMove, {5, 5});
            QCOMPARE(Obraz(o, "imgZatvorit"), Skin("about_close_normal"));
            QCOMPARE(Obraz(o, "imgNapoveda"), Skin("about_help_normal"));

            const QPoint pred = o.pos();
            QWidget* lista = Ovladac(o, QStringLiteral("Image2"));
            Mys(lista, QEvent::MouseButtonPress, {100, 10});
            Mys(lista, QEvent::MouseMove, {80, 25}, true);
            Mys(lista, QEvent::MouseButtonRelease, {100, 10});
            QCOMPARE(o.pos(), pred + QPoint(-20, 15));
            Klikni(Ovladac(o, QStringLiteral("imgZatvorit")));
        });
        okno.Ukaz(0, 160);
        QVERIFY(otvorene);
        QCOMPARE(okno.result(), int(QDialog::Accepted));
        QStringList cakane{ZelmAdresy::Domov};
        for (const QString& p : ZelmAdresy::Produkty)
            cakane << p;
        cakane << ZelmAdresy::Domov << ZelmAdresy::Produkty[3];
        QCOMPARE(web.adresy, cakane);
        QCOMPARE(QSet<QString>(cakane.begin(), cakane.end()).size(), 7);
    }

    // The help button opens the help window over this one; it writes its file there.
    void theHelpButtonOpensTheHelp() {
        TfrmAbout okno(priecinok.path().toStdU16String(), oznamy, web);
        bool pomoc = false;
        test::WhenActive<TfrmAbout>([&](TfrmAbout& o) {
            test::WhenActive<TfrmNapoveda>([&](TfrmNapoveda& n) {
                pomoc = true;
                QCOMPARE(n.parentWidget(), &o);
                QTRY_VERIFY_WITH_TIMEOUT(n.ZoSuboru(), 1000);
                n.close();
            });
            Klikni(Ovladac(o, QStringLiteral("imgNapoveda")));
            QVERIFY(pomoc);
            QVERIFY(o.isVisible());
            o.close();
        });
        okno.Ukaz(0, 160);
        QVERIFY(pomoc);
        QVERIFY(QFileInfo(priecinok.filePath(QStringLiteral("Help.html"))).isFile());
    }

    // Assistive technology sees the buttons and the links by the words painted on them, and
    // their Press does what their click does; Tab goes round the links and the buttons.
    void controlsAsAssistiveTechnologySeesThem_data() {
        QTest::addColumn<QString>("ovladac");
        QTest::addColumn<QString>("meno");
        QTest::addColumn<int>("rola");
        QTest::addColumn<QString>("potom"); // after Press: pages opened, help, closed
        const int odkaz = QAccessible::Link;
        QTest::newRow("close") << "imgZatvorit"
                               << "Zatvoriť" << int(QAccessible::Button) << "zatvorené";
        QTest::newRow("help") << "imgNapoveda"
                              << "Nápoveda" << int(QAccessible::Button) << "nápoveda";
        QTest::newRow("logo") << "Image1"
                              << "Tilava, verzia 1.0" << odkaz << ZelmAdresy::Domov;
        QTest::newRow("first program") << "imgOdkaz1"
                                       << "Zelm Rodinný diár" << odkaz << ZelmAdresy::Produkty[0];
        QTest::newRow("last program") << "imgOdkaz6"
                                      << "Zelm Stopky a budík" << odkaz << ZelmAdresy::Produkty[5];
        QTest::newRow("maker") << "imgZelm"
                               << "ZELM software" << odkaz << ZelmAdresy::Domov;
    }
    void controlsAsAssistiveTechnologySeesThem() {
        QFETCH(QString, ovladac);
        QFETCH(QString, meno);
        QFETCH(int, rola);
        QFETCH(QString, potom);
        TfrmAbout okno(priecinok.path().toStdU16String(), oznamy, web);
        web.adresy.clear();
        QStringList stav;
        test::WhenActive<TfrmAbout>([&](TfrmAbout& o) {
            test::WhenActive<TfrmNapoveda>([&](TfrmNapoveda& n) {
                stav << QStringLiteral("nápoveda");
                n.reject();
            });
            test::OverPristupnost(Ovladac(o, ovladac), meno, rola, true);
            stav += web.adresy;
            if (o.isVisible())
                o.reject();
            else
                stav << QStringLiteral("zatvorené");
        });
        okno.Ukaz(0, 0);
        QCOMPARE(stav.join(QLatin1Char(' ')), potom);
        // What the background picture says is told as its description.
        QVERIFY(QAccessible::queryAccessibleInterface(Ovladac(okno, QStringLiteral("imgOPrograme")))
                    ->text(QAccessible::Description)
                    .contains(QStringLiteral("Kalendár mien a sviatkov pre Slovensko a Česko")));
    }

    void tabGoesRoundTheLinksAndButtons() {
        TfrmAbout okno(priecinok.path().toStdU16String(), oznamy, web);
        test::WhenActive<TfrmAbout>([&](TfrmAbout& o) {
            Ovladac(o, QStringLiteral("Image1"))->setFocus(Qt::TabFocusReason);
            const QStringList kruh{"imgOdkaz1",   "imgOdkaz2", "imgOdkaz3", "imgOdkaz4",
                                   "imgOdkaz5",   "imgOdkaz6", "imgZelm",   "imgNapoveda",
                                   "imgZatvorit", "Image1"};
            test::OverKruhTabulatora(kruh);
            o.reject();
        });
        okno.Ukaz(0, 0);
    }
};

} // namespace tilava

QTEST_MAIN(tilava::fAboutTest)
#include "fAboutTest.moc"
