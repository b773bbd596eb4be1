#include "ui/windows/fTyzden.h"

#include "core/CalendarWords.h"
#include "core/Clock.h"
#include "core/uRok.h"
#include "core/Utf8.h"
#include "model/uTyzden.h"
#include "store/uRegi.h"
#include "ui/controls/LabelScroll.h"
#include "ui/controls/PictureButton.h"
#include "ui/controls/SkinControls.h"
#include "ui/controls/TabOrder.h"
#include "ui/desktop/Notifier.h"
#include "ui/desktop/PageOpener.h"
#include "ui/skin/Fonts.h"
#include "ui/skin/Palette.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/QtDate.h"
#include "ui/windows/ZelmAddresses.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace tilava {

using namespace std::chrono;

const QString TfrmTyzden::WebAddress = ZelmAddresses::HomePage;

namespace {

const QColor& namornicka = palette::kWeekNavy;
const QColor& cervena = palette::kWeekRed;
const QColor ramZoznamu(0xB5, 0xCB, 0xE6);
const QColor sedaPlocha(0xF0, 0xF0, 0xF0);
const QColor sedyText(0x80, 0x80, 0x80);

const QString hintZoznamu = QStringLiteral("Kliknutím vložíte udalosť");
constexpr int ErrorPrefix = TTyzden::NotDone;

QFont Pismo(int pixels, bool bold) {
    return fonts::Font(fonts::kWeek, pixels, bold);
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void NastavFarbu(QWidget* w, const QColor& color) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, color);
    w->setPalette(p);
}

QLabel* Label(QWidget* parent, const QString& meno, QPoint place, const QFont& pismo,
              const QColor& color, const QString& text = {}) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(meno);
    l->setFont(pismo);
    NastavFarbu(l, color);
    l->move(place);
    l->adjustSize();
    return l;
}

// A picture button with its hint; with no picture an invisible click area or a text.
PictureButton* Button(QWidget* parent, const QString& name, QRect place, const QString& hint,
                      const QPixmap& normal = {}, const QPixmap& lit = {}) {
    auto* button = new PictureButton(parent, name, place);
    button->setPictures(normal, lit);
    button->setCursor(Qt::PointingHandCursor);
    button->setToolTip(hint);
    return button;
}

// A date picker that Tab leaves at once, as it leaves every other field; the arrow keys move
// between its day, month and year.
class DatePicker final : public QDateEdit {
public:
    using QDateEdit::QDateEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

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

// A text that runs past `width` takes the condensed face, then smaller sizes down to 9 pixels:
// names and holidays stay whole and readable beside the day's list.
void Prisposob(QLabel* l, const QString& text, const QFont& pismo, int width) {
    QFont f = pismo;
    if (QFontMetrics(f).horizontalAdvance(text) > width) {
        f.setFamilies(fonts::kWeekNarrow);
        while (f.pixelSize() > 9 && QFontMetrics(f).horizontalAdvance(text) > width)
            f.setPixelSize(f.pixelSize() - 1);
    }
    if (l->font() != f)
        l->setFont(f);
    l->setText(text);
    l->adjustSize();
}

// "Pondelok 24. marca": the day of row i (Monday is 1) as its list is announced.
QString WeekdayName(const TTyzden& m, int i) {
    return Q(Dni[static_cast<std::size_t>(i)]) + QStringLiteral(" %1. ").arg(m.DayOfMonth(i)) +
           Q(MonthsAfterDay[static_cast<std::size_t>(m.Month(i))]);
}

int Znakov(const QString& text) {
    return static_cast<int>(text.toUcs4().size());
}

} // namespace

TfrmTyzden::TfrmTyzden(const Clock& clock, Notifier& notifier, PageOpener& web, QWidget* parent)
    : QDialog(parent), clock_(clock), notifier_(notifier), web_(web) {
    // FormCreate: no command runs before the window has been activated.
    Zaneprazdneny = true;
    setObjectName(QStringLiteral("frmTyzden"));
    setWindowTitle(QStringLiteral("Kalendár"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(Width, Height);
    move(223, 150);
    setFont(Pismo(11, false));
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

    lblTyzden = Label(this, QStringLiteral("lblTyzden"), QPoint(235, 58), Pismo(13, true),
                      namornicka, QStringLiteral("4. týždeň"));
    lblTyzden->setGeometry(235, 58, 78, 16);
    lblTyzden->setAlignment(Qt::AlignCenter);
    imgTminus = Button(this, QStringLiteral("imgTminus"), QRect(191, 53, 16, 24),
                       QStringLiteral("Predchádzajúci týždeň"), image("week_prev", QSize(16, 24)));
    imgTplus = Button(this, QStringLiteral("imgTplus"), QRect(340, 53, 16, 24),
                      QStringLiteral("Nasledujúci týždeň"), image("week_next", QSize(16, 24)));
    lblmesiacrok = Label(this, QStringLiteral("lblmesiacrok"), QPoint(48, 58), Pismo(13, true),
                         namornicka, QStringLiteral("Mesiac"));

    dtpDatum = new DatePicker(this);
    dtpDatum->setObjectName(QStringLiteral("dtpDatum"));
    dtpDatum->setGeometry(371, 55, 90, 21);
    dtpDatum->setCalendarPopup(true);
    dtpDatum->setDisplayFormat(QStringLiteral("d.M.yyyy"));
    dtpDatum->setDateRange(QDate(1601, 1, 1), QDate(9999, 12, 24));
    dtpDatum->setLocale(QLocale(QLocale::Slovak, QLocale::Slovakia));
    // Typing a date moves the week once it is complete (Enter or leaving the field); the
    // arrows and the calendar move it at once.
    dtpDatum->setKeyboardTracking(false);
    dtpDatum->setFont(Pismo(11, false));
    dtpDatum->calendarWidget()->setFirstDayOfWeek(Qt::Monday);
    {
        QPalette p = dtpDatum->palette();
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::Text, namornicka);
        dtpDatum->setPalette(p);
    }

    imgDnes = Button(this, QStringLiteral("imgDnes"), QRect(473, 52, 40, 25),
                     QStringLiteral("Tento týždeň"), image("week_today_normal", QSize(40, 25)),
                     image("week_today_hover", QSize(40, 25)));

    Image1 = Button(this, QStringLiteral("Image1"), QRect(0, 0, 529, 49),
                    QStringLiteral("Choď na: ") + WebAddress);
    Image1->setLink(true);
    // The day areas: a click selects the day; the pointer stays an arrow over them.
    const int hore[] = {96, 150, 206, 262, 316, 372, 427};
    for (int i = 0; i < 7; ++i) {
        PictureButton* area =
            Button(this, QStringLiteral("imgImage%1").arg(i + 1), QRect(15, hore[i], 169, 54), {});
        area->unsetCursor();
        area->setFocusPolicy(Qt::NoFocus);
        imgImage[static_cast<std::size_t>(i)] = area;
    }

    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setGeometry(184, 485, 131, 18);
    txtFind->setFrame(false);
    txtFind->setFont(Pismo(11, false));
    {
        QPalette p = txtFind->palette();
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::Text, namornicka);
        txtFind->setPalette(p);
    }
    const int vlavo[] = {56, 168, 312};
    for (int k = 0; k < 3; ++k) {
        // A painted label with an invisible button over it, which takes its clicks, the focus
        // (the focus frame lies over the text) and is the result for assistive technology.
        const auto index = static_cast<std::size_t>(k);
        resultTexts_[index] = Label(this, QStringLiteral("Label%1Text").arg(k + 1),
                                    QPoint(vlavo[k], 506), Pismo(11, true), namornicka);
        results_[index] =
            Button(this, QStringLiteral("Label%1").arg(k + 1), resultTexts_[index]->geometry(), {});
    }
    imgFminus = Button(this, QStringLiteral("imgFminus"), QRect(0, 503, 13, 22), {},
                       image("week_results_prev", QSize(13, 22)));
    imgFminus->hide();
    imgFplus = Button(this, QStringLiteral("imgFplus"), QRect(512, 503, 13, 22), {},
                      image("week_results_next", QSize(13, 22)));
    imgFplus->hide();

    const auto velkonocna = [this](const char* meno, int y, const char* text) {
        QLabel* l = Label(this, QLatin1String(meno), QPoint(60, y), Pismo(11, false), cervena);
        Prisposob(l, QString::fromUtf8(text), l->font(), 120);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->hide();
        return l;
    };
    lblVelkaPondelok = velkonocna("lblVelkaPondelok", 110, "Veľkonočný pondelok");
    lblVelkaNoc = velkonocna("lblVelkaNoc", 330, "Veľkonočný piatok");
    lblVelkaNedela = velkonocna("lblVelkaNedela", 440, "Veľkonočná nedeľa");

    imgUlozit =
        Button(this, QStringLiteral("imgUlozit"), QRect(414, 527, 100, 25),
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

    connect(dtpDatum, &QDateEdit::dateChanged, this, [this] { Prikaz(200); });
    connect(dtpDatum->calendarWidget(), &QCalendarWidget::clicked, this,
            [this] { txtFind->setFocus(Qt::OtherFocusReason); });
    connect(txtFind, &QLineEdit::textChanged, this, [this] { Prikaz(100); });

    SetAccessibility();
    ConnectButtons();

    // The background's moves, and the search's focus.
    for (QWidget* w : {static_cast<QWidget*>(imgPozadie), static_cast<QWidget*>(txtFind),
                       static_cast<QWidget*>(imgFminus), static_cast<QWidget*>(imgFplus)})
        w->installEventFilter(this);
    for (PictureButton* result : results_)
        result->installEventFilter(this);
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
    press(imgFminus, [this] { Prikaz(TTyzden::EarlierResults); });
    press(imgFplus, [this] { Prikaz(TTyzden::LaterResults); });
    press(imgUlozit, [this] { Close(); });
    press(Image1, [this] {
        if (!web_.Open(QUrl(WebAddress)))
            notifier_.Message(this, QStringLiteral("Nepodarilo sa otvoriť webový prehliadač."));
    });
    for (int k = 0; k < 3; ++k)
        press(results_[static_cast<std::size_t>(k)], [this, k] { LClick(k + 1); });
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
    for (PictureButton* button : {imgTminus, imgTplus, Image1, imgFminus, imgFplus})
        connect(button, &PictureButton::pointerMoved, this, &TfrmTyzden::PointerOverBackground);
    for (PictureButton* button : results_)
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
    txtFind->setAccessibleName(QStringLiteral("Hľadať meno"));

    Image1->setAccessibleName(QStringLiteral("Tilava – Kalendár mien a sviatkov"));
    imgTminus->setAccessibleName(QStringLiteral("Predchádzajúci týždeň"));
    imgTplus->setAccessibleName(QStringLiteral("Nasledujúci týždeň"));
    imgDnes->setAccessibleName(QStringLiteral("Dnes"));
    imgDnes->setAccessibleDescription(QStringLiteral("Tento týždeň"));
    imgFminus->setAccessibleName(QStringLiteral("Predchádzajúce výsledky"));
    imgFplus->setAccessibleName(QStringLiteral("Ďalšie výsledky"));
    // The results are named by the result they show, the day areas by their day. The day areas
    // are pressable by assistive technology; from the keyboard the day's list selects the day
    // when it takes the focus.
    imgUlozit->setAccessibleName(QStringLiteral("Uložiť"));
    imgUlozit->setAccessibleDescription(QStringLiteral("Uložiť a zavrieť"));

    // The week's navigation, the date picker, the search with its results, the day lists and
    // the save button; the date picker hands over to the search box.
    SetTabOrder({Image1, imgTminus, imgTplus, imgDnes, dtpDatum, txtFind, imgFminus, results_[0],
                 results_[1], results_[2], imgFplus, lines_[0].list});
    SetTabOrder({lines_[0].list, lines_[1].list, lines_[2].list, lines_[3].list, lines_[4].list,
                 lines_[5].list, lines_[6].list, imgUlozit});
}

void TfrmTyzden::CreateRows() {
    // One size of day digits for every row: the widest two digits fit the 48-pixel box with a
    // margin.
    QFont cislice = fonts::Font(fonts::kWeekNarrow, 40, true);
    while (cislice.pixelSize() > 20 &&
           QFontMetrics(cislice).horizontalAdvance(QStringLiteral("00")) > 44)
        cislice.setPixelSize(cislice.pixelSize() - 1);

    for (int i = 1; i <= 7; ++i) {
        const int y = 55 * i;
        const QColor color = i == 7 ? cervena : namornicka;
        Line& r = lines_[static_cast<std::size_t>(i - 1)];
        r.date = Label(this, QStringLiteral("lblDen%1").arg(i), QPoint(13, y + 44), cislice, color);
        r.date->setGeometry(13, y + 44, 48, 48);
        r.date->setAlignment(Qt::AlignCenter);
        r.weekday = Label(this, QStringLiteral("lblDenTyzdna%1").arg(i), QPoint(60, y + 43),
                          Pismo(11, true), color, Q(Dni[static_cast<std::size_t>(i)]));
        r.first = new TLabelScroll(this);
        r.first->setObjectName(QStringLiteral("lblPrvy%1").arg(i));
        r.first->setFont(Pismo(11, false));
        NastavFarbu(r.first, color);
        r.first->move(60, y + 76);
        r.second = Label(this, QStringLiteral("lblDruhy%1").arg(i), QPoint(60, y + 63),
                         Pismo(11, false), color);
        // The labels lie over the day's click area, which takes their clicks.
        for (QWidget* w : {static_cast<QWidget*>(r.date), static_cast<QWidget*>(r.weekday),
                           static_cast<QWidget*>(r.first), static_cast<QWidget*>(r.second)})
            w->setAttribute(Qt::WA_TransparentForMouseEvents);

        r.list = new QListWidget(this);
        r.list->setObjectName(QStringLiteral("lstDen%1").arg(i));
        r.list->setGeometry(182, y + 42, 331, 52);
        r.list->setProperty("tag", i);
        r.list->setToolTip(hintZoznamu);
        r.list->setSelectionMode(QAbstractItemView::SingleSelection);
        r.list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        r.list->setFrameStyle(QFrame::Box | QFrame::Plain);
        r.list->setFocusPolicy(Qt::StrongFocus);
        SetListLook(i);
        r.list->installEventFilter(this);
        r.list->viewport()->installEventFilter(this);
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

void TfrmTyzden::Close() {
    if (closed_)
        return;
    closed_ = true;
    if (model_) {
        // Closing without saving is only ever the user's own choice.
        while (!model_->Ulozit()) {
            const int answer = notifier_.Ask(
                this,
                QStringLiteral("Zmeny sa nepodarilo uložiť:\n\n%1\n\nAk okno zavriete bez "
                               "uloženia, tieto zmeny sa stratia.")
                    .arg(Q(model_->SaveError())),
                {QStringLiteral("Skúsiť znova"), QStringLiteral("Zavrieť bez uloženia")});
            if (answer == 1)
                break;
        }
        ReportMerge();
        try {
            model_->Regi().ZapisHodnotu("frmTyzdenTop", y());
            model_->Regi().ZapisHodnotu("frmTyzdenLeft", x());
        } catch (const std::exception&) {
            // A position that cannot be stored only means the default place next time.
        }
    }
    done(QDialog::Accepted);
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
        ClearResults();
        imgFminus->hide();
        imgFplus->hide();
        if (Znakov(txtFind->text()) <= 2)
            return ErrorPrefix;
        m.SetSearched(txtFind->text().toStdString());
        const int result = m.Vykonaj(code);
        if (result == TTyzden::Done)
            ShowResults();
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
            ShowResults();
        return result;
    }
    default:
        return ErrorPrefix;
    }
}

int TfrmTyzden::MoveTo(int code) {
    const int result = model_->Vykonaj(code);
    if (result == TTyzden::Done) {
        ZobrazTyzden();
    } else {
        // The week stays as it is shown, the date picker too.
        SetPickerDate();
        notifier_.Message(this, QStringLiteral("Zmeny tohto týždňa sa nepodarilo uložiť, preto "
                                               "zostáva zobrazený:\n\n%1")
                                    .arg(Q(model_->SaveError())));
    }
    ReportMerge();
    if (result == TTyzden::Done)
        ReportLoadErrors();
    return result;
}

void TfrmTyzden::ReportLoadErrors() {
    if (!model_)
        return;
    const std::string error = model_->TakeLoadError();
    if (!error.empty())
        notifier_.Message(this,
                          Q(error) + QStringLiteral("\n\nZáznamy tohto dňa sa zobrazia tak, "
                                                    "ako sa dali prečítať; deň sa nedá "
                                                    "upravovať a jeho súbor zostane, ako je."));
}

void TfrmTyzden::ReportMerge() {
    if (model_ && !model_->SaveNotice().empty())
        notifier_.Message(this, Q(model_->SaveNotice()));
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
    ClearResults();
    for (QLabel* l : {lblVelkaNoc, lblVelkaNedela, lblVelkaPondelok})
        l->hide();
    for (int i = 1; i <= 7; ++i) {
        Line& r = lines_[static_cast<std::size_t>(i - 1)];
        r.date->setText(Q(m.DayOfMonthText(i)));
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
        // The first entry lies on the lower line, the second above it; both end before the
        // day's list.
        Prisposob(r.first, Q(m.FirstEntry(i)), Pismo(11, false), 120);
        Prisposob(r.second, Q(m.SecondEntry(i)), Pismo(11, false), 120);
        const QColor color = m.IsRed(i) ? cervena : namornicka;
        for (QWidget* w : {static_cast<QWidget*>(r.date), static_cast<QWidget*>(r.weekday),
                           static_cast<QWidget*>(r.first), static_cast<QWidget*>(r.second)})
            NastavFarbu(w, color);
        // The day and its names or holiday, as the row shows them beside the list.
        QStringList names;
        for (const std::string* text : {&m.FirstEntry(i), &m.SecondEntry(i)})
            if (!text->empty())
                names << Q(*text);
        for (QWidget* w :
             {static_cast<QWidget*>(r.list), static_cast<QWidget*>(imgImage[std::size_t(i - 1)])}) {
            w->setAccessibleName(WeekdayName(m, i));
            w->setAccessibleDescription(names.join(QStringLiteral(", ")));
        }
        ZobrazDen(i);
    }
    lblTyzden->setText(QString::number(m.CisloTyzdna()) + QStringLiteral(". týždeň"));
    ZobrazVyber();
}

void TfrmTyzden::ZobrazDen(int i) {
    QListWidget* list = DayList(i);
    list->clear();
    QString hint = hintZoznamu;
    for (const WeekLine& line : model_->Lines(i)) {
        // A row shows one line and its hint a few: an entry of a megabyte from an import or a
        // hand edit would only hold up the window. The editor opens the whole text.
        auto* polozka = new QListWidgetItem(Q(Utf8Shorten(line.Text, 500)), list);
        const QString text = Q(Utf8Shorten(line.Text, 2000));
        polozka->setToolTip(text);
        hint = text;
    }
    list->setToolTip(hint);
    SetListLook(i);
}

// White for a day the user can change; grey, with the reason as its hint, for a day whose
// file could not be read whole.
void TfrmTyzden::SetListLook(int i) {
    QListWidget* list = DayList(i);
    const bool upravitelny = !model_ || model_->Editable(i);
    QPalette p = list->palette();
    p.setColor(QPalette::Base, upravitelny ? Qt::white : sedaPlocha);
    p.setColor(QPalette::Text, upravitelny ? namornicka : sedyText);
    p.setColor(QPalette::WindowText, ramZoznamu);
    list->setPalette(p);
    if (!upravitelny)
        list->setToolTip(
            QStringLiteral("Súbor %1 sa nepodarilo prečítať celý: deň sa nedá upravovať.")
                .arg(
                    QString::fromStdString(model_->Poznamky(i).NazovSuboru().filename().string())));
}

void TfrmTyzden::ZobrazVyber() {
    if (!model_)
        return;
    const TTyzden& m = *model_;
    const int vybrany = m.VybranyDen();
    for (int i = 1; i <= 7; ++i)
        SetListLook(i);
    shpSel->move(shpSel->x(), DayList(vybrany)->y() - 1);
    SetPickerDate();
    const year_month_day datum = m.Datum().Datum();
    lblmesiacrok->setText(Q(Mesiace[static_cast<unsigned>(datum.month())]) + QLatin1Char(' ') +
                          QString::number(static_cast<int>(datum.year())));
    lblmesiacrok->adjustSize();
    for (const Line& r : lines_) {
        r.list->clearSelection();
        r.list->setCurrentRow(-1);
    }
    DayList(vybrany)->setFocus(Qt::OtherFocusReason);
}

// The date picker follows the model without raising its change.
void TfrmTyzden::SetPickerDate() {
    const QSignalBlocker ticho(dtpDatum);
    dtpDatum->setDate(ToQDate(model_->Datum().date));
}

void TfrmTyzden::ClearResults() {
    for (std::size_t k = 0; k < 3; ++k) {
        resultTexts_[k]->clear();
        resultTexts_[k]->hide();
        results_[k]->setText({});
        results_[k]->hide();
    }
}

void TfrmTyzden::ShowResults() {
    const TTyzden& m = *model_;
    constexpr int margin = 16; // the arrows at both ends
    constexpr int gap = 8;
    int count = 0;
    int width = 0;
    std::array<QString, 3> whole;
    for (std::size_t k = 0; k < 3; ++k) {
        QLabel* l = resultTexts_[k];
        whole[k] = Q(m.Vysledok(static_cast<int>(k) + 1));
        l->setText(whole[k]);
        l->adjustSize();
        l->setVisible(!whole[k].isEmpty());
        if (!whole[k].isEmpty()) {
            ++count;
            width += l->width();
        }
    }
    if (count > 0) {
        // Long holiday texts are shortened so that all three fit between the arrows; the
        // hint keeps the whole text.
        const int place = Width - 2 * margin - (count + 1) * gap;
        if (width > place) {
            width = 0;
            for (std::size_t k = 0; k < 3; ++k) {
                QLabel* l = resultTexts_[k];
                if (l->isHidden())
                    continue;
                l->setText(l->fontMetrics().elidedText(whole[k], Qt::ElideRight, place / count));
                l->adjustSize();
                width += l->width();
            }
        }
        const int medzi = (Width - width) / (count + 1);
        int x = medzi;
        for (QLabel* l : resultTexts_) {
            if (l->isHidden())
                continue;
            l->move(x, 506);
            x += l->width() + medzi;
        }
    }
    for (std::size_t k = 0; k < 3; ++k) {
        PictureButton* button = results_[k];
        button->setGeometry(resultTexts_[k]->geometry());
        button->setText(resultTexts_[k]->text());
        button->setToolTip(whole[k]);
        button->setAccessibleName(whole[k]);
        button->setVisible(!whole[k].isEmpty());
    }
    imgFminus->setVisible(m.ViacVysledkov());
    imgFplus->setVisible(m.ViacVysledkov());
}

void TfrmTyzden::LClick(int k) {
    if (!model_ || results_[static_cast<std::size_t>(k - 1)]->text().isEmpty())
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
    txtFind->clear();
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
    QListWidget* list = nullptr;
    for (const Line& r : lines_)
        if (object == r.list || object == r.list->viewport())
            list = r.list;
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

    // txtFindExit: leaving the search for another control of this window, not for a message.
    // The search is the box with its results and their arrows, which Tab reaches from the box.
    const auto hladanie = [this](const QObject* o) {
        return o && (o == txtFind || o == imgFminus || o == imgFplus ||
                     std::find(results_.begin(), results_.end(), o) != results_.end());
    };
    if (event->type() == QEvent::FocusOut && hladanie(object)) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            !hladanie(QApplication::focusWidget())) {
            imgFminus->hide();
            imgFplus->hide();
            txtFind->clear();
        }
    }
    // The painted background; the day areas and the other buttons tell of their moves.
    if (object == imgPozadie && event->type() == QEvent::MouseMove)
        PointerOverBackground();
    return QDialog::eventFilter(object, event);
}

} // namespace tilava
