#include "ui/windows/fAbout.h"

#include "ui/controls/PictureButton.h"
#include "ui/controls/SkinControls.h"
#include "ui/controls/TabOrder.h"
#include "ui/desktop/Notifier.h"
#include "ui/desktop/PageOpener.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/fNapoveda.h"
#include "ui/windows/ZelmAddresses.h"

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
PictureButton* Odkaz(QWidget* parent, const QString& meno, QRect place, const QString& address) {
    auto* link = new PictureButton(parent, meno, place);
    link->setLink(true);
    link->setCursor(Qt::PointingHandCursor);
    link->setToolTip(QStringLiteral("Choď na: ") + address);
    return link;
}

// A button of the window's bottom row, lit from a move over it until a move over the
// background.
PictureButton* Button(QWidget* parent, const char* meno, QRect place, const char* picture) {
    auto* button = new PictureButton(parent, QLatin1String(meno), place);
    const QString base = QLatin1String(picture);
    button->setPictures(
        LoadSkinPicture(base + QLatin1String("_normal"), farbaTlacidla, place.size()),
        LoadSkinPicture(base + QLatin1String("_hover"), farbaTlacidla, place.size()));
    button->setCursor(Qt::PointingHandCursor);
    QObject::connect(button, &PictureButton::pointerMoved, button,
                     [button] { button->setLit(true); });
    return button;
}

} // namespace

TfrmAbout::TfrmAbout(std::filesystem::path folder, Notifier& notifier, PageOpener& web,
                     QWidget* parent)
    : QDialog(parent), folder_(std::move(folder)), notifier_(notifier), web_(web) {
    setObjectName(QStringLiteral("frmAbout"));
    // Modal to the windows it belongs to, not to the whole program: the tray icon keeps working.
    setWindowModality(Qt::WindowModal);
    setWindowTitle(QStringLiteral("O programe"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(Width, Height);
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, farbaPozadia);
    setPalette(paleta);
    setAutoFillBackground(true);
    const QRect obrazovka = QGuiApplication::primaryScreen()->geometry();
    move(obrazovka.x() + obrazovka.width() - Width, obrazovka.y());

    imgOPrograme = PictureLabel(this, "imgOPrograme", QRect(0, 0, 641, 377));
    imgOPrograme->setPixmap(
        LoadSkinPicture(QStringLiteral("about_background"), Qt::white, QSize(641, 377)));

    imgZatvorit = Button(this, "imgZatvorit", QRect(514, 341, 100, 25), "about_close");
    Image1 =
        Odkaz(this, QStringLiteral("Image1"), QRect(24, 16, 161, 177), ZelmAddresses::HomePageHint);
    imgNapoveda = Button(this, "imgNapoveda", QRect(394, 341, 100, 25), "about_help");
    const QRect links[] = {{440, 158, 121, 15}, {440, 173, 145, 15}, {448, 188, 129, 15},
                           {344, 248, 170, 15}, {488, 293, 121, 15}, {504, 308, 129, 15}};
    for (std::size_t i = 0; i < imgOdkaz.size(); ++i)
        imgOdkaz[i] = Odkaz(this, QStringLiteral("imgOdkaz%1").arg(i + 1), links[i],
                            QUrl(ZelmAddresses::Products[i])
                                .toDisplayString(QUrl::RemoveScheme | QUrl::StripTrailingSlash)
                                .mid(2));
    imgZelm = Odkaz(this, QStringLiteral("imgZelm"), QRect(32, 350, 113, 15),
                    ZelmAddresses::HomePageHint);
    Image2 = new QWidget(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(184, 0, 457, 33);
    Image2->setCursor(Qt::SizeAllCursor);

    // The texts of the picture: the program, its maker and the other programs.
    imgOPrograme->setAccessibleName(QStringLiteral("O programe"));
    imgOPrograme->setAccessibleDescription(QStringLiteral(
        "Tilava, verzia " TILAVA_VERSION
        ". Kalendár mien a sviatkov pre Slovensko a Česko. Tilava vám každé "
        "ráno pripomenie, kto má meniny a aký je sviatok, a na pracovnej ploche ukáže vaše "
        "poznámky, narodeniny a výročia. V týždennom kalendári ich zapíšete jedným kliknutím a "
        "meno nájdete podľa slovenského aj českého kalendára mien. Autor programu: ZELM "
        "software."));
    setAccessibleDescription(imgOPrograme->accessibleDescription());
    Image2->setAccessibleName(QStringLiteral("O programe"));
    Image1->setAccessibleName(QStringLiteral("Tilava, verzia " TILAVA_VERSION));
    connect(Image1, &PictureButton::clicked, this, [this] { OpenPage(ZelmAddresses::HomePage); });
    static const char* const produkty[] = {"Zelm Rodinný diár",   "Zelm Domáce financie",
                                           "Zelm Nákupný lístok", "Zelm Evidencia dochádzky",
                                           "Zelm Menový kurz",    "Zelm Stopky a budík"};
    for (std::size_t i = 0; i < imgOdkaz.size(); ++i) {
        imgOdkaz[i]->setAccessibleName(QString::fromUtf8(produkty[i]));
        connect(imgOdkaz[i], &PictureButton::clicked, this,
                [this, i] { OpenPage(ZelmAddresses::Products[i]); });
    }
    imgZelm->setAccessibleName(QStringLiteral("ZELM software"));
    connect(imgZelm, &PictureButton::clicked, this, [this] { OpenPage(ZelmAddresses::HomePage); });
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
    const QRect place(QPoint(left, top), size());
    QScreen* obrazovka = parentWidget() ? parentWidget()->screen() : nullptr;
    if (!obrazovka)
        obrazovka = QGuiApplication::screenAt(place.center());
    if (!obrazovka)
        obrazovka = QGuiApplication::screenAt(QPoint(left + OffsetFromWidget, top));
    if (!obrazovka)
        obrazovka = QGuiApplication::primaryScreen();
    // Kept whole on the screen: a widget dragged to the left edge would put it partly off.
    const QRect available = obrazovka->availableGeometry();
    move(std::clamp(left, available.left(),
                    std::max(available.left(), available.right() + 1 - width())),
         std::clamp(top, available.top(),
                    std::max(available.top(), available.bottom() + 1 - height())));
    return exec();
}

void TfrmAbout::imgNapovedaClick() {
    TfrmNapoveda napoveda(folder_, notifier_, this);
    napoveda.exec();
}

void TfrmAbout::OpenPage(const QString& address) {
    if (!web_.Open(QUrl(address)))
        notifier_.Message(this, QStringLiteral("Nepodarilo sa otvoriť webový prehliadač."));
}

void TfrmAbout::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        imgNapovedaClick();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmAbout::eventFilter(QObject* object, QEvent* event) {
    // The pointer over the background puts both buttons out.
    if (object == imgOPrograme && event->type() == QEvent::MouseMove) {
        imgZatvorit->setLit(false);
        imgNapoveda->setLit(false);
    }
    return QDialog::eventFilter(object, event);
}

} // namespace tilava
