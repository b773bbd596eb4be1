#include "ui/desktop/PlatformChoice.h"

#include <QStringList>
#include <QTest>

#include <vector>

namespace tilava {

// Which window system Qt is told to use at start: on a Wayland session with XWayland the
// widget goes to XWayland, unless the user chose a platform.
class PlatformChoiceTest : public QObject {
    Q_OBJECT
private slots:
    void choice_data();
    void choice();
};

void PlatformChoiceTest::choice_data() {
    QTest::addColumn<QString>("qtPlatform");
    QTest::addColumn<QString>("waylandDisplay");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QStringList>("arguments"); // after the program's name
    QTest::addColumn<QStringList>("forQt");     // the whole command line Qt gets

    const QStringList none;
    const QStringList xcb{"tilava", "-platform", "xcb;wayland"};
    QTest::newRow("Wayland session with XWayland") << ""
                                                   << "wayland-1"
                                                   << ":0" << none << xcb;
    QTest::newRow("Wayland without an X server") << ""
                                                 << "wayland-1"
                                                 << "" << none << QStringList{"tilava"};
    QTest::newRow("X11 session") << ""
                                 << ""
                                 << ":0" << none << QStringList{"tilava"};
    QTest::newRow("chosen in the environment") << "wayland"
                                               << "wayland-1"
                                               << ":0" << none << QStringList{"tilava"};
    QTest::newRow("empty variable is no choice") << ""
                                                 << "wayland-1"
                                                 << ":0" << none << xcb;
    QTest::newRow("chosen by -platform") << ""
                                         << "wayland-1"
                                         << ":0" << QStringList{"-platform", "wayland"}
                                         << QStringList{"tilava", "-platform", "wayland"};
    QTest::newRow("chosen by --platform after another option")
        << ""
        << "wayland-1"
        << ":0" << QStringList{"-style", "fusion", "--platform", "wayland"}
        << QStringList{"tilava", "-style", "fusion", "--platform", "wayland"};
    QTest::newRow("a platform theme is no platform")
        << ""
        << "wayland-1"
        << ":0" << QStringList{"-platformtheme", "gtk3"}
        << QStringList{"tilava", "-platform", "xcb;wayland", "-platformtheme", "gtk3"};
    QTest::newRow("the value of another option")
        << ""
        << "wayland-1"
        << ":0" << QStringList{"-title", "platform"}
        << QStringList{"tilava", "-platform", "xcb;wayland", "-title", "platform"};
}

void PlatformChoiceTest::choice() {
    QFETCH(QString, qtPlatform);
    QFETCH(QString, waylandDisplay);
    QFETCH(QString, display);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, forQt);

    std::vector<QByteArray> bytes{QByteArrayLiteral("tilava")};
    for (const QString& argument : arguments)
        bytes.push_back(argument.toUtf8());
    std::vector<char*> argv;
    for (QByteArray& argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const SessionVariables session{qtPlatform.toStdString(), waylandDisplay.toStdString(),
                                   display.toStdString()};

    QtArguments qt(static_cast<int>(bytes.size()), argv.data(), session);
    QStringList got;
    for (int i = 0; i < qt.Count(); ++i)
        got << QString::fromUtf8(qt.Values()[i]);
    QCOMPARE(got, forQt);
    QCOMPARE(qt.Values()[qt.Count()], nullptr);
}

} // namespace tilava

QTEST_MAIN(tilava::PlatformChoiceTest)
#include "PlatformChoiceTest.moc"
