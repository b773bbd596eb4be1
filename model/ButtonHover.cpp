#include "model/ButtonHover.h"

namespace tilava {

void ButtonHover::Enter(Button button) {
    if (lit[button])
        return;
    lit[button] = true;
    switch (button) {
    case Setup:
        lit[Help] = false;
        break;
    case Help:
        lit[Setup] = false;
        lit[Min] = false;
        break;
    case Min:
        lit[Close] = false;
        lit[Help] = false;
        break;
    case Close:
        lit[Min] = false;
        break;
    }
}

void ButtonHover::Dim() {
    lit.fill(false);
}

} // namespace tilava
