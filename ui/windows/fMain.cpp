#include "ui/windows/fMain.h"

#include "core/Clock.h"
#include "core/uRok.h"
#include "model/WidgetModel.h"
#include "model/WidgetRect.h"
#include "platform/HiveError.h"
#include "store/uPoznamky.h"
#include "store/uRegi.h"
#include "store/WidgetSettings.h"
#include "ui/controls/PictureButton.h"
#include "ui/controls/ReminderText.h"
#include "ui/controls/TabOrder.h"
#include "ui/controls/WidgetButtons.h"
#include "ui/desktop/Notifier.h"
#include "ui/desktop/PageOpener.h"
#include "ui/desktop/WindowOpacity.h"
#include "ui/skin/Fonts.h"
#include "ui/skin/Palette.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/CalendarExchange.h"
#include "ui/windows/fAbout.h"
#include "ui/windows/OtvorKalendar.h"
#include "ui/windows/OtvorNastavenia.h"
#include "ui/windows/SystemDateFormat.h"
#include "ui/windows/WidgetTray.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDate>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <cstddef>
#include <utility>

namespace tilava {

namespace {

// The widget's type, in the skin's face; fourteen bold letters fit a name line.
QFont WidgetFont(bool bold = false) {
    return fonts::Font(fonts::kSkin, 11, bold, false);
}

void NastavFarbu(QWidget* w, const QColor& farba) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, farba);
    w->setPalette(p);
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// QLabel::setText switches mouse tracking off for plain text; the labels keep reacting to moves.
void NastavText(QLabel* l, const QString& text) {
    l->setText(text);
    l->setMouseTracking(true);
}

} // namespace

TfrmMain::TfrmMain(const Clock& hodiny, SettingsHive& hive, std::filesystem::path priecinok,
                   Notifier& oznamy, TrayDostupny trayDostupny, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), hodiny_(hodiny), hive_(hive),
      oznamy_(oznamy), web_(std::make_unique<SystemPageOpener>()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tilava"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, palette::kSky);
    setPalette(p);
    setFont(WidgetFont());
    setMouseTracking(true);
    InitSkinResources();
    VytvorOvladace();
    tray_ = new WidgetTray(
        *this, trayDostupny ? std::move(trayDostupny)
                            : [] { return QSystemTrayIcon::isSystemTrayAvailable(); });
    connect(tray_, &WidgetTray::activated, this, &TfrmMain::IkonaKlik);
    connect(tray_, &WidgetTray::quitChosen, this, &TfrmMain::Ukoncit);
    connect(tray_, &WidgetTray::showChosen, this, &TfrmMain::Ukaz);
    connect(tray_, &WidgetTray::exportChosen, this, [this] {
        VymenaKalendara([this] { ExportujKalendar(this, model_->Notes().Adresar(), oznamy_); });
    });
    connect(tray_, &WidgetTray::importChosen, this, [this] {
        VymenaKalendara([this] { ImportujKontakty(this, model_->Notes().Adresar(), oznamy_); });
    });

    tmrTimer_ = new QTimer(this);
    tmrTimer_->setObjectName(QStringLiteral("tmrTimer"));
    tmrTimer_->setInterval(static_cast<int>(FadeCountdown::Interval));
    connect(tmrTimer_, &QTimer::timeout, this, &TfrmMain::tmrTimerTimer);
    tmrNadFormom_ = new QTimer(this);
    tmrNadFormom_->setObjectName(QStringLiteral("tmrNadFormom"));
    tmrNadFormom_->setInterval(100);
    connect(tmrNadFormom_, &QTimer::timeout, this, &TfrmMain::tmrNadFormomTimer);
    tmrZapis_ = new QTimer(this);
    tmrZapis_->setObjectName(QStringLiteral("tmrZapis"));
    tmrZapis_->setInterval(5000);
    connect(tmrZapis_, &QTimer::timeout, this, &TfrmMain::tmrZapisTimer);

    // Top right corner of the primary screen.
    const QRect obrazovka = QGuiApplication::primaryScreen()->geometry();
    QPoint poloha(obrazovka.x() + obrazovka.width() - Sirka, obrazovka.y());
    NastavText(lblDnes_, QStringLiteral("Dnes"));
    lblDnes_->adjustSize();

    dateFormat_ = std::make_unique<SystemDateFormat>();
    model_ = std::make_unique<WidgetModel>(hodiny, hive, std::move(priecinok), *dateFormat_);
    NastavText(lblDen_, Q(DayTexts::NazovDna(model_->Today())));
    const WidgetSettings& nastavenia = model_->Settings();
    if (nastavenia.Top)
        poloha.setY(*nastavenia.Top);
    if (nastavenia.Left)
        poloha.setX(*nastavenia.Left);
    move(poloha);

    const bool beep = model_->Start();
    Draw(false);
    if (beep)
        oznamy_.Beep();

    NastavTooltip();
    tray_->Start();

    tmrZapis_->start();
    // The countdown also restarts when the window becomes active; a desktop that does not
    // activate new windows still gets it here.
    SpustiOdpocet();
}

TfrmMain::~TfrmMain() {
    tmrTimer_->stop();
    tray_->Hide();
}

QSystemTrayIcon* TfrmMain::Tray() const {
    return tray_->Icon();
}

const ButtonHover& TfrmMain::Hover() const {
    return buttons_->Hover();
}

int TfrmMain::DenMesiaca() const {
    return static_cast<int>(
        static_cast<unsigned>(std::chrono::year_month_day{model_->ShownDay()}.day()));
}

void TfrmMain::NastavTooltip() {
    tooltip_ = Q(model_->Tooltip());
    tray_->Update(tooltip_, DenMesiaca());
}

void TfrmMain::tmrZapisTimer() {
    if (model_->Tick()) {
        Draw(true);
        NastavTooltip();
    }
}

void TfrmMain::VytvorOvladace() {
    const auto menovka = [this](const char* meno, QRect miesto, QFont pismo, const QColor& farba) {
        QLabel* l = Obrazok(this, meno, miesto);
        l->setFont(pismo);
        NastavFarbu(l, farba);
        return l;
    };
    const auto plocha = [this](const char* meno, QRect miesto) {
        auto* w = new QWidget(this);
        w->setObjectName(QLatin1String(meno));
        w->setGeometry(miesto);
        return w;
    };

    const QColor biela = Qt::white;
    const QColor text = palette().color(QPalette::WindowText);
    const QFont meno = WidgetFont(true);

    imgMain_ = Obrazok(this, "imgMain", {0, 0, Sirka, VyskaHlavicky});
    imgMain_->setPixmap(WidgetPicture::Load(QStringLiteral("main_header")));
    lblSviatok1_ = menovka("lblSviatok1", {72, 27, 97, 13}, meno, biela);
    lblDatum_ =
        menovka("lblDatum", {8, 32, 58, 41}, fonts::Font(fonts::kSkin, 35, true, false), Qt::black);
    lblSviatok2_ = menovka("lblSviatok2", {72, 46, 97, 13}, meno, biela);
    // Each reminder after the first keeps the room of its own bar and the line between bars.
    lblNote_ = new ReminderText(this, OdsadeniePruhu + MedzeraPruhov);
    lblNote_->setObjectName(QStringLiteral("lblNote"));
    lblNote_->setGeometry(8, VyskaHlavicky, SirkaTextu, 0);
    lblNote_->setFont(WidgetFont());
    NastavFarbu(lblNote_, biela);
    buttons_ = new WidgetButtons(*this);
    imgSetup_ = buttons_->Button(ButtonHover::Setup);
    imgHelp_ = buttons_->Button(ButtonHover::Help);
    imgMin_ = buttons_->Button(ButtonHover::Min);
    imgClose_ = buttons_->Button(ButtonHover::Close);
    // The pointer may leave the widget straight from a button: the leave check puts the button
    // out if no leave event does.
    connect(buttons_, &WidgetButtons::pointerMoved, this, [this] {
        if (!tmrNadFormom_->isActive())
            tmrNadFormom_->start();
    });
    connect(imgSetup_, &PictureButton::clicked, this, &TfrmMain::OtvorNastavenia);
    connect(imgHelp_, &PictureButton::clicked, this, &TfrmMain::OtvorOProgramme);
    connect(imgMin_, &PictureButton::clicked, this, [this] {
        tmrTimer_->stop();
        Skry();
    });
    connect(imgClose_, &PictureButton::clicked, this, [this] {
        tmrTimer_->stop();
        close();
    });
    lblSviatok3_ = menovka("lblSviatok3", {72, 58, 97, 13}, meno, biela);
    for (QLabel* l : {lblSviatok1_, lblSviatok2_, lblSviatok3_, lblDatum_})
        l->setAlignment(Qt::AlignCenter);
    lblDnes_ = menovka("lblDnes", {5, 3, 0, 0}, WidgetFont(), biela);
    // The weekday is centred on the day page, below its red band, so that the longest
    // ("Pondelok") keeps inside the page and the caron of "Š" stays off the band.
    lblDen_ = menovka("lblDen", {}, WidgetFont(true), text);
    lblDen_->setGeometry(StranaDna.x(), StranaDna.y() + PasStrany, StranaDna.width(),
                         lblDen_->fontMetrics().height());
    lblDen_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    imgHornaLista_ = plocha("imgHornaLista", {0, 0, 97, 20});
    imgFlag_ = new PictureButton(this, QStringLiteral("imgFlag"), {46, 1, 26, 17});
    connect(imgFlag_, &PictureButton::clicked, this, &TfrmMain::PrepniJazyk);
    connect(imgFlag_, &PictureButton::pointerMoved, this, &TfrmMain::MysNadFormom);
    imgDrag_ = Obrazok(this, "imgDrag", {86, 45, 85, 38});
    imgDrag_->hide();
    image1_ = plocha("Image1", {0, 24, 169, 57});

    // The buttons handle their own mouse; the other parts are watched here.
    for (QObject* o : children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && !qobject_cast<PictureButton*>(w)) {
            w->setMouseTracking(true);
            w->installEventFilter(this);
        }
    }
    imgFlag_->setAccessibleName(QStringLiteral("Slovenské mená"));
    SetTabOrder({imgFlag_, imgSetup_, imgHelp_, imgMin_, imgClose_});
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(Sirka, VyskaHlavicky);
    bars_ = std::make_unique<ReminderBars>(*this, *this);
}

void TfrmMain::ZobrazTexty(const DayTexts& texty, bool cely) {
    if (cely) {
        NastavText(lblDnes_, Q(texty.dnes));
        lblDnes_->adjustSize();
        NastavText(lblDen_, Q(texty.den));
    }
    NastavText(lblDatum_, Q(texty.datum));
    const std::array<QLabel*, 3> riadky{lblSviatok1_, lblSviatok2_, lblSviatok3_};
    for (std::size_t i = 0; i < riadky.size(); ++i) {
        const NameLine& r = texty.sviatky[i];
        NastavText(riadky[i], Q(r.text));
        if (r.hint)
            riadky[i]->setToolTip(Q(*r.hint));
        if (cely)
            riadky[i]->setVisible(r.visible);
    }
}

void TfrmMain::ZobrazMena(bool cely) {
    // While the pointer rests on the widget it shows tomorrow; a rebuild then (the flag was
    // clicked) refreshes tomorrow's texts instead of mixing in today's.
    if (zajtra_)
        ZobrazTexty(model_->Header(true), true);
    else
        ZobrazTexty(model_->Header(false), cely);
}

void TfrmMain::ZobrazUdalosti() {
    Draw(model_->Rebuild());
}

void TfrmMain::Draw(bool newDay) {
    // A new day since the last build (the widget ran over midnight) also needs its weekday.
    ZobrazMena(newDay);
    const std::vector<ReminderLine>& riadky = model_->Lines();
    QStringList odseky;
    for (const ReminderLine& riadok : riadky)
        odseky << Q(riadok.text);
    lblNote_->NastavOdseky(odseky, SirkaTextu);
    lblNote_->setGeometry(8, VyskaHlavicky + OdsadeniePruhu, SirkaTextu, lblNote_->Vyska());
    const int bottom = bars_->Show(riadky, model_->MissedShown(), *lblNote_, VyskaHlavicky);

    if (const std::string sprava = model_->TakeMessage(); !sprava.empty()) {
        sprava_ = Q(sprava);
        if (isVisible())
            NaplanujSpravu();
    }
    if (riadky.empty()) {
        lblNote_->setGeometry(8, VyskaHlavicky, SirkaTextu, 0);
        setFixedSize(Sirka, imgMain_->height());
    } else {
        setFixedSize(Sirka, bottom);
    }
    const bool sk = model_->Rok().JazykSK;
    imgFlag_->setPictures(sk ? imgSK_() : imgCZ_());
    imgFlag_->setAccessibleName(sk ? QStringLiteral("Slovenské mená")
                                   : QStringLiteral("České mená"));
    setAccessibleName(QStringLiteral("Tilava"));
    setAccessibleDescription(Q(model_->AccessibleText(zajtra_)));
}

void TfrmMain::NaplanujSpravu() {
    // From the event loop, once the widget and its tray icon are on the screen and the widget
    // has been painted (a message box first would hold its first paint up); the widget does not
    // fade away under the open message.
    if (!painted_)
        return; // the first paint calls again
    QTimer::singleShot(0, this, [this] {
        if (sprava_.isEmpty() || !isVisible())
            return;
        const QString sprava = std::exchange(sprava_, {});
        ZastavOdpocet();
        oznamy_.Message(this, sprava);
        SpustiOdpocet();
    });
}

void TfrmMain::paintEvent(QPaintEvent* udalost) {
    QWidget::paintEvent(udalost);
    if (!painted_) {
        painted_ = true;
        if (!sprava_.isEmpty())
            NaplanujSpravu();
    }
}

void TfrmMain::showEvent(QShowEvent* udalost) {
    QWidget::showEvent(udalost);
    if (!sprava_.isEmpty())
        NaplanujSpravu();
}

void TfrmMain::NastavNepriehladnost() {
    // Only changes go to the window system: the pointer restarts the countdown on every move.
    if (odpocet_.Nepriehladnost == nepriehladnost_)
        return;
    nepriehladnost_ = odpocet_.Nepriehladnost;
    SetWindowAlpha(*this, nepriehladnost_);
}

void TfrmMain::ZastavOdpocet() {
    tmrTimer_->stop();
    odpocet_.ZastavOdpocet();
    NastavNepriehladnost();
}

void TfrmMain::SpustiOdpocet() {
    odpocet_.SpustiOdpocet(model_->Settings().ShowTime, model_->Settings().Stale);
    NastavNepriehladnost();
    if (odpocet_.Bezi)
        tmrTimer_->start();
}

void TfrmMain::tmrTimerTimer() {
    const bool skryt = odpocet_.Tik();
    NastavNepriehladnost();
    if (skryt) {
        tmrTimer_->stop();
        Skry();
        ZrusZmeskane();
    }
}

void TfrmMain::ZrusZmeskane() {
    if (model_->DropMissed())
        ZobrazUdalosti();
}

void TfrmMain::Skry() {
    if (tray_->IsShown()) {
        hide();
        return;
    }
    showMinimized();
    // Opaque again: where no window manager takes it to the task bar it stays in its corner,
    // and a faded widget there would be an invisible one that still takes clicks.
    ZastavOdpocet();
}

void TfrmMain::Ukaz() {
    if (koniec_)
        return;
    // After a wake from sleep the click may come before the next tick notices the new day.
    if (model_->DayChanged())
        tmrZapisTimer();
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
    SpustiOdpocet();
}

void TfrmMain::IkonaKlik(QSystemTrayIcon::ActivationReason dovod) {
    if (dovod == QSystemTrayIcon::Trigger) {
        Ukaz();
    } else if (dovod == QSystemTrayIcon::Context) {
        // The menu opens at the pointer; the widget stays hidden also when it is dismissed.
        tmrTimer_->stop();
        hide();
    }
}

void TfrmMain::Ukoncit() {
    koniec_ = true;
    tmrTimer_->stop();
    ZatvorPoOknach();
}

void TfrmMain::EndSession() {
    // From the top down; a message box (a save that failed) waits for the user's answer.
    for (QWidget* okno = QApplication::activeModalWidget();
         okno && !qobject_cast<QMessageBox*>(okno) && !zatvarane_.contains(okno);
         okno = QApplication::activeModalWidget()) {
        zatvarane_.append(okno);
        okno->close();
    }
    Ukoncit();
}

void TfrmMain::ZatvorPoOknach() {
    if (!otvoreneOkno_) {
        close();
        return;
    }
    // The command's windows close from the top down, each once and by its own close reaction;
    // a message box waits for the user's answer. The command calls close() when it returns.
    QWidget* okno = QApplication::activeModalWidget();
    if (okno && !qobject_cast<QMessageBox*>(okno) && !zatvarane_.contains(okno)) {
        zatvarane_.append(okno);
        okno->close();
    }
    QTimer::singleShot(50, this, &TfrmMain::ZatvorPoOknach);
}

void TfrmMain::PrepniJazyk() {
    ZastavOdpocet();
    model_->Rok().JazykSK = !model_->Rok().JazykSK;
    ZobrazUdalosti();
    SpustiOdpocet();
}

void TfrmMain::MysNadFormom() {
    SpustiOdpocet();
    if (!tmrNadFormom_->isActive())
        tmrNadFormom_->start();
    if (imgDrag_->pixmap().isNull())
        imgDrag_->setPixmap(obrazZajtra_());
    imgDrag_->show();
    zajtra_ = true;
    ZobrazTexty(model_->Header(true), true);
    buttons_->PutOut();
}

void TfrmMain::tmrNadFormomTimer() {
    const QPoint kurzor = QCursor::pos();
    if (WidgetRect{x(), y(), width(), height()}.Obsahuje(kurzor.x(), kurzor.y()))
        return;
    tmrNadFormom_->stop();
    imgDrag_->hide();
    zajtra_ = false;
    ZobrazTexty(model_->Header(false), true);
    buttons_->PutOut();
}

void TfrmMain::fraCmdMouseDown(QPoint bod) {
    tahanie_.Stlac(bod);
    ZastavOdpocet();
}

void TfrmMain::fraCmdMouseMove(QPoint bod) {
    tahanie_.Pohni(*this, bod);
    SpustiOdpocet();
    buttons_->PutOutSetup();
}

void TfrmMain::fraCmdMouseUp() {
    tahanie_.Pusti();
    SpustiOdpocet();
}

void TfrmMain::MyskaKlik(Qt::MouseButton tlacidlo) {
    // The window opens once the press has been handled, so no half-done mouse event waits
    // under the modal window.
    QTimer::singleShot(0, this, [this, tlacidlo] {
        if (tlacidlo == Qt::RightButton)
            OtvorNastavenia();
        else
            OtvorKalendar();
    });
}

bool TfrmMain::SOknom(const std::function<void()>& prikaz) {
    if (otvoreneOkno_ || koniec_)
        return false;
    otvoreneOkno_ = true;
    ZastavOdpocet();
    prikaz();
    otvoreneOkno_ = false;
    return !koniec_;
}

void TfrmMain::OtvorKalendar() {
    if (!SOknom([this] {
            tilava::OtvorKalendar(model_->Rok(), model_->Regi(), model_->Notes().Adresar(), hodiny_,
                                  oznamy_, *web_, this);
        }))
        return;
    ZobrazUdalosti();
    SpustiOdpocet();
}

void TfrmMain::OtvorNastavenia() {
    if (!SOknom([this] {
            tilava::OtvorNastavenia(this, hive_, model_->Rok(), model_->Regi(), model_->Settings(),
                                    oznamy_);
        }))
        return;
    ZobrazUdalosti();
    SpustiOdpocet();
}

void TfrmMain::VymenaKalendara(const std::function<void()>& prikaz) {
    // Contacts imported for today or the days ahead are reminded at once.
    if (SOknom(prikaz))
        ZobrazUdalosti();
}

void TfrmMain::OtvorOProgramme() {
    if (SOknom([this] {
            TfrmAbout okno(model_->Notes().Adresar(), oznamy_, *web_, this);
            okno.Ukaz(y(), x() - TfrmAbout::OdsadenieOdWidgetu);
        }))
        SpustiOdpocet();
}

void TfrmMain::mousePressEvent(QMouseEvent* udalost) {
    MyskaKlik(udalost->button());
    udalost->accept();
}

bool TfrmMain::eventFilter(QObject* objekt, QEvent* udalost) {
    switch (udalost->type()) {
    case QEvent::MouseMove: {
        const QPoint bod = static_cast<QMouseEvent*>(udalost)->position().toPoint();
        if (objekt == imgMain_) {
            SpustiOdpocet();
        } else if (objekt == imgHornaLista_ || objekt == lblSviatok1_) {
            fraCmdMouseMove(bod);
        } else if (objekt == lblSviatok2_ || objekt == lblSviatok3_ || objekt == lblNote_ ||
                   objekt == image1_) {
            MysNadFormom();
        }
        return true; // the bars, the day number, the weekday and "Dnes" have no reaction
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mys = static_cast<QMouseEvent*>(udalost);
        // A click on the missed days puts them away.
        const QPoint bod = static_cast<QWidget*>(objekt)->mapTo(this, mys->position().toPoint());
        const std::size_t zmeskanych = std::min(model_->MissedCount(), bars_->Count());
        if (zmeskanych > 0 && (objekt == lblNote_ || bars_->IsBar(objekt)) &&
            bod.y() < bars_->Bar(zmeskanych - 1)->geometry().bottom() + 1) {
            if (mys->button() == Qt::LeftButton)
                QTimer::singleShot(0, this, &TfrmMain::ZrusZmeskane);
            return true;
        }
        if (objekt == imgHornaLista_)
            fraCmdMouseDown(mys->position().toPoint());
        else if (objekt == image1_ || objekt == imgMain_ || objekt == lblNote_ ||
                 objekt == lblDatum_ || objekt == lblSviatok1_ || objekt == lblSviatok2_ ||
                 objekt == lblSviatok3_ || objekt == imgDrag_)
            MyskaKlik(mys->button());
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (objekt == imgHornaLista_)
            fraCmdMouseUp();
        return true;
    case QEvent::ToolTip:
        // The day area lies above the name lines; it shows the hint of the line under it.
        if (objekt == image1_) {
            const auto* pomoc = static_cast<QHelpEvent*>(udalost);
            const QPoint bod = image1_->mapTo(this, pomoc->pos());
            for (QLabel* l : {lblSviatok1_, lblSviatok2_, lblSviatok3_}) {
                if (l->isVisible() && l->geometry().contains(bod) && !l->toolTip().isEmpty()) {
                    QToolTip::showText(pomoc->globalPos(), l->toolTip(), this);
                    return true;
                }
            }
            QToolTip::hideText();
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(objekt, udalost);
}

void TfrmMain::leaveEvent(QEvent* udalost) {
    // Out of the window: no button stays lit (the leave check switches back to today).
    buttons_->PutOut();
    QWidget::leaveEvent(udalost);
}

void TfrmMain::keyPressEvent(QKeyEvent* udalost) {
    // Enter opens the week window and the menu key the settings, as the two mouse buttons do.
    switch (udalost->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        MyskaKlik(Qt::LeftButton);
        break;
    case Qt::Key_Menu:
        MyskaKlik(Qt::RightButton);
        break;
    case Qt::Key_F10:
        if (udalost->modifiers() & Qt::ShiftModifier) {
            MyskaKlik(Qt::RightButton);
            break;
        }
        [[fallthrough]];
    default:
        QWidget::keyPressEvent(udalost);
        return;
    }
    udalost->accept();
}

void TfrmMain::mouseMoveEvent(QMouseEvent* udalost) {
    MysNadFormom();
    udalost->accept();
}

void TfrmMain::changeEvent(QEvent* udalost) {
    if (udalost->type() == QEvent::ActivationChange && isActiveWindow())
        SpustiOdpocet();
    // Back from the task bar (a desktop without a tray), also where that does not activate it:
    // the widget faded before it went there.
    if (udalost->type() == QEvent::WindowStateChange && !isMinimized() &&
        (static_cast<QWindowStateChangeEvent*>(udalost)->oldState() & Qt::WindowMinimized))
        SpustiOdpocet();
    QWidget::changeEvent(udalost);
}

void TfrmMain::closeEvent(QCloseEvent* udalost) {
    if (otvoreneOkno_) {
        // Closed by the desktop while a command's window is open: that window closes first.
        udalost->ignore();
        Ukoncit();
        return;
    }
    udalost->accept();
    if (zatvorene_)
        return;
    zatvorene_ = true;
    koniec_ = true;
    tmrTimer_->stop();
    tmrNadFormom_->stop();
    tmrZapis_->stop();
    // The position is recorded at every close; only Pamatat decides whether a start uses it.
    try {
        model_->Regi().ZapisHodnotu("frmMainTop", y());
        model_->Regi().ZapisHodnotu("frmMainLeft", x());
    } catch (const HiveError&) {
        // A refused write is not reported: the next start takes the default corner.
    }
    tray_->Hide();
    emit zatvorene();
}

} // namespace tilava
