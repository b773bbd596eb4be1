#include "ui/windows/WidgetTray.h"

#include "ui/skin/TrayIconPicture.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace tilava {

WidgetTray::WidgetTray(QWidget& widget, Available available)
    : QObject(&widget), widget_(widget), available_(std::move(available)) {}

WidgetTray::~WidgetTray() {
    Hide();
}

void WidgetTray::Hide() {
    if (icon_)
        icon_->hide();
}

void WidgetTray::SetSyncStatus(const QString& status, bool report) {
    syncStatus_ = status;
    syncReport_ = report;
    if (!icon_)
        return;
    sync_->setEnabled(status.isEmpty());
    sync_->setText(status.isEmpty() ? QStringLiteral("Synchronizovať") : status);
    report_->setVisible(report);
    icon_->setToolTip(Tooltip());
}

QString WidgetTray::Tooltip() const {
    return syncStatus_.isEmpty() ? tooltip_ : tooltip_ + QLatin1Char('\n') + syncStatus_;
}

void WidgetTray::Update(const QString& tooltip, int dayOfMonth) {
    tooltip_ = tooltip;
    day_ = dayOfMonth;
    if (icon_) {
        icon_->setToolTip(Tooltip());
        icon_->setIcon(TrayIconPicture(day_));
    }
}

void WidgetTray::Start() {
    if (Create())
        return;
    wait_ = new QTimer(this);
    wait_->setInterval(5000);
    connect(wait_, &QTimer::timeout, this, [this, tries = 0]() mutable {
        if (Create() || ++tries >= 24)
            wait_->stop();
    });
    wait_->start();
}

bool WidgetTray::Create() {
    if (icon_ || !available_())
        return false;
    menu_ = new QMenu(&widget_);
    menu_->setObjectName(QStringLiteral("PopupMenu1"));
    const auto add = [this](const QString& text, const char* name, void (WidgetTray::*chosen)()) {
        QAction* action = menu_->addAction(text);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, chosen);
        return action;
    };
    add(QStringLiteral("Ukončit"), "Ukoncit1", &WidgetTray::quitChosen);
    add(QStringLiteral("Zobraziť"), "Zobrazi1", &WidgetTray::showChosen);
    // The birthdays and anniversaries to the user's other calendars, and back from an address
    // book.
    add(QStringLiteral("Exportovať do kalendára…"), "Exportovat1", &WidgetTray::exportChosen);
    add(QStringLiteral("Importovať kontakty…"), "Importovat1", &WidgetTray::importChosen);
    // The same entries on the user's other computers and phone, through a calendar server.
    sync_ = add(QStringLiteral("Synchronizovať"), "Synchronizovat1", &WidgetTray::syncChosen);
    add(QStringLiteral("Nastavenie synchronizácie…"), "NastavenieSynchronizacie1",
        &WidgetTray::syncSettingsChosen);
    // An automatic sync's warning stays here until it is read.
    report_ = add(QStringLiteral("Správa o synchronizácii…"), "SpravaSynchronizacie1",
                  &WidgetTray::syncReportChosen);

    icon_ = new QSystemTrayIcon(TrayIconPicture(day_), this);
    SetSyncStatus(syncStatus_, syncReport_);
    icon_->setContextMenu(menu_);
    connect(icon_, &QSystemTrayIcon::activated, this, &WidgetTray::activated);
    // The menu may open without an activation (a StatusNotifier host): that is a Context too.
    connect(menu_, &QMenu::aboutToShow, this, [this] { emit activated(QSystemTrayIcon::Context); });
    icon_->show();
    return true;
}

} // namespace tilava
