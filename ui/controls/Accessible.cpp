#include "ui/controls/Accessible.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <utility>

namespace tilava {

namespace {

const QColor farbaRamu(0xFF, 0x8C, 0x00); // stands out on the navy buttons and the sky blue
const QString menoPomocnika = QStringLiteral("tilavaTlacidlo");

// The focus frame: a child over the whole control, painted after the control's picture and
// transparent for the mouse.
class RamFokusu final : public QWidget {
public:
    explicit RamFokusu(QWidget* rodic) : QWidget(rodic) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(rodic->rect());
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        // Filled strips, so that every pixel of the edge is covered, the corners too.
        QPainter p(this);
        const auto ram = [&p](QRect r, int hrubka, const QColor& farba) {
            p.fillRect(r.x(), r.y(), r.width(), hrubka, farba);
            p.fillRect(r.x(), r.bottom() + 1 - hrubka, r.width(), hrubka, farba);
            p.fillRect(r.x(), r.y(), hrubka, r.height(), farba);
            p.fillRect(r.right() + 1 - hrubka, r.y(), hrubka, r.height(), farba);
        };
        ram(rect(), 2, farbaRamu);
        ram(rect().adjusted(2, 2, -2, -2), 1, Qt::white);
    }
};

} // namespace

// Lives as a child of the control: its keys, its focus frame and its press.
class TlacidloObrazka final : public QObject {
    Q_OBJECT
public:
    TlacidloObrazka(QWidget* w, std::function<void()> stlac, QAccessible::Role rola)
        : QObject(w), stlac_(std::move(stlac)), rola_(rola), ram_(new RamFokusu(w)) {
        setObjectName(menoPomocnika);
        w->installEventFilter(this);
    }

    void Stlac() {
        if (stlac_)
            stlac_();
    }
    QAccessible::Role Rola() const { return rola_; }

protected:
    bool eventFilter(QObject* objekt, QEvent* udalost) override {
        auto* w = static_cast<QWidget*>(objekt);
        switch (udalost->type()) {
        case QEvent::KeyPress: {
            const auto* kluc = static_cast<QKeyEvent*>(udalost);
            const bool stlacit = kluc->key() == Qt::Key_Space || kluc->key() == Qt::Key_Return ||
                                 kluc->key() == Qt::Key_Enter;
            if (!stlacit ||
                kluc->modifiers().testAnyFlags(~Qt::KeyboardModifiers(Qt::KeypadModifier)))
                break;
            if (!kluc->isAutoRepeat())
                Stlac();
            return true;
        }
        case QEvent::FocusIn:
            ram_->setGeometry(w->rect());
            ram_->raise();
            ram_->show();
            break;
        case QEvent::FocusOut:
        case QEvent::Hide:
            ram_->hide();
            break;
        case QEvent::Resize:
            ram_->setGeometry(w->rect());
            break;
        default:
            break;
        }
        return false;
    }

private:
    std::function<void()> stlac_;
    QAccessible::Role rola_;
    RamFokusu* ram_;
};

namespace {

TlacidloObrazka* Pomocnik(QObject* objekt) {
    return objekt->findChild<TlacidloObrazka*>(menoPomocnika, Qt::FindDirectChildrenOnly);
}

// What assistive technology sees of a picture button: a button (or link) with a Press action;
// the focus frame inside it is no child of its own.
class PictureButtonAccessible final : public QAccessibleWidget {
public:
    PictureButtonAccessible(QWidget* w, TlacidloObrazka* pomocnik)
        : QAccessibleWidget(w, pomocnik->Rola()), pomocnik_(pomocnik) {}

    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty()) {
            if (const auto* l = qobject_cast<const QLabel*>(widget()))
                text = l->text();
            if (text.isEmpty())
                text = widget()->toolTip();
        }
        return text;
    }

    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& akcia) override {
        if (akcia == pressAction()) {
            if (pomocnik_ && widget()->isEnabled())
                pomocnik_->Stlac();
            return;
        }
        QAccessibleWidget::doAction(akcia);
    }

private:
    QPointer<TlacidloObrazka> pomocnik_;
};

QAccessibleInterface* Tovaren(const QString&, QObject* objekt) {
    if (!objekt || !objekt->isWidgetType())
        return nullptr;
    TlacidloObrazka* pomocnik = Pomocnik(objekt);
    return pomocnik ? new PictureButtonAccessible(static_cast<QWidget*>(objekt), pomocnik)
                    : nullptr;
}

} // namespace

void SpravTlacidlo(QWidget* w, const QString& meno, std::function<void()> stlac,
                   QAccessible::Role rola) {
    QAccessible::installFactory(&Tovaren);
    w->setFocusPolicy(Qt::TabFocus);
    new TlacidloObrazka(w, std::move(stlac), rola);
    // Qt looks up (and keeps) a control's interface at every change it announces, also
    // without a screen reader: one taken before the control became a button is replaced.
    QAccessibleInterface* rozhranie = QAccessible::queryAccessibleInterface(w);
    if (rozhranie && !dynamic_cast<PictureButtonAccessible*>(rozhranie))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(rozhranie));
    if (!meno.isEmpty())
        w->setAccessibleName(meno);
}

void NastavPoradie(std::initializer_list<QWidget*> poradie) {
    QWidget* predchodca = nullptr;
    for (QWidget* w : poradie) {
        if (predchodca)
            QWidget::setTabOrder(predchodca, w);
        predchodca = w;
    }
}

} // namespace tilava

#include "Accessible.moc"
