#include "ui/controls/PictureButton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace tilava {

namespace {

const QColor frameColour(0xFF, 0x8C, 0x00); // stands out on the navy buttons and the sky blue

// What assistive technology sees of a button that opens a page, a link with a Press action, and
// of one choice of a group, a radio button with its checked state and a Toggle action. (A plain
// button gets Qt's own button interface.)
class LinkOrRadioAccessible final : public QAccessibleWidget {
public:
    explicit LinkOrRadioAccessible(PictureButton* button)
        : QAccessibleWidget(button,
                            button->isLink() ? QAccessible::Link : QAccessible::RadioButton) {}

    QString text(QAccessible::Text kind) const override {
        QString text = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && text.isEmpty())
            text = button()->text();
        return text;
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (button()->isRadio()) {
            state.checkable = true;
            state.checked = button()->isChecked();
        }
        return state;
    }
    QStringList actionNames() const override {
        return QStringList{ownAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != ownAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (!button()->isEnabled())
            return;
        // A choice is taken at once, so that its checked state is there when asked next.
        if (button()->isRadio())
            button()->click();
        else
            button()->animateClick();
    }

private:
    PictureButton* button() const { return static_cast<PictureButton*>(widget()); }
    QString ownAction() const { return button()->isRadio() ? toggleAction() : pressAction(); }
};

QAccessibleInterface* LinkOrRadioFactory(const QString& className, QObject* object) {
    if (className != QLatin1String(PictureButton::staticMetaObject.className()))
        return nullptr;
    auto* button = qobject_cast<PictureButton*>(object);
    return button && (button->isLink() || button->isRadio()) ? new LinkOrRadioAccessible(button)
                                                             : nullptr;
}

// Whether the user's last press was a key or a mouse button, in any window of the program: a
// focus the program gives (a window that opens, a command that hands the focus back) shows its
// frame only to a user of the keyboard.
class LastInput final : public QObject {
public:
    static bool WasKeyboard() {
        static LastInput* watcher = [] {
            auto* w = new LastInput(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(w);
            return w;
        }();
        return watcher->keyboard_;
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
            keyboard_ = true;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::TouchBegin:
            keyboard_ = false;
            break;
        default:
            break;
        }
        return QObject::eventFilter(object, event);
    }

private:
    using QObject::QObject;
    bool keyboard_ = false;
};

bool IsOnlyKeypad(Qt::KeyboardModifiers modifiers) {
    return !modifiers.testAnyFlags(~Qt::KeyboardModifiers(Qt::KeypadModifier));
}

} // namespace

PictureButton::PictureButton(QWidget* parent, const QString& name, QRect place)
    : QAbstractButton(parent) {
    setObjectName(name);
    setGeometry(place);
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setBackgroundRole(QPalette::Window); // as a label's, where the picture leaves room
    LastInput::WasKeyboard();            // the presses are watched from now on
}

void PictureButton::setPictures(const QPixmap& normal, const QPixmap& lit, const QPixmap& pressed) {
    normal_ = normal;
    litPicture_ = lit;
    pressed_ = pressed;
    update();
}

void PictureButton::setLit(bool lit) {
    if (lit == lit_)
        return;
    lit_ = lit;
    update();
}

void PictureButton::setLink(bool link) {
    if (link == link_)
        return;
    link_ = link;
    forgetAccessibleInterface();
}

void PictureButton::setRadio(bool radio) {
    if (radio == radio_)
        return;
    radio_ = radio;
    setCheckable(radio);
    forgetAccessibleInterface();
}

void PictureButton::forgetAccessibleInterface() {
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(&LinkOrRadioFactory);
        return true;
    }();
    const QAccessible::Role role = link_    ? QAccessible::Link
                                   : radio_ ? QAccessible::RadioButton
                                            : QAccessible::Button;
    if (QAccessibleInterface* known = QAccessible::queryAccessibleInterface(this);
        known && known->role() != role)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
}

void PictureButton::nextCheckState() {
    // A choice of a group is taken by a click, never given back.
    if (radio_)
        setChecked(true);
    else
        QAbstractButton::nextCheckState();
}

const QPixmap& PictureButton::shownPicture() const {
    if (isDown() && !pressed_.isNull())
        return pressed_;
    if (lit_ && !litPicture_.isNull())
        return litPicture_;
    return normal_;
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPixmap picture = shownPicture();
    // A picture of another density than the screen's is smoothed to it, as a label does.
    if (const qreal ratio = devicePixelRatio();
        !picture.isNull() && picture.devicePixelRatio() != ratio) {
        picture = picture.scaled((picture.deviceIndependentSize() * ratio).toSize(),
                                 Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        picture.setDevicePixelRatio(ratio);
    }
    if (!picture.isNull())
        style()->drawItemPixmap(&painter, contentsRect(),
                                QStyle::visualAlignment(QGuiApplication::layoutDirection(),
                                                        Qt::AlignLeft | Qt::AlignVCenter),
                                picture);
    if (!hasFocus() || !keyboardFocus_)
        return;
    // Filled strips, so that every pixel of the edge is covered, the corners too.
    const auto frame = [&painter](QRect r, int thickness, const QColor& colour) {
        painter.fillRect(r.x(), r.y(), r.width(), thickness, colour);
        painter.fillRect(r.x(), r.bottom() + 1 - thickness, r.width(), thickness, colour);
        painter.fillRect(r.x(), r.y(), thickness, r.height(), colour);
        painter.fillRect(r.right() + 1 - thickness, r.y(), thickness, r.height(), colour);
    };
    frame(rect(), 2, frameColour);
    frame(rect().adjusted(2, 2, -2, -2), 1, Qt::white);
}

void PictureButton::focusInEvent(QFocusEvent* event) {
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        keyboardFocus_ = true;
        break;
    case Qt::MouseFocusReason:
        keyboardFocus_ = false;
        break;
    default:
        keyboardFocus_ = LastInput::WasKeyboard();
        break;
    }
    QAbstractButton::focusInEvent(event);
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    if (!keyboardFocus_) {
        keyboardFocus_ = true;
        update();
    }
    const int key = event->key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) {
        QAbstractButton::keyPressEvent(event);
        return;
    }
    // With Ctrl, Alt or Shift the key is the window's.
    if (!IsOnlyKeypad(event->modifiers())) {
        event->ignore();
        return;
    }
    if (key == Qt::Key_Space)
        QAbstractButton::keyPressEvent(event); // down now, clicked when the key comes up
    else if (!event->isAutoRepeat())
        click();
    event->accept();
}

// The mouse events stay with the button: the window under it has reactions of its own to
// presses and moves over its other parts.
void PictureButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        QAbstractButton::mousePressEvent(event);
    event->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        QAbstractButton::mouseReleaseEvent(event);
    event->accept();
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    QAbstractButton::mouseMoveEvent(event);
    emit pointerMoved();
    event->accept();
}

void PictureButton::leaveEvent(QEvent* event) {
    emit pointerLeft();
    QAbstractButton::leaveEvent(event);
}

} // namespace tilava
