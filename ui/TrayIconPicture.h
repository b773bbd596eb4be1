#pragma once

#include <QIcon>

namespace tilava {

// The tray icon: a small calendar page, navy binding and a red name-day heart on white, painted
// at the sizes trays ask for.
QIcon TrayIconPicture();

} // namespace tilava
