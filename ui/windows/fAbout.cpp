#include "ui/windows/fAbout.h"

#include "ui/controls/PictureButton.h"
#include "ui/controls/SkinControls.h"
#include "ui/controls/TabOrder.h"
#include "ui/desktop/Notifier.h"
#include "ui/desktop/PageOpener.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/fNapoveda.h"
#include "ui/windows/ZelmAdresy.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>

#include <algorithm>
#include <utility>

namespace tilava {

namespace {

const QColor farbaPozadia(0xA6, 0xCA, 0xF0); // sky blue
const QColor farbaTlacidla(0x1F, 0x3C, 0x88);

// An invisible link area over a painted name.
PictureButton* Odkaz(QWidget* rodic, const QString& meno, QRect miesto, const QString& adresa) {
    auto* plocha = new PictureButton(rodic, meno, miesto);
    plocha->setLink(true);
    plocha->setCursor(Qt::PointingHandCursor);
    plocha->setToolTip(QStringLiteral("Choď na: ") + adresa);
    return plocha;
}

// A button of the window's bottom row, lit from a move over it until a move over the
// background.
PictureButton* Tlacidlo(QWidget* rodic, const char* meno, QRect miesto, const char* obrazok) {
    auto* tlacidlo = new PictureButton(rodic, QLatin1String(meno), miesto);
    const QString zaklad = QLatin1String(obrazok);
    tlacidlo->setPictures(
        LoadSkinPicture(zaklad + QLatin1String("_normal"), farbaTlacidla, miesto.size()),
        LoadSkinPicture(zaklad + QLatin1String("_hover"), farbaTlacidla, miesto.size()));
    tlacidlo->setCursor(Qt::PointingHandCursor);
    QObject::connect(tlacidlo, &PictureButton::pointerMoved, tlacidlo,
                     [tlacidlo] { tlacidlo->setLit(true); });
    return tlacidlo;
}

} // namespace

TfrmAbout::TfrmAbout(std::filesystem::path priecinok, Notifier& oznamy, PageOpener& web,
                     QWidget* parent)
    : QDialog(parent), priecinok_(std::move(priecinok)), oznamy_(oznamy), web_(web) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("O programe"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(Sirka, Vyska);
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, farbaPozadia);
    setPalette(paleta);
    setAutoFillBackground(true);
    const QRect obrazovka = QGuiApplication::primaryScreen()->geometry();
    move(obrazovka.x() + obrazovka.width() - Sirka, obrazovka.y());

    imgOPrograme = Obrazok(this, "imgOPrograme", QRect(0, 0, 641, 377));
    imgOPrograme->setPixmap(
        LoadSkinPicture(QStringLiteral("about_background"), Qt::white, QSize(641, 377)));

    imgZatvorit = Tlacidlo(this, "imgZatvorit", QRect(514, 341, 100, 25), "about_close");
    Image1 = Odkaz(this, QStringLiteral("Image1"), QRect(24, 16, 161, 177), ZelmAdresy::DomovHint);
    imgNapoveda = Tlacidlo(this, "imgNapoveda", QRect(394, 341, 100, 25), "about_help");
    const QRect odkazy[] = {{440, 158, 121, 15}, {440, 173, 145, 15}, {448, 188, 129, 15},
                            {344, 248, 170, 15}, {488, 293, 121, 15}, {504, 308, 129, 15}};
    for (std::size_t i = 0; i < imgOdkaz.size(); ++i)
        imgOdkaz[i] = Odkaz(this, QStringLiteral("imgOdkaz%1").arg(i + 1), odkazy[i],
                            QUrl(ZelmAdresy::Produkty[i])
                                .toDisplayString(QUrl::RemoveScheme | QUrl::StripTrailingSlash)
                                .mid(2));
    imgZelm =
        Odkaz(this, QStringLiteral("imgZelm"), QRect(32, 350, 113, 15), ZelmAdresy::DomovHint);
    Image2 = new QWidget(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(184, 0, 457, 33);
    Image2->setCursor(Qt::SizeAllCursor);

    // The texts of the picture: the program, its maker and the other programs.
    imgOPrograme->setAccessibleName(QStringLiteral("O programe"));
    imgOPrograme->setAccessibleDescription(QStringLiteral(
        "Tilava, verzia 1.0. Kalendár mien a sviatkov pre Slovensko a Česko. Tilava vám každé "
        "ráno pripomenie, kto má meniny a aký je sviatok, a na pracovnej ploche ukáže vaše "
        "poznámky, narodeniny a výročia. V týždennom kalendári ich zapíšete jedným kliknutím a "
        "meno nájdete podľa slovenského aj českého kalendára mien. Autor programu: ZELM "
        "software."));
    setAccessibleDescription(imgOPrograme->accessibleDescription());
    Image2->setAccessibleName(QStringLiteral("O programe"));
    Image1->setAccessibleName(QStringLiteral("Tilava, verzia 1.0"));
    connect(Image1, &PictureButton::clicked, this, [this] { OtvorStranku(ZelmAdresy::Domov); });
    static const char* const produkty[] = {"Zelm Rodinný diár",   "Zelm Domáce financie",
                                           "Zelm Nákupný lístok", "Zelm Evidencia dochádzky",
                                           "Zelm Menový kurz",    "Zelm Stopky a budík"};
    for (std::size_t i = 0; i < imgOdkaz.size(); ++i) {
        imgOdkaz[i]->setAccessibleName(QString::fromUtf8(produkty[i]));
        connect(imgOdkaz[i], &PictureButton::clicked, this,
                [this, i] { OtvorStranku(ZelmAdresy::Produkty[i]); });
    }
    imgZelm->setAccessibleName(QStringLiteral("ZELM software"));
    connect(imgZelm, &PictureButton::clicked, this, [this] { OtvorStranku(ZelmAdresy::Domov); });
    imgNapoveda->setAccessibleName(QStringLiteral("Nápoveda"));
    connect(imgNapoveda, &PictureButton::clicked, this, &TfrmAbout::imgNapovedaClick);
    imgZatvorit->setAccessibleName(QStringLiteral("Zatvoriť"));
    connect(imgZatvorit, &PictureButton::clicked, this, &TfrmAbout::accept);
    SetTabOrder({Image1, imgOdkaz[0], imgOdkaz[1], imgOdkaz[2], imgOdkaz[3], imgOdkaz[4],
                 imgOdkaz[5], imgZelm, imgNapoveda, imgZatvorit});

    imgOPrograme->installEventFilter(this);
    new DragStrip(Image2);
}

TfrmAbout::~TfrmAbout() = default;

int TfrmAbout::Ukaz(int top, int left) {
    const QRect miesto(QPoint(left, top), size());
    QScreen* obrazovka = parentWidget() ? parentWidget()->screen() : nullptr;
    if (!obrazovka)
        obrazovka = QGuiApplication::screenAt(miesto.center());
    if (!obrazovka)
        obrazovka = QGuiApplication::screenAt(QPoint(left + OdsadenieOdWidgetu, top));
    if (!obrazovka)
        obrazovka = QGuiApplication::primaryScreen();
    // Kept whole on the screen: a widget dragged to the left edge would put it partly off.
    const QRect plocha = obrazovka->availableGeometry();
    move(std::clamp(left, plocha.left(), std::max(plocha.left(), plocha.right() + 1 - width())),
         std::clamp(top, plocha.top(), std::max(plocha.top(), plocha.bottom() + 1 - height())));
    return exec();
}

void TfrmAbout::imgNapovedaClick() {
    TfrmNapoveda napoveda(priecinok_, oznamy_, this);
    napoveda.exec();
}

void TfrmAbout::OtvorStranku(const QString& adresa) {
    if (!web_.Otvor(QUrl(adresa)))
        oznamy_.Message(this, QStringLiteral("Nepodarilo sa otvoriť webový prehliadač."));
}

void TfrmAbout::keyPressEvent(QKeyEvent* udalost) {
    if (udalost->key() == Qt::Key_F1) {
        imgNapovedaClick();
        return;
    }
    if (udalost->key() == Qt::Key_Return || udalost->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(udalost);
}

bool TfrmAbout::eventFilter(QObject* objekt, QEvent* udalost) {
    // The pointer over the background puts both buttons out.
    if (objekt == imgOPrograme && udalost->type() == QEvent::MouseMove) {
        imgZatvorit->setLit(false);
        imgNapoveda->setLit(false);
    }
    return QDialog::eventFilter(objekt, udalost);
}

} // namespace tilava
