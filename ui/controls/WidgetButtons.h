#pragma once

#include "model/ButtonHover.h"
#include "ui/skin/WidgetPicture.h"

#include <QObject>

#include <array>

class QWidget;

namespace tilava {

class PictureButton;

// The widget's four small buttons in its top right corner (settings, help, hide, close), with
// their hints and names for assistive technology, lit by the widget's hover rules: moving over
// a button lights it and puts out its neighbours, leaving it puts it out.
class WidgetButtons final : public QObject {
    Q_OBJECT
public:
    // Makes the buttons on `widget`, in the order above.
    explicit WidgetButtons(QWidget& widget);

    PictureButton* Button(ButtonHover::Button which) const { return buttons_[which]; }
    const ButtonHover& Hover() const { return hover_; }
    // The pointer is over the day area, the text or the flag, or out of the widget.
    void PutOut();
    // The pointer is over the drag strip: the settings button goes out.
    void PutOutSetup();

signals:
    // The pointer moved over one of the buttons.
    void pointerMoved();

private:
    void Refresh();

    ButtonHover hover_;
    std::array<WidgetPicture, ButtonHover::Pocet> normal_, lit_;
    std::array<PictureButton*, ButtonHover::Pocet> buttons_{};
};

} // namespace tilava
