#include "ui/desktop/SystemNotifier.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QSystemTrayIcon>

namespace tilava {

void SystemNotifier::Beep() {
    QApplication::beep();
}

namespace {

// A box over a window is modal to that window and its owners only: the tray icon keeps working.
// Its text is plain: a report quotes what a server sent, which must not turn into markup.
void ShowBox(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
    if (box.parentWidget())
        box.setWindowModality(Qt::WindowModal);
    box.exec();
}

} // namespace

void SystemNotifier::Message(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent);
    ShowBox(box);
}

int SystemNotifier::Ask(QWidget* parent, const QString& text, const QStringList& choices) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tilava"), text, QMessageBox::NoButton,
                    parent);
    QList<QPushButton*> buttons;
    for (const QString& choice : choices)
        buttons << box.addButton(choice, buttons.isEmpty() ? QMessageBox::AcceptRole
                                                           : QMessageBox::DestructiveRole);
    if (!buttons.isEmpty()) {
        box.setDefaultButton(buttons.first());
        box.setEscapeButton(buttons.first());
    }
    ShowBox(box);
    const auto taken = buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton()));
    return taken < 0 ? 0 : static_cast<int>(taken);
}

namespace {

bool ShowNote(QSystemTrayIcon* icon, const QString& text, QSystemTrayIcon::MessageIcon look) {
    if (!icon || !icon->isVisible() || !QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    // Long enough to read two lines; the desktop may keep it longer.
    icon->showMessage(QStringLiteral("Tilava"), text, look, 8000);
    return true;
}

} // namespace

bool SystemNotifier::Notify(QSystemTrayIcon* icon, const QString& text) {
    return ShowNote(icon, text, QSystemTrayIcon::Information);
}

bool SystemNotifier::Warn(QSystemTrayIcon* icon, const QString& text) {
    return ShowNote(icon, text, QSystemTrayIcon::Warning);
}

} // namespace tilava
