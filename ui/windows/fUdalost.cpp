#include "ui/windows/fUdalost.h"

#include "core/Clock.h"
#include "core/Cp1250.h"
#include "ui/controls/PictureButton.h"
#include "ui/controls/SkinControls.h"
#include "ui/controls/TabOrder.h"
#include "ui/desktop/Notifier.h"
#include "ui/skin/Pictures.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace tilava {

namespace {

const QColor farbaPozadia(0xE8, 0xF0, 0xFA);
const QColor farbaTlacidla(0x1F, 0x3C, 0x88);

// A picture button, or with no picture an invisible click area over a painted label.
PictureButton* Button(QWidget* parent, const char* name, QRect place, const QPixmap& normal = {},
                      const QPixmap& lit = {}) {
    auto* button = new PictureButton(parent, QLatin1String(name), place);
    button->setPictures(normal, lit);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QLineEdit* Pole(QWidget* rodic, const char* meno, QRect miesto) {
    auto* pole = new QLineEdit(rodic);
    pole->setObjectName(QLatin1String(meno));
    pole->setGeometry(miesto);
    pole->setFrame(false);
    QPalette paleta = pole->palette();
    paleta.setColor(QPalette::Base, Qt::white);
    paleta.setColor(QPalette::Text, Qt::black);
    pole->setPalette(paleta);
    return pole;
}

// A year box: four digit places, only the digits count.
QLineEdit* PoleRoku(QWidget* rodic, const char* meno, QRect miesto) {
    QLineEdit* pole = Pole(rodic, meno, miesto);
    pole->setInputMask(QStringLiteral("0000"));
    pole->setText(QString::number(TfrmUdalost::RokNaStart));
    return pole;
}

// Up-down arrows beside a year box; the buttons are named <meno>Hore and <meno>Dole.
QWidget* Sipky(QWidget* rodic, const char* meno, QRect miesto) {
    auto* sipky = new QWidget(rodic);
    sipky->setObjectName(QLatin1String(meno));
    sipky->setGeometry(miesto);
    const int polovica = miesto.height() / 2;
    const struct {
        const char* pripona;
        Qt::ArrowType smer;
        QRect miesto;
    } tlacidla[] = {
        {"Hore", Qt::UpArrow, QRect(0, 0, miesto.width(), polovica)},
        {"Dole", Qt::DownArrow, QRect(0, polovica, miesto.width(), miesto.height() - polovica)},
    };
    for (const auto& t : tlacidla) {
        auto* tlacidlo = new QToolButton(sipky);
        tlacidlo->setObjectName(QLatin1String(meno) + QLatin1String(t.pripona));
        tlacidlo->setArrowType(t.smer);
        tlacidlo->setGeometry(t.miesto);
        tlacidlo->setAutoRepeat(true);
        tlacidlo->setFocusPolicy(Qt::NoFocus);
        tlacidlo->setAutoRaise(true);
    }
    return sipky;
}

QRadioButton* Volba(QWidget* rodic, const char* meno, QButtonGroup* skupina) {
    auto* volba = new QRadioButton(rodic);
    volba->setObjectName(QLatin1String(meno));
    volba->hide();
    skupina->addButton(volba);
    return volba;
}

} // namespace

TfrmUdalost::TfrmUdalost(const Clock& hodiny, Notifier& oznamy, QWidget* parent)
    : QDialog(parent), hodiny_(hodiny), oznamy_(oznamy) {
    setObjectName(QStringLiteral("frmUdalost"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(Sirka, Vyska);
    move(495, 193);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, Qt::white);
    setPalette(paleta);
    setAutoFillBackground(true);

    imgPozadie = Obrazok(this, "imgPozadie", QRect(0, 0, 370, 189));
    imgPozadie->setPixmap(
        LoadSkinPicture(QStringLiteral("event_background"), farbaPozadia, QSize(370, 189)));
    const auto picture = [](const char* name) {
        return LoadSkinPicture(QLatin1String(name), farbaTlacidla, QSize(100, 26));
    };
    imgOk = Button(this, "imgOk", QRect(158, 158, 100, 26), picture("event_ok_normal"),
                   picture("event_ok_hover"));
    imgStorno = Button(this, "imgStorno", QRect(264, 158, 100, 26), picture("event_cancel_normal"),
                       picture("event_cancel_hover"));
    connect(imgOk, &PictureButton::clicked, this, &TfrmUdalost::PotvrdAZatvor);
    connect(imgStorno, &PictureButton::clicked, this, &TfrmUdalost::reject);
    connect(imgOk, &PictureButton::pointerMoved, this,
            [this] { PointerOverButton(imgOk, imgStorno); });
    connect(imgStorno, &PictureButton::pointerMoved, this,
            [this] { PointerOverButton(imgStorno, imgOk); });

    shpNarodeniny = Button(this, "shpNarodeniny", QRect(32, 48, 73, 17));
    shpVyrocie = Button(this, "shpVyrocie", QRect(32, 84, 53, 17));
    shpPoznamka = Button(this, "shpPoznamka", QRect(32, 124, 69, 17));
    for (const auto& [area, druh] :
         {std::pair{shpNarodeniny, TDruh::Narodeniny}, std::pair{shpVyrocie, TDruh::Vyrocie},
          std::pair{shpPoznamka, TDruh::Poznamka}}) {
        // The keyboard takes the focus on to the kind's text field also when the kind was
        // selected already; the mouse never gives the area the focus.
        connect(area, &PictureButton::clicked, this, [this, area, druh] {
            if (area->hasFocus())
                VyberDruhKlavesnicou(druh);
            else
                VyberDruh(druh);
        });
        connect(area, &PictureButton::pointerMoved, this, &TfrmUdalost::PointerOverBackground);
    }

    druhy_ = new QButtonGroup(this);
    optNar = Volba(this, "optNar", druhy_);
    optVyr = Volba(this, "optVyr", druhy_);
    optPoz = Volba(this, "optPoz", druhy_);

    txtNar = Pole(this, "txtNar", QRect(117, 49, 145, 18));
    txtNarRok = PoleRoku(this, "txtNarRok", QRect(292, 48, 32, 21));
    updNar = Sipky(this, "updNar", QRect(324, 48, 15, 21));
    txtVyr = Pole(this, "txtVyr", QRect(117, 86, 145, 19));
    txtVyrRok = PoleRoku(this, "txtVyrRok", QRect(292, 86, 32, 19));
    updVyr = Sipky(this, "updVyr", QRect(324, 86, 15, 19));
    txtPoz = Pole(this, "txtPoz", QRect(117, 126, 245, 18));
    NastavPristupnost();

    for (QWidget* w : {static_cast<QWidget*>(imgPozadie), static_cast<QWidget*>(txtNar),
                       static_cast<QWidget*>(txtNarRok), static_cast<QWidget*>(txtVyr),
                       static_cast<QWidget*>(txtVyrRok), static_cast<QWidget*>(txtPoz)})
        w->installEventFilter(this);

    for (const TDruh druh : {TDruh::Narodeniny, TDruh::Vyrocie, TDruh::Poznamka}) {
        connect(VolbaDruhu(druh), &QRadioButton::toggled, this, [this, druh](bool zapnuta) {
            if (!zapnuta)
                return;
            TextDruhu(druh)->setFocus(Qt::OtherFocusReason);
            VyprazdniOstatne(druh);
        });
    }
    const struct {
        QWidget* sipky;
        QLineEdit* rok;
        int minimum;
        int* maximum;
    } roky[] = {{updNar, txtNarRok, MinNar, &maxNar_}, {updVyr, txtVyrRok, MinVyr, &maxVyr_}};
    for (const auto& r : roky) {
        const QString meno = r.sipky->objectName();
        auto* hore = r.sipky->findChild<QToolButton*>(meno + QLatin1String("Hore"));
        auto* dole = r.sipky->findChild<QToolButton*>(meno + QLatin1String("Dole"));
        connect(hore, &QToolButton::clicked, this,
                [this, r] { Krok(r.rok, +1, r.minimum, *r.maximum); });
        connect(dole, &QToolButton::clicked, this,
                [this, r] { Krok(r.rok, -1, r.minimum, *r.maximum); });
    }
    maxNar_ = maxVyr_ = static_cast<int>(hodiny_.Teraz().Datum().year());
}

TfrmUdalost::~TfrmUdalost() = default;

void TfrmUdalost::NastavPristupnost() {
    setAccessibleDescription(QStringLiteral(
        "Zadajte udalosť: narodeniny (meno a rok narodenia), výročie (popis udalosti a rok "
        "vzniku) alebo poznámku. Druh vyberiete tlačidlom Narodeniny, Výročie alebo Poznámka; "
        "šípky hore a dole menia rok."));
    imgPozadie->setAccessibleName(QStringLiteral("Zadajte udalosť"));
    shpNarodeniny->setAccessibleName(QStringLiteral("Narodeniny"));
    shpVyrocie->setAccessibleName(QStringLiteral("Výročie"));
    shpPoznamka->setAccessibleName(QStringLiteral("Poznámka"));
    imgOk->setAccessibleName(QStringLiteral("OK"));
    imgStorno->setAccessibleName(QStringLiteral("Storno"));
    const struct {
        QWidget* pole;
        const char* meno;
        const char* druh;
    } polia[] = {{txtNar, "Meno", "Narodeniny"},
                 {txtNarRok, "Rok narodenia", "Narodeniny"},
                 {txtVyr, "Popis udalosti", "Výročie"},
                 {txtVyrRok, "Rok vzniku", "Výročie"},
                 {txtPoz, "Text poznámky", "Poznámka"}};
    for (const auto& p : polia) {
        p.pole->setAccessibleName(QString::fromUtf8(p.meno));
        p.pole->setAccessibleDescription(QString::fromUtf8(p.druh));
    }
    const struct {
        QWidget* sipky;
        const char* rok;
    } sipky[] = {{updNar, "rok narodenia"}, {updVyr, "rok vzniku"}};
    for (const auto& s : sipky) {
        const QString rok = QString::fromUtf8(s.rok);
        const QString meno = s.sipky->objectName();
        s.sipky->setAccessibleName(QStringLiteral("Šípky: ") + rok);
        s.sipky->findChild<QWidget*>(meno + QLatin1String("Hore"))
            ->setAccessibleName(QStringLiteral("Zvýšiť ") + rok);
        s.sipky->findChild<QWidget*>(meno + QLatin1String("Dole"))
            ->setAccessibleName(QStringLiteral("Znížiť ") + rok);
    }
    // The three kinds, the fields in their rows, then the two buttons.
    SetTabOrder({shpNarodeniny, shpVyrocie, shpPoznamka, txtNar, txtNarRok, txtVyr, txtVyrRok,
                 txtPoz, imgOk, imgStorno});
}

QLineEdit* TfrmUdalost::TextDruhu(TDruh druh) const {
    switch (druh) {
    case TDruh::Poznamka:
        return txtPoz;
    case TDruh::Vyrocie:
        return txtVyr;
    case TDruh::Narodeniny:
        break;
    }
    return txtNar;
}

QLineEdit* TfrmUdalost::RokDruhu(TDruh druh) const {
    switch (druh) {
    case TDruh::Poznamka:
        return nullptr;
    case TDruh::Vyrocie:
        return txtVyrRok;
    case TDruh::Narodeniny:
        break;
    }
    return txtNarRok;
}

QRadioButton* TfrmUdalost::VolbaDruhu(TDruh druh) const {
    switch (druh) {
    case TDruh::Poznamka:
        return optPoz;
    case TDruh::Vyrocie:
        return optVyr;
    case TDruh::Narodeniny:
        break;
    }
    return optNar;
}

TDruh TfrmUdalost::VybranyDruh() const {
    if (optPoz->isChecked())
        return TDruh::Poznamka;
    if (optVyr->isChecked())
        return TDruh::Vyrocie;
    return TDruh::Narodeniny;
}

void TfrmUdalost::VyberDruh(TDruh druh) {
    VolbaDruhu(druh)->setChecked(true);
    VyprazdniOstatne(druh);
}

void TfrmUdalost::VyberDruhKlavesnicou(TDruh druh) {
    VyberDruh(druh);
    TextDruhu(druh)->setFocus(Qt::OtherFocusReason);
}

void TfrmUdalost::VyprazdniOstatne(TDruh druh) {
    for (const TDruh iny : {TDruh::Narodeniny, TDruh::Vyrocie, TDruh::Poznamka})
        if (iny != druh)
            TextDruhu(iny)->clear();
    if (longText_) {
        TextDruhu(druh)->setText(longTextShown_);
        TextDruhu(druh)->setCursorPosition(0);
    }
}

void TfrmUdalost::Krok(QLineEdit* rok, int o, int minimum, int maximum) {
    bool cislo = false;
    int hodnota = rok->text().toInt(&cislo);
    if (!cislo)
        hodnota = RokNaStart;
    rok->setText(QString::number(std::clamp(hodnota + o, minimum, std::max(minimum, maximum))));
}

bool TfrmUdalost::Uprav(TNote& poznamka, int rok) {
    poznamka_ = &poznamka;
    rok_ = rok;
    prijate_ = false;
    setWindowTitle(QStringLiteral("Udalosť dňa "));
    maxNar_ = maxVyr_ = static_cast<int>(hodiny_.Teraz().Datum().year());
    const QString text = QString::fromStdString(poznamka.Text);
    VolbaDruhu(poznamka.Druh)->setChecked(true);
    longText_.reset();
    longTextShown_.clear();
    QLineEdit* pole = TextDruhu(poznamka.Druh);
    if (text.size() > pole->maxLength()) {
        // A text field would cut the rest off without a word, and OK would store the cut text.
        longText_ = poznamka.Text;
        longTextShown_ = text.left(pole->maxLength());
        const QString sprava =
            QStringLiteral("Text tohto záznamu má %1 znakov, viac ako %2, ktoré sa dajú upraviť "
                           "v tomto okne. Zobrazí sa len jeho začiatok a ostane nezmenený; "
                           "zmeniť môžete druh a rok záznamu.")
                .arg(QLocale(QLocale::Slovak).toString(text.size()),
                     QLocale(QLocale::Slovak).toString(pole->maxLength()));
        for (QLineEdit* t : {txtNar, txtVyr, txtPoz}) {
            t->setReadOnly(true);
            t->setToolTip(sprava);
        }
        pole->setText(longTextShown_);
        oznamy_.Message(this, sprava);
    } else {
        pole->setText(text);
    }
    if (poznamka.Druh == TDruh::Vyrocie || (poznamka.Druh == TDruh::Narodeniny && poznamka.Rok))
        RokDruhu(poznamka.Druh)->setText(QString::number(poznamka.Rok));
    exec();
    poznamka_ = nullptr;
    return prijate_;
}

bool TfrmUdalost::Potvrd() {
    prijate_ = false;
    if (!poznamka_)
        return false;
    const TDruh druh = VybranyDruh();
    QLineEdit* pole = TextDruhu(druh);
    const QString text = pole->text();
    if (!longText_ && text.trimmed().isEmpty() && !Existujuca) {
        oznamy_.Beep();
        pole->setFocus(Qt::OtherFocusReason);
        return false;
    }
    // Everything is checked before the entry changes, so a refusal leaves it as it was.
    int rok = rok_;
    if (QLineEdit* poleRoku = RokDruhu(druh)) {
        bool cislo = false;
        rok = poleRoku->text().toInt(&cislo);
        if (!cislo) {
            oznamy_.Message(this, QStringLiteral("Rok musí byť číslo. Zadajte ho číslicami, "
                                                 "napríklad 1980."));
            poleRoku->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    // A text kept whole was read from its day file as it is and is written back the same.
    const std::string utf8 = longText_ ? *longText_ : text.toStdString();
    QString chyba;
    if (!longText_) {
        if (utf8.find_first_of("\r\n") != std::string::npos) {
            chyba = QStringLiteral("Text musí byť v jednom riadku.");
        } else if (const auto znak = FirstUnencodable(utf8)) {
            chyba = QStringLiteral("Znak %1 sa do súboru poznámok nedá uložiť. Nahraďte ho, "
                                   "prosím, iným.")
                        .arg(QString::fromStdString(DescribeCharacter(*znak)));
        }
    }
    if (!chyba.isEmpty()) {
        oznamy_.Message(this, chyba);
        pole->setFocus(Qt::OtherFocusReason);
        return false;
    }
    poznamka_->Druh = druh;
    poznamka_->Rok = rok;
    poznamka_->Potvrdena = true;
    poznamka_->Text = utf8;
    prijate_ = true;
    return true;
}

void TfrmUdalost::PotvrdAZatvor() {
    if (Potvrd())
        accept();
}

void TfrmUdalost::PointerOverBackground() {
    buttonsAwake_ = true;
    imgOk->setLit(false);
    imgStorno->setLit(false);
}

void TfrmUdalost::PointerOverButton(PictureButton* button, PictureButton* other) {
    if (!buttonsAwake_ || button->isLit())
        return;
    button->setLit(true);
    other->setLit(false);
}

void TfrmUdalost::showEvent(QShowEvent* udalost) {
    QDialog::showEvent(udalost);
    if (poznamka_)
        TextDruhu(poznamka_->Druh)->setFocus(Qt::ActiveWindowFocusReason);
}

bool TfrmUdalost::eventFilter(QObject* objekt, QEvent* udalost) {
    auto* w = qobject_cast<QWidget*>(objekt);
    if (!w)
        return QDialog::eventFilter(objekt, udalost);
    switch (udalost->type()) {
    case QEvent::KeyPress: {
        const int kluc = static_cast<QKeyEvent*>(udalost)->key();
        if (kluc == Qt::Key_Escape) {
            reject();
            return true;
        }
        // The year box's arrows from the keyboard.
        if ((kluc == Qt::Key_Up || kluc == Qt::Key_Down) && (w == txtNarRok || w == txtVyrRok)) {
            const int o = kluc == Qt::Key_Up ? +1 : -1;
            if (w == txtNarRok)
                Krok(txtNarRok, o, MinNar, maxNar_);
            else
                Krok(txtVyrRok, o, MinVyr, maxVyr_);
            return true;
        }
        if (kluc != Qt::Key_Return && kluc != Qt::Key_Enter)
            break;
        if (w == txtNar)
            txtNarRok->setFocus(Qt::OtherFocusReason);
        else if (w == txtVyr)
            txtVyrRok->setFocus(Qt::OtherFocusReason);
        else if (w == txtNarRok || w == txtVyrRok || w == txtPoz)
            PotvrdAZatvor();
        else
            break;
        return true;
    }
    case QEvent::FocusIn:
        // A text kept whole shows its beginning, also after the field's own focus handling.
        if (auto* pole = qobject_cast<QLineEdit*>(w); pole && longText_ && pole->isReadOnly())
            QTimer::singleShot(0, pole, [pole] { pole->setCursorPosition(0); });
        break;
    case QEvent::MouseButtonPress:
        // A click into a text field selects its kind; the year boxes select nothing.
        if (w == txtNar)
            VyberDruh(TDruh::Narodeniny);
        else if (w == txtVyr)
            VyberDruh(TDruh::Vyrocie);
        else if (w == txtPoz)
            VyberDruh(TDruh::Poznamka);
        break;
    case QEvent::MouseMove:
        // The kinds' click areas are invisible: over them too the pointer is over the
        // painted background.
        if (w == imgPozadie)
            PointerOverBackground();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(objekt, udalost);
}

} // namespace tilava
