#include "ui/InstanceChannel.h"

namespace tilava {

// Windows users always have the tray icon, so a second copy ends without a word.
InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::Pocuvaj() {
    return false;
}

bool InstanceChannel::PoziadajOZobrazenie(int) {
    return false;
}

} // namespace tilava
