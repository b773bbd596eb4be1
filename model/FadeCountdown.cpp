#include "model/FadeCountdown.h"

namespace tilava {

void FadeCountdown::SpustiOdpocet(std::int32_t showTime, bool stale) {
    Nepriehladnost = PlnaNepriehladnost;
    Zostava = static_cast<std::uint32_t>(showTime);
    Bezi = !stale;
}

void FadeCountdown::ZastavOdpocet() {
    Bezi = false;
    Nepriehladnost = PlnaNepriehladnost;
}

bool FadeCountdown::Tik() {
    // A count that is not a multiple of the interval (only a hand-edited setting gives one)
    // ends at zero instead of wrapping round to a huge count near the end of the fade.
    if (Zostava <= Prechod && Zostava < Interval)
        Zostava = 0;
    else
        Zostava -= Interval;
    if (Zostava > Prechod)
        return false;
    if (Zostava > 0) {
        Nepriehladnost = static_cast<int>(Zostava * PlnaNepriehladnost / Prechod);
        return false;
    }
    Bezi = false;
    return true;
}

} // namespace tilava
