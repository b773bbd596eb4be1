#include "ui/desktop/WindowOpacity.h"

#include <QWidget>

namespace tilava {

void SetWindowAlpha(QWidget& window, int alpha) {
    // A layered window's new alpha takes effect within the call.
    window.setWindowOpacity(alpha / 255.0);
}

} // namespace tilava
