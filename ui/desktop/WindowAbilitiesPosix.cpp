#include "ui/desktop/WindowAbilities.h"

#include <QGuiApplication>

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
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (connection == nullptr)
        return false;
    // XWayland announces an extension of its own name.
    constexpr const char* name = "XWAYLAND";
    const xcb_query_extension_cookie_t cookie =
        xcb_query_extension(connection, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> reply(
        xcb_query_extension_reply(connection, cookie, nullptr), &std::free);
    return reply && reply->present;
}

} // namespace

WindowAbilities WindowAbilities::Current() {
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return {.placesItself = false, .showsMinimizedAgain = false, .fadesByPainting = true};
    if (platform == QLatin1String("xcb") && OnXWayland())
        return {.fadesByPainting = true};
    return {};
}

} // namespace tilava
