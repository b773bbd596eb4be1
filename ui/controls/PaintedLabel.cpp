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
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(&HiddenFactory);
        return true;
    }();
}

} // namespace tilava
