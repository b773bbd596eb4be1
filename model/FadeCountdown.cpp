#include "model/FadeCountdown.h"

namespace tilava {

void FadeCountdown::SpustiOdpocet(std::int32_t showTime, bool always) {
    Opacity = FullOpacity;
    Zostava = static_cast<std::uint32_t>(showTime);
    running = !always;
}

void FadeCountdown::ZastavOdpocet() {
    running = false;
    Opacity = FullOpacity;
}

bool FadeCountdown::Tick() {
    // A count that is not a multiple of the interval (only a hand-edited setting gives one)
    // ends at zero instead of wrapping round to a huge count near the end of the fade.
    if (Zostava <= FadeTime && Zostava < Interval)
        Zostava = 0;
    else
        Zostava -= Interval;
    if (Zostava > FadeTime)
        return false;
    if (Zostava > 0) {
        Opacity = static_cast<int>(Zostava * FullOpacity / FadeTime);
        return false;
    }
    running = false;
    return true;
}

} // namespace tilava
