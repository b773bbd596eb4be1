#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace tilava::test {

// What assistive technology is told of `w`: its name and role, and whether it offers Press.
// With `isPress` it presses `w` through that action, as a screen reader does.
inline void CheckAccessibility(QWidget* w, const QString& meno, int role, bool isPress) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), meno);
    QCOMPARE(int(iface->role()), role);
    QAccessibleActionInterface* actions = iface->actionInterface();
    const bool hasPress =
        actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction());
    QCOMPARE(hasPress, isPress);
    if (!isPress)
        return;
    actions->doAction(QAccessibleActionInterface::pressAction());
    // Qt presses a button as a short animated click: it is done when the button is up again.
    const QPointer<QAbstractButton> button = qobject_cast<QAbstractButton*>(w);
    QTRY_VERIFY(!button || !button->isDown());
}

// The controls that Tab (or Shift+Tab) visits from the focused one until the focus is back
// there, by name; at most 40 steps.
inline QStringList TabRing(bool daysAhead) {
    QWidget* start = QApplication::focusWidget();
    QStringList names;
    for (int i = 0; i < 40 && start; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                        daysAhead ? Qt::NoModifier : Qt::ShiftModifier);
        QWidget* w = QApplication::focusWidget();
        names << (w ? w->objectName() : QStringLiteral("(nothing)"));
        if (w == start)
            break;
    }
    return names;
}

// Tab goes round `ring` from the focused control (the last name is that control), and
// Shift+Tab goes round it the other way.
inline void CheckTabRing(const QStringList& ring) {
    // A busy machine activates the window, and so focuses its control, a moment later.
    QTRY_VERIFY(QApplication::focusWidget() &&
                QApplication::focusWidget()->objectName() == ring.last());
    QCOMPARE(TabRing(true), ring);
    QStringList back(ring.rbegin() + 1, ring.rend());
    back << ring.last();
    QCOMPARE(TabRing(false), back);
}

// The focus frame: `w` looks the same without the focus as before it had it, and with the
// focus its edge is orange while its middle stays as it was.
inline void CheckFocusFrame(QWidget* w) {
    QWidget* before = QApplication::focusWidget();
    if (before == w)
        w->clearFocus();
    const QImage without = w->grab().toImage();
    w->setFocus(Qt::TabFocusReason);
    QVERIFY(w->hasFocus());
    const QImage s = w->grab().toImage();
    const QPoint center = w->rect().center();
    QCOMPARE(s.pixelColor(center), without.pixelColor(center));
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(w->width() - 1, w->height() - 1), QPoint(w->width() / 2, 1)}) {
        const QColor c = s.pixelColor(corner);
        QVERIFY2(c.red() > 200 && c.green() > 100 && c.green() < 180 && c.blue() < 80,
                 qPrintable(
                     QStringLiteral("%1 at %2,%3").arg(c.name()).arg(corner.x()).arg(corner.y())));
    }
    w->clearFocus();
    QCOMPARE(w->grab().toImage(), without);
    if (before && before != w)
        before->setFocus(Qt::OtherFocusReason);
}

} // namespace tilava::test
