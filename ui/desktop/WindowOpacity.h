#pragma once

class QWidget;

namespace tilava {

// Gives a top-level window the opacity `alpha` (0 transparent .. 255 opaque) and hands the
// change to the window system at once. A fade runs from a timer while nothing else happens on
// the screen: on X11 the new opacity would otherwise wait in the connection's output buffer
// until the next unrelated X event, and the window would jump from opaque to its last step.
void SetWindowAlpha(QWidget& window, int alpha);

} // namespace tilava
