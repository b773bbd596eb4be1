// The commands that open a window over the widget: by the mouse, the keyboard and the tray.
#include "ui/windows/fMain.h"

#include "model/WidgetModel.h"
#include "store/uPoznamky.h"
#include "ui/controls/PictureButton.h"
#include "ui/windows/CalendarSyncRunner.h"
#include "ui/windows/fAbout.h"
#include "ui/windows/OtvorKalendar.h"
#include "ui/windows/OtvorNastavenia.h"

#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstddef>

namespace tilava {

void TfrmMain::MyskaKlik(Qt::MouseButton button) {
    // The window opens once the press has been handled, so no half-done mouse event waits
    // under the modal window.
    QTimer::singleShot(0, this, [this, button] {
        if (button == Qt::RightButton)
            OtvorNastavenia();
        else
            OtvorKalendar();
    });
}

bool TfrmMain::WithOpenWindow(const std::function<void()>& command) {
    return openWindows_ == 0 && WithWindow(command);
}

bool TfrmMain::WithWindow(const std::function<void()>& command) {
    if (quitting_)
        return false;
    const QScopedValueRollback open(openWindows_, openWindows_ + 1);
    ZastavOdpocet();
    command();
    return !quitting_;
}

void TfrmMain::OtvorKalendar() {
    if (!WithOpenWindow([this] {
            const QScopedValueRollback open(weekOpen_, true);
            tilava::OtvorKalendar(model_->Rok(), model_->Regi(), model_->Notes().Adresar(), clock_,
                                  notifier_, *web_, this, notesWatch_,
                                  [this] { sync_->ChangesSaved(); });
        }))
        return;
    ZobrazUdalosti();
    SpustiOdpocet();
}

void TfrmMain::OtvorNastavenia() {
    if (!WithOpenWindow([this] {
            tilava::OtvorNastavenia(this, hive_, model_->Rok(), model_->Regi(), model_->Settings(),
                                    notifier_, sync_, [this] { OpenSyncSettings(false); });
        }))
        return;
    ZobrazUdalosti();
    SpustiOdpocet();
}

void TfrmMain::OpenAbout() {
    if (WithOpenWindow([this] {
            TfrmAbout window(model_->Notes().Adresar(), notifier_, *web_, this);
            window.Ukaz(y(), x() - TfrmAbout::OffsetFromWidget);
        }))
        SpustiOdpocet();
}

void TfrmMain::keyPressEvent(QKeyEvent* event) {
    // Enter opens the week window and the menu key the settings, as the two mouse buttons do.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        MyskaKlik(Qt::LeftButton);
        break;
    case Qt::Key_Menu:
        MyskaKlik(Qt::RightButton);
        break;
    case Qt::Key_F10:
        if (event->modifiers() & Qt::ShiftModifier) {
            MyskaKlik(Qt::RightButton);
            break;
        }
        [[fallthrough]];
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool TfrmMain::focusNextPrevChild(bool next) {
    // Tab goes round the widget itself (its day), the flag and the four buttons.
    const std::array<QWidget*, 6> ring{this, imgFlag_, imgSetup_, imgHelp_, imgMin_, imgClose_};
    const auto at = std::find(ring.begin(), ring.end(), focusWidget());
    if (at == ring.end())
        return QWidget::focusNextPrevChild(next);
    const std::size_t i = static_cast<std::size_t>(at - ring.begin());
    ring[(i + (next ? 1 : ring.size() - 1)) % ring.size()]->setFocus(next ? Qt::TabFocusReason
                                                                          : Qt::BacktabFocusReason);
    return true;
}

} // namespace tilava
