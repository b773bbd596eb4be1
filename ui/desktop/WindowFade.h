#pragma once

class QGraphicsOpacityEffect;
class QWidget;

namespace tilava {

// The fade of a top-level window, shown the way the window system shows it: by the window's
// opacity, or drawn by the program into a translucent window (the window's painting, with all
// its controls, is laid over its place with the fade's alpha).
class WindowFade {
public:
    // Made before the window is shown for the first time: a translucent window must be
    // created as one.
    WindowFade(QWidget& window, bool byPainting);

    // The fade's alpha, 0 (transparent) .. 255 (opaque).
    void SetAlpha(int alpha);

private:
    QWidget& window_;
    QGraphicsOpacityEffect* effect_ = nullptr; // owned by the window
};

} // namespace tilava
