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
#include "ui/controls/WidgetButtons.h"
#include "ui/desktop/NotesFolderWatch.h"
#include "ui/desktop/Notifier.h"
#include "ui/desktop/PageOpener.h"
#include "ui/desktop/WindowFade.h"
#include "ui/skin/Fonts.h"
#include "ui/skin/Palette.h"
#include "ui/skin/Pictures.h"
#include "ui/windows/CalendarSyncRunner.h"
#include "ui/windows/SystemDateFormat.h"
#include "ui/windows/WidgetTray.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDate>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QToolTip>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

namespace tilava {

namespace {

// The widget's type, in the skin's face; fourteen bold letters fit a name line.
QFont WidgetFont(bool bold = false) {
    return fonts::Font(fonts::kSkin, 11, bold, false);
}

void NastavFarbu(QWidget* w, const QColor& color) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, color);
    w->setPalette(p);
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// QLabel::setText switches mouse tracking off for plain text; the labels keep reacting to moves.
void SetText(QLabel* l, const QString& text) {
    l->setText(text);
    l->setMouseTracking(true);
}

// Assistive technology sees the widget as a window (a plain widget would be a "filler").
QAccessibleInterface* WidgetAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String(TfrmMain::staticMetaObject.className()) ||
        !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

} // namespace

TfrmMain::TfrmMain(const Clock& clock, SettingsHive& hive, std::filesystem::path folder,
                   Notifier& notifier, TrayAvailable trayAvailable, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), clock_(clock), hive_(hive),
      notifier_(notifier), web_(std::make_unique<SystemPageOpener>()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tilava"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, palette::kSky);
    setPalette(p);
    setFont(WidgetFont());
    setMouseTracking(true);
    abilities_ = WindowAbilities::Current();
    fade_ = std::make_unique<WindowFade>(*this, abilities_.fadesByPainting);
    [[maybe_unused]] static const bool accessible = [] {
        QAccessible::installFactory(&WidgetAccessible);
        return true;
    }();
    InitSkinResources();
    CreateControls();
    tray_ = new WidgetTray(
        *this, trayAvailable ? std::move(trayAvailable)
                             : [] { return QSystemTrayIcon::isSystemTrayAvailable(); });
    connect(tray_, &WidgetTray::activated, this, &TfrmMain::TrayIconActivated);
    connect(tray_, &WidgetTray::quitChosen, this, &TfrmMain::Quit);
    connect(tray_, &WidgetTray::showChosen, this, &TfrmMain::Ukaz);
    // The commands that open a window run once the menu's call has returned (assistive
    // technology waits for its answer).
    connect(
        tray_, &WidgetTray::exportChosen, this, [this] { CalendarExchange(Exchange::Export); },
        Qt::QueuedConnection);
    connect(
        tray_, &WidgetTray::importChosen, this, [this] { CalendarExchange(Exchange::Import); },
        Qt::QueuedConnection);

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
    QPoint position(obrazovka.x() + obrazovka.width() - Width, obrazovka.y());
    SetText(lblDnes_, QStringLiteral("Dnes"));
    lblDnes_->adjustSize();

    dateFormat_ = std::make_unique<SystemDateFormat>();
    model_ = std::make_unique<WidgetModel>(clock, hive, std::move(folder), *dateFormat_);
    // Day files written by another program (an import, a sync tool) show without a restart.
    notesWatch_ = new NotesFolderWatch(
        QString::fromStdU16String(model_->Notes().Adresar().u16string()), this);
    connect(notesWatch_, &NotesFolderWatch::Changed, this,
            [this] { Draw(model_->Rebuild(WidgetModel::Told::Once)); });
    ConnectSync();
    SetText(lblDen_, Q(DayTexts::WeekdayName(model_->Today())));
    const WidgetSettings& settings = model_->Settings();
    if (settings.Top)
        position.setY(*settings.Top);
    if (settings.Left)
        position.setX(*settings.Left);
    move(position);
    // A place stored on a screen that is gone (or grew smaller since) brings the widget back;
    // one partly off the screen, where the user dragged it, stays.
    if (!QGuiApplication::screenAt(position + QPoint(Width / 2, HeaderHeight / 2)))
        KeepOnScreen();
    // The screen's free area shrinks (a panel appears, a smaller resolution, a screen goes):
    // the widget stays on it and its reminders below the header fit it.
    const auto watch = [this](QScreen* screen) {
        connect(screen, &QScreen::availableGeometryChanged, this, &TfrmMain::AvailableAreaChanged,
                Qt::QueuedConnection);
    };
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, watch);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &TfrmMain::AvailableAreaChanged,
            Qt::QueuedConnection);

    const bool beep = model_->Start();
    Draw(false);
    if (beep)
        notifier_.Beep();

    SetTooltip();
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

int TfrmMain::DayOfMonth() const {
    return static_cast<int>(
        static_cast<unsigned>(std::chrono::year_month_day{model_->ShownDay()}.day()));
}

void TfrmMain::SetTooltip() {
    tooltip_ = Q(model_->Tooltip());
    tray_->Update(tooltip_, DayOfMonth());
}

void TfrmMain::tmrZapisTimer() {
    if (model_->Tick()) {
        Draw(true);
        SetTooltip();
    }
}

void TfrmMain::CreateControls() {
    const auto menovka = [this](const char* meno, QRect place, QFont pismo, const QColor& color) {
        QLabel* l = PictureLabel(this, meno, place);
        l->setFont(pismo);
        NastavFarbu(l, color);
        return l;
    };
    const auto area = [this](const char* meno, QRect place) {
        auto* w = new QWidget(this);
        w->setObjectName(QLatin1String(meno));
        w->setGeometry(place);
        return w;
    };

    const QColor biela = Qt::white;
    const QColor text = palette().color(QPalette::WindowText);
    const QFont meno = WidgetFont(true);

    imgMain_ = PictureLabel(this, "imgMain", {0, 0, Width, HeaderHeight});
    imgMain_->setPixmap(WidgetPicture::Load(QStringLiteral("main_header")));
    lblSviatok1_ = menovka("lblSviatok1", {72, 27, 97, 13}, meno, biela);
    lblDatum_ =
        menovka("lblDatum", {8, 32, 58, 41}, fonts::Font(fonts::kSkin, 35, true, false), Qt::black);
    lblSviatok2_ = menovka("lblSviatok2", {72, 46, 97, 13}, meno, biela);
    // Each reminder after the first keeps the room of its own bar and the line between bars.
    lblNote_ = new ReminderText(this, BarIndent + BarGap);
    lblNote_->setObjectName(QStringLiteral("lblNote"));
    lblNote_->setGeometry(8, HeaderHeight, TextWidth, 0);
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
    // Their windows open once the click has returned, as for the mouse on the day area: a
    // press by assistive technology waits for its answer.
    connect(imgSetup_, &PictureButton::clicked, this, &TfrmMain::OtvorNastavenia,
            Qt::QueuedConnection);
    connect(imgHelp_, &PictureButton::clicked, this, &TfrmMain::OpenAbout, Qt::QueuedConnection);
    connect(imgMin_, &PictureButton::clicked, this, [this] {
        tmrTimer_->stop();
        HideWidget();
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
    lblDen_->setGeometry(DaySide.x(), DaySide.y() + SideBand, DaySide.width(),
                         lblDen_->fontMetrics().height());
    lblDen_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    imgHornaLista_ = area("imgHornaLista", {0, 0, 97, 20});
    imgFlag_ = new PictureButton(this, QStringLiteral("imgFlag"), {46, 1, 26, 17});
    connect(imgFlag_, &PictureButton::clicked, this, &TfrmMain::SwitchLanguage);
    connect(imgFlag_, &PictureButton::pointerMoved, this, &TfrmMain::MysNadFormom);
    imgDrag_ = PictureLabel(this, "imgDrag", {86, 45, 85, 38});
    imgDrag_->hide();
    image1_ = area("Image1", {0, 24, 169, 57});

    // The buttons handle their own mouse; the other parts are watched here.
    for (QObject* o : children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && !qobject_cast<PictureButton*>(w)) {
            w->setMouseTracking(true);
            w->installEventFilter(this);
        }
    }
    // A toggle: on for the Slovak names, off for the Czech ones.
    imgFlag_->setCheckable(true);
    imgFlag_->setChecked(true);
    imgFlag_->setAccessibleName(QStringLiteral("Slovenské mená"));
    imgFlag_->setAccessibleDescription(QStringLiteral("Prepína mená medzi slovenskými a českými"));
    setFocusPolicy(Qt::StrongFocus);
    // The widget starts with the focus on itself, its day: a button with the focus would show
    // its frame to a user who has not touched the keyboard.
    setFocus(Qt::OtherFocusReason);
    setFixedSize(Width, HeaderHeight);
    bars_ = std::make_unique<ReminderBars>(*this, *this);
}

void TfrmMain::ShowTexts(const DayTexts& texty, bool whole) {
    if (whole) {
        SetText(lblDnes_, Q(texty.today));
        lblDnes_->adjustSize();
        SetText(lblDen_, Q(texty.date));
    }
    SetText(lblDatum_, Q(texty.datum));
    const std::array<QLabel*, 3> lines{lblSviatok1_, lblSviatok2_, lblSviatok3_};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const NameLine& r = texty.nameDays[i];
        SetText(lines[i], Q(r.text));
        if (r.hint)
            lines[i]->setToolTip(Q(*r.hint));
        if (whole)
            lines[i]->setVisible(r.visible);
    }
}

void TfrmMain::ZobrazMena(bool whole) {
    // While the pointer rests on the widget it shows tomorrow; a rebuild then (the flag was
    // clicked) refreshes tomorrow's texts instead of mixing in today's.
    if (tomorrow_)
        ShowTexts(model_->Header(true), true);
    else
        ShowTexts(model_->Header(false), whole);
}

void TfrmMain::ZobrazUdalosti() {
    Draw(model_->Rebuild());
}

QRect TfrmMain::AvailableArea() const {
    QScreen* screen = QGuiApplication::screenAt(pos() + QPoint(Width / 2, HeaderHeight / 2));
    if (!screen)
        screen = this->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void TfrmMain::KeepOnScreen() {
    const QRect area = AvailableArea();
    if (area.isEmpty() || area.contains(QRect(pos(), QSize(Width, HeaderHeight))))
        return;
    move(std::max(area.left(), std::min(x(), area.right() + 1 - Width)),
         std::max(area.top(), std::min(y(), area.bottom() + 1 - HeaderHeight)));
}

void TfrmMain::AvailableAreaChanged() {
    if (closed_)
        return;
    KeepOnScreen();
    Draw(false);
}

int TfrmMain::ShowReminders() {
    const std::vector<ReminderLine>& all = model_->Lines();
    QStringList paragraphs;
    for (const ReminderLine& line : all)
        paragraphs << Q(line.text);
    // Each bar's height, and that of a last bar telling the rest, from the text laid out once
    // with such a bar after all of them.
    lblNote_->SetParagraphs(paragraphs + QStringList{Q(WidgetModel::MoreText(all.size()))},
                            TextWidth);
    std::vector<int> heights;
    int above = -BarIndent;
    for (int i = 0; i <= static_cast<int>(all.size()); ++i) {
        const int bottom = static_cast<int>(std::ceil(lblNote_->Paragraph(i).bottom()));
        heights.push_back(bottom - above);
        above = bottom;
    }
    const int moreHeight = heights.back();
    heights.pop_back();
    const int room = AvailableArea().bottom() + 1 - (y() + HeaderHeight);
    WidgetModel::Fit fit = WidgetModel::FitLines(room, heights, moreHeight);
    std::vector<ReminderLine> shown;
    int bottom = HeaderHeight;
    for (;;) {
        shown.assign(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(fit.shown));
        if (fit.rest > 0)
            shown.push_back({EntryKind::Poznamka, WidgetModel::MoreText(fit.rest)});
        QStringList texts;
        for (const ReminderLine& line : shown)
            texts << Q(line.text);
        lblNote_->SetParagraphs(texts, TextWidth);
        lblNote_->setGeometry(8, HeaderHeight + BarIndent, TextWidth, lblNote_->Height());
        bottom = bars_->Show(shown, std::min(model_->MissedShown(), fit.shown), *lblNote_,
                             HeaderHeight, fit.rest > 0);
        // (the bar telling the rest may round a pixel higher after another bar than at the end)
        if (fit.shown == 0 || bottom - HeaderHeight <= room)
            return bottom;
        --fit.shown;
        ++fit.rest;
    }
}

void TfrmMain::Draw(bool newDay) {
    // A new day since the last build (the widget ran over midnight) also needs its weekday.
    ZobrazMena(newDay);
    const std::vector<ReminderLine>& lines = model_->Lines();
    const int bottom = ShowReminders();

    if (const std::string message = model_->TakeMessage(); !message.empty()) {
        message_ = Q(message);
        if (isVisible())
            ScheduleMessage();
    }
    if (lines.empty()) {
        lblNote_->setGeometry(8, HeaderHeight, TextWidth, 0);
        setFixedSize(Width, imgMain_->height());
    } else {
        setFixedSize(Width, bottom);
    }
    const bool sk = model_->Rok().JazykSK;
    imgFlag_->setPictures(sk ? imgSK_() : imgCZ_());
    imgFlag_->setChecked(sk);
    setAccessibleName(QStringLiteral("Tilava"));
    setAccessibleDescription(Q(model_->AccessibleText(tomorrow_)));
}

void TfrmMain::ScheduleMessage() {
    // From the event loop, once the widget and its tray icon are on the screen and the widget
    // has been painted (a message box first would hold its first paint up); the widget does not
    // fade away under the open message.
    if (!painted_)
        return; // the first paint calls again
    QTimer::singleShot(0, this, [this] {
        if (message_.isEmpty() || !isVisible())
            return;
        const QString message = std::exchange(message_, {});
        ZastavOdpocet();
        notifier_.Message(this, message);
        SpustiOdpocet();
    });
}

void TfrmMain::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!painted_) {
        painted_ = true;
        if (!message_.isEmpty())
            ScheduleMessage();
    }
}

void TfrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!message_.isEmpty())
        ScheduleMessage();
}

void TfrmMain::SetOpacity() {
    // Only changes go to the window system: the pointer restarts the countdown on every move.
    if (countdown_.Opacity == opacity_)
        return;
    opacity_ = countdown_.Opacity;
    fade_->SetAlpha(opacity_);
}

void TfrmMain::ZastavOdpocet() {
    tmrTimer_->stop();
    countdown_.ZastavOdpocet();
    SetOpacity();
}

void TfrmMain::SpustiOdpocet() {
    countdown_.SpustiOdpocet(model_->Settings().ShowTime, model_->Settings().Stale);
    SetOpacity();
    if (countdown_.running)
        tmrTimer_->start();
}

void TfrmMain::tmrTimerTimer() {
    const bool skryt = countdown_.Tick();
    SetOpacity();
    if (skryt) {
        tmrTimer_->stop();
        HideWidget();
        ClearMissed();
    }
}

void TfrmMain::ClearMissed() {
    if (model_->DropMissed())
        ZobrazUdalosti();
}

void TfrmMain::HideWidget() {
    if (tray_->IsShown() || !abilities_.showsMinimizedAgain) {
        hide();
        return;
    }
    showMinimized();
    // Opaque again: where no window manager takes it to the task bar it stays in its corner,
    // and a faded widget there would be an invisible one that still takes clicks.
    ZastavOdpocet();
}

void TfrmMain::Ukaz() {
    if (quitting_)
        return;
    // After a wake from sleep the click may come before the next tick notices the new day.
    if (model_->DayChanged())
        tmrZapisTimer();
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    if (openWindows_ == 0) {
        activateWindow();
        SpustiOdpocet();
        return;
    }
    // A command's window is open (the tray works meanwhile): the widget waits for it without a
    // countdown, and that window stays in front.
    ZastavOdpocet();
    if (QWidget* window = QApplication::activeModalWidget()) {
        window->raise();
        window->activateWindow();
    }
}

void TfrmMain::TrayIconActivated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger) {
        Ukaz();
    } else if (reason == QSystemTrayIcon::Context) {
        // The menu opens at the pointer; the widget stays hidden also when it is dismissed.
        tmrTimer_->stop();
        hide();
    }
}

void TfrmMain::Quit() {
    quitting_ = true;
    tmrTimer_->stop();
    CloseAfterWindows();
}

void TfrmMain::EndSession() {
    // From the top down; a message box (a save that failed) waits for the user's answer.
    for (QWidget* window = QApplication::activeModalWidget();
         window && !qobject_cast<QMessageBox*>(window) && !closing_.contains(window);
         window = QApplication::activeModalWidget()) {
        closing_.append(window);
        window->close();
    }
    Quit();
}

void TfrmMain::CloseAfterWindows() {
    if (openWindows_ == 0) {
        close();
        return;
    }
    // The command's windows close from the top down, each once and by its own close reaction;
    // a message box waits for the user's answer. The command calls close() when it returns.
    QWidget* window = QApplication::activeModalWidget();
    if (window && !qobject_cast<QMessageBox*>(window) && !closing_.contains(window)) {
        closing_.append(window);
        window->close();
    }
    QTimer::singleShot(50, this, &TfrmMain::CloseAfterWindows);
}

void TfrmMain::SwitchLanguage() {
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
        imgDrag_->setPixmap(tomorrowPicture_());
    imgDrag_->show();
    tomorrow_ = true;
    ShowTexts(model_->Header(true), true);
    buttons_->PutOut();
}

void TfrmMain::tmrNadFormomTimer() {
    const QPoint cursor = QCursor::pos();
    if (WidgetRect{x(), y(), width(), height()}.Contains(cursor.x(), cursor.y()))
        return;
    ShowToday();
}

void TfrmMain::ShowToday() {
    tmrNadFormom_->stop();
    imgDrag_->hide();
    tomorrow_ = false;
    ShowTexts(model_->Header(false), true);
    buttons_->PutOut();
}

void TfrmMain::fraCmdMouseDown(QPoint point) {
    // Where the compositor places the windows, it moves this one too, while the button is down.
    if (!abilities_.placesItself && windowHandle() && windowHandle()->startSystemMove()) {
        SpustiOdpocet();
        return;
    }
    drag_.Press(point);
    ZastavOdpocet();
}

void TfrmMain::fraCmdMouseMove(QPoint point) {
    drag_.MoveMouse(*this, point);
    SpustiOdpocet();
    buttons_->PutOutSetup();
}

void TfrmMain::fraCmdMouseUp() {
    drag_.Release();
    // The reminders fit the room below the new place.
    Draw(false);
    SpustiOdpocet();
}

void TfrmMain::mousePressEvent(QMouseEvent* event) {
    MyskaKlik(event->button());
    event->accept();
}

bool TfrmMain::eventFilter(QObject* object, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove: {
        const QPoint point = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (object == imgMain_) {
            SpustiOdpocet();
        } else if (object == imgHornaLista_ || object == lblSviatok1_) {
            fraCmdMouseMove(point);
        } else if (object == lblSviatok2_ || object == lblSviatok3_ || object == lblNote_ ||
                   object == image1_) {
            MysNadFormom();
        }
        return true; // the bars, the day number, the weekday and "Dnes" have no reaction
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mys = static_cast<QMouseEvent*>(event);
        // A click on the missed days puts them away.
        const QPoint point = static_cast<QWidget*>(object)->mapTo(this, mys->position().toPoint());
        const std::size_t zmeskanych =
            std::min(model_->MissedShown(), bars_->Shown() - (bars_->MoreBar() ? 1 : 0));
        if (zmeskanych > 0 && (object == lblNote_ || bars_->IsBar(object)) &&
            point.y() < bars_->Bar(zmeskanych - 1)->geometry().bottom() + 1) {
            if (mys->button() == Qt::LeftButton)
                QTimer::singleShot(0, this, &TfrmMain::ClearMissed);
            return true;
        }
        if (object == imgHornaLista_)
            fraCmdMouseDown(mys->position().toPoint());
        else if (object == image1_ || object == imgMain_ || object == lblNote_ ||
                 object == lblDatum_ || object == lblSviatok1_ || object == lblSviatok2_ ||
                 object == lblSviatok3_ || object == imgDrag_ || object == bars_->MoreBar())
            MyskaKlik(mys->button());
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (object == imgHornaLista_)
            fraCmdMouseUp();
        return true;
    case QEvent::ToolTip:
        // The day area lies above the name lines; it shows the hint of the line under it.
        if (object == image1_) {
            const auto* help = static_cast<QHelpEvent*>(event);
            const QPoint point = image1_->mapTo(this, help->pos());
            for (QLabel* l : {lblSviatok1_, lblSviatok2_, lblSviatok3_}) {
                if (l->isVisible() && l->geometry().contains(point) && !l->toolTip().isEmpty()) {
                    QToolTip::showText(help->globalPos(), l->toolTip(), this);
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
    return QWidget::eventFilter(object, event);
}

void TfrmMain::leaveEvent(QEvent* event) {
    // Out of the window: today again, and no button stays lit. On Wayland this is all the
    // program learns: the pointer's position is not told once it is over another window, so
    // the leave check would see it resting where it left.
    ShowToday();
    QWidget::leaveEvent(event);
}

void TfrmMain::mouseMoveEvent(QMouseEvent* event) {
    MysNadFormom();
    event->accept();
}

void TfrmMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        SpustiOdpocet();
    // Back from the task bar (a desktop without a tray), also where that does not activate it:
    // the widget faded before it went there.
    if (event->type() == QEvent::WindowStateChange && !isMinimized() &&
        (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized))
        SpustiOdpocet();
    QWidget::changeEvent(event);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (openWindows_ > 0) {
        // Closed by the desktop while a command's window is open: that window closes first.
        event->ignore();
        Quit();
        return;
    }
    event->accept();
    if (closed_)
        return;
    closed_ = true;
    quitting_ = true;
    tmrTimer_->stop();
    tmrNadFormom_->stop();
    tmrZapis_->stop();
    sync_->Stop();
    // The position is recorded at every close; only Pamatat decides whether a start uses it.
    // A window that cannot know its place (Wayland) keeps the one recorded before.
    try {
        if (abilities_.placesItself) {
            model_->Regi().ZapisHodnotu("frmMainTop", y());
            model_->Regi().ZapisHodnotu("frmMainLeft", x());
        }
    } catch (const HiveError&) {
        // A refused write is not reported: the next start takes the default corner.
    }
    tray_->Hide();
    emit closed();
}

} // namespace tilava
