#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QPoint>
#include <QWidget>

namespace tilava::test {

// A left-button mouse event at `bod` on `w`, sent straight to it: a press holds the button,
// and a move holds it when `drzi` (a drag).
inline void Mys(QWidget* w, QEvent::Type typ, QPoint bod, bool drzi = false) {
    const Qt::MouseButtons drzane =
        typ == QEvent::MouseButtonPress || drzi ? Qt::MouseButtons(Qt::LeftButton) : Qt::NoButton;
    const Qt::MouseButton tlacidlo = typ == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(typ, QPointF(bod), QPointF(w->mapToGlobal(bod)), tlacidlo, drzane,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A left click in the middle of `w`.
inline void Klikni(QWidget* w) {
    Mys(w, QEvent::MouseButtonPress, w->rect().center());
    Mys(w, QEvent::MouseButtonRelease, w->rect().center());
}

} // namespace tilava::test
