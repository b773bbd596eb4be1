#include "ui/controls/PaintedLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace tilava {

namespace {

class HiddenAccessible final : public QAccessibleWidget {
public:
    explicit HiddenAccessible(QWidget* label) : QAccessibleWidget(label, QAccessible::StaticText) {}
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
    QString text(QAccessible::Text) const override { return {}; }
};

QAccessibleInterface* HiddenFactory(const QString& className, QObject* object) {
    if (className != QLatin1String(PaintedLabel::staticMetaObject.className()))
        return nullptr;
    auto* label = qobject_cast<PaintedLabel*>(object);
    return label ? new HiddenAccessible(label) : nullptr;
}

} // namespace

PaintedLabel::PaintedLabel(QWidget* parent) : QLabel(parent) {
    // Qt draws the text of a label that may take the focus half a pixel higher at 2x than that
    // of one that may not; the week's results were such labels and keep their look. The label
    // never gets the focus: it is out of the Tab ring, and the button over it takes the clicks.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(&HiddenFactory);
        return true;
    }();
}

} // namespace tilava
