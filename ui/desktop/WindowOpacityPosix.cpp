#include "ui/desktop/WindowOpacity.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

namespace tilava {

void SetWindowAlpha(QWidget& window, int alpha) {
    window.setWindowOpacity(alpha / 255.0);
    // Qt's xcb backend writes _NET_WM_WINDOW_OPACITY into the request buffer and leaves it
    // there; the GLib event loop flushes that buffer only when it handles X events. Other
    // window systems (Wayland, offscreen) have no such connection and need nothing here; the
    // offscreen one answers as X11 but without a connection.
    if (const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        if (xcb_connection_t* spojenie = x11->connection())
            xcb_flush(spojenie);
}

} // namespace tilava
