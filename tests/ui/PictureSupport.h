#pragma once

#include "ui/controls/PictureButton.h"

#include <QImage>
#include <QLabel>
#include <QWidget>

namespace tilava::test {

// The picture a control of a skinned window shows now: a label's picture or the one a picture
// button paints in its state.
inline QImage ShownPicture(const QWidget* w) {
    if (const auto* button = qobject_cast<const PictureButton*>(w))
        return button->shownPicture().toImage();
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->pixmap().toImage();
    qFatal("%s shows no picture", qPrintable(w->objectName()));
}

} // namespace tilava::test
