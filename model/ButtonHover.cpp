#include "model/ButtonHover.h"

namespace tilava {

void ButtonHover::NadTlacidlom(Tlacidlo tlacidlo) {
    if (Nad[tlacidlo])
        return;
    Nad[tlacidlo] = true;
    switch (tlacidlo) {
    case Setup:
        Nad[Help] = false;
        break;
    case Help:
        Nad[Setup] = false;
        Nad[Min] = false;
        break;
    case Min:
        Nad[Close] = false;
        Nad[Help] = false;
        break;
    case Close:
        Nad[Min] = false;
        break;
    }
}

void ButtonHover::Zhasni() {
    Nad.fill(false);
}

} // namespace tilava
