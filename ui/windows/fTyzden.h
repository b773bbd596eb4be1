#pragma once

#include "model/IWeekWindow.h"

#include <QDialog>

#include <array>
#include <vector>

class QCalendarWidget;
class QDateEdit;
class QLabel;
class QListWidget;
class QMenu;
class QTimer;

namespace tilava {

class Clock;
class Notifier;
class PageOpener;
class PictureButton;
class TTyzden;
class WeekDayRow;
class WeekSearch;

// The week window "Kalendár": seven day rows, Monday on top, each with the day of the month in
// large digits, the weekday, up to two calendar entries and the list of the user's entries;
// above them the month, the week navigator, the date picker and the today button, below them
// the name search with up to three results and the save button. It draws the week model and
// turns what the user does into the model's numbered commands (Prikaz).
//
// The controls are children named as in the designer (imgPozadie, shpSel, lblTyzden,
// dtpDatum, txtFind, Label1, ...); the run-time controls of row i are lblDen<i>,
// lblDenTyzdna<i>, lblPrvy<i>, lblDruhy<i> and lstDen<i>, so tests find them by name.
class TfrmTyzden final : public QDialog, public IWeekWindow {
    Q_OBJECT
public:
    static constexpr int Width = 527; // client area
    static constexpr int Height = 552;
    // The maker's page behind the header.
    static const QString WebAddress;

    // `clock` gives "now" (the today button, the jump to a result), `notifier` shows messages,
    // `web` opens the maker's page. All must outlive the window.
    TfrmTyzden(const Clock& clock, Notifier& notifier, PageOpener& web, QWidget* parent = nullptr);
    ~TfrmTyzden() override;

    // Shows the week of `week` modally; returns when the window has closed.
    void Ukaz(TTyzden& week) override;

    // Runs one window command under Zaneprazdneny; the model's answer, or 666 when the
    // command was dropped or refused.
    int Prikaz(int code);
    void ZobrazTyzden();
    void ZobrazDen(int i);
    void ZobrazVyber();

    // Saves the seven days (asking what to do when that fails), stores the position and
    // closes. The save button, Escape and the close box all come here.
    void Close();
    void reject() override { Close(); }

    // A command is running, or the window has not been activated yet: commands are dropped.
    bool Zaneprazdneny = true;
    int CielovyDen = 0;     // the day command 300 selects
    int KliknutyRiadok = 0; // 1-based row command 500 edits; 0 adds an entry

    QListWidget* DayList(int i) const;

    // The day files may have changed on disk: the days the user has not changed show what is
    // there now; while a command or the editor runs, a moment later.
    void ReloadDays();

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateRows();
    void SetAccessibility();
    void ConnectButtons();
    void PointerOverBackground();
    int RunCommand(int code);
    int MoveTo(int code);
    void LClick(int k);
    void SetPickerDate();
    void ReportLoadErrors();
    void ReportMerge();
    bool Editable();
    bool MKeyDown(QListWidget* list, int key);
    void MMouseUp(QListWidget* list, Qt::MouseButton button, QPoint point, QPoint global);
    void MDblClick(QListWidget* list);
    void ImageClick(int date);
    void ReadPosition();
    void DateChosen();
    void CalendarMade(QCalendarWidget* calendar);
    void SetCalendarQuiet(bool quiet);

    const Clock& clock_;
    Notifier& notifier_;
    PageOpener& web_;
    TTyzden* model_ = nullptr;
    bool closed_ = false;
    bool saveAwake_ = false; // the pointer has been over the background: the save button lights
    bool keepFocus_ = false; // a date from the date field: the focus stays there
    bool reloading_ = false;
    QTimer* reloadLater_ = nullptr;
    QWidget* calendarPopup_ = nullptr; // the date field's calendar, once made

    QLabel* imgPozadie = nullptr;
    QWidget* shpSel = nullptr;
    QLabel* lblTyzden = nullptr;
    PictureButton* imgTminus = nullptr;
    PictureButton* imgTplus = nullptr;
    QLabel* lblmesiacrok = nullptr;
    QDateEdit* dtpDatum = nullptr;
    PictureButton* imgDnes = nullptr;
    PictureButton* Image1 = nullptr;          // the header, a link to the maker's page
    std::array<PictureButton*, 7> imgImage{}; // the day areas
    WeekSearch* search_ = nullptr;            // txtFind, its results and their arrows
    QLabel* lblVelkaPondelok = nullptr;
    QLabel* lblVelkaNoc = nullptr;
    QLabel* lblVelkaNedela = nullptr;
    PictureButton* imgUlozit = nullptr;
    QMenu* PopupMenu1 = nullptr;
    std::vector<WeekDayRow> rows_;
};

} // namespace tilava
