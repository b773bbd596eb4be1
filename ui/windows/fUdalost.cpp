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
#include <QRegularExpression>
#include <QRegularExpressionValidator>
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

QLineEdit* LineEdit(QWidget* parent, const char* meno, QRect place) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(meno));
    field->setGeometry(place);
    field->setFrame(false);
    QPalette paleta = field->palette();
    paleta.setColor(QPalette::Base, Qt::white);
    paleta.setColor(QPalette::Text, Qt::black);
    field->setPalette(paleta);
    return field;
}

// A year box: up to four digits, or empty for a year not known. (A digit mask would leave the
// cursor of an empty box after its empty places, where typing puts nothing in.)
QLineEdit* PoleRoku(QWidget* parent, const char* meno, QRect place) {
    QLineEdit* field = LineEdit(parent, meno, place);
    field->setMaxLength(4);
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), field));
    field->setText(QString::number(TfrmUdalost::StartYear));
    return field;
}

// Up-down arrows beside a year box; the buttons are named <meno>Hore and <meno>Dole.
QWidget* Sipky(QWidget* parent, const char* meno, QRect place) {
    auto* arrows = new QWidget(parent);
    arrows->setObjectName(QLatin1String(meno));
    arrows->setGeometry(place);
    const int polovica = place.height() / 2;
    const struct {
        const char* pripona;
        Qt::ArrowType smer;
        QRect place;
    } tlacidla[] = {
        {"Hore", Qt::UpArrow, QRect(0, 0, place.width(), polovica)},
        {"Dole", Qt::DownArrow, QRect(0, polovica, place.width(), place.height() - polovica)},
    };
    for (const auto& t : tlacidla) {
        auto* button = new QToolButton(arrows);
        button->setObjectName(QLatin1String(meno) + QLatin1String(t.pripona));
        button->setArrowType(t.smer);
        button->setGeometry(t.place);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(true);
    }
    return arrows;
}

QRadioButton* Volba(QWidget* parent, const char* meno, QButtonGroup* skupina) {
    auto* volba = new QRadioButton(parent);
    volba->setObjectName(QLatin1String(meno));
    volba->hide();
    skupina->addButton(volba);
    return volba;
}

} // namespace

TfrmUdalost::TfrmUdalost(const Clock& clock, Notifier& notifier, QWidget* parent)
    : QDialog(parent), clock_(clock), notifier_(notifier) {
    setObjectName(QStringLiteral("frmUdalost"));
    // Modal to the windows it belongs to, not to the whole program: the tray icon keeps working.
    setWindowModality(Qt::WindowModal);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(Width, Height);
    move(495, 193);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, Qt::white);
    setPalette(paleta);
    setAutoFillBackground(true);

    imgPozadie = PictureLabel(this, "imgPozadie", QRect(0, 0, 370, 189));
    imgPozadie->setPixmap(
        LoadSkinPicture(QStringLiteral("event_background"), farbaPozadia, QSize(370, 189)));
    const auto picture = [](const char* name) {
        return LoadSkinPicture(QLatin1String(name), farbaTlacidla, QSize(100, 26));
    };
    imgOk = Button(this, "imgOk", QRect(158, 158, 100, 26), picture("event_ok_normal"),
                   picture("event_ok_hover"));
    imgStorno = Button(this, "imgStorno", QRect(264, 158, 100, 26), picture("event_cancel_normal"),
                       picture("event_cancel_hover"));
    connect(imgOk, &PictureButton::clicked, this, &TfrmUdalost::ConfirmAndClose);
    connect(imgStorno, &PictureButton::clicked, this, &TfrmUdalost::reject);
    connect(imgOk, &PictureButton::pointerMoved, this,
            [this] { PointerOverButton(imgOk, imgStorno); });
    connect(imgStorno, &PictureButton::pointerMoved, this,
            [this] { PointerOverButton(imgStorno, imgOk); });

    shpNarodeniny = Button(this, "shpNarodeniny", QRect(32, 48, 73, 17));
    shpVyrocie = Button(this, "shpVyrocie", QRect(32, 84, 53, 17));
    shpPoznamka = Button(this, "shpPoznamka", QRect(32, 124, 69, 17));
    for (const auto& [area, kind] :
         {std::pair{shpNarodeniny, EntryKind::Narodeniny},
          std::pair{shpVyrocie, EntryKind::Vyrocie}, std::pair{shpPoznamka, EntryKind::Poznamka}}) {
        // Assistive technology sees the kinds as radio buttons, the selected one checked.
        area->setRadio(true);
        connect(area, &PictureButton::toggled, this, [this, kind](bool checked) {
            if (checked)
                PickKind(kind);
        });
        // The keyboard takes the focus on to the kind's text field also when the kind was
        // selected already; the mouse never gives the area the focus.
        connect(area, &PictureButton::clicked, this, [this, area, kind] {
            if (area->hasFocus())
                PickKindByKeyboard(kind);
            else
                PickKind(kind);
        });
        connect(area, &PictureButton::pointerMoved, this, &TfrmUdalost::PointerOverBackground);
    }

    kinds_ = new QButtonGroup(this);
    optNar = Volba(this, "optNar", kinds_);
    optVyr = Volba(this, "optVyr", kinds_);
    optPoz = Volba(this, "optPoz", kinds_);

    txtNar = LineEdit(this, "txtNar", QRect(117, 49, 145, 18));
    txtNarRok = PoleRoku(this, "txtNarRok", QRect(292, 48, 32, 21));
    updNar = Sipky(this, "updNar", QRect(324, 48, 15, 21));
    txtVyr = LineEdit(this, "txtVyr", QRect(117, 86, 145, 19));
    txtVyrRok = PoleRoku(this, "txtVyrRok", QRect(292, 86, 32, 19));
    updVyr = Sipky(this, "updVyr", QRect(324, 86, 15, 19));
    txtPoz = LineEdit(this, "txtPoz", QRect(117, 126, 245, 18));
    SetAccessibility();

    for (QWidget* w : {static_cast<QWidget*>(imgPozadie), static_cast<QWidget*>(txtNar),
                       static_cast<QWidget*>(txtNarRok), static_cast<QWidget*>(txtVyr),
                       static_cast<QWidget*>(txtVyrRok), static_cast<QWidget*>(txtPoz)})
        w->installEventFilter(this);

    for (const auto& [area, kind] :
         {std::pair{shpNarodeniny, EntryKind::Narodeniny},
          std::pair{shpVyrocie, EntryKind::Vyrocie}, std::pair{shpPoznamka, EntryKind::Poznamka}}) {
        connect(KindChoice(kind), &QRadioButton::toggled, area, &PictureButton::setChecked);
        connect(KindChoice(kind), &QRadioButton::toggled, this, [this, kind](bool zapnuta) {
            if (!zapnuta)
                return;
            KindText(kind)->setFocus(Qt::OtherFocusReason);
            ClearOthers(kind);
        });
    }
    const struct {
        QWidget* arrows;
        QLineEdit* rok;
        int minimum;
        int* maximum;
    } roky[] = {{updNar, txtNarRok, MinBirthYear, &maxBirthYear_},
                {updVyr, txtVyrRok, MinAnniversaryYear, &maxAnniversaryYear_}};
    for (const auto& r : roky) {
        const QString meno = r.arrows->objectName();
        auto* hore = r.arrows->findChild<QToolButton*>(meno + QLatin1String("Hore"));
        auto* down = r.arrows->findChild<QToolButton*>(meno + QLatin1String("Dole"));
        connect(hore, &QToolButton::clicked, this,
                [this, r] { Step(r.rok, +1, r.minimum, *r.maximum); });
        connect(down, &QToolButton::clicked, this,
                [this, r] { Step(r.rok, -1, r.minimum, *r.maximum); });
    }
    maxBirthYear_ = maxAnniversaryYear_ = static_cast<int>(clock_.Now().Datum().year());
}

TfrmUdalost::~TfrmUdalost() = default;

void TfrmUdalost::SetAccessibility() {
    setAccessibleDescription(QStringLiteral(
        "Zadajte udalosť: narodeniny (meno a rok narodenia), výročie (popis udalosti a rok "
        "vzniku) alebo poznámku. Druh vyberiete prepínačom Narodeniny, Výročie alebo Poznámka; "
        "v poli roku šípky hore a dole menia rok."));
    imgPozadie->setAccessibleName(QStringLiteral("Zadajte udalosť"));
    shpNarodeniny->setAccessibleName(QStringLiteral("Narodeniny"));
    shpVyrocie->setAccessibleName(QStringLiteral("Výročie"));
    shpPoznamka->setAccessibleName(QStringLiteral("Poznámka"));
    imgOk->setAccessibleName(QStringLiteral("OK"));
    imgStorno->setAccessibleName(QStringLiteral("Storno"));
    const struct {
        QWidget* field;
        const char* meno;
        const char* kind;
    } polia[] = {{txtNar, "Meno", "Narodeniny"},
                 {txtNarRok, "Rok narodenia", "Narodeniny"},
                 {txtVyr, "Popis udalosti", "Výročie"},
                 {txtVyrRok, "Rok vzniku", "Výročie"},
                 {txtPoz, "Text poznámky", "Poznámka"}};
    for (const auto& p : polia) {
        p.field->setAccessibleName(QString::fromUtf8(p.meno));
        p.field->setAccessibleDescription(QString::fromUtf8(p.kind));
    }
    const struct {
        QWidget* arrows;
        const char* rok;
    } arrows[] = {{updNar, "rok narodenia"}, {updVyr, "rok vzniku"}};
    for (const auto& s : arrows) {
        const QString rok = QString::fromUtf8(s.rok);
        const QString meno = s.arrows->objectName();
        s.arrows->setAccessibleName(QStringLiteral("Šípky: ") + rok);
        s.arrows->findChild<QWidget*>(meno + QLatin1String("Hore"))
            ->setAccessibleName(QStringLiteral("Zvýšiť ") + rok);
        s.arrows->findChild<QWidget*>(meno + QLatin1String("Dole"))
            ->setAccessibleName(QStringLiteral("Znížiť ") + rok);
    }
    // The three kinds, the fields in their rows, then the two buttons.
    SetTabOrder({shpNarodeniny, shpVyrocie, shpPoznamka, txtNar, txtNarRok, txtVyr, txtVyrRok,
                 txtPoz, imgOk, imgStorno});
}

QLineEdit* TfrmUdalost::KindText(EntryKind kind) const {
    switch (kind) {
    case EntryKind::Poznamka:
        return txtPoz;
    case EntryKind::Vyrocie:
        return txtVyr;
    case EntryKind::Narodeniny:
        break;
    }
    return txtNar;
}

QLineEdit* TfrmUdalost::YearOfKind(EntryKind kind) const {
    switch (kind) {
    case EntryKind::Poznamka:
        return nullptr;
    case EntryKind::Vyrocie:
        return txtVyrRok;
    case EntryKind::Narodeniny:
        break;
    }
    return txtNarRok;
}

QRadioButton* TfrmUdalost::KindChoice(EntryKind kind) const {
    switch (kind) {
    case EntryKind::Poznamka:
        return optPoz;
    case EntryKind::Vyrocie:
        return optVyr;
    case EntryKind::Narodeniny:
        break;
    }
    return optNar;
}

EntryKind TfrmUdalost::PickedKind() const {
    if (optPoz->isChecked())
        return EntryKind::Poznamka;
    if (optVyr->isChecked())
        return EntryKind::Vyrocie;
    return EntryKind::Narodeniny;
}

void TfrmUdalost::PickKind(EntryKind kind) {
    KindChoice(kind)->setChecked(true);
    ClearOthers(kind);
}

void TfrmUdalost::PickKindByKeyboard(EntryKind kind) {
    PickKind(kind);
    KindText(kind)->setFocus(Qt::OtherFocusReason);
}

void TfrmUdalost::ClearOthers(EntryKind kind) {
    for (const EntryKind other : {EntryKind::Narodeniny, EntryKind::Vyrocie, EntryKind::Poznamka})
        if (other != kind)
            KindText(other)->clear();
    if (longText_) {
        KindText(kind)->setText(longTextShown_);
        KindText(kind)->setCursorPosition(0);
    }
}

void TfrmUdalost::Step(QLineEdit* rok, int o, int minimum, int maximum) {
    bool number = false;
    int value = rok->text().toInt(&number);
    if (!number)
        value = StartYear;
    rok->setText(QString::number(std::clamp(value + o, minimum, std::max(minimum, maximum))));
    rok->setModified(true);
}

bool TfrmUdalost::Uprav(TNote& note, int rok) {
    note_ = &note;
    year_ = rok;
    accepted_ = false;
    setWindowTitle(QStringLiteral("Udalosť dňa "));
    maxBirthYear_ = maxAnniversaryYear_ = static_cast<int>(clock_.Now().Datum().year());
    const QString text = QString::fromStdString(note.Text);
    KindChoice(note.Druh)->setChecked(true);
    longText_.reset();
    longTextShown_.clear();
    QLineEdit* field = KindText(note.Druh);
    if (text.size() > field->maxLength()) {
        // A text field would cut the rest off without a word, and OK would store the cut text.
        longText_ = note.Text;
        longTextShown_ = text.left(field->maxLength());
        const QString message =
            QStringLiteral("Text tohto záznamu má %1 znakov, viac ako %2, ktoré sa dajú upraviť "
                           "v tomto okne. Zobrazí sa len jeho začiatok a ostane nezmenený; "
                           "zmeniť môžete druh a rok záznamu.")
                .arg(QLocale(QLocale::Slovak).toString(text.size()),
                     QLocale(QLocale::Slovak).toString(field->maxLength()));
        for (QLineEdit* t : {txtNar, txtVyr, txtPoz}) {
            t->setReadOnly(true);
            t->setToolTip(message);
        }
        field->setText(longTextShown_);
        notifier_.Message(this, message);
    } else {
        field->setText(text);
    }
    // Year 0 is a year not known (an import leaves it so): an existing entry shows an empty
    // box to fill in, a new one the box's first value.
    yearKept_.reset();
    txtNarRok->setPlaceholderText({});
    txtVyrRok->setPlaceholderText({});
    if (QLineEdit* yearBox = YearOfKind(note.Druh); yearBox && (note.Rok != 0 || Existujuca)) {
        const QString year = note.Rok != 0 ? QString::number(note.Rok) : QString();
        if (year.size() > yearBox->maxLength()) {
            // The box would cut the year short and OK would store the cut one: it stays empty,
            // shows the year greyed, and the year is kept unless the user writes another.
            yearKept_ = note.Rok;
            yearBox->setText(QString());
            yearBox->setPlaceholderText(year);
        } else {
            yearBox->setText(year);
        }
    }
    exec();
    note_ = nullptr;
    return accepted_;
}

bool TfrmUdalost::Potvrd() {
    accepted_ = false;
    if (!note_)
        return false;
    const EntryKind kind = PickedKind();
    QLineEdit* field = KindText(kind);
    const QString text = field->text();
    if (!longText_ && text.trimmed().isEmpty() && !Existujuca) {
        notifier_.Beep();
        field->setFocus(Qt::OtherFocusReason);
        return false;
    }
    // Everything is checked before the entry changes, so a refusal leaves it as it was.
    int rok = year_;
    if (QLineEdit* poleRoku = YearOfKind(kind)) {
        // An empty box stores year 0: the year is not known, and no count of years is shown.
        const QString typed = poleRoku->text().trimmed();
        bool number = typed.isEmpty();
        rok = number ? 0 : typed.toInt(&number);
        QString refusal;
        if (yearKept_ && kind == note_->Druh && !poleRoku->isModified()) {
            rok = *yearKept_;
        } else if (!number) {
            refusal = QStringLiteral("Rok musí byť číslo. Zadajte ho číslicami, napríklad 1980.");
        } else if (const int thisYear = static_cast<int>(clock_.Now().Datum().year());
                   rok > thisYear) {
            refusal = QStringLiteral("%1 %2 je v budúcnosti. Zadajte rok, ktorý už bol "
                                     "(najviac %3), alebo pole nechajte prázdne, ak rok "
                                     "nepoznáte.")
                          .arg(kind == EntryKind::Vyrocie ? QStringLiteral("Rok vzniku")
                                                          : QStringLiteral("Rok narodenia"))
                          .arg(rok)
                          .arg(thisYear);
        }
        if (!refusal.isEmpty()) {
            notifier_.Message(this, refusal);
            poleRoku->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    // A text kept whole was read from its day file as it is and is written back the same.
    const std::string utf8 = longText_ ? *longText_ : text.toStdString();
    QString error;
    if (!longText_) {
        if (utf8.find_first_of("\r\n") != std::string::npos) {
            error = QStringLiteral("Text musí byť v jednom riadku.");
        } else if (const auto codePoint = FirstUnencodable(utf8)) {
            error = QStringLiteral("Znak %1 sa do súboru poznámok nedá uložiť. Nahraďte ho, "
                                   "prosím, iným.")
                        .arg(QString::fromStdString(DescribeCharacter(*codePoint)));
        }
    }
    if (!error.isEmpty()) {
        notifier_.Message(this, error);
        field->setFocus(Qt::OtherFocusReason);
        return false;
    }
    note_->Druh = kind;
    note_->Rok = rok;
    note_->Potvrdena = true;
    note_->Text = utf8;
    accepted_ = true;
    return true;
}

void TfrmUdalost::ConfirmAndClose() {
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

void TfrmUdalost::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (note_)
        KindText(note_->Druh)->setFocus(Qt::ActiveWindowFocusReason);
}

bool TfrmUdalost::eventFilter(QObject* object, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w)
        return QDialog::eventFilter(object, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
        // The year box's arrows from the keyboard.
        if ((key == Qt::Key_Up || key == Qt::Key_Down) && (w == txtNarRok || w == txtVyrRok)) {
            const int o = key == Qt::Key_Up ? +1 : -1;
            if (w == txtNarRok)
                Step(txtNarRok, o, MinBirthYear, maxBirthYear_);
            else
                Step(txtVyrRok, o, MinAnniversaryYear, maxAnniversaryYear_);
            return true;
        }
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            break;
        if (w == txtNar)
            txtNarRok->setFocus(Qt::OtherFocusReason);
        else if (w == txtVyr)
            txtVyrRok->setFocus(Qt::OtherFocusReason);
        else if (w == txtNarRok || w == txtVyrRok || w == txtPoz)
            ConfirmAndClose();
        else
            break;
        return true;
    }
    case QEvent::FocusIn:
        // A text kept whole shows its beginning, also after the field's own focus handling.
        if (auto* field = qobject_cast<QLineEdit*>(w); field && longText_ && field->isReadOnly())
            QTimer::singleShot(0, field, [field] { field->setCursorPosition(0); });
        break;
    case QEvent::MouseButtonPress:
        // A click into a text field selects its kind; the year boxes select nothing.
        if (w == txtNar)
            PickKind(EntryKind::Narodeniny);
        else if (w == txtVyr)
            PickKind(EntryKind::Vyrocie);
        else if (w == txtPoz)
            PickKind(EntryKind::Poznamka);
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
    return QDialog::eventFilter(object, event);
}

} // namespace tilava
