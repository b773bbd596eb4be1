#pragma once

#include "store/WidgetSettings.h"

#include <filesystem>
#include <string>

namespace tilava {

class TRegi;
class TRok;

// The longest display time that still fits ShowTime in milliseconds.
inline constexpr int MaxSeconds = 2147483;

// The display time for a number of whole seconds, as the settings window hands it back: the
// seconds kept within 0..MaxSeconds, so that neither a huge number nor a negative one overflows.
int ShowTimeFromSeconds(int seconds);

// Applies confirmed settings, in this order: the language into the calendar (for this run
// only), "Upozornenie" (only 0, 1 or 2 is written), "ShowTime" in whole seconds x 1000 and read
// back (0 reads as 20000), "Dopredu" and read back, then only the start-up switches that changed,
// each followed by reading its state back: the program path (stored in quotes) or nothing for
// start with the session, "True" or nothing for the two markers.
//
// Seconds are kept within 0..MaxSeconds and days ahead at 0 or more, so neither a huge number
// nor a negative one can overflow the display time or hide today's reminders. A write that the
// store refuses does not stop the later ones: a number then keeps its new value for this run,
// a switch keeps what the store reads back. The result names every refusal in Slovak (empty
// when everything was stored).
std::string ApplySettings(const WidgetSettings& chosen, bool languageSK, TRok& rok, TRegi& regi,
                          WidgetSettings& widget, const std::filesystem::path& program);

} // namespace tilava
