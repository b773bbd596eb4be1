#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QPoint>
#include <QWidget>

namespace tilava::test {

// A left-button mouse event at `point` on `w`, sent straight to it: a press holds the button,
// and a move holds it when `hold` (a drag).
inline void MouseEvent(QWidget* w, QEvent::Type type, QPoint point, bool hold = false) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonPress || hold ? Qt::MouseButtons(Qt::LeftButton) : Qt::NoButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(point), QPointF(w->mapToGlobal(point)), button, held,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A left click in the middle of `w`.
inline void Click(QWidget* w) {
    MouseEvent(w, QEvent::MouseButtonPress, w->rect().center());
    MouseEvent(w, QEvent::MouseButtonRelease, w->rect().center());
}

// The pointer moves to the middle of `w`, no button held.
inline void MoveMouse(QWidget* w) {
    MouseEvent(w, QEvent::MouseMove, w->rect().center());
}

} // namespace tilava::test
