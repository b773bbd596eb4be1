#pragma once

#include <QLabel>

namespace tilava {

// A label that only paints its text: a control over it (a picture button) takes its clicks and
// the focus and tells assistive technology what it is, so the label itself is hidden from
// assistive technology and a screen reader does not read the text twice.
class PaintedLabel final : public QLabel {
    Q_OBJECT
public:
    explicit PaintedLabel(QWidget* parent);
};

} // namespace tilava
