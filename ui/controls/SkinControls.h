#pragma once

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

namespace tilava {

// A picture control of a skinned window: named as in the designer, at its place, and told of
// every pointer move (the windows light their buttons on moves).
inline QLabel* PictureLabel(QWidget* parent, const char* meno, QRect place) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(QLatin1String(meno));
    picture->setGeometry(place);
    picture->setMouseTracking(true);
    return picture;
}

// The mouse event `event` of `w` happened inside it: a click counts only when the button
// comes up over the control it went down on.
inline bool Inside(QWidget* w, QEvent* event) {
    return w->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint());
}

// Moving a window without a title bar by a strip: while the button is down, the window
// follows the pointer's offset from where the button went down (points in the strip's own
// coordinates, which move with the window).
class WindowDrag {
public:
    void Press(QPoint point) {
        drag_ = true;
        start_ = point;
    }
    void MoveMouse(QWidget& window, QPoint point) const {
        if (!drag_)
            return;
        if (point.x() != start_.x())
            window.move(window.x() + point.x() - start_.x(), window.y());
        if (point.y() != start_.y())
            window.move(window.x(), window.y() + point.y() - start_.y());
    }
    void Release() { drag_ = false; }
    bool Drags() const { return drag_; }

private:
    bool drag_ = false;
    QPoint start_;
};

// Makes a strip of a window without a title bar move its window: while the left button is down
// on the strip, the window follows the pointer. The strip's events go on to its other filters.
class DragStrip final : public QObject {
public:
    explicit DragStrip(QWidget* strip) : QObject(strip) { strip->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* strip = static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                drag_.Press(static_cast<QMouseEvent*>(event)->position().toPoint());
            break;
        case QEvent::MouseMove:
            drag_.MoveMouse(*strip->window(),
                            static_cast<QMouseEvent*>(event)->position().toPoint());
            break;
        case QEvent::MouseButtonRelease:
            drag_.Release();
            break;
        default:
            break;
        }
        return false;
    }

private:
    WindowDrag drag_;
};

} // namespace tilava
