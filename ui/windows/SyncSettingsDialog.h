#pragma once

#include "exchange/CalendarExchange.h"
#include "store/SyncSettings.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace tilava {

class Notifier;
class TRegi;

// The calendar sync's settings: the calendar's address on the server, the user, the password
// (kept by the desktop's secret store, never in the settings), the minutes between automatic
// syncs and whether the server's yearly all-day events count as birthdays. A plain dialog,
// modal to the window it belongs to, so that the tray keeps working.
//
// "Uložiť" checks what was typed, hands a typed password to the secret store and writes the
// settings; whatever is refused is told and the dialog stays open with everything typed. An
// empty password field keeps the password kept before; "Zabudnúť heslo" forgets it.
class SyncSettingsDialog final : public QDialog {
    Q_OBJECT
public:
    // Keeps a password for the user and calendar of the settings; an empty one forgets it.
    using PasswordKeeper = std::function<ExchangeResult(const SyncSettings&, const std::string&)>;

    // Filled from `regi`, which must outlive the dialog.
    SyncSettingsDialog(TRegi& regi, Notifier& notifier, PasswordKeeper keeper,
                       QWidget* parent = nullptr);

    // Why an address is refused, in Slovak; empty when it is a calendar address the sync may
    // use: https, or plain http to this computer only (elsewhere the password would cross the
    // network readable), without a user or password inside it.
    static QString AddressProblem(const QString& address);

    void accept() override;

private:
    // What the fields say, checked; the reason in `problem` when they cannot be saved.
    SyncSettings Typed(QString& problem, QWidget*& wrongField) const;

    TRegi& regi_;
    Notifier& notifier_;
    PasswordKeeper keeper_;
    QLineEdit* address_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QCheckBox* forget_ = nullptr;
    QSpinBox* every_ = nullptr;
    QCheckBox* yearly_ = nullptr;
};

} // namespace tilava
