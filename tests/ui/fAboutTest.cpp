#include "AccessibleSupport.h"
#include "ControlSupport.h"
#include "ModalSupport.h"
#include "MouseSupport.h"
#include "PictureSupport.h"
#include "WidgetSupport.h"

#include "ui/desktop/PageOpener.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/fAbout.h"
#include "ui/windows/fNapoveda.h"
#include "ui/windows/ZelmAddresses.h"

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
    bool Open(const QUrl& address) override {
        addresses << address.toString();
        return succeeds;
    }
    QStringList addresses;
    bool succeeds = true;
};

using test::Click;
using test::Control;
using test::MouseEvent;

QImage Picture(QWidget& window, const char* meno) {
    return test::ShownPicture(Control(window, QLatin1String(meno)));
}

QImage Skin(const char* meno) {
    return LoadSkinPicture(QLatin1String(meno), Qt::black, QSize(100, 25)).toImage();
}

} // namespace

class fAboutTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    RecordingNotifier notifier;
    RecordingPageOpener web;

private slots:
    void initTestCase() { InitSkinResources(); }

    // Opened by the widget at its Top and Left - 470: beside the widget at its default place,
    // and kept whole on the screen when the widget stands near an edge.
    void opensBesideTheWidgetAndStaysOnItsScreen_data() {
        const QRect s = QGuiApplication::primaryScreen()->availableGeometry();
        QTest::addColumn<QPoint>("widget");
        QTest::addColumn<QPoint>("expectedTexts");
        QTest::newRow("default place")
            << QPoint(s.right() + 1 - 170, s.top()) << QPoint(s.right() + 1 - 640, s.top());
        QTest::newRow("dragged to the left edge")
            << QPoint(s.left(), s.top() + 120) << QPoint(s.left(), s.top() + 120);
        QTest::newRow("near the bottom") << QPoint(s.left() + 600, s.bottom() - 40)
                                         << QPoint(s.left() + 130, s.bottom() + 1 - 377);
    }
    void opensBesideTheWidgetAndStaysOnItsScreen() {
        QFETCH(QPoint, widget);
        QFETCH(QPoint, expectedTexts);
        TfrmAbout window(folder.path().toStdU16String(), notifier, web);
        QPoint position;
        test::WhenActive<TfrmAbout>([&](TfrmAbout& o) {
            position = o.pos();
            QTest::keyClick(&o, Qt::Key_Escape);
        });
        window.Ukaz(widget.y(), widget.x() - TfrmAbout::OffsetFromWidget);
        QCOMPARE(position, expectedTexts);
        QCOMPARE(window.size(), QSize(640, 377));
    }

    // Every link opens its page; a page that cannot be opened is told and the window stays.
    // The buttons light under the pointer and go out over the background only; the strip
    // drags the window; the close button ends Ukaz.
    void linksButtonsAndDragging() {
        TfrmAbout window(folder.path().toStdU16String(), notifier, web);
        notifier.messages.clear();
        web.addresses.clear();
        bool opened = false;
        test::WhenActive<TfrmAbout>([&](TfrmAbout& o) {
            opened = true;
            Click(Control(o, QStringLiteral("Image1")));
            for (int i = 1; i <= 6; ++i)
                Click(Control(o, QStringLiteral("imgOdkaz%1").arg(i)));
            Click(Control(o, QStringLiteral("imgZelm")));
            QVERIFY(notifier.messages.isEmpty());
            web.succeeds = false;
            Click(Control(o, QStringLiteral("imgOdkaz4")));
            web.succeeds = true;
            QCOMPARE(notifier.messages,
                     QStringList{QStringLiteral("Nepodarilo sa otvoriť webový prehliadač.")});
            QVERIFY(o.isVisible());

            MouseEvent(Control(o, QStringLiteral("imgZatvorit")), QEvent::MouseMove, {5, 5});
            MouseEvent(Control(o, QStringLiteral("imgNapoveda")), QEvent::MouseMove, {5, 5});
            QCOMPARE(Picture(o, "imgZatvorit"), Skin("about_close_hover"));
            QCOMPARE(Picture(o, "imgNapoveda"), Skin("about_help_hover"));
            MouseEvent(Control(o, QStringLiteral("imgOdkaz1")), QEvent::MouseMove, {5, 5});
            QCOMPARE(Picture(o, "imgZatvorit"), Skin("about_close_hover"));
            MouseEvent(Control(o, QStringLiteral("imgOPrograme")), QEvent::MouseMove, {5, 5});
            QCOMPARE(Picture(o, "imgZatvorit"), Skin("about_close_normal"));
            QCOMPARE(Picture(o, "imgNapoveda"), Skin("about_help_normal"));

            const QPoint before = o.pos();
            QWidget* titleBar = Control(o, QStringLiteral("Image2"));
            MouseEvent(titleBar, QEvent::MouseButtonPress, {100, 10});
            MouseEvent(titleBar, QEvent::MouseMove, {80, 25}, true);
            MouseEvent(titleBar, QEvent::MouseButtonRelease, {100, 10});
            QCOMPARE(o.pos(), before + QPoint(-20, 15));
            Click(Control(o, QStringLiteral("imgZatvorit")));
        });
        window.Ukaz(0, 160);
        QVERIFY(opened);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QStringList expectedTexts{ZelmAddresses::HomePage};
        for (const QString& p : ZelmAddresses::Products)
            expectedTexts << p;
        expectedTexts << ZelmAddresses::HomePage << ZelmAddresses::Products[3];
        QCOMPARE(web.addresses, expectedTexts);
        QCOMPARE(QSet<QString>(expectedTexts.begin(), expectedTexts.end()).size(), 7);
    }

    // The help button opens the help window over this one; it writes its file there.
    void theHelpButtonOpensTheHelp() {
        TfrmAbout window(folder.path().toStdU16String(), notifier, web);
        bool help = false;
        test::WhenActive<TfrmAbout>([&](TfrmAbout& o) {
            test::WhenActive<TfrmNapoveda>([&](TfrmNapoveda& n) {
                help = true;
                QCOMPARE(n.parentWidget(), &o);
                QTRY_VERIFY_WITH_TIMEOUT(n.FromFile(), 1000);
                n.close();
            });
            Click(Control(o, QStringLiteral("imgNapoveda")));
            QVERIFY(help);
            QVERIFY(o.isVisible());
            o.close();
        });
        window.Ukaz(0, 160);
        QVERIFY(help);
        QVERIFY(QFileInfo(folder.filePath(QStringLiteral("Help.html"))).isFile());
    }

    // Assistive technology sees the buttons and the links by the words painted on them, and
    // their Press does what their click does; Tab goes round the links and the buttons.
    void controlsAsAssistiveTechnologySeesThem_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("meno");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("after"); // after Press: pages opened, help, closed
        const auto row = [](const char* name, const char* control, const char* meno,
                            QAccessible::Role role, const QString& after) {
            QTest::newRow(name) << QString::fromLatin1(control) << QString::fromUtf8(meno)
                                << int(role) << after;
        };
        const auto link = QAccessible::Link;
        row("close", "imgZatvorit", "Zatvoriť", QAccessible::Button, QStringLiteral("zatvorené"));
        row("help", "imgNapoveda", "Nápoveda", QAccessible::Button, QStringLiteral("nápoveda"));
        row("logo", "Image1", "Tilava, verzia " TILAVA_VERSION, link, ZelmAddresses::HomePage);
        row("first program", "imgOdkaz1", "Zelm Rodinný diár", link, ZelmAddresses::Products[0]);
        row("last program", "imgOdkaz6", "Zelm Stopky a budík", link, ZelmAddresses::Products[5]);
        row("maker", "imgZelm", "ZELM software", link, ZelmAddresses::HomePage);
    }
    void controlsAsAssistiveTechnologySeesThem() {
        QFETCH(QString, control);
        QFETCH(QString, meno);
        QFETCH(int, role);
        QFETCH(QString, after);
        TfrmAbout window(folder.path().toStdU16String(), notifier, web);
        web.addresses.clear();
        QStringList state;
        test::WhenActive<TfrmAbout>([&](TfrmAbout& o) {
            test::WhenActive<TfrmNapoveda>([&](TfrmNapoveda& n) {
                state << QStringLiteral("nápoveda");
                n.reject();
            });
            test::CheckAccessibility(Control(o, control), meno, role, true);
            state += web.addresses;
            if (o.isVisible())
                o.reject();
            else
                state << QStringLiteral("zatvorené");
        });
        window.Ukaz(0, 0);
        QCOMPARE(state.join(QLatin1Char(' ')), after);
        // What the background picture says is told as its description.
        QVERIFY(
            QAccessible::queryAccessibleInterface(Control(window, QStringLiteral("imgOPrograme")))
                ->text(QAccessible::Description)
                .contains(QStringLiteral("Kalendár mien a sviatkov pre Slovensko a Česko")));
    }

    void tabGoesRoundTheLinksAndButtons() {
        TfrmAbout window(folder.path().toStdU16String(), notifier, web);
        test::WhenActive<TfrmAbout>([&](TfrmAbout& o) {
            Control(o, QStringLiteral("Image1"))->setFocus(Qt::TabFocusReason);
            const QStringList ring{"imgOdkaz1",   "imgOdkaz2", "imgOdkaz3", "imgOdkaz4",
                                   "imgOdkaz5",   "imgOdkaz6", "imgZelm",   "imgNapoveda",
                                   "imgZatvorit", "Image1"};
            test::CheckTabRing(ring);
            o.reject();
        });
        window.Ukaz(0, 0);
    }
};

} // namespace tilava

QTEST_MAIN(tilava::fAboutTest)
#include "fAboutTest.moc"
