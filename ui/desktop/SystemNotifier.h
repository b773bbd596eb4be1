#pragma once

#include "ui/desktop/Notifier.h"

namespace tilava {

// Beeps through the desktop and shows real message boxes.
class SystemNotifier final : public Notifier {
public:
    void Beep() override;
    void Message(QWidget* parent, const QString& text) override;
    int Ask(QWidget* parent, const QString& text, const QStringList& choices) override;
    bool Notify(QSystemTrayIcon* icon, const QString& text) override;
    bool Warn(QSystemTrayIcon* icon, const QString& text) override;
};

} // namespace tilava
