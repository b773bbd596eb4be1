#pragma once

#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>

class QAction;
class QMenu;
class QTimer;
class QWidget;

namespace tilava {

// The widget's tray icon, a calendar sheet with the day of the month, and its menu: "Ukončit",
// "Zobraziť", the calendar export and the contact import, the calendar sync, its settings and
// the unread report of an automatic sync. On a desktop without a tray at start it asks again
// every 5 s for two minutes, since a panel that starts after the program (autostart) brings its
// tray a little later.
class WidgetTray final : public QObject {
    Q_OBJECT
public:
    // Tells whether the desktop has a tray for the icon.
    using Available = std::function<bool()>;

    // The menu is made on `widget`.
    WidgetTray(QWidget& widget, Available available);
    ~WidgetTray() override;

    // Shows the icon now, or once the desktop has a tray.
    void Start();
    // The tooltip and the day of the icon, also for an icon still waiting for its tray.
    void Update(const QString& tooltip, int dayOfMonth);
    // The icon, once there is one.
    QSystemTrayIcon* Icon() const { return icon_; }
    bool IsShown() const { return icon_ && icon_->isVisible(); }
    void Hide();
    // While a sync runs its item reads `status` ("Synchronizuje sa… 120 z 303"), cannot be
    // chosen, and the tooltip tells it too; an empty status: none runs. With `report`, the menu
    // offers the unread report of an automatic sync ("Správa o synchronizácii…").
    void SetSyncStatus(const QString& status, bool report);

signals:
    // A click on the icon; the menu opening counts as the Context one.
    void activated(QSystemTrayIcon::ActivationReason reason);
    void quitChosen();
    void showChosen();
    void exportChosen();
    void importChosen();
    void syncChosen();
    void syncSettingsChosen();
    void syncReportChosen();

private:
    bool Create();
    QString Tooltip() const;

    QWidget& widget_;
    Available available_;
    QString tooltip_;
    int day_ = 1;
    QSystemTrayIcon* icon_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* sync_ = nullptr;
    QAction* report_ = nullptr;
    QString syncStatus_;
    bool syncReport_ = false;
    QTimer* wait_ = nullptr;
};

} // namespace tilava
