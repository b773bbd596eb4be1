// Pictures of every window, for comparing the look before and after a change: the main widget
// (plain, with a lit button, with tomorrow's view), the week window (plain and with search
// results), the entry editor, the settings, the about and the help window, each on a fixed
// day with fixed entries. Each window draws itself into a PNG (QWidget::grab), so the offscreen
// platform gives the same pixels at every run; run once per scale:
//   QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 tilava_window_shots OUT_DIR
// and compare two folders with `compare -metric AE` (ImageMagick).

#include "core/Clock.h"
#include "core/Cp1250.h"
#include "platform/MemoryHive.h"
#include "ShotsSupport.h"
#include "store/uPoznamky.h"
#include "ui/desktop/Notifier.h"
#include "ui/desktop/PageOpener.h"
#include "ui/windows/fAbout.h"
#include "ui/windows/fMain.h"
#include "ui/windows/fNapoveda.h"
#include "ui/windows/fUdalost.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStringList>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace std::chrono;

namespace {

class NoPages final : public tilava::PageOpener {
public:
    bool Open(const QUrl&) override { return true; }
};

QString outFolder;

void Save(QWidget* window, const QString& name) {
    const QString path = QStringLiteral("%1/%2.png").arg(outFolder, name);
    if (!window->grab().save(path))
        qFatal("cannot write %s", qPrintable(path));
    std::fprintf(stderr, "%s\n", qPrintable(path));
}

void Settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// The pointer moves over the child `name` of `window` (the hover looks).
void PointAt(QWidget* window, const char* name) {
    auto* child = window->findChild<QWidget*>(QString::fromLatin1(name));
    if (!child)
        qFatal("no control %s", name);
    const QPointF centre = QRectF(child->rect()).center();
    QEnterEvent enter(centre, child->mapTo(window, centre), child->mapToGlobal(centre));
    QApplication::sendEvent(child, &enter);
    QMouseEvent move(QEvent::MouseMove, centre, child->mapToGlobal(centre), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(child, &move);
    Settle();
}

// Runs `open`, which shows a modal window; once that window is on the screen, `shoot` takes its
// pictures and the window is closed.
void WhileModal(const std::function<void()>& open, const std::function<void(QWidget*)>& shoot) {
    QTimer poll;
    poll.setInterval(20);
    int seen = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->windowHandle() || !modal->windowHandle()->isExposed())
            return;
        if (++seen < 3) // laid out and painted
            return;
        poll.stop();
        shoot(modal);
        modal->close();
    });
    poll.start();
    open();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Tilava"));
    if (argc != 2)
        qFatal("usage: tilava_window_shots OUT_DIR");
    outFolder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outFolder);
    const QString notes = outFolder + QStringLiteral("/notes");
    QDir(notes).removeRecursively();
    QDir().mkpath(notes);

    // Wednesday 26 March 2025; the program last ran on Sunday.
    const sys_days today{year{2025} / 3 / 26};
    const auto day = [&](int offset) { return year_month_day{today + days{offset}}; };
    tilava::shots::WriteDay(notes, day(-2), {"!", "-1", "2", "1996", "Jano"});
    tilava::shots::WriteDay(notes, day(-1), {"!", "-1", "1", "2025", "zubár o 9.00"});
    tilava::shots::WriteDay(notes, day(0),
                            {"!", "-1", "1", "2025", "Šport: Ťahanie lana", "-1", "2", "1980",
                             "Ľubomír", "-1", "3", "2000", "Šťastný deň"});
    tilava::shots::WriteDay(notes, day(1),
                            {"!", "-1", "1", "2025", "Nedeľný obed u Šimona a Ľubice"});
    tilava::shots::WriteDay(notes, day(3), {"!", "-1", "2", "1990", "Žofia"});

    tilava::FixedClock clock(day(0));
    tilava::MemoryHive hive;
    hive.PutString(tilava::HiveKey::Startup, "ZelmTilavaS", "True"); // no fading
    hive.PutString(tilava::HiveKey::Settings, "Dopredu", "1");
    hive.PutString(tilava::HiveKey::Settings, "NowIso", "2025-03-23");
    tilava::shots::PrintingNotifier notifier;
    NoPages pages;

    tilava::TfrmMain widget(clock, hive, notes.toStdString(), notifier, [] { return false; });
    widget.show();
    Settle();
    Save(&widget, QStringLiteral("widget"));
    PointAt(&widget, "imgSetup");
    Save(&widget, QStringLiteral("widget-setup-lit"));
    PointAt(&widget, "lblSviatok2");
    Save(&widget, QStringLiteral("widget-tomorrow"));
    widget.tmrNadFormomTimer(); // the pointer is elsewhere: back to today

    WhileModal([&] { widget.OtvorKalendar(); },
               [&](QWidget* week) {
                   Save(week, QStringLiteral("week"));
                   auto* find = week->findChild<QLineEdit*>(QStringLiteral("txtFind"));
                   if (!find)
                       qFatal("no search field");
                   find->setFocus();
                   find->setText(QStringLiteral("Jozef"));
                   QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                   QApplication::sendEvent(find, &enter);
                   Settle();
                   Save(week, QStringLiteral("week-search"));
               });
    WhileModal([&] { widget.OtvorNastavenia(); },
               [&](QWidget* setup) {
                   Save(setup, QStringLiteral("setup"));
                   PointAt(setup, "imgOK");
                   Save(setup, QStringLiteral("setup-ok-lit"));
               });
    WhileModal(
        [&] {
            tilava::TfrmUdalost editor(clock, notifier, &widget);
            tilava::TNote note;
            note.Druh = tilava::EntryKind::Narodeniny;
            note.Rok = 1980;
            note.Text = "Ľubomír";
            editor.SetExisting(true);
            editor.Uprav(note, 2025);
        },
        [&](QWidget* editor) {
            Save(editor, QStringLiteral("editor"));
            PointAt(editor, "imgPozadie"); // the buttons light only after the background
            PointAt(editor, "imgOk");
            Save(editor, QStringLiteral("editor-ok-lit"));
        });
    WhileModal(
        [&] {
            tilava::TfrmAbout about(notes.toStdString(), notifier, pages, &widget);
            about.Ukaz(100, 100);
        },
        [&](QWidget* about) {
            Save(about, QStringLiteral("about"));
            PointAt(about, "imgZatvorit");
            Save(about, QStringLiteral("about-close-lit"));
        });
    WhileModal(
        [&] {
            tilava::TfrmNapoveda help(notes.toStdString(), notifier, &widget);
            help.exec();
        },
        [&](QWidget* help) { Save(help, QStringLiteral("help")); });
    return 0;
}
