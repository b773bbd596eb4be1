#include "ui/windows/fTyzden.h"

#include "core/CalendarWords.h"
#include "core/Clock.h"
#include "core/uRok.h"
#include "model/uTyzden.h"
#include "store/uRegi.h"
#include "ui/controls/PictureButton.h"
#include "ui/controls/SkinControls.h"
#include "ui/controls/TabOrder.h"
#include "ui/desktop/Notifier.h"
#include "ui/desktop/PageOpener.h"
#include "ui/skin/Palette.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/QtDate.h"
#include "ui/windows/WeekDatePicker.h"
#include "ui/windows/WeekDayRow.h"
#include "ui/windows/WeekLook.h"
#include "ui/windows/WeekSearch.h"
#include "ui/windows/ZelmAddresses.h"

#include <QCalendarWidget>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTableView>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>
#include <functional>
#include <utility>

namespace tilava {

using namespace std::chrono;

const QString TfrmTyzden::WebAddress = ZelmAddresses::HomePage;

namespace {

constexpr int ErrorPrefix = TTyzden::NotDone;

// The frame of the selected day: a rounded rectangle, filled, with a thin black edge.
class Shape final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(palette::kWeekSelection);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }
};

} // namespace

TfrmTyzden::TfrmTyzden(const Clock& clock, Notifier& notifier, PageOpener& web, QWidget* parent)
    : QDialog(parent), clock_(clock), notifier_(notifier), web_(web) {
    // FormCreate: no command runs before the window has been activated.
    Zaneprazdneny = true;
    setObjectName(QStringLiteral("frmTyzden"));
    // Modal to the windows it belongs to, not to the whole program: the tray icon keeps working.
    setWindowModality(Qt::WindowModal);
    setWindowTitle(QStringLiteral("Kalendár"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(Width, Height);
    move(223, 150);
    setFont(week::Font(11, false));
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, Qt::white);
    setPalette(paleta);
    setAutoFillBackground(true);

    const auto image = [](const char* meno, QSize size, const QColor& color = palette::kWeekSky) {
        return LoadSkinPicture(QLatin1String(meno), color, size);
    };

    imgPozadie = PictureLabel(this, "imgPozadie", QRect(0, 0, 620, 645));
    imgPozadie->setPixmap(image("week_background", QSize(620, 645), Qt::white));
    shpSel = new Shape(this);
    shpSel->setObjectName(QStringLiteral("shpSel"));
    shpSel->setGeometry(14, 201, 168, 54);
    shpSel->setAttribute(Qt::WA_TransparentForMouseEvents);

    lblTyzden = week::Label(this, QStringLiteral("lblTyzden"), QPoint(235, 58),
                            week::Font(13, true), palette::kWeekNavy, QStringLiteral("4. týždeň"));
    lblTyzden->setGeometry(235, 58, 78, 16);
    lblTyzden->setAlignment(Qt::AlignCenter);
    imgTminus =
        week::Button(this, QStringLiteral("imgTminus"), QRect(191, 53, 16, 24),
                     QStringLiteral("Predchádzajúci týždeň"), image("week_prev", QSize(16, 24)));
    imgTplus =
        week::Button(this, QStringLiteral("imgTplus"), QRect(340, 53, 16, 24),
                     QStringLiteral("Nasledujúci týždeň"), image("week_next", QSize(16, 24)));
    lblmesiacrok = week::Label(this, QStringLiteral("lblmesiacrok"), QPoint(48, 58),
                               week::Font(13, true), palette::kWeekNavy, QStringLiteral("Mesiac"));

    dtpDatum = new DatePicker(
        this, [this] { DateChosen(); },
        [this](QCalendarWidget* calendar) { CalendarMade(calendar); });
    dtpDatum->setObjectName(QStringLiteral("dtpDatum"));
    dtpDatum->setGeometry(371, 55, 90, 21);
    dtpDatum->setCalendarPopup(true);
    dtpDatum->setDisplayFormat(QStringLiteral("d.M.yyyy"));
    dtpDatum->setDateRange(QDate(1601, 1, 1), QDate(9999, 12, 24));
    dtpDatum->setLocale(QLocale(QLocale::Slovak, QLocale::Slovakia));
    dtpDatum->setKeyboardTracking(false);
    dtpDatum->setFont(week::Font(11, false));
    {
        QPalette p = dtpDatum->palette();
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::Text, palette::kWeekNavy);
        dtpDatum->setPalette(p);
    }

    imgDnes = week::Button(
        this, QStringLiteral("imgDnes"), QRect(473, 52, 40, 25), QStringLiteral("Tento týždeň"),
        image("week_today_normal", QSize(40, 25)), image("week_today_hover", QSize(40, 25)));

    Image1 = week::Button(this, QStringLiteral("Image1"), QRect(0, 0, 529, 49),
                          QStringLiteral("Choď na: ") + WebAddress);
    Image1->setLink(true);
    // The header is a link for the mouse and assistive technology; Tab passes it by.
    Image1->setFocusPolicy(Qt::NoFocus);
    // The day areas: a click selects the day; the pointer stays an arrow over them.
    const int hore[] = {96, 150, 206, 262, 316, 372, 427};
    for (int i = 0; i < 7; ++i) {
        PictureButton* area = week::Button(this, QStringLiteral("imgImage%1").arg(i + 1),
                                           QRect(15, hore[i], 169, 54), {});
        area->unsetCursor();
        area->setFocusPolicy(Qt::NoFocus);
        imgImage[static_cast<std::size_t>(i)] = area;
    }

    search_ = new WeekSearch(this, Width, imgPozadie->pixmap());

    const auto velkonocna = [this](const char* meno, int y, const char* text) {
        QLabel* l = week::Label(this, QLatin1String(meno), QPoint(60, y), week::Font(11, false),
                                palette::kWeekRed);
        week::FitText(l, QString::fromUtf8(text), l->font(), 120);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->hide();
        return l;
    };
    lblVelkaPondelok = velkonocna("lblVelkaPondelok", 110, "Veľkonočný pondelok");
    lblVelkaNoc = velkonocna("lblVelkaNoc", 330, "Veľkonočný piatok");
    lblVelkaNedela = velkonocna("lblVelkaNedela", 440, "Veľkonočná nedeľa");

    imgUlozit =
        week::Button(this, QStringLiteral("imgUlozit"), QRect(414, 527, 100, 25),
                     QStringLiteral("Uložiť a zavrieť"), image("week_save_normal", QSize(100, 25)),
                     image("week_save_hover", QSize(100, 25)));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* delete1 = PopupMenu1->addAction(QStringLiteral("Vymazať poznámku"));
    delete1->setObjectName(QStringLiteral("Delete1"));
    connect(delete1, &QAction::triggered, this, [this] {
        Prikaz(400);
        ZobrazTyzden();
    });

    CreateRows();

    connect(search_->Field(), &QLineEdit::textChanged, this, [this] { Prikaz(100); });

    SetAccessibility();
    ConnectButtons();

    // The background's moves.
    imgPozadie->installEventFilter(this);

    reloadLater_ = new QTimer(this);
    reloadLater_->setSingleShot(true);
    reloadLater_->setInterval(200);
    connect(reloadLater_, &QTimer::timeout, this, &TfrmTyzden::ReloadDays);
}

// The calendar is made when it first opens: until then no calendar follows the dates the
// window shows. Closed again, it follows them without telling assistive technology (each move
// would be read out as a focused cell).
void TfrmTyzden::CalendarMade(QCalendarWidget* calendar) {
    calendar->setFirstDayOfWeek(Qt::Monday);
    connect(calendar, &QCalendarWidget::clicked, this,
            [this] { search_->Field()->setFocus(Qt::OtherFocusReason); });
    calendarPopup_ = calendar->window();
    calendarPopup_->installEventFilter(this);
}

void TfrmTyzden::SetCalendarQuiet(bool quiet) {
    if (auto* cells = calendarPopup_->findChild<QTableView*>()) {
        cells->selectionModel()->blockSignals(quiet);
        cells->model()->blockSignals(quiet);
        if (!quiet)
            cells->viewport()->update();
    }
}

void TfrmTyzden::DateChosen() {
    if (!model_ || dtpDatum->date() == ToQDate(model_->Datum().date))
        return;
    // The focus stays where the user has it: in the field, so that the arrows and the typing
    // go on from there, or where Tab took it.
    keepFocus_ = true;
    Prikaz(TTyzden::GoToDate);
    keepFocus_ = false;
}

void TfrmTyzden::ConnectButtons() {
    // A press from the keyboard leaves the focus on the week's buttons, so that they can be
    // pressed again; the week's commands themselves hand it to the selected day.
    const auto press = [this](PictureButton* button, auto action) {
        connect(button, &PictureButton::clicked, this, [this, button, action] {
            const bool focused = button->hasFocus();
            action();
            if (focused && isVisible() && button->isVisible())
                button->setFocus(Qt::OtherFocusReason);
        });
    };
    press(imgTminus, [this] { Prikaz(TTyzden::WeekBack); });
    press(imgTplus, [this] { Prikaz(TTyzden::WeekForward); });
    press(imgDnes, [this] { Prikaz(TTyzden::Today); });
    press(search_->EarlierArrow(), [this] { Prikaz(TTyzden::EarlierResults); });
    press(search_->LaterArrow(), [this] { Prikaz(TTyzden::LaterResults); });
    press(imgUlozit, [this] { Close(); });
    press(Image1, [this] {
        if (!web_.Open(QUrl(WebAddress)))
            notifier_.Message(this, QStringLiteral("Nepodarilo sa otvoriť webový prehliadač."));
    });
    for (int k = 1; k <= 3; ++k)
        press(search_->Result(k), [this, k] { LClick(k); });
    for (int i = 0; i < 7; ++i)
        press(imgImage[static_cast<std::size_t>(i)], [this, i] { ImageClick(i + 1); });

    // The save button lights only once the pointer has been over the background, the today
    // button at once; moves over the other buttons are moves over the background, and leaving
    // either button puts both out.
    connect(imgUlozit, &PictureButton::pointerMoved, this, [this] {
        if (saveAwake_)
            imgUlozit->setLit(true);
    });
    connect(imgDnes, &PictureButton::pointerMoved, this, [this] { imgDnes->setLit(true); });
    for (PictureButton* button : {imgUlozit, imgDnes})
        connect(button, &PictureButton::pointerLeft, this, &TfrmTyzden::PointerOverBackground);
    for (PictureButton* button :
         {imgTminus, imgTplus, Image1, search_->EarlierArrow(), search_->LaterArrow(),
          search_->Result(1), search_->Result(2), search_->Result(3)})
        connect(button, &PictureButton::pointerMoved, this, &TfrmTyzden::PointerOverBackground);
    for (PictureButton* button : imgImage)
        connect(button, &PictureButton::pointerMoved, this, &TfrmTyzden::PointerOverBackground);
}

void TfrmTyzden::PointerOverBackground() {
    saveAwake_ = true;
    imgUlozit->setLit(false);
    imgDnes->setLit(false);
}

TfrmTyzden::~TfrmTyzden() = default;

void TfrmTyzden::SetAccessibility() {
    setAccessibleDescription(QStringLiteral(
        "Kliknutím do zoznamu dňa pridáte udalosť, dvojklikom ju upravíte. Z klávesnice: Enter "
        "pridá udalosť alebo upraví vybranú, Insert pridá udalosť, Delete vybranú vymaže."));
    imgPozadie->setAccessibleName(QStringLiteral("Tilava – Kalendár mien a sviatkov"));
    shpSel->setAccessibleName(QStringLiteral("Vybraný deň"));
    dtpDatum->setAccessibleName(QStringLiteral("Dátum"));

    Image1->setAccessibleName(QStringLiteral("Tilava – Kalendár mien a sviatkov"));
    imgTminus->setAccessibleName(QStringLiteral("Predchádzajúci týždeň"));
    imgTplus->setAccessibleName(QStringLiteral("Nasledujúci týždeň"));
    imgDnes->setAccessibleName(QStringLiteral("Dnes"));
    imgDnes->setAccessibleDescription(QStringLiteral("Tento týždeň"));
    // The results are named by the result they show, the day areas by their day. The day areas
    // are pressable by assistive technology; from the keyboard the day's list selects the day
    // when it takes the focus.
    imgUlozit->setAccessibleName(QStringLiteral("Uložiť"));
    imgUlozit->setAccessibleDescription(QStringLiteral("Uložiť a zavrieť"));

    // The week's navigation, the date picker, the search with its results, the day lists and
    // the save button; the date picker hands over to the search box.
    SetTabOrder({imgTminus, imgTplus, imgDnes, dtpDatum, search_->Field(), search_->EarlierArrow(),
                 search_->Result(1), search_->Result(2), search_->Result(3), search_->LaterArrow(),
                 DayList(1)});
    SetTabOrder({DayList(1), DayList(2), DayList(3), DayList(4), DayList(5), DayList(6), DayList(7),
                 imgUlozit});
}

void TfrmTyzden::CreateRows() {
    const QFont digits = WeekDayRow::DigitsFont();
    rows_.reserve(7);
    for (int i = 1; i <= 7; ++i) {
        rows_.emplace_back(this, i, digits, imgImage[static_cast<std::size_t>(i - 1)]);
        rows_.back().List()->installEventFilter(this);
        rows_.back().List()->viewport()->installEventFilter(this);
    }
}

void TfrmTyzden::Ukaz(TTyzden& week) {
    model_ = &week;
    exec();
    model_ = nullptr;
}

void TfrmTyzden::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!model_ || event->spontaneous())
        return;
    ZobrazTyzden();
    // The controls' change events of the set-up have passed; faults of the first week are
    // told once the window is on the screen.
    QTimer::singleShot(0, this, [this] {
        Zaneprazdneny = false;
        ReportLoadErrors();
    });
}

void TfrmTyzden::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        // FormActivate, also when the event editor or a message closes.
        Zaneprazdneny = false;
        ReadPosition();
    }
}

void TfrmTyzden::ReadPosition() {
    if (!model_)
        return;
    const TRegi& regi = model_->Regi();
    if (const int hore = regi.CitajHodnotu("frmTyzdenTop"))
        move(x(), hore);
    if (const int vlavo = regi.CitajHodnotu("frmTyzdenLeft"))
        move(vlavo, y());
}

void TfrmTyzden::closeEvent(QCloseEvent* event) {
    Close();
    QDialog::closeEvent(event);
}

int TfrmTyzden::Prikaz(int code) {
    if (Zaneprazdneny || !model_)
        return ErrorPrefix;
    Zaneprazdneny = true;
    struct Uvolni {
        bool& zaneprazdneny;
        ~Uvolni() { zaneprazdneny = false; }
    } uvolni{Zaneprazdneny};
    return RunCommand(code);
}

int TfrmTyzden::RunCommand(int code) {
    TTyzden& m = *model_;
    switch (code) {
    case TTyzden::Search: {
        search_->ClearResults();
        search_->HideArrows();
        if (!search_->Searchable()) {
            search_->ShowTooShort();
            return ErrorPrefix;
        }
        m.SetSearched(search_->Field()->text().toStdString());
        const int result = m.Vykonaj(code);
        if (result == TTyzden::Done)
            search_->ShowResults(m);
        return result;
    }
    case TTyzden::GoToDate:
        m.NastavDatum({ToDay(dtpDatum->date()), m.Datum().timeOfDay});
        return MoveTo(code);
    case 300:
        if (CielovyDen >= 1 && CielovyDen <= 7 && CielovyDen != m.VybranyDen()) {
            m.VyberDen(CielovyDen);
            ZobrazVyber();
        }
        return ErrorPrefix;
    case 400:
        if (Editable())
            m.ZmazZaznam();
        return ErrorPrefix;
    case TTyzden::EditEntry: {
        if (!Editable())
            return ErrorPrefix;
        m.SetEntryYear(static_cast<int>(m.Datum().Datum().year()));
        m.NastavZaznam(KliknutyRiadok);
        const int result = m.Vykonaj(code);
        // The window is active again once the editor has closed, on every desktop.
        ReadPosition();
        if (result == TTyzden::Done)
            ZobrazDen(m.VybranyDen());
        return result;
    }
    case TTyzden::Today:
        m.NastavDatum(clock_.Now());
        return MoveTo(code);
    case TTyzden::WeekBack:
    case TTyzden::WeekForward:
        return MoveTo(code);
    case TTyzden::EarlierResults:
    case TTyzden::LaterResults: {
        const int result = m.Vykonaj(code);
        if (result == TTyzden::Done)
            search_->ShowResults(m);
        return result;
    }
    default:
        return ErrorPrefix;
    }
}

bool TfrmTyzden::Editable() {
    if (model_->Editable(model_->VybranyDen()))
        return true;
    notifier_.Message(
        this, QStringLiteral("Tento deň sa nedá upravovať, lebo jeho súbor %1 sa "
                             "nepodarilo prečítať celý.")
                  .arg(QString::fromStdString(
                      model_->Poznamky(model_->VybranyDen()).NazovSuboru().filename().string())));
    return false;
}

void TfrmTyzden::ZobrazTyzden() {
    if (!model_)
        return;
    const TTyzden& m = *model_;
    search_->ClearResults();
    for (QLabel* l : {lblVelkaNoc, lblVelkaNedela, lblVelkaPondelok})
        l->hide();
    for (int i = 1; i <= 7; ++i) {
        switch (m.EasterDayOf(i)) {
        case EasterDay::EasterSunday:
            lblVelkaNoc->show();
            lblVelkaNedela->show();
            break;
        case EasterDay::EasterMonday:
            lblVelkaPondelok->show();
            break;
        case EasterDay::GoodFriday:
        case EasterDay::NotEaster:
            break;
        }
        rows_[static_cast<std::size_t>(i - 1)].ShowDay(m);
        ZobrazDen(i);
    }
    lblTyzden->setText(QString::number(m.CisloTyzdna()) + QStringLiteral(". týždeň"));
    ZobrazVyber();
}

QListWidget* TfrmTyzden::DayList(int i) const {
    return rows_.at(static_cast<std::size_t>(i - 1)).List();
}

void TfrmTyzden::ZobrazDen(int i) {
    rows_.at(static_cast<std::size_t>(i - 1)).ShowLines(*model_);
}

void TfrmTyzden::ZobrazVyber() {
    if (!model_)
        return;
    const TTyzden& m = *model_;
    const int vybrany = m.VybranyDen();
    for (WeekDayRow& row : rows_)
        row.SetLook(model_);
    shpSel->move(shpSel->x(), DayList(vybrany)->y() - 1);
    SetPickerDate();
    const year_month_day datum = m.Datum().Datum();
    lblmesiacrok->setText(week::Text(Mesiace[static_cast<unsigned>(datum.month())]) +
                          QLatin1Char(' ') + QString::number(static_cast<int>(datum.year())));
    lblmesiacrok->adjustSize();
    for (const WeekDayRow& row : rows_) {
        row.List()->clearSelection();
        row.List()->setCurrentRow(-1);
    }
    if (!keepFocus_)
        DayList(vybrany)->setFocus(Qt::OtherFocusReason);
}

// The date picker follows the model without raising its change.
void TfrmTyzden::SetPickerDate() {
    const QSignalBlocker ticho(dtpDatum);
    dtpDatum->setDate(ToQDate(model_->Datum().date));
}

void TfrmTyzden::LClick(int k) {
    if (!model_ || !search_->HasResult(k))
        return;
    // The day of the result in the current year.
    const auto target = model_->ResultDay(k, clock_.Now().Datum().year());
    if (!target)
        return;
    {
        const QSignalBlocker ticho(dtpDatum);
        dtpDatum->setDate(ToQDate(*target));
    }
    Prikaz(TTyzden::GoToDate);
    search_->Field()->clear();
}

void TfrmTyzden::ImageClick(int date) {
    if (model_ && date != model_->VybranyDen()) {
        model_->VyberDen(date);
        ZobrazVyber();
    }
}

bool TfrmTyzden::MKeyDown(QListWidget* list, int key) {
    const int lineCount = list->count();
    if ((key == Qt::Key_Up || key == Qt::Key_Down) && lineCount > 0 &&
        list->selectedItems().isEmpty()) {
        // Nothing is highlighted yet: the first arrow highlights the first row.
        list->setCurrentRow(0);
        return true;
    }
    switch (key) {
    case Qt::Key_Up:
        if (lineCount == 0 || list->item(0)->isSelected()) {
            CielovyDen = model_->VybranyDen() - 1;
            Prikaz(300);
            return true;
        }
        return false;
    case Qt::Key_Down:
        if (lineCount == 0 || list->item(lineCount - 1)->isSelected()) {
            CielovyDen = model_->VybranyDen() + 1;
            Prikaz(300);
            return true;
        }
        return false;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Insert:
        // The keyboard's click and double click: Enter edits the highlighted entry or adds
        // one, Insert always adds one.
        KliknutyRiadok =
            key != Qt::Key_Insert && list->currentItem() && list->currentItem()->isSelected()
                ? list->currentRow() + 1
                : 0;
        Prikaz(TTyzden::EditEntry);
        return true;
    case Qt::Key_Delete:
        if (list->currentItem() && list->currentItem()->isSelected()) {
            model_->NastavZaznam(list->currentRow());
            Prikaz(400);
            ZobrazTyzden();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void TfrmTyzden::MMouseUp(QListWidget* list, Qt::MouseButton button, QPoint point, QPoint global) {
    CielovyDen = list->property("tag").toInt();
    const bool vybrany = list->currentItem() && list->currentItem()->isSelected();
    if (button == Qt::LeftButton) {
        if (list->count() == 0) {
            KliknutyRiadok = 0;
            Prikaz(TTyzden::EditEntry);
            return;
        }
        const QModelIndex index = list->indexAt(point);
        KliknutyRiadok = index.isValid() ? index.row() + 1 : 0;
        if (KliknutyRiadok == 0)
            Prikaz(TTyzden::EditEntry);
        else if (vybrany)
            model_->NastavZaznam(list->currentRow());
    } else if (button == Qt::RightButton && vybrany) {
        model_->NastavZaznam(list->currentRow());
        PopupMenu1->exec(global);
    }
}

void TfrmTyzden::MDblClick(QListWidget* list) {
    int line = 0;
    for (int r = 0; r < list->count(); ++r)
        if (list->item(r)->isSelected())
            line = r + 1;
    if (line > 0) {
        KliknutyRiadok = line;
        Prikaz(TTyzden::EditEntry);
    }
}

bool TfrmTyzden::eventFilter(QObject* object, QEvent* event) {
    if (object == calendarPopup_ &&
        (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        SetCalendarQuiet(event->type() == QEvent::Hide);
    QListWidget* list = nullptr;
    for (const WeekDayRow& row : rows_)
        if (object == row.List() || object == row.List()->viewport())
            list = row.List();
    if (list) {
        if (!model_)
            return false;
        switch (event->type()) {
        case QEvent::FocusIn: // MEnter
            CielovyDen = list->property("tag").toInt();
            Prikaz(300);
            break;
        case QEvent::KeyPress:
            if (object == list && MKeyDown(list, static_cast<QKeyEvent*>(event)->key()))
                return true;
            break;
        case QEvent::MouseButtonRelease: {
            const auto* mys = static_cast<QMouseEvent*>(event);
            MMouseUp(list, mys->button(), mys->position().toPoint(),
                     mys->globalPosition().toPoint());
            break;
        }
        case QEvent::ContextMenu:
            // The menu key opens the menu of the highlighted entry beside it.
            if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard &&
                list->currentItem() && list->currentItem()->isSelected()) {
                model_->NastavZaznam(list->currentRow());
                PopupMenu1->exec(list->viewport()->mapToGlobal(
                    list->visualItemRect(list->currentItem()).bottomLeft()));
                return true;
            }
            break;
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                MDblClick(list);
                return true;
            }
            break;
        default:
            break;
        }
        return false;
    }

    // The painted background; the day areas and the other buttons tell of their moves.
    if (object == imgPozadie && event->type() == QEvent::MouseMove)
        PointerOverBackground();
    return QDialog::eventFilter(object, event);
}

} // namespace tilava
