#include "ui/desktop/WindowFade.h"

#include "ui/desktop/WindowOpacity.h"

#include <QGraphicsOpacityEffect>
#include <QWidget>

namespace tilava {

WindowFade::WindowFade(QWidget& window, bool byPainting) : window_(window) {
    if (!byPainting)
        return;
    // The window paints its whole area (its background is filled), so fully opaque it looks
    // as an opaque window does; only the fade lets the desktop through.
    window.setAttribute(Qt::WA_TranslucentBackground);
    effect_ = new QGraphicsOpacityEffect(&window);
    effect_->setEnabled(false);
    window.setGraphicsEffect(effect_);
}

void WindowFade::SetAlpha(int alpha) {
    if (effect_ == nullptr) {
        SetWindowAlpha(window_, alpha);
        return;
    }
    // Fully opaque, the window paints straight into its buffer as it would without a fade.
    effect_->setOpacity(alpha / 255.0);
    effect_->setEnabled(alpha < 255);
}

} // namespace tilava
