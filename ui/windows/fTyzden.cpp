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
#include "ui/windows/ZelmAdresy.h"

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

const QString TfrmTyzden::WebAdresa = ZelmAdresy::Domov;

namespace {

const QColor& namornicka = palette::kWeekNavy;
const QColor& cervena = palette::kWeekRed;
const QColor ramZoznamu(0xB5, 0xCB, 0xE6);
const QColor sedaPlocha(0xF0, 0xF0, 0xF0);
const QColor sedyText(0x80, 0x80, 0x80);

const QString hintZoznamu = QStringLiteral("Kliknutím vložíte udalosť");
constexpr int Chyba = TTyzden::Nevykonane;

QFont Pismo(int pixels, bool bold) {
    return fonts::Font(fonts::kWeek, pixels, bold);
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void NastavFarbu(QWidget* w, const QColor& farba) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, farba);
    w->setPalette(p);
}

QLabel* Menovka(QWidget* rodic, const QString& meno, QPoint miesto, const QFont& pismo,
                const QColor& farba, const QString& text = {}) {
    auto* l = new QLabel(text, rodic);
    l->setObjectName(meno);
    l->setFont(pismo);
    NastavFarbu(l, farba);
    l->move(miesto);
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
class Tvar final : public QWidget {
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

// A text that runs past `sirka` takes the condensed face, then smaller sizes down to 9 pixels:
// names and holidays stay whole and readable beside the day's list.
void Prisposob(QLabel* l, const QString& text, const QFont& pismo, int sirka) {
    QFont f = pismo;
    if (QFontMetrics(f).horizontalAdvance(text) > sirka) {
        f.setFamilies(fonts::kWeekNarrow);
        while (f.pixelSize() > 9 && QFontMetrics(f).horizontalAdvance(text) > sirka)
            f.setPixelSize(f.pixelSize() - 1);
    }
    if (l->font() != f)
        l->setFont(f);
    l->setText(text);
    l->adjustSize();
}

// "Pondelok 24. marca": the day of row i (Monday is 1) as its list is announced.
QString NazovDna(const TTyzden& m, int i) {
    return Q(Dni[static_cast<std::size_t>(i)]) + QStringLiteral(" %1. ").arg(m.DenMesiaca(i)) +
           Q(MonthsAfterDay[static_cast<std::size_t>(m.Mesiac(i))]);
}

int Znakov(const QString& text) {
    return static_cast<int>(text.toUcs4().size());
}

} // namespace

TfrmTyzden::TfrmTyzden(const Clock& hodiny, Notifier& oznamy, PageOpener& web, QWidget* parent)
    : QDialog(parent), hodiny_(hodiny), oznamy_(oznamy), web_(web) {
    // FormCreate: no command runs before the window has been activated.
    Zaneprazdneny = true;
    setObjectName(QStringLiteral("frmTyzden"));
    setWindowTitle(QStringLiteral("Kalendár"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(Sirka, Vyska);
    move(223, 150);
    setFont(Pismo(11, false));
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, Qt::white);
    setPalette(paleta);
    setAutoFillBackground(true);

    const auto obraz = [](const char* meno, QSize velkost,
                          const QColor& farba = palette::kWeekSky) {
        return LoadSkinPicture(QLatin1String(meno), farba, velkost);
    };

    imgPozadie = Obrazok(this, "imgPozadie", QRect(0, 0, 620, 645));
    imgPozadie->setPixmap(obraz("week_background", QSize(620, 645), Qt::white));
    shpSel = new Tvar(this);
    shpSel->setObjectName(QStringLiteral("shpSel"));
    shpSel->setGeometry(14, 201, 168, 54);
    shpSel->setAttribute(Qt::WA_TransparentForMouseEvents);

    lblTyzden = Menovka(this, QStringLiteral("lblTyzden"), QPoint(235, 58), Pismo(13, true),
                        namornicka, QStringLiteral("4. týždeň"));
    lblTyzden->setGeometry(235, 58, 78, 16);
    lblTyzden->setAlignment(Qt::AlignCenter);
    imgTminus = Button(this, QStringLiteral("imgTminus"), QRect(191, 53, 16, 24),
                       QStringLiteral("Predchádzajúci týždeň"), obraz("week_prev", QSize(16, 24)));
    imgTplus = Button(this, QStringLiteral("imgTplus"), QRect(340, 53, 16, 24),
                      QStringLiteral("Nasledujúci týždeň"), obraz("week_next", QSize(16, 24)));
    lblmesiacrok = Menovka(this, QStringLiteral("lblmesiacrok"), QPoint(48, 58), Pismo(13, true),
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
                     QStringLiteral("Tento týždeň"), obraz("week_today_normal", QSize(40, 25)),
                     obraz("week_today_hover", QSize(40, 25)));

    Image1 = Button(this, QStringLiteral("Image1"), QRect(0, 0, 529, 49),
                    QStringLiteral("Choď na: ") + WebAdresa);
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
        resultTexts_[index] = Menovka(this, QStringLiteral("Label%1Text").arg(k + 1),
                                      QPoint(vlavo[k], 506), Pismo(11, true), namornicka);
        vysledky_[index] =
            Button(this, QStringLiteral("Label%1").arg(k + 1), resultTexts_[index]->geometry(), {});
    }
    imgFminus = Button(this, QStringLiteral("imgFminus"), QRect(0, 503, 13, 22), {},
                       obraz("week_results_prev", QSize(13, 22)));
    imgFminus->hide();
    imgFplus = Button(this, QStringLiteral("imgFplus"), QRect(512, 503, 13, 22), {},
                      obraz("week_results_next", QSize(13, 22)));
    imgFplus->hide();

    const auto velkonocna = [this](const char* meno, int y, const char* text) {
        QLabel* l = Menovka(this, QLatin1String(meno), QPoint(60, y), Pismo(11, false), cervena);
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
               QStringLiteral("Uložiť a zavrieť"), obraz("week_save_normal", QSize(100, 25)),
               obraz("week_save_hover", QSize(100, 25)));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* delete1 = PopupMenu1->addAction(QStringLiteral("Vymazať poznámku"));
    delete1->setObjectName(QStringLiteral("Delete1"));
    connect(delete1, &QAction::triggered, this, [this] {
        Prikaz(400);
        ZobrazTyzden();
    });

    VytvorRiadky();

    connect(dtpDatum, &QDateEdit::dateChanged, this, [this] { Prikaz(200); });
    connect(dtpDatum->calendarWidget(), &QCalendarWidget::clicked, this,
            [this] { txtFind->setFocus(Qt::OtherFocusReason); });
    connect(txtFind, &QLineEdit::textChanged, this, [this] { Prikaz(100); });

    NastavPristupnost();
    ConnectButtons();

    // The background's moves, and the search's focus.
    for (QWidget* w : {static_cast<QWidget*>(imgPozadie), static_cast<QWidget*>(txtFind),
                       static_cast<QWidget*>(imgFminus), static_cast<QWidget*>(imgFplus)})
        w->installEventFilter(this);
    for (PictureButton* result : vysledky_)
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
    press(imgTminus, [this] { Prikaz(TTyzden::TyzdenSpat); });
    press(imgTplus, [this] { Prikaz(TTyzden::TyzdenDopredu); });
    press(imgDnes, [this] { Prikaz(TTyzden::Dnes); });
    press(imgFminus, [this] { Prikaz(TTyzden::SkorsieVysledky); });
    press(imgFplus, [this] { Prikaz(TTyzden::NeskorsieVysledky); });
    press(imgUlozit, [this] { Zatvor(); });
    press(Image1, [this] {
        if (!web_.Otvor(QUrl(WebAdresa)))
            oznamy_.Message(this, QStringLiteral("Nepodarilo sa otvoriť webový prehliadač."));
    });
    for (int k = 0; k < 3; ++k)
        press(vysledky_[static_cast<std::size_t>(k)], [this, k] { LClick(k + 1); });
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
    for (PictureButton* button : vysledky_)
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

void TfrmTyzden::NastavPristupnost() {
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
    SetTabOrder({Image1, imgTminus, imgTplus, imgDnes, dtpDatum, txtFind, imgFminus, vysledky_[0],
                 vysledky_[1], vysledky_[2], imgFplus, riadky_[0].zoznam});
    SetTabOrder({riadky_[0].zoznam, riadky_[1].zoznam, riadky_[2].zoznam, riadky_[3].zoznam,
                 riadky_[4].zoznam, riadky_[5].zoznam, riadky_[6].zoznam, imgUlozit});
}

void TfrmTyzden::VytvorRiadky() {
    // One size of day digits for every row: the widest two digits fit the 48-pixel box with a
    // margin.
    QFont cislice = fonts::Font(fonts::kWeekNarrow, 40, true);
    while (cislice.pixelSize() > 20 &&
           QFontMetrics(cislice).horizontalAdvance(QStringLiteral("00")) > 44)
        cislice.setPixelSize(cislice.pixelSize() - 1);

    for (int i = 1; i <= 7; ++i) {
        const int y = 55 * i;
        const QColor farba = i == 7 ? cervena : namornicka;
        Riadok& r = riadky_[static_cast<std::size_t>(i - 1)];
        r.den =
            Menovka(this, QStringLiteral("lblDen%1").arg(i), QPoint(13, y + 44), cislice, farba);
        r.den->setGeometry(13, y + 44, 48, 48);
        r.den->setAlignment(Qt::AlignCenter);
        r.denTyzdna = Menovka(this, QStringLiteral("lblDenTyzdna%1").arg(i), QPoint(60, y + 43),
                              Pismo(11, true), farba, Q(Dni[static_cast<std::size_t>(i)]));
        r.prvy = new TLabelScroll(this);
        r.prvy->setObjectName(QStringLiteral("lblPrvy%1").arg(i));
        r.prvy->setFont(Pismo(11, false));
        NastavFarbu(r.prvy, farba);
        r.prvy->move(60, y + 76);
        r.druhy = Menovka(this, QStringLiteral("lblDruhy%1").arg(i), QPoint(60, y + 63),
                          Pismo(11, false), farba);
        // The labels lie over the day's click area, which takes their clicks.
        for (QWidget* w : {static_cast<QWidget*>(r.den), static_cast<QWidget*>(r.denTyzdna),
                           static_cast<QWidget*>(r.prvy), static_cast<QWidget*>(r.druhy)})
            w->setAttribute(Qt::WA_TransparentForMouseEvents);

        r.zoznam = new QListWidget(this);
        r.zoznam->setObjectName(QStringLiteral("lstDen%1").arg(i));
        r.zoznam->setGeometry(182, y + 42, 331, 52);
        r.zoznam->setProperty("tag", i);
        r.zoznam->setToolTip(hintZoznamu);
        r.zoznam->setSelectionMode(QAbstractItemView::SingleSelection);
        r.zoznam->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        r.zoznam->setFrameStyle(QFrame::Box | QFrame::Plain);
        r.zoznam->setFocusPolicy(Qt::StrongFocus);
        NastavVzhladZoznamu(i);
        r.zoznam->installEventFilter(this);
        r.zoznam->viewport()->installEventFilter(this);
    }
}

void TfrmTyzden::Ukaz(TTyzden& tyzden) {
    model_ = &tyzden;
    exec();
    model_ = nullptr;
}

void TfrmTyzden::showEvent(QShowEvent* udalost) {
    QDialog::showEvent(udalost);
    if (!model_ || udalost->spontaneous())
        return;
    ZobrazTyzden();
    // The controls' change events of the set-up have passed; faults of the first week are
    // told once the window is on the screen.
    QTimer::singleShot(0, this, [this] {
        Zaneprazdneny = false;
        OznamChybyNacitania();
    });
}

void TfrmTyzden::changeEvent(QEvent* udalost) {
    QDialog::changeEvent(udalost);
    if (udalost->type() == QEvent::ActivationChange && isActiveWindow()) {
        // FormActivate, also when the event editor or a message closes.
        Zaneprazdneny = false;
        PrecitajPoziciu();
    }
}

void TfrmTyzden::PrecitajPoziciu() {
    if (!model_)
        return;
    const TRegi& regi = model_->Regi();
    if (const int hore = regi.CitajHodnotu("frmTyzdenTop"))
        move(x(), hore);
    if (const int vlavo = regi.CitajHodnotu("frmTyzdenLeft"))
        move(vlavo, y());
}

void TfrmTyzden::closeEvent(QCloseEvent* udalost) {
    Zatvor();
    QDialog::closeEvent(udalost);
}

void TfrmTyzden::Zatvor() {
    if (zatvorene_)
        return;
    zatvorene_ = true;
    if (model_) {
        // Closing without saving is only ever the user's own choice.
        while (!model_->Ulozit()) {
            const int answer = oznamy_.Ask(
                this,
                QStringLiteral("Zmeny sa nepodarilo uložiť:\n\n%1\n\nAk okno zavriete bez "
                               "uloženia, tieto zmeny sa stratia.")
                    .arg(Q(model_->ChybaUlozenia())),
                {QStringLiteral("Skúsiť znova"), QStringLiteral("Zavrieť bez uloženia")});
            if (answer == 1)
                break;
        }
        OznamZlucenie();
        try {
            model_->Regi().ZapisHodnotu("frmTyzdenTop", y());
            model_->Regi().ZapisHodnotu("frmTyzdenLeft", x());
        } catch (const std::exception&) {
            // A position that cannot be stored only means the default place next time.
        }
    }
    done(QDialog::Accepted);
}

int TfrmTyzden::Prikaz(int kod) {
    if (Zaneprazdneny || !model_)
        return Chyba;
    Zaneprazdneny = true;
    struct Uvolni {
        bool& zaneprazdneny;
        ~Uvolni() { zaneprazdneny = false; }
    } uvolni{Zaneprazdneny};
    return VykonajPrikaz(kod);
}

int TfrmTyzden::VykonajPrikaz(int kod) {
    TTyzden& m = *model_;
    switch (kod) {
    case TTyzden::Hladat: {
        ClearResults();
        imgFminus->hide();
        imgFplus->hide();
        if (Znakov(txtFind->text()) <= 2)
            return Chyba;
        m.NastavHladane(txtFind->text().toStdString());
        const int vysledok = m.Vykonaj(kod);
        if (vysledok == TTyzden::Hotovo)
            UkazVysledky();
        return vysledok;
    }
    case TTyzden::ChodNaDatum:
        m.NastavDatum({NaDen(dtpDatum->date()), m.Datum().casDna});
        return Presun(kod);
    case 300:
        if (CielovyDen >= 1 && CielovyDen <= 7 && CielovyDen != m.VybranyDen()) {
            m.VyberDen(CielovyDen);
            ZobrazVyber();
        }
        return Chyba;
    case 400:
        if (Upravitelny())
            m.ZmazZaznam();
        return Chyba;
    case TTyzden::UpravitZaznam: {
        if (!Upravitelny())
            return Chyba;
        m.NastavRokZaznamu(static_cast<int>(m.Datum().Datum().year()));
        m.NastavZaznam(KliknutyRiadok);
        const int vysledok = m.Vykonaj(kod);
        // The window is active again once the editor has closed, on every desktop.
        PrecitajPoziciu();
        if (vysledok == TTyzden::Hotovo)
            ZobrazDen(m.VybranyDen());
        return vysledok;
    }
    case TTyzden::Dnes:
        m.NastavDatum(hodiny_.Teraz());
        return Presun(kod);
    case TTyzden::TyzdenSpat:
    case TTyzden::TyzdenDopredu:
        return Presun(kod);
    case TTyzden::SkorsieVysledky:
    case TTyzden::NeskorsieVysledky: {
        const int vysledok = m.Vykonaj(kod);
        if (vysledok == TTyzden::Hotovo)
            UkazVysledky();
        return vysledok;
    }
    default:
        return Chyba;
    }
}

int TfrmTyzden::Presun(int kod) {
    const int vysledok = model_->Vykonaj(kod);
    if (vysledok == TTyzden::Hotovo) {
        ZobrazTyzden();
    } else {
        // The week stays as it is shown, the date picker too.
        NastavDatumVyberu();
        oznamy_.Message(this, QStringLiteral("Zmeny tohto týždňa sa nepodarilo uložiť, preto "
                                             "zostáva zobrazený:\n\n%1")
                                  .arg(Q(model_->ChybaUlozenia())));
    }
    OznamZlucenie();
    if (vysledok == TTyzden::Hotovo)
        OznamChybyNacitania();
    return vysledok;
}

void TfrmTyzden::OznamChybyNacitania() {
    if (!model_)
        return;
    const std::string chyba = model_->VezmiChybuNacitania();
    if (!chyba.empty())
        oznamy_.Message(this, Q(chyba) + QStringLiteral("\n\nZáznamy tohto dňa sa zobrazia tak, "
                                                        "ako sa dali prečítať; deň sa nedá "
                                                        "upravovať a jeho súbor zostane, ako je."));
}

void TfrmTyzden::OznamZlucenie() {
    if (model_ && !model_->OznamenieUlozenia().empty())
        oznamy_.Message(this, Q(model_->OznamenieUlozenia()));
}

bool TfrmTyzden::Upravitelny() {
    if (model_->Upravitelny(model_->VybranyDen()))
        return true;
    oznamy_.Message(
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
        Riadok& r = riadky_[static_cast<std::size_t>(i - 1)];
        r.den->setText(Q(m.DenMesiacaText(i)));
        switch (m.VelkonocnyDen(i)) {
        case TVelkonocnyDen::Nedela:
            lblVelkaNoc->show();
            lblVelkaNedela->show();
            break;
        case TVelkonocnyDen::Pondelok:
            lblVelkaPondelok->show();
            break;
        case TVelkonocnyDen::Piatok:
        case TVelkonocnyDen::Ziadny:
            break;
        }
        // The first entry lies on the lower line, the second above it; both end before the
        // day's list.
        Prisposob(r.prvy, Q(m.PrvyZaznam(i)), Pismo(11, false), 120);
        Prisposob(r.druhy, Q(m.DruhyZaznam(i)), Pismo(11, false), 120);
        const QColor farba = m.Cerveny(i) ? cervena : namornicka;
        for (QWidget* w : {static_cast<QWidget*>(r.den), static_cast<QWidget*>(r.denTyzdna),
                           static_cast<QWidget*>(r.prvy), static_cast<QWidget*>(r.druhy)})
            NastavFarbu(w, farba);
        // The day and its names or holiday, as the row shows them beside the list.
        QStringList mena;
        for (const std::string* text : {&m.PrvyZaznam(i), &m.DruhyZaznam(i)})
            if (!text->empty())
                mena << Q(*text);
        for (QWidget* w : {static_cast<QWidget*>(r.zoznam),
                           static_cast<QWidget*>(imgImage[std::size_t(i - 1)])}) {
            w->setAccessibleName(NazovDna(m, i));
            w->setAccessibleDescription(mena.join(QStringLiteral(", ")));
        }
        ZobrazDen(i);
    }
    lblTyzden->setText(QString::number(m.CisloTyzdna()) + QStringLiteral(". týždeň"));
    ZobrazVyber();
}

void TfrmTyzden::ZobrazDen(int i) {
    QListWidget* zoznam = Zoznam(i);
    zoznam->clear();
    QString hint = hintZoznamu;
    for (const TRiadok& riadok : model_->Riadky(i)) {
        // A row shows one line and its hint a few: an entry of a megabyte from an import or a
        // hand edit would only hold up the window. The editor opens the whole text.
        auto* polozka = new QListWidgetItem(Q(Utf8Shorten(riadok.Text, 500)), zoznam);
        const QString text = Q(Utf8Shorten(riadok.Text, 2000));
        polozka->setToolTip(text);
        hint = text;
    }
    zoznam->setToolTip(hint);
    NastavVzhladZoznamu(i);
}

// White for a day the user can change; grey, with the reason as its hint, for a day whose
// file could not be read whole.
void TfrmTyzden::NastavVzhladZoznamu(int i) {
    QListWidget* zoznam = Zoznam(i);
    const bool upravitelny = !model_ || model_->Upravitelny(i);
    QPalette p = zoznam->palette();
    p.setColor(QPalette::Base, upravitelny ? Qt::white : sedaPlocha);
    p.setColor(QPalette::Text, upravitelny ? namornicka : sedyText);
    p.setColor(QPalette::WindowText, ramZoznamu);
    zoznam->setPalette(p);
    if (!upravitelny)
        zoznam->setToolTip(
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
        NastavVzhladZoznamu(i);
    shpSel->move(shpSel->x(), Zoznam(vybrany)->y() - 1);
    NastavDatumVyberu();
    const year_month_day datum = m.Datum().Datum();
    lblmesiacrok->setText(Q(Mesiace[static_cast<unsigned>(datum.month())]) + QLatin1Char(' ') +
                          QString::number(static_cast<int>(datum.year())));
    lblmesiacrok->adjustSize();
    for (const Riadok& r : riadky_) {
        r.zoznam->clearSelection();
        r.zoznam->setCurrentRow(-1);
    }
    Zoznam(vybrany)->setFocus(Qt::OtherFocusReason);
}

// The date picker follows the model without raising its change.
void TfrmTyzden::NastavDatumVyberu() {
    const QSignalBlocker ticho(dtpDatum);
    dtpDatum->setDate(NaQDate(model_->Datum().den));
}

void TfrmTyzden::ClearResults() {
    for (std::size_t k = 0; k < 3; ++k) {
        resultTexts_[k]->clear();
        resultTexts_[k]->hide();
        vysledky_[k]->setText({});
        vysledky_[k]->hide();
    }
}

void TfrmTyzden::UkazVysledky() {
    const TTyzden& m = *model_;
    constexpr int okraj = 16; // the arrows at both ends
    constexpr int medzera = 8;
    int pocet = 0;
    int sirka = 0;
    std::array<QString, 3> whole;
    for (std::size_t k = 0; k < 3; ++k) {
        QLabel* l = resultTexts_[k];
        whole[k] = Q(m.Vysledok(static_cast<int>(k) + 1));
        l->setText(whole[k]);
        l->adjustSize();
        l->setVisible(!whole[k].isEmpty());
        if (!whole[k].isEmpty()) {
            ++pocet;
            sirka += l->width();
        }
    }
    if (pocet > 0) {
        // Long holiday texts are shortened so that all three fit between the arrows; the
        // hint keeps the whole text.
        const int miesto = Sirka - 2 * okraj - (pocet + 1) * medzera;
        if (sirka > miesto) {
            sirka = 0;
            for (std::size_t k = 0; k < 3; ++k) {
                QLabel* l = resultTexts_[k];
                if (l->isHidden())
                    continue;
                l->setText(l->fontMetrics().elidedText(whole[k], Qt::ElideRight, miesto / pocet));
                l->adjustSize();
                sirka += l->width();
            }
        }
        const int medzi = (Sirka - sirka) / (pocet + 1);
        int x = medzi;
        for (QLabel* l : resultTexts_) {
            if (l->isHidden())
                continue;
            l->move(x, 506);
            x += l->width() + medzi;
        }
    }
    for (std::size_t k = 0; k < 3; ++k) {
        PictureButton* button = vysledky_[k];
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
    if (!model_ || vysledky_[static_cast<std::size_t>(k - 1)]->text().isEmpty())
        return;
    // The day of the result in the current year.
    const auto target = model_->ResultDay(k, hodiny_.Teraz().Datum().year());
    if (!target)
        return;
    {
        const QSignalBlocker ticho(dtpDatum);
        dtpDatum->setDate(NaQDate(*target));
    }
    Prikaz(TTyzden::ChodNaDatum);
    txtFind->clear();
}

void TfrmTyzden::ImageClick(int den) {
    if (model_ && den != model_->VybranyDen()) {
        model_->VyberDen(den);
        ZobrazVyber();
    }
}

bool TfrmTyzden::MKeyDown(QListWidget* zoznam, int kluc) {
    const int riadkov = zoznam->count();
    if ((kluc == Qt::Key_Up || kluc == Qt::Key_Down) && riadkov > 0 &&
        zoznam->selectedItems().isEmpty()) {
        // Nothing is highlighted yet: the first arrow highlights the first row.
        zoznam->setCurrentRow(0);
        return true;
    }
    switch (kluc) {
    case Qt::Key_Up:
        if (riadkov == 0 || zoznam->item(0)->isSelected()) {
            CielovyDen = model_->VybranyDen() - 1;
            Prikaz(300);
            return true;
        }
        return false;
    case Qt::Key_Down:
        if (riadkov == 0 || zoznam->item(riadkov - 1)->isSelected()) {
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
            kluc != Qt::Key_Insert && zoznam->currentItem() && zoznam->currentItem()->isSelected()
                ? zoznam->currentRow() + 1
                : 0;
        Prikaz(TTyzden::UpravitZaznam);
        return true;
    case Qt::Key_Delete:
        if (zoznam->currentItem() && zoznam->currentItem()->isSelected()) {
            model_->NastavZaznam(zoznam->currentRow());
            Prikaz(400);
            ZobrazTyzden();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void TfrmTyzden::MMouseUp(QListWidget* zoznam, Qt::MouseButton tlacidlo, QPoint bod,
                          QPoint globalne) {
    CielovyDen = zoznam->property("tag").toInt();
    const bool vybrany = zoznam->currentItem() && zoznam->currentItem()->isSelected();
    if (tlacidlo == Qt::LeftButton) {
        if (zoznam->count() == 0) {
            KliknutyRiadok = 0;
            Prikaz(TTyzden::UpravitZaznam);
            return;
        }
        const QModelIndex index = zoznam->indexAt(bod);
        KliknutyRiadok = index.isValid() ? index.row() + 1 : 0;
        if (KliknutyRiadok == 0)
            Prikaz(TTyzden::UpravitZaznam);
        else if (vybrany)
            model_->NastavZaznam(zoznam->currentRow());
    } else if (tlacidlo == Qt::RightButton && vybrany) {
        model_->NastavZaznam(zoznam->currentRow());
        PopupMenu1->exec(globalne);
    }
}

void TfrmTyzden::MDblClick(QListWidget* zoznam) {
    int riadok = 0;
    for (int r = 0; r < zoznam->count(); ++r)
        if (zoznam->item(r)->isSelected())
            riadok = r + 1;
    if (riadok > 0) {
        KliknutyRiadok = riadok;
        Prikaz(TTyzden::UpravitZaznam);
    }
}

bool TfrmTyzden::eventFilter(QObject* objekt, QEvent* udalost) {
    QListWidget* zoznam = nullptr;
    for (const Riadok& r : riadky_)
        if (objekt == r.zoznam || objekt == r.zoznam->viewport())
            zoznam = r.zoznam;
    if (zoznam) {
        if (!model_)
            return false;
        switch (udalost->type()) {
        case QEvent::FocusIn: // MEnter
            CielovyDen = zoznam->property("tag").toInt();
            Prikaz(300);
            break;
        case QEvent::KeyPress:
            if (objekt == zoznam && MKeyDown(zoznam, static_cast<QKeyEvent*>(udalost)->key()))
                return true;
            break;
        case QEvent::MouseButtonRelease: {
            const auto* mys = static_cast<QMouseEvent*>(udalost);
            MMouseUp(zoznam, mys->button(), mys->position().toPoint(),
                     mys->globalPosition().toPoint());
            break;
        }
        case QEvent::ContextMenu:
            // The menu key opens the menu of the highlighted entry beside it.
            if (static_cast<QContextMenuEvent*>(udalost)->reason() == QContextMenuEvent::Keyboard &&
                zoznam->currentItem() && zoznam->currentItem()->isSelected()) {
                model_->NastavZaznam(zoznam->currentRow());
                PopupMenu1->exec(zoznam->viewport()->mapToGlobal(
                    zoznam->visualItemRect(zoznam->currentItem()).bottomLeft()));
                return true;
            }
            break;
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(udalost)->button() == Qt::LeftButton) {
                MDblClick(zoznam);
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
                     std::find(vysledky_.begin(), vysledky_.end(), o) != vysledky_.end());
    };
    if (udalost->type() == QEvent::FocusOut && hladanie(objekt)) {
        const Qt::FocusReason dovod = static_cast<QFocusEvent*>(udalost)->reason();
        if (dovod != Qt::ActiveWindowFocusReason && dovod != Qt::PopupFocusReason &&
            !hladanie(QApplication::focusWidget())) {
            imgFminus->hide();
            imgFplus->hide();
            txtFind->clear();
        }
    }
    // The painted background; the day areas and the other buttons tell of their moves.
    if (objekt == imgPozadie && udalost->type() == QEvent::MouseMove)
        PointerOverBackground();
    return QDialog::eventFilter(objekt, udalost);
}

} // namespace tilava
