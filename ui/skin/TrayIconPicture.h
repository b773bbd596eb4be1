#pragma once

#include <QIcon>

namespace tilava {

// The tray icon: a small calendar page, navy binding and a red name-day heart on white, painted
// at the sizes trays ask for.
QIcon TrayIconPicture();
// The tray icon on a day: a calendar sheet with the day of the month `date` (1..31).
QIcon TrayIconPicture(int date);

} // namespace tilava
