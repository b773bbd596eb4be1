#pragma once

namespace tilava {

// The widget's rectangle on the screen for the leave check of the tomorrow view. Both border
// lines count as inside, the right and bottom ones (Left + Width, Top + Height) too.
struct WidgetRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool Contains(int x, int y) const {
        return left <= x && x <= left + width && top <= y && y <= top + height;
    }
};

} // namespace tilava
