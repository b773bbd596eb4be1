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
// With `stlacit` it presses `w` through that action, as a screen reader does.
inline void OverPristupnost(QWidget* w, const QString& meno, int rola, bool stlacit) {
    QAccessibleInterface* rozhranie = QAccessible::queryAccessibleInterface(w);
    QVERIFY(rozhranie);
    QCOMPARE(rozhranie->text(QAccessible::Name), meno);
    QCOMPARE(int(rozhranie->role()), rola);
    QAccessibleActionInterface* akcie = rozhranie->actionInterface();
    const bool maStlacenie =
        akcie && akcie->actionNames().contains(QAccessibleActionInterface::pressAction());
    QCOMPARE(maStlacenie, stlacit);
    if (!stlacit)
        return;
    akcie->doAction(QAccessibleActionInterface::pressAction());
    // Qt presses a button as a short animated click: it is done when the button is up again.
    const QPointer<QAbstractButton> tlacidlo = qobject_cast<QAbstractButton*>(w);
    QTRY_VERIFY(!tlacidlo || !tlacidlo->isDown());
}

// The controls that Tab (or Shift+Tab) visits from the focused one until the focus is back
// there, by name; at most 40 steps.
inline QStringList KruhTabulatora(bool dopredu) {
    QWidget* zaciatok = QApplication::focusWidget();
    QStringList mena;
    for (int i = 0; i < 40 && zaciatok; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                        dopredu ? Qt::NoModifier : Qt::ShiftModifier);
        QWidget* w = QApplication::focusWidget();
        mena << (w ? w->objectName() : QStringLiteral("(nothing)"));
        if (w == zaciatok)
            break;
    }
    return mena;
}

// Tab goes round `kruh` from the focused control (the last name is that control), and
// Shift+Tab goes round it the other way.
inline void OverKruhTabulatora(const QStringList& kruh) {
    // A busy machine activates the window, and so focuses its control, a moment later.
    QTRY_VERIFY(QApplication::focusWidget() &&
                QApplication::focusWidget()->objectName() == kruh.last());
    QCOMPARE(KruhTabulatora(true), kruh);
    QStringList spat(kruh.rbegin() + 1, kruh.rend());
    spat << kruh.last();
    QCOMPARE(KruhTabulatora(false), spat);
}

// The focus frame: `w` looks the same without the focus as before it had it, and with the
// focus its edge is orange while its middle stays as it was.
inline void OverRamFokusu(QWidget* w) {
    QWidget* predtym = QApplication::focusWidget();
    if (predtym == w)
        w->clearFocus();
    const QImage bez = w->grab().toImage();
    w->setFocus(Qt::TabFocusReason);
    QVERIFY(w->hasFocus());
    const QImage s = w->grab().toImage();
    const QPoint stred = w->rect().center();
    QCOMPARE(s.pixelColor(stred), bez.pixelColor(stred));
    for (const QPoint roh :
         {QPoint(0, 0), QPoint(w->width() - 1, w->height() - 1), QPoint(w->width() / 2, 1)}) {
        const QColor c = s.pixelColor(roh);
        QVERIFY2(c.red() > 200 && c.green() > 100 && c.green() < 180 && c.blue() < 80,
                 qPrintable(QStringLiteral("%1 at %2,%3").arg(c.name()).arg(roh.x()).arg(roh.y())));
    }
    w->clearFocus();
    QCOMPARE(w->grab().toImage(), bez);
    if (predtym && predtym != w)
        predtym->setFocus(Qt::OtherFocusReason);
}

} // namespace tilava::test
