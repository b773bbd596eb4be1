#include "ui/desktop/WindowAbilities.h"

#include <QGuiApplication>
#include <QScreen>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <xcb/xcb.h>

namespace tilava {

namespace {

// The X server is XWayland: a Wayland compositor shows its windows, and most of them (sway,
// weston) ignore the opacity an X11 window asks for, while they show its translucent pixels.
bool OnXWayland() {
    // XWayland up to 23.0 names its outputs XWAYLAND0, XWAYLAND1, ...; later ones take the
    // compositor's names and announce an extension of XWayland's name instead.
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->name().startsWith(QLatin1String("XWAYLAND")))
            return true;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (connection == nullptr)
        return false;
    constexpr const char* name = "XWAYLAND";
    const xcb_query_extension_cookie_t cookie =
        xcb_query_extension(connection, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> reply(
        xcb_query_extension_reply(connection, cookie, nullptr), &std::free);
    return reply && reply->present;
}

WindowAbilities Found() {
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return {.placesItself = false, .showsMinimizedAgain = false, .fadesByPainting = true};
    if (platform == QLatin1String("xcb") && OnXWayland())
        return {.fadesByPainting = true};
    return {};
}

} // namespace

WindowAbilities WindowAbilities::Current() {
    // The window system stays the same for the program's run: asked once (on X11 it costs a
    // round trip to the server), not at every window's close.
    static const WindowAbilities abilities = Found();
    return abilities;
}

} // namespace tilava
