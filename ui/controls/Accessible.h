#pragma once

#include <QAccessible>
#include <QString>

#include <functional>
#include <initializer_list>

class QWidget;

namespace tilava {

// Makes `w`, a picture or an invisible click area of a skinned window, a real button for the
// keyboard and for assistive technology:
// - Tab reaches it (Qt::TabFocus only, so a mouse click never moves the focus and clicks behave
//   as they always did), Space and Enter run `stlac`;
// - while it has the focus an orange frame with a white inner line is drawn over its picture;
// - assistive technology sees a control of role `rola` named `meno` (when `meno` is empty:
//   the label's text, else its hint) whose Press action runs `stlac`.
// The window keeps handling the mouse itself; `stlac` is what its click does.
void SpravTlacidlo(QWidget* w, const QString& meno, std::function<void()> stlac,
                   QAccessible::Role rola = QAccessible::Button);

// Tab and Shift+Tab go through `poradie` in this order.
void NastavPoradie(std::initializer_list<QWidget*> poradie);

} // namespace tilava
