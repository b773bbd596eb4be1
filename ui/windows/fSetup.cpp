#include "ui/windows/fSetup.h"

#include "model/Nastavenia.h"
#include "store/uRegi.h"
#include "ui/controls/PictureButton.h"
#include "ui/controls/SkinControls.h"
#include "ui/controls/TabOrder.h"
#include "ui/skin/Fonts.h"
#include "ui/skin/Palette.h"
#include "ui/skin/Pictures.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QToolButton>

#include <exception>
#include <utility>

namespace tilava {

namespace {

QLineEdit* Pole(QWidget* rodic, const char* meno, QRect miesto, int dlzka) {
    auto* pole = new QLineEdit(rodic);
    pole->setObjectName(QLatin1String(meno));
    pole->setGeometry(miesto);
    pole->setFrame(false);
    pole->setMaxLength(dlzka);
    pole->setAlignment(Qt::AlignCenter);
    pole->setTextMargins(0, 0, 0, 0);
    pole->setFont(fonts::Font(fonts::kSkin, 12));
    QPalette paleta = pole->palette();
    paleta.setColor(QPalette::Base, Qt::white);
    paleta.setColor(QPalette::Text, Qt::black);
    paleta.setColor(QPalette::Disabled, QPalette::Base, palette::kGreyField);
    paleta.setColor(QPalette::Disabled, QPalette::Text, palette::kGreyText);
    pole->setPalette(paleta);
    return pole;
}

// A white check box or option button without a caption of its own: its words are painted.
template <typename T> T* Volba(QWidget* rodic, const char* meno, QRect miesto) {
    auto* volba = new T(rodic);
    volba->setObjectName(QLatin1String(meno));
    volba->setGeometry(miesto);
    QPalette paleta = volba->palette();
    paleta.setColor(QPalette::Base, Qt::white);
    paleta.setColor(QPalette::Button, Qt::white);
    volba->setPalette(paleta);
    return volba;
}

QToolButton* Prepinac(QWidget* rodic, const char* meno, const QString& text,
                      QButtonGroup* skupina) {
    auto* tlacidlo = new QToolButton(rodic);
    tlacidlo->setObjectName(QLatin1String(meno));
    tlacidlo->setText(text);
    tlacidlo->setCheckable(true);
    tlacidlo->hide();
    skupina->addButton(tlacidlo);
    return tlacidlo;
}

// The number in an edit box as the window takes it: an optional sign and digits, blanks
// around them allowed.
bool Cislo(const QLineEdit* pole, int& cislo) {
    bool ok = false;
    const int hodnota = pole->text().trimmed().toInt(&ok);
    if (ok)
        cislo = hodnota;
    return ok;
}

} // namespace

TfrmSetup::TfrmSetup(SettingsHive& hive, QWidget* parent) : QDialog(parent), hive_(hive) {
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("Nastavenia"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(Sirka, Vyska);
    move(Navrh);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, palette::kSky);
    setPalette(paleta);
    setAutoFillBackground(true);

    imgPozadie = Obrazok(this, "imgPozadie", QRect(0, 0, 300, 330));
    imgPozadie->setPixmap(
        LoadSkinPicture(QStringLiteral("setup_background"), palette::kSky, QSize(300, 330)));
    imgHornaLista = new QWidget(this);
    imgHornaLista->setObjectName(QStringLiteral("imgHornaLista"));
    imgHornaLista->setGeometry(0, 0, 297, 33);
    imgHornaLista->setMouseTracking(true);
    imgHornaLista->setCursor(Qt::SizeAllCursor);

    const QSize vlajka(42, 29);
    imgSKstisknute =
        LoadSkinPicture(QStringLiteral("setup_flag_sk_pressed"), palette::kSky, vlajka);
    imgSKnestisknute = LoadSkinPicture(QStringLiteral("setup_flag_sk"), palette::kSky, vlajka);
    imgCZstisknute =
        LoadSkinPicture(QStringLiteral("setup_flag_cz_pressed"), palette::kSky, vlajka);
    imgCZnestisknute = LoadSkinPicture(QStringLiteral("setup_flag_cz"), palette::kSky, vlajka);
    imgSK = new PictureButton(this, QStringLiteral("imgSK"), QRect(165, 36, 42, 29));
    imgSK->setCursor(Qt::PointingHandCursor);
    imgSK->setToolTip(QStringLiteral("Slovenský kalendár mien"));
    imgCZ = new PictureButton(this, QStringLiteral("imgCZ"), QRect(223, 36, 42, 29));
    imgCZ->setCursor(Qt::PointingHandCursor);
    imgCZ->setToolTip(QStringLiteral("Český kalendár mien"));
    connect(imgSK, &PictureButton::clicked, this, [this] { NastavJazyk(true); });
    connect(imgCZ, &PictureButton::clicked, this, [this] { NastavJazyk(false); });
    jazyky_ = new QButtonGroup(this);
    btnSK = Prepinac(this, "btnSK", QStringLiteral("SK"), jazyky_);
    btnCZ = Prepinac(this, "btnCZ", QStringLiteral("CZ"), jazyky_);
    btnSK->setChecked(true);

    chkStale = Volba<QCheckBox>(this, "chkStale", QRect(168, 75, 15, 15));
    const QSize sekundy(93, 25);
    imgSec1 = LoadSkinPicture(QStringLiteral("setup_seconds"), Qt::white, sekundy);
    imgSec2 =
        LoadSkinPicture(QStringLiteral("setup_seconds_disabled"), palette::kGreyField, sekundy);
    imgSec = Obrazok(this, "imgSec", QRect(164, 98, 93, 25));
    imgSec->setPixmap(imgSec1);
    txtShow = Pole(this, "txtShow", QRect(168, 102, 33, 17), 7);
    txtDopredu = Pole(this, "txtDopredu", QRect(168, 134, 33, 15), 5);
    chkStartup = Volba<QCheckBox>(this, "chkStartup", QRect(168, 161, 15, 15));
    chkPamatat = Volba<QCheckBox>(this, "chkPamatat", QRect(168, 192, 15, 15));
    zvuky_ = new QButtonGroup(this);
    // The option circles need a little more than their 14 x 12 places to be drawn whole; the
    // boxes keep the same centres.
    optNikdy = Volba<QRadioButton>(this, "optNikdy", QRect(166, 222, 16, 16));
    optPriPrvom = Volba<QRadioButton>(this, "optPriPrvom", QRect(166, 244, 16, 16));
    optPriKazdom = Volba<QRadioButton>(this, "optPriKazdom", QRect(166, 264, 16, 16));
    int hodnota = 0;
    for (QRadioButton* opt : {optNikdy, optPriPrvom, optPriKazdom}) {
        zvuky_->addButton(opt, hodnota);
        connect(opt, &QRadioButton::toggled, this, [this, hodnota](bool zapnuta) {
            if (zapnuta)
                Nastavenia.Upozornenie = hodnota;
        });
        ++hodnota;
    }

    imgOK = new PictureButton(this, QStringLiteral("imgOK"), QRect(191, 296, 100, 25));
    imgOK->setPictures(
        LoadSkinPicture(QStringLiteral("setup_ok_normal"), palette::kButtonNavy, QSize(100, 25)),
        LoadSkinPicture(QStringLiteral("setup_ok_hover"), palette::kButtonNavy, QSize(100, 25)));
    imgOK->setCursor(Qt::PointingHandCursor);
    connect(imgOK, &PictureButton::clicked, this, &TfrmSetup::imgOKClick);
    // Lit from a move over it until a move over the background or the title strip.
    connect(imgOK, &PictureButton::pointerMoved, this, [this] { imgOK->setLit(true); });

    // The rows' words are painted on the background; the controls carry them.
    setAccessibleDescription(QStringLiteral("Nastavenia: kalendár mien, zobrazenie hlavného "
                                            "okna, upozornenia a spustenie."));
    imgPozadie->setAccessibleName(QStringLiteral("Nastavenia"));
    imgHornaLista->setAccessibleName(QStringLiteral("Nastavenia"));
    imgSec->setAccessibleName(QStringLiteral("sekúnd"));
    const std::pair<QWidget*, const char*> mena[] = {
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
    for (const auto& [w, meno] : mena)
        w->setAccessibleName(QString::fromUtf8(meno));
    SetTabOrder({imgSK, imgCZ, chkStale, txtShow, txtDopredu, chkStartup, chkPamatat, optNikdy,
                 optPriPrvom, optPriKazdom, imgOK});
    connect(chkStale, &QCheckBox::toggled, this, &TfrmSetup::chkStaleClick);

    for (QWidget* w : {static_cast<QWidget*>(imgPozadie), imgHornaLista})
        w->installEventFilter(this);
    new DragStrip(imgHornaLista);
}

TfrmSetup::~TfrmSetup() = default;

void TfrmSetup::Zobraz() {
    regi_ = std::make_unique<TRegi>(hive_);
    QPoint poloha = pos();
    if (const int top = regi_->CitajHodnotu("frmSetupTop"); top != 0)
        poloha.setY(top);
    if (const int left = regi_->CitajHodnotu("frmSetupLeft"); left != 0)
        poloha.setX(left);
    move(poloha);

    Potvrdene = false;
    NastavJazyk(JazykSK);
    txtShow->setText(QString::number(Nastavenia.ShowTime / 1000));
    chkStartup->setChecked(Nastavenia.Startup);
    txtDopredu->setText(QString::number(Nastavenia.Dopredu));
    chkPamatat->setChecked(Nastavenia.Pamatat);
    chkStale->setChecked(Nastavenia.Stale);
    chkStaleClick();

    zvuky_->setExclusive(false);
    for (QAbstractButton* opt : zvuky_->buttons())
        opt->setChecked(zvuky_->id(opt) == Nastavenia.Upozornenie);
    zvuky_->setExclusive(true);

    chkStale->setFocus(Qt::OtherFocusReason);
    exec();
    regi_.reset();
}

void TfrmSetup::done(int vysledok) {
    if (regi_) {
        // Only the window's own place is at stake: a store that refuses it must not keep the
        // window from closing, and the next opening falls back to the design position.
        try {
            regi_->ZapisHodnotu("frmSetupTop", y());
            regi_->ZapisHodnotu("frmSetupLeft", x());
        } catch (const std::exception&) {
        }
    }
    QDialog::done(vysledok);
}

void TfrmSetup::NastavJazyk(bool sk) {
    (sk ? btnSK : btnCZ)->setChecked(true);
    imgSK->setPictures(sk ? imgSKstisknute : imgSKnestisknute);
    imgCZ->setPictures(sk ? imgCZnestisknute : imgCZstisknute);
}

void TfrmSetup::chkStaleClick() {
    const bool stale = chkStale->isChecked();
    imgSec->setPixmap(stale ? imgSec2 : imgSec1);
    txtShow->setEnabled(!stale);
}

void TfrmSetup::imgOKClick() {
    Potvrdene = true;
    JazykSK = btnSK->isChecked();
    Nastavenia.Startup = chkStartup->isChecked();
    Nastavenia.Pamatat = chkPamatat->isChecked();
    Nastavenia.Stale = chkStale->isChecked();
    // A seconds text that is not a number keeps both numbers, a days text only the days.
    if (int seconds = 0; Cislo(txtShow, seconds)) {
        Nastavenia.ShowTime = ShowTimeFromSeconds(seconds);
        Cislo(txtDopredu, Nastavenia.Dopredu);
    }
    accept();
}

void TfrmSetup::keyPressEvent(QKeyEvent* udalost) {
    if (udalost->key() == Qt::Key_Return || udalost->key() == Qt::Key_Enter) {
        imgOKClick();
        return;
    }
    QDialog::keyPressEvent(udalost);
}

bool TfrmSetup::eventFilter(QObject* objekt, QEvent* udalost) {
    if (udalost->type() == QEvent::MouseMove)
        imgOK->setLit(false); // over the background or the title strip
    return QDialog::eventFilter(objekt, udalost);
}

} // namespace tilava
