#pragma once

#include "ui/controls/PictureButton.h"
#include "ui/skin/Fonts.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <string>
#include <string_view>

namespace tilava::week {

// The week window's face in `pixels`, bold or not.
inline QFont Font(int pixels, bool bold) {
    return fonts::Font(fonts::kWeek, pixels, bold);
}

inline QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, color);
    widget->setPalette(p);
}

// A label named `name` at `place`, sized to its text.
// Sets up `label` at its place with its font and colour.
template <typename L>
L* SetUpLabel(L* label, const QString& name, QPoint place, const QFont& font, const QColor& color,
              const QString& text = {}) {
    label->setText(text);
    label->setObjectName(name);
    label->setFont(font);
    SetTextColor(label, color);
    label->move(place);
    label->adjustSize();
    return label;
}

inline QLabel* Label(QWidget* parent, const QString& name, QPoint place, const QFont& font,
                     const QColor& color, const QString& text = {}) {
    return SetUpLabel(new QLabel(parent), name, place, font, color, text);
}

// A picture button with its hint; with no picture an invisible click area or a text.
inline PictureButton* Button(QWidget* parent, const QString& name, QRect place, const QString& hint,
                             const QPixmap& normal = {}, const QPixmap& lit = {}) {
    auto* button = new PictureButton(parent, name, place);
    button->setPictures(normal, lit);
    button->setCursor(Qt::PointingHandCursor);
    button->setToolTip(hint);
    return button;
}

// A text that runs past `width` takes the condensed face, then smaller sizes down to 9 pixels:
// names and holidays stay whole and readable beside the day's list.
inline void FitText(QLabel* label, const QString& text, const QFont& font, int width) {
    QFont fitted = font;
    if (QFontMetrics(fitted).horizontalAdvance(text) > width) {
        fitted.setFamilies(fonts::kWeekNarrow);
        while (fitted.pixelSize() > 9 && QFontMetrics(fitted).horizontalAdvance(text) > width)
            fitted.setPixelSize(fitted.pixelSize() - 1);
    }
    if (label->font() != fitted)
        label->setFont(fitted);
    label->setText(text);
    label->adjustSize();
}

} // namespace tilava::week
