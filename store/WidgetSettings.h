#pragma once

#include <optional>

namespace tilava {

class TRegi;

// The main widget's settings: read from the settings store when it starts, with the defaults
// applied, changed by the settings window while it runs.
struct WidgetSettings {
    int ShowTime = 20000;    // milliseconds fully shown before fading
    bool Startup = false;    // registered to start with the session
    bool Pamatat = false;    // restore the widget's position at start
    bool Stale = false;      // the widget never fades by itself
    int Upozornenie = 0;     // 0 never, 1 at the first start, 2 at every start
    int Dopredu = 0;         // days after today whose entries join today's reminders
    std::optional<int> Top;  // read at start, only when Pamatat and the stored edge is non-zero
    std::optional<int> Left; // likewise

    // Reads in the widget's order: start-up, position, display time, sound, days ahead,
    // always shown, then the remembered edges.
    static WidgetSettings Nacitaj(const TRegi& regi);

    // "ShowTime" as stored: 0 (absent or not a number) gives the default 20000.
    static int ValidShowTime(int saved);
    // "Upozornenie" as stored: 0, 1 and 2 are taken, anything else keeps the current mode.
    static int ValidAlert(int saved, int previous);

    friend bool operator==(const WidgetSettings&, const WidgetSettings&) = default;
};

} // namespace tilava
