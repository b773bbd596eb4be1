#pragma once

namespace tilava {

// What the window system lets a borderless widget do with its own window. Asked once the
// application object stands.
struct WindowAbilities {
    // The window goes where it is moved and knows where it is. Not so on Wayland: a
    // compositor places its windows and tells no window its place.
    bool placesItself = true;
    // A window given up by minimising can be shown again by the program. Not so on Wayland: a
    // minimised window comes back only from the desktop's own task bar, if it has one.
    bool showsMinimizedAgain = true;
    // A translucent window shows what lies under it: the fade is then drawn by the program,
    // which every compositor shows. Elsewhere the fade is the window's opacity, which X11
    // compositors show (there it is all a desktop without a compositor would accept, and X11
    // programs and tests read it), and Windows applies at once.
    bool fadesByPainting = false;

    static WindowAbilities Current();
};

} // namespace tilava
