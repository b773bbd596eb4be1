#pragma once

#include "core/uRok.h"
#include "model/ButtonHover.h"
#include "model/DayTexts.h"
#include "model/FadeCountdown.h"
#include "model/WidgetModel.h"
#include "ui/controls/ReminderBars.h"
#include "ui/controls/SkinControls.h"
#include "ui/desktop/WindowAbilities.h"
#include "ui/skin/WidgetPicture.h"

#include <QList>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QSystemTrayIcon>
#include <QWidget>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

class QLabel;
class QTimer;

namespace tilava {

class CalendarSyncRunner;
class Clock;
class LocalDateFormat;
class NotesFolderWatch;
class Notifier;
class PageOpener;
class PictureButton;
class ReminderText;
class SettingsHive;
class TRegi;
class WidgetButtons;
class WidgetTray;
class WindowFade;

// The main widget: a narrow borderless window in the top right corner with today's day number,
// weekday and names, the flag of the name-day language, four small buttons and under them a
// coloured bar for each of the user's reminders. It fades out after ShowTime, shows tomorrow
// while the pointer rests on it, and is dragged by its top left strip.
//
// The controls are children named as in the designer (imgMain, lblDatum, lblSviatok1, ...),
// stacked bottom to top in the order they are created; the event bars lie below all of them.
class TfrmMain final : public QWidget {
    Q_OBJECT
public:
    static constexpr int Width = 170;       // window width
    static constexpr int HeaderHeight = 85; // header height, where the event list starts
    static constexpr int TextWidth = 150;   // width of the event text
    // The day page of the header picture, on which the weekday and the day number stand, and
    // the red band along its top (2.5 pixels, rounded up).
    static constexpr QRect DaySide{3, 22, 65, 59};
    static constexpr int SideBand = 3;
    static constexpr int BarIndent = ReminderBars::Indent;
    static constexpr int BarGap = ReminderBars::Gap;

    // Tells whether the desktop has a tray for the icon; asked at start and, while there is
    // none, for a while after (a panel may come up after us).
    using TrayAvailable = std::function<bool()>;

    // Runs the start-up: settings, calendar, notes store on `folder`, the reminder list, the
    // alert beep and the tray icon (when the desktop has a tray). The borrowed objects must
    // outlive the widget.
    TfrmMain(const Clock& clock, SettingsHive& hive, std::filesystem::path folder,
             Notifier& notifier, TrayAvailable trayAvailable = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Fade countdown: stop it at full opacity / restart it at full opacity.
    void ZastavOdpocet();
    void SpustiOdpocet();
    // One tick of the 100 ms fade timer.
    void tmrTimerTimer();
    // The pointer moves over the day area: tomorrow's texts, the leave check starts.
    void MysNadFormom();
    // One tick of the 100 ms leave check: back to today once the pointer is outside. It stands
    // beside the leave event, for a leave that the window system did not report.
    void tmrNadFormomTimer();
    // Rebuilds the names, the reminder bars, the window height and the flag.
    void ZobrazUdalosti();
    // Shows the widget from the tray or at a second start: full opacity, fresh countdown.
    void Ukaz();
    // The tray icon was clicked: the left button shows the widget, the right one hides it
    // (its menu then opens).
    void TrayIconActivated(QSystemTrayIcon::ActivationReason reason);
    // "Ukončit": the program ends; a window of a command that is open closes first, with its
    // own close reaction (the week window saves and stores its place).
    void Quit();
    // The session ends (logout, shutdown, a termination signal): as "Ukončit", but the open
    // windows close right now, before this returns, so that the week window has saved its
    // entries when the system ends the process soon after.
    void EndSession();
    // One tick of the 5 s timer: records today's date in "Now" and, when the date has
    // changed since the display was built (midnight, a wake from sleep), builds it anew.
    void tmrZapisTimer();
    // Switches the name-day language (a click on the flag).
    void SwitchLanguage();
    // A button went down on the day area, the names, the reminders or the window: the right
    // button opens the settings, any other the week window.
    void MyskaKlik(Qt::MouseButton button);
    // The week window on this week; afterwards the reminders are built anew.
    void OtvorKalendar();
    // The settings window; afterwards the display follows what was chosen.
    void OtvorNastavenia();
    // The about window, to the left of the widget.
    void OpenAbout();
    // The calendar export or the contact import from the tray menu, with its file dialog and
    // report; the reminders are built anew afterwards. The tray works while the other windows
    // are open, so this may come while one is: the import runs then too (the store joins what
    // it writes with what the week window saves later), the export waits for the week window
    // to close (its unsaved changes would be missing), and a second one waits for the first;
    // the user is told why.
    enum class Exchange { Export, Import };
    void CalendarExchange(Exchange which);
    // The calendar sync's settings dialog from the tray menu or the settings window, over the
    // window that is open; a sync follows when `thenSync` (the user chose "Synchronizovať"
    // before it was set up).
    void OpenSyncSettings(bool thenSync);
    // The calendar sync: from the tray, by its timer and after the week window saves.
    CalendarSyncRunner& Sync() { return *sync_; }

    // The shared objects the other windows borrow.
    TRok& Rok() { return model_->Rok(); }
    TRegi& Regi() { return model_->Regi(); }
    // What the widget shows and does.
    const WidgetModel& Model() const { return *model_; }

    // The tray icon's tooltip text, built at start-up and again when the date changes.
    const QString& TextTooltipu() const { return tooltip_; }
    // The tray icon, when the desktop has a tray.
    QSystemTrayIcon* Tray() const;
    int PocetUdalosti() const { return model_->ReminderCount(); }
    // Lines of the entries of days the program did not run, listed above today's reminders
    // until a click on one of them or the end of the countdown.
    int MissedCount() const { return static_cast<int>(model_->MissedCount()); }
    int PocetPruhov() const { return static_cast<int>(bars_->Count()); }
    const FadeCountdown& Countdown() const { return countdown_; }
    const ButtonHover& Hover() const;
    bool TomorrowView() const { return tomorrow_; }
    bool JazykSK() const { return model_->Rok().JazykSK; }

    // The settings read at start-up, as the settings window changed them since.
    const WidgetSettings& Settings() const { return model_->Settings(); }

signals:
    // The widget was closed: the program ends.
    void closed();

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void CreateControls();
    // The calendar sync: its runner and the tray's items for it.
    void ConnectSync();
    // Hides the widget after the countdown or by its button; on a desktop without a tray it
    // goes to the task bar instead, so that it can always be brought back (on Wayland, where a
    // program cannot bring a minimised window back, it is hidden, and a second start shows it).
    void HideWidget();
    // The tooltip and the tray icon's day number, for the day shown.
    void SetTooltip();
    int DayOfMonth() const;
    // Goes on with "Ukončit" once no window of a command is open any more.
    void CloseAfterWindows();
    // Draws the model: the names, the reminder bars, the window height and the flag.
    void Draw(bool newDay);
    // The reminders that fit between the header and the bottom of the screen's free area, and
    // when not all of them do, a last bar that tells how many are left out (a click on it opens
    // the week window, as a click on the others does). Returns the bottom of the last bar.
    int ShowReminders();
    // The free area (without panels) of the screen the widget's header is on.
    QRect AvailableArea() const;
    // Moves the widget so that its header lies inside that area, when it does not.
    void KeepOnScreen();
    // The free area of a screen changed, or a screen went.
    void AvailableAreaChanged();
    // Today's texts again, the leave check stopped and no button lit: the pointer has left.
    void ShowToday();
    void ZobrazMena(bool whole);
    void ShowTexts(const DayTexts& texty, bool whole);
    void SetOpacity();
    void fraCmdMouseDown(QPoint point);
    void fraCmdMouseMove(QPoint point);
    void fraCmdMouseUp();
    // The missed days are put away: after a click on them or the countdown's end.
    void ClearMissed();
    // Runs the command that opens a window, with the countdown stopped and no other command's
    // window at the same time; false when it did not run or "Ukončit" came meanwhile.
    bool WithOpenWindow(const std::function<void()>& command);
    // The same over a window that is open already (a command from the tray).
    bool WithWindow(const std::function<void()>& command);
    // Shows the pending message about unreadable day files once the widget is on the screen.
    void ScheduleMessage();

    const Clock& clock_;
    SettingsHive& hive_;
    Notifier& notifier_;
    std::unique_ptr<PageOpener> web_;
    int openWindows_ = 0;           // windows of commands open now, one over another
    bool weekOpen_ = false;         // among them the week window
    bool exchanging_ = false;       // among them the file dialog of an export or import
    bool syncSettingsOpen_ = false; // among them the sync's settings dialog
    bool quitting_ = false;         // Koniec: the program is ending
    bool closed_ = false;           // the close reaction has run
    std::unique_ptr<LocalDateFormat> dateFormat_;
    std::unique_ptr<WidgetModel> model_;

    WindowAbilities abilities_;
    std::unique_ptr<WindowFade> fade_;
    FadeCountdown countdown_;
    WindowDrag drag_;
    bool tomorrow_ = false;
    int opacity_ = FadeCountdown::FullOpacity; // what the window was given
    QString tooltip_;
    QString message_;      // about unreadable day files, not shown yet
    bool painted_ = false; // the widget has been painted once: a message may open now

    QTimer* tmrTimer_ = nullptr;
    QTimer* tmrNadFormom_ = nullptr;
    QTimer* tmrZapis_ = nullptr;
    WidgetTray* tray_ = nullptr;
    CalendarSyncRunner* sync_ = nullptr;
    NotesFolderWatch* notesWatch_ = nullptr; // day files changed by any program
    QList<QPointer<QWidget>> closing_;       // windows "Ukončit" has asked to close

    // Controls, bottom of the stacking order first.
    QLabel* imgMain_ = nullptr;
    QLabel* lblSviatok1_ = nullptr;
    QLabel* lblDatum_ = nullptr;
    QLabel* lblSviatok2_ = nullptr;
    ReminderText* lblNote_ = nullptr;
    WidgetButtons* buttons_ = nullptr;
    PictureButton* imgSetup_ = nullptr;
    PictureButton* imgHelp_ = nullptr;
    PictureButton* imgMin_ = nullptr;
    PictureButton* imgClose_ = nullptr;
    QLabel* lblSviatok3_ = nullptr;
    QLabel* lblDnes_ = nullptr;
    QLabel* lblDen_ = nullptr;
    QWidget* imgHornaLista_ = nullptr;
    PictureButton* imgFlag_ = nullptr;
    QLabel* imgDrag_ = nullptr;
    QWidget* image1_ = nullptr;
    std::unique_ptr<ReminderBars> bars_;
    WidgetPicture imgSK_{QStringLiteral("main_flag_sk")}, imgCZ_{QStringLiteral("main_flag_cz")},
        tomorrowPicture_{QStringLiteral("main_tomorrow")};
};

} // namespace tilava
