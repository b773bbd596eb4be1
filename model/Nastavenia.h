#pragma once

#include <filesystem>
#include <string>

namespace tilava {

class TRegi;
class TRok;

// The settings the main widget keeps while it runs (read at start, changed by the settings
// window).
struct NastaveniaWidgetu {
    int ShowTime = 20000; // milliseconds fully shown before fading
    bool Startup = false; // registered to start with the session
    bool Pamatat = false; // restore the widget's position at start
    bool Stale = false;   // the widget never fades by itself
    int Upozornenie = 0;  // 0 never, 1 at the first start, 2 at every start
    int Dopredu = 0;      // days after today whose entries join today's reminders
};

// What the settings window shows and hands back.
struct ZvoleneNastavenia {
    bool JazykSK = true;
    int Sekundy = 20; // whole seconds of ShowTime
    int Dopredu = 0;
    bool Startup = false;
    bool Pamatat = false;
    bool Stale = false;
    int Upozornenie = 0;
};

// The window's starting values: the widget's settings and the calendar's language, the display
// time in whole seconds (truncated).
ZvoleneNastavenia NaUpravu(const NastaveniaWidgetu& widget, bool jazykSK);

// The longest display time that still fits ShowTime in milliseconds.
inline constexpr int MaxSekund = 2147483;

// Applies confirmed settings, in this order: the language into the calendar (for this run
// only), "Upozornenie" (only 0, 1 or 2 is written), "ShowTime" = seconds x 1000 and read back
// (0 reads as 20000), "Dopredu" and read back, then only the start-up switches that changed,
// each followed by reading its state back: the program path (stored in quotes) or nothing for
// start with the session, "True" or nothing for the two markers.
//
// Seconds are kept within 0..MaxSekund and days ahead at 0 or more, so neither a huge number
// nor a negative one can overflow the display time or hide today's reminders. A write that the
// store refuses does not stop the later ones: a number then keeps its new value for this run,
// a switch keeps what the store reads back. The result names every refusal in Slovak (empty
// when everything was stored).
std::string AplikujNastavenia(const ZvoleneNastavenia& zvolene, TRok& rok, TRegi& regi,
                              NastaveniaWidgetu& widget, const std::filesystem::path& program);

} // namespace tilava
