#include "ui/controls/PictureButton.h"
#include "AccessibleSupport.h"
#include "MouseSupport.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using namespace tilava;

namespace {

// A picture of one colour with a black line along its left edge, `size` in device pixels.
QPixmap Picture(QColor colour, QSize size, qreal ratio = 1) {
    QPixmap picture(size);
    picture.fill(colour);
    QPainter(&picture).fillRect(0, 0, 1, size.height(), Qt::black);
    picture.setDevicePixelRatio(ratio);
    return picture;
}

// A parent that counts the mouse events that reach it.
class Parent final : public QWidget {
public:
    int mouseEvents = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++mouseEvents; }
    void mouseReleaseEvent(QMouseEvent*) override { ++mouseEvents; }
    void mouseMoveEvent(QMouseEvent*) override { ++mouseEvents; }
};

// A shown window with a navy button on it, for the focus frame.
struct FrameWindow {
    FrameWindow() {
        window.resize(120, 40);
        button.setPictures(Picture(QColor(0x1F, 0x3C, 0x88), {100, 25}));
        window.show();
    }
    Parent window;
    PictureButton button{&window, QStringLiteral("button"), QRect(5, 5, 100, 25)};
};

} // namespace

class PictureButtonTest : public QObject {
    Q_OBJECT
private slots:
    void drawsAsALabelDoes_data();
    void drawsAsALabelDoes();
    void showsThePictureOfItsState_data();
    void showsThePictureOfItsState();
    void clicks_data();
    void clicks();
    void pressedByAssistiveTechnology_data();
    void pressedByAssistiveTechnology();
    void focusFrame();
    void frameOnlyForTheKeyboard_data();
    void frameOnlyForTheKeyboard();
    void tellsTheWindowOfThePointer();
};

// The button shows a picture exactly where and as big as a label of the same place shows it.
void PictureButtonTest::drawsAsALabelDoes_data() {
    QTest::addColumn<QSize>("place");
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("same size") << QSize(18, 16) << QSize(18, 16) << 1.0;
    QTest::newRow("double density") << QSize(13, 14) << QSize(26, 28) << 2.0;
    QTest::newRow("smaller than its place") << QSize(26, 17) << QSize(20, 9) << 1.0;
    QTest::newRow("larger than its place") << QSize(100, 25) << QSize(110, 30) << 1.0;
    QTest::newRow("odd density, smaller") << QSize(30, 20) << QSize(21, 15) << 1.5;
}

void PictureButtonTest::drawsAsALabelDoes() {
    QFETCH(QSize, place);
    QFETCH(QSize, pixels);
    QFETCH(qreal, ratio);
    const QPixmap picture = Picture(QColor(0x1F, 0x3C, 0x88), pixels, ratio);
    QWidget window;
    window.resize(200, 100);
    QLabel label(&window);
    label.setGeometry(QRect(QPoint(0, 0), place));
    label.setPixmap(picture);
    PictureButton button(&window, QStringLiteral("button"), QRect(QPoint(0, 50), place));
    button.setPictures(picture);
    QCOMPARE(button.grab().toImage(), label.grab().toImage());
}

void PictureButtonTest::showsThePictureOfItsState_data() {
    QTest::addColumn<bool>("lit");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("hasLit");
    QTest::addColumn<bool>("hasPressed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("normal") << false << false << true << true << "normal";
    QTest::newRow("lit") << true << false << true << true << "lit";
    QTest::newRow("pressed") << false << true << true << true << "pressed";
    QTest::newRow("lit and pressed") << true << true << true << true << "pressed";
    QTest::newRow("lit, no lit picture") << true << false << false << true << "normal";
    QTest::newRow("pressed, no pressed picture") << false << true << true << false << "normal";
    QTest::newRow("lit and pressed, no pressed picture") << true << true << true << false << "lit";
}

void PictureButtonTest::showsThePictureOfItsState() {
    QFETCH(bool, lit);
    QFETCH(bool, down);
    QFETCH(bool, hasLit);
    QFETCH(bool, hasPressed);
    QFETCH(QString, shown);
    const QMap<QString, QColor> colours{
        {"normal", Qt::red}, {"lit", Qt::green}, {"pressed", Qt::blue}};
    PictureButton button(nullptr, QStringLiteral("button"), QRect(0, 0, 10, 8));
    const QSize size(10, 8);
    button.setPictures(Picture(colours["normal"], size),
                       hasLit ? Picture(colours["lit"], size) : QPixmap(),
                       hasPressed ? Picture(colours["pressed"], size) : QPixmap());
    button.setLit(lit);
    QCOMPARE(button.isLit(), lit);
    if (down) // held down by the mouse
        test::MouseEvent(&button, QEvent::MouseButtonPress, QPoint(5, 4));
    QCOMPARE(button.isDown(), down);
    QCOMPARE(button.grab().toImage().pixelColor(5, 4), colours[shown]);
}

// What the user does to the button, and whether that is a click. The mouse steps: "p" and "r"
// press and release the left button inside, "P" and "R" the right one, "d" is a double click
// and "o" moves out and releases there; a key is pressed and released `presses` times, the
// later times as held down.
void PictureButtonTest::clicks_data() {
    QTest::addColumn<QString>("mouse");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("clicks");
    const int none = Qt::NoModifier;
    QTest::newRow("left click") << "pr" << 0 << none << 0 << 1;
    QTest::newRow("released outside") << "po" << 0 << none << 0 << 0;
    QTest::newRow("right click") << "PR" << 0 << none << 0 << 0;
    QTest::newRow("double click") << "prdr" << 0 << none << 0 << 2;
    QTest::newRow("Space") << "" << int(Qt::Key_Space) << none << 1 << 1;
    QTest::newRow("Enter") << "" << int(Qt::Key_Enter) << none << 1 << 1;
    QTest::newRow("Return") << "" << int(Qt::Key_Return) << none << 1 << 1;
    QTest::newRow("keypad Enter") << "" << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 1 << 1;
    QTest::newRow("Ctrl+Enter") << "" << int(Qt::Key_Return) << int(Qt::ControlModifier) << 1 << 0;
    QTest::newRow("Shift+Space") << "" << int(Qt::Key_Space) << int(Qt::ShiftModifier) << 1 << 0;
    QTest::newRow("held Enter repeats nothing") << "" << int(Qt::Key_Return) << none << 3 << 1;
    QTest::newRow("another key") << "" << int(Qt::Key_A) << none << 1 << 0;
}

void PictureButtonTest::clicks() {
    QFETCH(QString, mouse);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, presses);
    QFETCH(int, clicks);
    Parent window;
    window.resize(100, 100);
    PictureButton button(&window, QStringLiteral("button"), QRect(10, 10, 30, 20));
    button.setPictures(Picture(Qt::red, {30, 20}));
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    const auto send = [&](QEvent::Type type, Qt::MouseButton which, QPoint at) {
        QMouseEvent event(type, QPointF(at), QPointF(button.mapToGlobal(at)), which,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton
                                                             : Qt::MouseButtons(which),
                          Qt::NoModifier);
        QApplication::sendEvent(&button, &event);
    };
    const QPoint inside(15, 10);
    const QPoint outside(45, 10);
    for (const QChar step : mouse) {
        const Qt::MouseButton which = step.isUpper() ? Qt::RightButton : Qt::LeftButton;
        if (step.toLower() == QLatin1Char('p'))
            send(QEvent::MouseButtonPress, which, inside);
        else if (step.toLower() == QLatin1Char('r'))
            send(QEvent::MouseButtonRelease, which, inside);
        else if (step == QLatin1Char('d'))
            send(QEvent::MouseButtonDblClick, which, inside);
        else if (step == QLatin1Char('o')) {
            send(QEvent::MouseMove, which, outside);
            send(QEvent::MouseButtonRelease, which, outside);
        }
    }
    for (int press = 0; press < presses; ++press) {
        const auto with = Qt::KeyboardModifiers(modifiers);
        QKeyEvent down(QEvent::KeyPress, key, with, QString(), press > 0);
        QApplication::sendEvent(&button, &down);
        QKeyEvent up(QEvent::KeyRelease, key, with, QString(), press > 0);
        QApplication::sendEvent(&button, &up);
    }
    QCOMPARE(clicked.count(), clicks);
    QVERIFY(!button.isDown());
    // The window under the button never sees its mouse events.
    QCOMPARE(window.mouseEvents, 0);
}

void PictureButtonTest::pressedByAssistiveTechnology_data() {
    QTest::addColumn<bool>("link");
    QTest::addColumn<int>("role");
    QTest::newRow("button") << false << int(QAccessible::Button);
    QTest::newRow("link") << true << int(QAccessible::Link);
}

void PictureButtonTest::pressedByAssistiveTechnology() {
    QFETCH(bool, link);
    QFETCH(int, role);
    QWidget window;
    PictureButton button(&window, QStringLiteral("button"), QRect(0, 0, 30, 20));
    // An interface made before the button became a link is replaced.
    QVERIFY(QAccessible::queryAccessibleInterface(&button));
    button.setLink(link);
    button.setAccessibleName(QStringLiteral("Zatvoriť"));
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    test::CheckAccessibility(&button, QStringLiteral("Zatvoriť"), role, true);
    QTRY_COMPARE(clicked.count(), 1);
    // Named by its text when it has no name of its own.
    button.setAccessibleName({});
    button.setText(QStringLiteral("Jozef"));
    QCOMPARE(QAccessible::queryAccessibleInterface(&button)->text(QAccessible::Name),
             QStringLiteral("Jozef"));
}

void PictureButtonTest::focusFrame() {
    FrameWindow f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    test::CheckFocusFrame(&f.button);
    // A mouse click leaves the focus where it was.
    test::Click(&f.button);
    QVERIFY(!f.button.hasFocus());
}

// The frame shows for a focus that came from the keyboard, not for one the program or the
// window's activation gives while the user works with the mouse (the widget's start, a window
// opened by a click); for a user of the keyboard such a focus shows it too.
void PictureButtonTest::frameOnlyForTheKeyboard_data() {
    QTest::addColumn<QStringList>("steps"); // a key or a click anywhere, then the focus given
    QTest::addColumn<bool>("framed");
    QTest::newRow("Tab") << QStringList{"Tab"} << true;
    QTest::newRow("Shift+Tab") << QStringList{"Backtab"} << true;
    QTest::newRow("shortcut") << QStringList{"Shortcut"} << true;
    QTest::newRow("mouse") << QStringList{"key", "Mouse"} << false;
    QTest::newRow("by the program after a click") << QStringList{"click", "Other"} << false;
    QTest::newRow("window activated after a click")
        << QStringList{"click", "ActiveWindow"} << false;
    QTest::newRow("by the program after a key") << QStringList{"key", "Other"} << true;
    QTest::newRow("window activated after a key") << QStringList{"key", "ActiveWindow"} << true;
    QTest::newRow("a key on the button") << QStringList{"click", "Other", "key"} << true;
}

void PictureButtonTest::frameOnlyForTheKeyboard() {
    QFETCH(QStringList, steps);
    QFETCH(bool, framed);
    FrameWindow f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    PictureButton& button = f.button;
    const QMap<QString, Qt::FocusReason> reasons{{"Tab", Qt::TabFocusReason},
                                                 {"Backtab", Qt::BacktabFocusReason},
                                                 {"Shortcut", Qt::ShortcutFocusReason},
                                                 {"Mouse", Qt::MouseFocusReason},
                                                 {"ActiveWindow", Qt::ActiveWindowFocusReason},
                                                 {"Other", Qt::OtherFocusReason}};
    for (const QString& step : steps) {
        if (step == "key") {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &f.window,
                            Qt::Key_Shift);
        } else if (step == "click") {
            QTest::mouseClick(&f.window, Qt::LeftButton, {}, {115, 35});
        } else {
            button.clearFocus();
            button.setFocus(reasons.value(step));
        }
    }
    QVERIFY(button.hasFocus());
    const QColor corner = button.grab().toImage().pixelColor(0, 0);
    QCOMPARE(corner.red() > 200 && corner.blue() < 80, framed);
}

// The window lights the button by its own rules, from the moves and leaves it is told of.
void PictureButtonTest::tellsTheWindowOfThePointer() {
    QWidget window;
    PictureButton button(&window, QStringLiteral("button"), QRect(0, 0, 30, 20));
    QSignalSpy moved(&button, &PictureButton::pointerMoved);
    QSignalSpy left(&button, &PictureButton::pointerLeft);
    test::MouseEvent(&button, QEvent::MouseMove, QPoint(3, 3));
    test::MouseEvent(&button, QEvent::MouseMove, QPoint(4, 3));
    QCOMPARE(moved.count(), 2);
    QVERIFY(!button.isLit()); // the button does not light itself
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    QCOMPARE(left.count(), 1);
}

QTEST_MAIN(PictureButtonTest)
#include "PictureButtonTest.moc"
