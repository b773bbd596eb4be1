#pragma once

#include "exchange/CalendarExchange.h"
#include "store/SyncSettings.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tilava {

class Notifier;
class TRegi;

// The calendar sync's settings: the address of the server or of the calendar, the user, the
// password (kept by the desktop's secret store, never in the settings), the calendar picked
// from those the server lists (or a new one), the minutes between automatic syncs and whether
// the server's yearly all-day events count as birthdays. A plain dialog, modal to the window it
// belongs to, so that the tray keeps working.
//
// Whatever may wait on the server or on the secret store (finding the calendars, making one,
// keeping or moving the password, which may prompt the user for the keyring) runs on a worker
// thread: the dialog says what it waits for and stays responsive, "Zrušiť" and Esc close it at
// once, and a worker that ends after that changes nothing.
//
// "Uložiť" checks what was typed, makes the new calendar when that was picked, hands a typed
// password to the secret store and only when it is kept writes the settings; whatever is
// refused is told and the dialog stays open with everything typed. An empty password field
// keeps the password kept before, moved along when only the address or the user changed;
// "Zabudnúť heslo" forgets it.
class SyncSettingsDialog final : public QDialog {
    Q_OBJECT
public:
    // Keeps a password for the user and calendar of the settings; an empty one forgets it.
    using PasswordKeeper = std::function<ExchangeResult(const SyncSettings&, const std::string&)>;

    // What the dialog reaches outside itself; each may block for long (it runs on a worker).
    struct Services {
        PasswordKeeper keep = &KeepSyncPassword;
        std::function<ExchangeResult(const SyncSettings&, const SyncSettings*, bool&)>
            keptPassword = &KeptSyncPassword;
        std::function<SyncCalendarsFound(const std::string&, const std::string&, const std::string&,
                                         const SyncSettings&)>
            find = &FindSyncCalendars;
        std::function<SyncCalendarsFound(const std::string&, const std::string&, const std::string&,
                                         const SyncSettings&)>
            make = &MakeSyncCalendar;
        std::function<ExchangeResult()> forgetListing = &ForgetSyncListing;
    };

    // Filled from `regi`, which must outlive the dialog.
    SyncSettingsDialog(TRegi& regi, Notifier& notifier, PasswordKeeper keeper,
                       QWidget* parent = nullptr);
    SyncSettingsDialog(TRegi& regi, Notifier& notifier, Services services,
                       QWidget* parent = nullptr);

    // Why an address is refused, in Slovak; empty when it is a calendar address the sync may
    // use: https, or plain http to this computer only (elsewhere the password would cross the
    // network readable), without a user or password inside it.
    static QString AddressProblem(const QString& address);

    void accept() override;
    void reject() override;

private:
    // What the fields say, checked; the reason in `problem` when they cannot be saved.
    SyncSettings Typed(QString& problem, QWidget*& wrongField) const;
    void FindCalendars();
    void ShowFound(const SyncCalendarsFound& found);
    // The steps of a save after the check, each waiting for the one before.
    void MakeThenSave(SyncSettings typed);
    void KeepThenSave(const SyncSettings& typed);
    void Write(const SyncSettings& typed);
    void Refused(const QString& message, QWidget* field);
    // Runs `work` on a worker thread, then `done` with its result on the window thread, unless
    // the dialog was closed or destroyed meanwhile; the dialog shows `waiting` until then.
    template <typename Result>
    void Aside(const QString& waiting, std::function<Result()> work,
               std::function<void(Result)> done);
    void SetBusy(const QString& waiting);
    void LearnKeptPassword();

    TRegi& regi_;
    Notifier& notifier_;
    Services services_;
    SyncSettings stored_;
    // Grows when the dialog closes: a worker of an older one finds its result unwanted.
    std::shared_ptr<int> generation_ = std::make_shared<int>(0);
    bool busy_ = false;
    QLineEdit* address_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QCheckBox* forget_ = nullptr;
    QPushButton* find_ = nullptr;
    QComboBox* calendar_ = nullptr;
    QLabel* status_ = nullptr;
    QSpinBox* every_ = nullptr;
    QCheckBox* yearly_ = nullptr;
    QPushButton* save_ = nullptr;
    std::string homeUrl_;
};

} // namespace tilava
