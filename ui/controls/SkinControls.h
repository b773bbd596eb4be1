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
inline QLabel* Obrazok(QWidget* rodic, const char* meno, QRect miesto) {
    auto* obrazok = new QLabel(rodic);
    obrazok->setObjectName(QLatin1String(meno));
    obrazok->setGeometry(miesto);
    obrazok->setMouseTracking(true);
    return obrazok;
}

// The mouse event `udalost` of `w` happened inside it: a click counts only when the button
// comes up over the control it went down on.
inline bool Vnutri(QWidget* w, QEvent* udalost) {
    return w->rect().contains(static_cast<QMouseEvent*>(udalost)->position().toPoint());
}

// Moving a window without a title bar by a strip: while the button is down, the window
// follows the pointer's offset from where the button went down (points in the strip's own
// coordinates, which move with the window).
class TahanieOkna {
public:
    void Stlac(QPoint bod) {
        tahanie_ = true;
        zaciatok_ = bod;
    }
    void Pohni(QWidget& okno, QPoint bod) const {
        if (!tahanie_)
            return;
        if (bod.x() != zaciatok_.x())
            okno.move(okno.x() + bod.x() - zaciatok_.x(), okno.y());
        if (bod.y() != zaciatok_.y())
            okno.move(okno.x(), okno.y() + bod.y() - zaciatok_.y());
    }
    void Pusti() { tahanie_ = false; }
    bool Taha() const { return tahanie_; }

private:
    bool tahanie_ = false;
    QPoint zaciatok_;
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
                drag_.Stlac(static_cast<QMouseEvent*>(event)->position().toPoint());
            break;
        case QEvent::MouseMove:
            drag_.Pohni(*strip->window(), static_cast<QMouseEvent*>(event)->position().toPoint());
            break;
        case QEvent::MouseButtonRelease:
            drag_.Pusti();
            break;
        default:
            break;
        }
        return false;
    }

private:
    TahanieOkna drag_;
};

} // namespace tilava
