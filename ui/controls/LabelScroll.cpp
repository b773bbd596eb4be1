#include "ui/controls/LabelScroll.h"

#include <QTimer>

namespace tilava {

TLabelScroll::TLabelScroll(QWidget* parent) : QLabel(parent), timer_(new QTimer(this)) {
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, &TLabelScroll::Step);
}

bool TLabelScroll::Active() const {
    return timer_->isActive();
}

void TLabelScroll::SetActive(bool active) {
    if (active)
        timer_->start();
    else
        timer_->stop();
}

int TLabelScroll::Speed() const {
    return timer_->interval();
}

void TLabelScroll::SetSpeed(int intervalMs) {
    timer_->setInterval(intervalMs);
}

void TLabelScroll::SetText(const QString& text) {
    // Assistive technology reads the whole text, not only the characters shown.
    setAccessibleName(text);
    setText(QString::fromStdString(scroll_.SetText(text.toStdString())));
}

void TLabelScroll::Step() {
    setText(QString::fromStdString(scroll_.Step()));
}

} // namespace tilava
