#include "ui/InstanceChannel.h"

namespace tilava {

// Windows users always have the tray icon, so a second copy ends without a word.
QString InstanceChannel::NazovKanala() {
    return QStringLiteral("Tilava");
}

bool InstanceChannel::DruhaKopiaZobrazi() {
    return false;
}

} // namespace tilava
