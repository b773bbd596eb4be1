#pragma once

#include <optional>

namespace tilava {

class TRegi;

// What the main widget reads from the settings store when it starts, with the defaults applied.
struct StartSettings {
    bool Startup = false;    // registered to start with the session
    bool Pamatat = false;    // restore the widget's position
    bool Stale = false;      // the widget never fades by itself
    int ShowTime = 20000;    // milliseconds fully shown before fading
    int Upozornenie = 0;     // 0 never, 1 at the first start, 2 at every start
    int Dopredu = 0;         // days after today whose entries join today's reminders
    std::optional<int> Top;  // only when Pamatat and the stored edge is non-zero
    std::optional<int> Left; // likewise

    // Reads in the widget's order: start-up, position, display time, sound, days ahead,
    // always shown, then the remembered edges.
    static StartSettings Nacitaj(const TRegi& regi);

    // "ShowTime" as stored: 0 (absent or not a number) gives the default 20000.
    static int PlatnyShowTime(int ulozeny);
    // "Upozornenie" as stored: 0, 1 and 2 are taken, anything else keeps the current mode.
    static int PlatneUpozornenie(int ulozene, int doterajsie);
};

} // namespace tilava
