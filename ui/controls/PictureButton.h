#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QRect>
#include <QString>

namespace tilava {

// A button of a skinned window drawn as a picture: its normal picture, its lit picture while
// the window lights it, and its pressed picture while the mouse button or Space holds it down
// (each optional but the normal one; without one the normal picture is shown). The pictures
// are drawn as a label draws them: at the left edge, centred vertically, at their own size in
// device-independent pixels. With no picture at all it is an invisible click area over a
// painted label.
//
// Tab reaches it (never a mouse click, so clicks leave the focus where it was); while it has
// a focus that came from the keyboard (Tab, Shift+Tab, a shortcut, or a key pressed on it) an
// orange frame with a white inner line lies over its edge. A focus the program or the window's
// activation gives it draws the frame only when the user's last press in the program was a key,
// so a mouse user never sees it. A left click, Space, and Enter emit clicked(); assistive
// technology sees a button (or a link) with a Press action, or a radio button with its checked
// state and a Toggle action.
//
// The window decides when it is lit: the windows light their buttons by rules of their own
// (what a move over a neighbour or over the background does), so the button only tells of the
// pointer's moves and of its leaving.
class PictureButton final : public QAbstractButton {
    Q_OBJECT
public:
    PictureButton(QWidget* parent, const QString& name, QRect place);

    void setPictures(const QPixmap& normal, const QPixmap& lit = {}, const QPixmap& pressed = {});
    void setLit(bool lit);
    bool isLit() const { return lit_; }
    // Assistive technology sees a link that opens a page instead of a button.
    void setLink(bool link);
    bool isLink() const { return link_; }
    // The button is one choice of a group, as a radio button is: it can be checked, a click
    // (from the mouse, the keys or assistive technology's Toggle) checks it and never unchecks
    // it, and assistive technology sees a radio button, checked or not. The window keeps the
    // group: it unchecks the others when one is checked. The pictures and the keys stay those
    // of a plain button (Tab stops at each choice, Space or Enter takes it).
    void setRadio(bool radio);
    bool isRadio() const { return radio_; }

    // The picture painted now.
    const QPixmap& shownPicture() const;

signals:
    // The pointer moved over the button (with or without a mouse button held).
    void pointerMoved();
    // The pointer left the button.
    void pointerLeft();

protected:
    void nextCheckState() override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // Qt keeps a control's interface once it has made one: one of another kind goes.
    void forgetAccessibleInterface();

    QPixmap normal_, litPicture_, pressed_;
    bool lit_ = false;
    bool link_ = false;
    bool radio_ = false;
    bool keyboardFocus_ = false; // the focus came from the keyboard: the frame shows
};

} // namespace tilava
