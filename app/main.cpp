// Tilava: the name-day widget. One running copy per user; a second start shows the running
// copy's widget (over the session bus on Linux, a named event on Windows), or ends silently
// where it cannot reach it.

#include "app/CommandLine.h"
#include "app/WindowSystemGuard.h"
#include "core/Clock.h"
#include "platform/AtomicFile.h"
#include "platform/NotesFolder.h"
#include "platform/SettingsHive.h"
#include "platform/SingleInstance.h"
#include "platform/StandardOutput.h"
#include "ui/desktop/FontWarmup.h"
#include "ui/desktop/InstanceChannel.h"
#include "ui/desktop/PlatformChoice.h"
#include "ui/desktop/QtTranslation.h"
#include "ui/desktop/SessionEnd.h"
#include "ui/desktop/SystemNotifier.h"
#include "ui/skin/Pictures.h"
#include "ui/skin/TrayIconPicture.h"
#include "ui/windows/CalendarSyncRunner.h"
#include "ui/windows/fMain.h"
#include "ui/windows/ProgramEnd.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace {

// With TILAVA_EXIT_AFTER_PAINT set the program ends right after the widget's first paint: the
// start-up benchmark times the whole process with it.
class KoniecPoVykresleni final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint && !hotovo_) {
            hotovo_ = true;
            // After this paint the backing store is flushed to the screen, then we end.
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return QObject::eventFilter(object, event);
    }

private:
    bool hotovo_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    // The command-line options run without a window and without the single-instance lock; a
    // wrong command line ends here too.
    if (argc > 1)
        if (const auto result = tilava::RunCommandLine(argc, argv))
            return *result;

    std::optional<tilava::SingleInstance> single(std::in_place);
    if (!single->Problem().empty())
        tilava::WriteStandard(tilava::StandardStream::Error, "tilava: " + single->Problem() + "\n");
    if (!single->IsFirst()) {
        // A second copy ends without a word. Qt 6.4's D-Bus module can race with itself over its
        // own types during the call and print warnings that mean nothing to a user.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        QCoreApplication app(argc, argv);
        tilava::InstanceChannel::AskToShow();
        return 0;
    }

    // What a save cut short by a kill or a power failure left behind can go. The command line
    // may be saving into these folders at this moment: the clean-up takes only old temporaries
    // that no running save holds.
    const std::filesystem::path folder = tilava::NotesFolder();
    tilava::RemoveStaleTemporaries(folder);
    if (const auto settings = tilava::UserSettingsFolder())
        tilava::RemoveStaleTemporaries(*settings);

    const tilava::FontWarmup pisma;
    // On a Wayland session the widget runs on XWayland unless the user chose a platform.
    tilava::QtArguments qtArguments(argc, argv, tilava::SessionVariables::Current());
    tilava::WindowSystemGuard windowSystem(qtArguments.Count(), qtArguments.Values());
    QApplication app(qtArguments.Count(), qtArguments.Values());
    windowSystem.Release();
    tilava::LoadQtTranslation();
    // (No display name: Qt would add it to every window's title.)
    QApplication::setApplicationName(QStringLiteral("Tilava"));
    QApplication::setOrganizationName(QStringLiteral("ZELM"));
    // Links the windows to the installed desktop entry (its icon and name in the task bar). On
    // X11 their class is "Tilava", from the application name: the entry's StartupWMClass.
    QGuiApplication::setDesktopFileName(QStringLiteral("sk.zelm.Tilava"));
    // Every window carries the program's icon (the installed icons are this same painting).
    QApplication::setWindowIcon(tilava::TrayIconPicture());
    // The widget may be hidden in the tray; the program ends when the widget is closed.
    QApplication::setQuitOnLastWindowClosed(false);
    tilava::InitSkinResources();

    tilava::SystemClock clock;
    const auto hive = tilava::CreateUserSettingsHive();
    tilava::SystemNotifier notifier;
    tilava::TfrmMain frmMain(clock, *hive, folder, notifier);
    QObject::connect(&frmMain, &tilava::TfrmMain::closed, &app, &QCoreApplication::quit);

    // Later copies are heard once the widget is up (they keep trying for a few seconds); the
    // first paint need not wait for the session bus.
    std::optional<tilava::InstanceChannel> channel(std::in_place);
    QObject::connect(&*channel, &tilava::InstanceChannel::showRequested, &frmMain,
                     &tilava::TfrmMain::Ukaz);
    QTimer::singleShot(300, &*channel, [&channel] { channel->Listen(); });

    // Logout, shutdown or a termination signal: the open windows save first, as with "Ukončit".
    tilava::SessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &tilava::SessionEnd::ending, &frmMain,
                     &tilava::TfrmMain::EndSession, Qt::DirectConnection);

    KoniecPoVykresleni end;
    if (qEnvironmentVariableIsSet("TILAVA_EXIT_AFTER_PAINT"))
        frmMain.installEventFilter(&end);

    frmMain.show();
    if (!single->Problem().empty())
        QTimer::singleShot(0, &frmMain, [&] {
            notifier.Message(&frmMain, QString::fromStdString(single->Problem()));
        });
    const int status = QApplication::exec();
    if (!tilava::EndProgram(single, channel, frmMain.Sync()))
        std::_Exit(status);
    return status;
}
