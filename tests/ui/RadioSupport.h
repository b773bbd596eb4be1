#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QList>
#include <QPointer>
#include <QTest>
#include <QWidget>

namespace tilava::test {

// What assistive technology is told of the radio group `group`: every member a radio button
// that can be checked, `checked` the only one checked (none when it is null).
inline void CheckRadioGroup(const QList<QWidget*>& group, const QWidget* checked) {
    for (QWidget* w : group) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::RadioButton);
        QVERIFY2(iface->state().checkable, qPrintable(w->objectName()));
        QVERIFY2(bool(iface->state().checked) == (w == checked), qPrintable(w->objectName()));
    }
}

// Checks the radio button `w` through its Toggle action, as a screen reader does.
inline void ToggleByAssistiveTechnology(QWidget* w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    QVERIFY(iface);
    QAccessibleActionInterface* actions = iface->actionInterface();
    const QString toggle = QAccessibleActionInterface::toggleAction();
    QVERIFY(actions && actions->actionNames().contains(toggle));
    actions->doAction(toggle);
    // Qt clicks it as a short animated click: it is done when the button is up again.
    const QPointer<QAbstractButton> button = qobject_cast<QAbstractButton*>(w);
    QTRY_VERIFY(!button || !button->isDown());
}

} // namespace tilava::test
