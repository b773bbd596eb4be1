#pragma once

#include <QWidget>

#include <initializer_list>

namespace tilava {

// Tab and Shift+Tab go through `order` in this order.
inline void SetTabOrder(std::initializer_list<QWidget*> order) {
    QWidget* previous = nullptr;
    for (QWidget* w : order) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

} // namespace tilava
