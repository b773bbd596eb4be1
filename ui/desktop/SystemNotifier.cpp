#include "ui/desktop/SystemNotifier.h"

#include <QApplication>
#include <QMessageBox>

namespace tilava {

void SystemNotifier::Beep() {
    QApplication::beep();
}

void SystemNotifier::Message(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
}

} // namespace tilava
