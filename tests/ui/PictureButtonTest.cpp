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
    void focusFrame_data();
    void focusFrame();
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

// The frame shows for a focus from the keyboard, and for one the program or the window's
// activation gives after a key (not after a click: a mouse user never sees it); a key pressed
// on the button shows it.
void PictureButtonTest::focusFrame_data() {
    QTest::addColumn<bool>("keyBefore"); // the user's last press: a key, else a click
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("keyOnIt");
    QTest::addColumn<bool>("framed");
    QTest::newRow("Tab") << false << int(Qt::TabFocusReason) << false << true;
    QTest::newRow("shortcut") << false << int(Qt::ShortcutFocusReason) << false << true;
    QTest::newRow("mouse") << true << int(Qt::MouseFocusReason) << false << false;
    QTest::newRow("program, click") << false << int(Qt::OtherFocusReason) << false << false;
    QTest::newRow("activation, click")
        << false << int(Qt::ActiveWindowFocusReason) << false << false;
    QTest::newRow("program, key") << true << int(Qt::OtherFocusReason) << false << true;
    QTest::newRow("activation, key") << true << int(Qt::ActiveWindowFocusReason) << false << true;
    QTest::newRow("key on it") << false << int(Qt::OtherFocusReason) << true << true;
}

void PictureButtonTest::focusFrame() {
    QFETCH(bool, keyBefore);
    QFETCH(int, reason);
    QFETCH(bool, keyOnIt);
    QFETCH(bool, framed);
    QWidget window;
    window.resize(120, 40);
    PictureButton button(&window, QStringLiteral("button"), QRect(5, 5, 100, 25));
    button.setPictures(Picture(QColor(0x1F, 0x3C, 0x88), {100, 25}));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    if (reason == Qt::TabFocusReason) {
        test::CheckFocusFrame(&button);
        // A mouse click leaves the focus where it was.
        test::Click(&button);
        QVERIFY(!button.hasFocus());
    }
    if (keyBefore)
        QTest::keyClick(&window, Qt::Key_Shift);
    else
        QTest::mouseClick(&window, Qt::LeftButton, {}, {115, 35});
    button.clearFocus();
    button.setFocus(Qt::FocusReason(reason));
    if (keyOnIt)
        QTest::keyClick(&button, Qt::Key_Shift);
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
