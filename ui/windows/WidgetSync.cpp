// The widget's side of the calendar sync and of the export and import from the tray menu.
#include "ui/windows/fMain.h"

#include "model/WidgetModel.h"
#include "store/uPoznamky.h"
#include "ui/desktop/Notifier.h"
#include "ui/windows/CalendarExchange.h"
#include "ui/windows/CalendarSyncRunner.h"
#include "ui/windows/WidgetTray.h"

#include <QApplication>
#include <QScopedValueRollback>

namespace tilava {

void TfrmMain::ConnectSync() {
    sync_ =
        new CalendarSyncRunner(*this, *tray_, model_->Regi(), model_->Notes().Adresar(), notifier_);
    // The sync's changes show at once (the folder watch may come a little later).
    connect(sync_, &CalendarSyncRunner::finished, this, [this] {
        if (!closed_)
            ZobrazUdalosti();
    });
    connect(
        sync_, &CalendarSyncRunner::settingsWanted, this, [this] { OpenSyncSettings(true); },
        Qt::QueuedConnection);
    connect(tray_, &WidgetTray::syncChosen, sync_,
            [this] { sync_->Start(CalendarSyncRunner::Origin::Menu); });
    connect(
        tray_, &WidgetTray::syncSettingsChosen, this, [this] { OpenSyncSettings(false); },
        Qt::QueuedConnection);
    connect(
        tray_, &WidgetTray::syncReportChosen, this,
        [this] {
            QWidget* window = QApplication::activeModalWidget();
            sync_->ShowUnreadReport(window ? window : this);
        },
        Qt::QueuedConnection);
}

void TfrmMain::CalendarExchange(Exchange which) {
    if (quitting_)
        return;
    QString why;
    if (exchanging_)
        why = QStringLiteral("Export do kalendára alebo import kontaktov už prebieha. Dokončite ho "
                             "alebo ho zrušte, potom zvoľte ďalší.");
    else if (which == Exchange::Export && weekOpen_)
        why = QStringLiteral("Export do kalendára sa teraz nespustil: v otvorenom okne Kalendár "
                             "môžu byť zmeny, ktoré ešte nie sú uložené, a v exporte by chýbali. "
                             "Zatvorte okno Kalendár a zvoľte export znova.");
    if (!why.isEmpty()) {
        // Over the open window, which waits for the answer.
        QWidget* window = QApplication::activeModalWidget();
        notifier_.Message(window ? window : this, why);
        return;
    }
    const QScopedValueRollback open(exchanging_, true);
    // Contacts imported for today or the days ahead are reminded at once.
    if (WithWindow([this, which] {
            (which == Exchange::Export ? ExportCalendarTo : ImportContacts)(
                this, model_->Notes().Adresar(), notifier_);
        }))
        ZobrazUdalosti();
}

void TfrmMain::OpenSyncSettings(bool thenSync) {
    if (quitting_)
        return;
    if (syncSettingsOpen_) {
        // Chosen again from the tray: the open dialog comes to the front.
        if (QWidget* window = QApplication::activeModalWidget()) {
            window->raise();
            window->activateWindow();
        }
        return;
    }
    const QScopedValueRollback open(syncSettingsOpen_, true);
    // Over the window that is open (the settings window offers it too).
    QWidget* window = QApplication::activeModalWidget();
    WithWindow([this, thenSync, window] { sync_->EditSettings(window ? window : this, thenSync); });
}

} // namespace tilava
