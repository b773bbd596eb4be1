#include "ui/windows/fSetup.h"

#include "model/ApplySettings.h"
#include "store/uRegi.h"
#include "ui/controls/PictureButton.h"
#include "ui/controls/SkinControls.h"
#include "ui/controls/TabOrder.h"
#include "ui/desktop/WindowAbilities.h"
#include "ui/skin/Fonts.h"
#include "ui/skin/Palette.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/CalendarSyncRunner.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <exception>
#include <utility>

namespace tilava {

namespace {

QLineEdit* LineEdit(QWidget* parent, const char* meno, QRect place, int length) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(meno));
    field->setGeometry(place);
    field->setFrame(false);
    field->setMaxLength(length);
    field->setAlignment(Qt::AlignCenter);
    field->setTextMargins(0, 0, 0, 0);
    field->setFont(fonts::Font(fonts::kSkin, 12));
    QPalette paleta = field->palette();
    paleta.setColor(QPalette::Base, Qt::white);
    paleta.setColor(QPalette::Text, Qt::black);
    paleta.setColor(QPalette::Disabled, QPalette::Base, palette::kGreyField);
    paleta.setColor(QPalette::Disabled, QPalette::Text, palette::kGreyText);
    field->setPalette(paleta);
    return field;
}

// A white check box or option button without a caption of its own: its words are painted.
template <typename T> T* Volba(QWidget* parent, const char* meno, QRect place) {
    auto* volba = new T(parent);
    volba->setObjectName(QLatin1String(meno));
    volba->setGeometry(place);
    QPalette paleta = volba->palette();
    paleta.setColor(QPalette::Base, Qt::white);
    paleta.setColor(QPalette::Button, Qt::white);
    volba->setPalette(paleta);
    return volba;
}

QToolButton* Prepinac(QWidget* parent, const char* meno, const QString& text,
                      QButtonGroup* skupina) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(meno));
    button->setText(text);
    button->setCheckable(true);
    button->hide();
    skupina->addButton(button);
    return button;
}

// The number in an edit box as the window takes it: an optional sign and digits, blanks
// around them allowed.
// A command in the window's foot, drawn as a link in the skin's navy: the window has no room
// for real buttons beside its painted rows.
QPushButton* Link(QWidget* parent, const char* meno, const QString& text, QRect place) {
    auto* link = new QPushButton(text, parent);
    link->setObjectName(QLatin1String(meno));
    link->setGeometry(place);
    link->setFlat(true);
    link->setCursor(Qt::PointingHandCursor);
    QFont font = fonts::Font(fonts::kSkin, 9);
    font.setUnderline(true);
    link->setFont(font);
    link->setStyleSheet(
        QStringLiteral("QPushButton { color: %1; border: none; text-align: left; "
                       "padding: 0px; background: transparent; }"
                       "QPushButton:disabled { color: %2; }"
                       "QPushButton:focus { background: %3; }")
            .arg(palette::kButtonNavy.name(), palette::kGreyText.name(), QColor(Qt::white).name()));
    link->hide();
    return link;
}

bool Cislo(const QLineEdit* field, int& number) {
    bool ok = false;
    const int value = field->text().trimmed().toInt(&ok);
    if (ok)
        number = value;
    return ok;
}

} // namespace

TfrmSetup::TfrmSetup(SettingsHive& hive, QWidget* parent) : QDialog(parent), hive_(hive) {
    setObjectName(QStringLiteral("frmSetup"));
    // Modal to the windows it belongs to, not to the whole program: the tray icon keeps working.
    setWindowModality(Qt::WindowModal);
    setWindowTitle(QStringLiteral("Nastavenia"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(Width, Height);
    move(Proposal);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, palette::kSky);
    setPalette(paleta);
    setAutoFillBackground(true);

    imgPozadie = PictureLabel(this, "imgPozadie", QRect(0, 0, 300, 330));
    imgPozadie->setPixmap(
        LoadSkinPicture(QStringLiteral("setup_background"), palette::kSky, QSize(300, 330)));
    imgHornaLista = new QWidget(this);
    imgHornaLista->setObjectName(QStringLiteral("imgHornaLista"));
    imgHornaLista->setGeometry(0, 0, 297, 33);
    imgHornaLista->setMouseTracking(true);
    imgHornaLista->setCursor(Qt::SizeAllCursor);

    const QSize flag(42, 29);
    imgSKstisknute = LoadSkinPicture(QStringLiteral("setup_flag_sk_pressed"), palette::kSky, flag);
    imgSKnestisknute = LoadSkinPicture(QStringLiteral("setup_flag_sk"), palette::kSky, flag);
    imgCZstisknute = LoadSkinPicture(QStringLiteral("setup_flag_cz_pressed"), palette::kSky, flag);
    imgCZnestisknute = LoadSkinPicture(QStringLiteral("setup_flag_cz"), palette::kSky, flag);
    imgSK = new PictureButton(this, QStringLiteral("imgSK"), QRect(165, 36, 42, 29));
    imgSK->setCursor(Qt::PointingHandCursor);
    imgSK->setToolTip(QStringLiteral("Slovenský kalendár mien"));
    imgCZ = new PictureButton(this, QStringLiteral("imgCZ"), QRect(223, 36, 42, 29));
    imgCZ->setCursor(Qt::PointingHandCursor);
    imgCZ->setToolTip(QStringLiteral("Český kalendár mien"));
    languages_ = new QButtonGroup(this);
    btnSK = Prepinac(this, "btnSK", QStringLiteral("SK"), languages_);
    btnCZ = Prepinac(this, "btnCZ", QStringLiteral("CZ"), languages_);
    // Assistive technology sees the flags as radio buttons, the chosen language checked.
    for (const auto& [flagButton, choice] : {std::pair{imgSK, btnSK}, std::pair{imgCZ, btnCZ}}) {
        flagButton->setRadio(true);
        connect(choice, &QToolButton::toggled, flagButton, &PictureButton::setChecked);
        connect(flagButton, &PictureButton::toggled, this, [this, flagButton](bool checked) {
            if (checked)
                SetLanguage(flagButton == imgSK);
        });
    }
    btnSK->setChecked(true);

    chkStale = Volba<QCheckBox>(this, "chkStale", QRect(168, 75, 15, 15));
    const QSize secondCount(93, 25);
    imgSec1 = LoadSkinPicture(QStringLiteral("setup_seconds"), Qt::white, secondCount);
    imgSec2 =
        LoadSkinPicture(QStringLiteral("setup_seconds_disabled"), palette::kGreyField, secondCount);
    imgSec = PictureLabel(this, "imgSec", QRect(164, 98, 93, 25));
    imgSec->setPixmap(imgSec1);
    txtShow = LineEdit(this, "txtShow", QRect(168, 102, 33, 17), 7);
    txtDopredu = LineEdit(this, "txtDopredu", QRect(168, 134, 33, 15), 5);
    chkStartup = Volba<QCheckBox>(this, "chkStartup", QRect(168, 161, 15, 15));
    chkPamatat = Volba<QCheckBox>(this, "chkPamatat", QRect(168, 192, 15, 15));
    sounds_ = new QButtonGroup(this);
    // The option circles need a little more than their 14 x 12 places to be drawn whole; the
    // boxes keep the same centres.
    optNikdy = Volba<QRadioButton>(this, "optNikdy", QRect(166, 222, 16, 16));
    optPriPrvom = Volba<QRadioButton>(this, "optPriPrvom", QRect(166, 244, 16, 16));
    optPriKazdom = Volba<QRadioButton>(this, "optPriKazdom", QRect(166, 264, 16, 16));
    int value = 0;
    for (QRadioButton* opt : {optNikdy, optPriPrvom, optPriKazdom}) {
        sounds_->addButton(opt, value);
        connect(opt, &QRadioButton::toggled, this, [this, value](bool zapnuta) {
            if (zapnuta)
                Settings.Upozornenie = value;
        });
        ++value;
    }

    imgOK = new PictureButton(this, QStringLiteral("imgOK"), QRect(191, 296, 100, 25));
    imgOK->setPictures(
        LoadSkinPicture(QStringLiteral("setup_ok_normal"), palette::kButtonNavy, QSize(100, 25)),
        LoadSkinPicture(QStringLiteral("setup_ok_hover"), palette::kButtonNavy, QSize(100, 25)));
    imgOK->setCursor(Qt::PointingHandCursor);
    connect(imgOK, &PictureButton::clicked, this, &TfrmSetup::imgOKClick);
    // Lit from a move over it until a move over the background or the title strip.
    connect(imgOK, &PictureButton::pointerMoved, this, [this] { imgOK->setLit(true); });

    btnSyncSettings = Link(this, "btnSyncSettings", QStringLiteral("Nastavenie synchronizácie…"),
                           QRect(10, 293, 176, 15));
    btnSync = Link(this, "btnSync", QStringLiteral("Synchronizovať"), QRect(10, 309, 176, 15));

    // The rows' words are painted on the background; the controls carry them.
    setAccessibleDescription(QStringLiteral("Nastavenia: kalendár mien, zobrazenie hlavného "
                                            "okna, upozornenia a spustenie."));
    imgPozadie->setAccessibleName(QStringLiteral("Nastavenia"));
    imgHornaLista->setAccessibleName(QStringLiteral("Nastavenia"));
    imgSec->setAccessibleName(QStringLiteral("sekúnd"));
    const std::pair<QWidget*, const char*> names[] = {
        {imgSK, "Slovenský kalendár mien"},
        {imgCZ, "Český kalendár mien"},
        {imgOK, "OK"},
        {chkStale, "Hlavné okno zobraziť stále"},
        {txtShow, "Hlavné okno zobraziť na sekúnd"},
        {txtDopredu, "Upozorniť na poznámky dní dopredu"},
        {chkStartup, "Spustiť pri štarte PC"},
        {chkPamatat, "Pamätať pozíciu okna"},
        {optNikdy, "Zvukové upozornenie nikdy"},
        {optPriPrvom, "Zvukové upozornenie pri prvom spustení"},
        {optPriKazdom, "Zvukové upozornenie pri každom spustení"},
    };
    for (const auto& [w, meno] : names)
        w->setAccessibleName(QString::fromUtf8(meno));
    SetTabOrder({imgSK, imgCZ, chkStale, txtShow, txtDopredu, chkStartup, chkPamatat, optNikdy,
                 optPriPrvom, optPriKazdom, imgOK, btnSyncSettings, btnSync});
    connect(chkStale, &QCheckBox::toggled, this, &TfrmSetup::chkStaleClick);

    for (QWidget* w : {static_cast<QWidget*>(imgPozadie), imgHornaLista})
        w->installEventFilter(this);
    new DragStrip(imgHornaLista);
}

TfrmSetup::~TfrmSetup() = default;

void TfrmSetup::Zobraz() {
    regi_ = std::make_unique<TRegi>(hive_);
    QPoint position = pos();
    if (const int top = regi_->CitajHodnotu("frmSetupTop"); top != 0)
        position.setY(top);
    if (const int left = regi_->CitajHodnotu("frmSetupLeft"); left != 0)
        position.setX(left);
    move(position);

    Potvrdene = false;
    SetLanguage(JazykSK);
    txtShow->setText(QString::number(Settings.ShowTime / 1000));
    chkStartup->setChecked(Settings.Startup);
    txtDopredu->setText(QString::number(Settings.Dopredu));
    chkPamatat->setChecked(Settings.Pamatat);
    chkStale->setChecked(Settings.Stale);
    chkStaleClick();

    sounds_->setExclusive(false);
    for (QAbstractButton* opt : sounds_->buttons())
        opt->setChecked(sounds_->id(opt) == Settings.Upozornenie);
    sounds_->setExclusive(true);

    chkStale->setFocus(Qt::OtherFocusReason);
    exec();
    regi_.reset();
}

void TfrmSetup::OfferSync(CalendarSyncRunner& sync, std::function<void()> openSettings) {
    connect(btnSyncSettings, &QPushButton::clicked, this, std::move(openSettings),
            Qt::QueuedConnection);
    connect(btnSync, &QPushButton::clicked, this,
            [&sync] { sync.Start(CalendarSyncRunner::Origin::Menu); });
    const auto follow = [this, &sync] {
        const QString status = sync.Status();
        btnSync->setText(status.isEmpty() ? QStringLiteral("Synchronizovať") : status);
        btnSync->setEnabled(status.isEmpty());
    };
    connect(&sync, &CalendarSyncRunner::statusChanged, this, follow);
    follow();
    btnSyncSettings->show();
    btnSync->show();
}

void TfrmSetup::done(int result) {
    if (regi_) {
        // Only the window's own place is at stake: a store that refuses it must not keep the
        // window from closing, and the next opening falls back to the design position.
        try {
            // A window that cannot know its place (Wayland) keeps the one stored before.
            if (WindowAbilities::Current().placesItself) {
                regi_->ZapisHodnotu("frmSetupTop", y());
                regi_->ZapisHodnotu("frmSetupLeft", x());
            }
        } catch (const std::exception&) {
        }
    }
    QDialog::done(result);
}

void TfrmSetup::SetLanguage(bool sk) {
    (sk ? btnSK : btnCZ)->setChecked(true);
    imgSK->setPictures(sk ? imgSKstisknute : imgSKnestisknute);
    imgCZ->setPictures(sk ? imgCZnestisknute : imgCZstisknute);
}

void TfrmSetup::chkStaleClick() {
    const bool always = chkStale->isChecked();
    imgSec->setPixmap(always ? imgSec2 : imgSec1);
    txtShow->setEnabled(!always);
}

void TfrmSetup::imgOKClick() {
    Potvrdene = true;
    JazykSK = btnSK->isChecked();
    Settings.Startup = chkStartup->isChecked();
    Settings.Pamatat = chkPamatat->isChecked();
    Settings.Stale = chkStale->isChecked();
    // A seconds text that is not a number keeps both numbers, a days text only the days.
    if (int seconds = 0; Cislo(txtShow, seconds)) {
        Settings.ShowTime = ShowTimeFromSeconds(seconds);
        Cislo(txtDopredu, Settings.Dopredu);
    }
    accept();
}

void TfrmSetup::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        imgOKClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmSetup::eventFilter(QObject* object, QEvent* event) {
    if (event->type() == QEvent::MouseMove)
        imgOK->setLit(false); // over the background or the title strip
    return QDialog::eventFilter(object, event);
}

} // namespace tilava
