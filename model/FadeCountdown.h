#pragma once

#include <cstdint>

namespace tilava {

// The widget's fade-out: fully shown for ShowTime minus three seconds, then fading in steps of
// the timer's interval, then hidden. The remaining time is unsigned, so a negative ShowTime
// starts as a huge count and the widget does not fade.
class FadeCountdown {
public:
    static constexpr std::uint32_t Interval = 100;  // ms between ticks
    static constexpr std::uint32_t FadeTime = 3000; // ms of fading at the end
    static constexpr int FullOpacity = 255;

    // Full opacity and a fresh count; the timer runs unless the widget stays shown (Stale).
    void SpustiOdpocet(std::int32_t showTime, bool always);
    // Timer stopped, full opacity.
    void ZastavOdpocet();

    // One timer tick. Returns true when the count has run out: the timer stops and the widget
    // is to be hidden; the opacity keeps its last value until the next SpustiOdpocet.
    bool Tick();

    std::uint32_t Zostava = 0; // ms left
    int Opacity = FullOpacity; // 0..255
    bool running = false;      // the timer is running
};

} // namespace tilava
