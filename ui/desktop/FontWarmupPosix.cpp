#include "ui/desktop/FontWarmup.h"

#include <fontconfig/fontconfig.h>

namespace tilava {

// Qt reads the fonts through fontconfig, whose first use parses its whole configuration; the
// library is thread-safe, and Qt finds it ready.
FontWarmup::FontWarmup() : thread_([] { FcInit(); }) {}

FontWarmup::~FontWarmup() {
    thread_.join();
}

} // namespace tilava
