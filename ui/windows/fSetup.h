#pragma once

#include "store/WidgetSettings.h"
#include "ui/controls/SkinControls.h"
#include <QDialog>
#include <QPixmap>

#include <QPoint>

#include <functional>
#include <memory>

class QButtonGroup;
class QPushButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace tilava {

class CalendarSyncRunner;
class PictureButton;
class SettingsHive;
class TRegi;

// The settings window: a small borderless modal window with painted rows for the name-day
// language (two flags), the display time or "always shown", the days ahead, start with the
// session, the remembered position and the sound at start. The caller fills the fields, calls
// Zobraz and, when Potvrdene, applies them; the window itself stores only its own position.
// OK (or Enter) confirms, Escape leaves without confirming.
//
// The controls are children named as in the designer (imgSK, chkStale, txtShow, imgOK, ...),
// so tests find them by name.
class TfrmSetup final : public QDialog {
    Q_OBJECT
public:
    static constexpr int Width = 303; // client area
    static constexpr int Height = 332;
    static constexpr QPoint Proposal{244, 180}; // design position

    // `hive` holds the window's position ("frmSetupTop", "frmSetupLeft"); it must outlive the
    // window.
    explicit TfrmSetup(SettingsHive& hive, QWidget* parent = nullptr);
    ~TfrmSetup() override;

    // Fills the controls from the fields, moves the window where it was last closed and shows
    // it modally; returns when it closes.
    void Zobraz();

    // The name-day language and the widget's settings; the display time is shown and handed
    // back in whole seconds.
    bool JazykSK = true;
    WidgetSettings Settings;
    bool Potvrdene = false;

    void done(int result) override;

    // Offers the calendar sync at the window's foot, since a desktop without a tray reaches it
    // only here: "Nastavenie synchronizácie…" calls `openSettings`, "Synchronizovať" starts a
    // sync of `sync`, and reads what a running one is doing. `sync` must outlive the window.
    void OfferSync(CalendarSyncRunner& sync, std::function<void()> openSettings);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetLanguage(bool sk);
    void chkStaleClick();
    void imgOKClick();

    SettingsHive& hive_;
    std::unique_ptr<TRegi> regi_; // only while shown

    QLabel* imgPozadie = nullptr;
    QWidget* imgHornaLista = nullptr;
    PictureButton* imgSK = nullptr;
    PictureButton* imgCZ = nullptr;
    QPixmap imgSKstisknute, imgSKnestisknute, imgCZstisknute, imgCZnestisknute;
    QButtonGroup* languages_ = nullptr;
    QToolButton* btnSK = nullptr;
    QToolButton* btnCZ = nullptr;
    QCheckBox* chkStale = nullptr;
    QLabel* imgSec = nullptr;
    QPixmap imgSec1, imgSec2; // normal and greyed look
    QLineEdit* txtShow = nullptr;
    QLineEdit* txtDopredu = nullptr;
    QCheckBox* chkStartup = nullptr;
    QCheckBox* chkPamatat = nullptr;
    QButtonGroup* sounds_ = nullptr;
    QRadioButton* optNikdy = nullptr;
    QRadioButton* optPriPrvom = nullptr;
    QRadioButton* optPriKazdom = nullptr;
    PictureButton* imgOK = nullptr;
    QPushButton* btnSyncSettings = nullptr;
    QPushButton* btnSync = nullptr;
};

} // namespace tilava
