#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tilava {

// What the environment says about the desktop session: the variables Qt and the window
// systems go by (an empty value counts as unset, as for Qt).
struct SessionVariables {
    std::string qtPlatform;     // QT_QPA_PLATFORM: the user's choice of Qt's platform
    std::string waylandDisplay; // WAYLAND_DISPLAY: a Wayland compositor runs the session
    std::string display;        // DISPLAY: an X server (on Wayland, XWayland) is reachable

    static SessionVariables Current();
};

// The platform Tilava asks Qt for when the user chose none: on a Wayland session with an X
// server, Qt's X11 platform ("xcb"), and Wayland only where the X server does not answer (a
// DISPLAY left over from elsewhere). On XWayland the widget can place itself in its corner and
// be dragged, which an xdg-toplevel window cannot. Nothing (Qt's own choice stands) elsewhere
// and whenever the user chose, by QT_QPA_PLATFORM or by "-platform NAME" / "--platform NAME"
// on the command line.
std::optional<std::string> PlatformForSession(const SessionVariables& session,
                                              std::span<const char* const> arguments);

// The command line Qt gets: the program's own, with "-platform NAME" added after the program's
// name when PlatformForSession chose one. Given on the command line rather than in the
// environment, the choice stays with this process: a program started from it (a web browser)
// makes its own.
class QtArguments {
public:
    QtArguments(int argc, char* argv[], const SessionVariables& session);
    QtArguments(const QtArguments&) = delete;
    QtArguments& operator=(const QtArguments&) = delete;

    // For QApplication, which keeps a reference to the count: both live as long as this.
    int& Count() { return count_; }
    char** Values() { return values_.data(); }

private:
    std::vector<std::string> added_;
    std::vector<char*> values_;
    int count_ = 0;
};

} // namespace tilava
