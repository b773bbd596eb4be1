#pragma once

namespace tilava {

// Qt's own texts in Slovak: the file dialogs ("Hľadať v:"), the standard buttons, the text
// fields' context menus. The program speaks only Slovak, whatever the system's language. The
// translation comes from Qt's translations folder (on Debian the package
// qt6-translations-l10n); a program built on a Qt without one (the static Windows build)
// carries its own copy. Installs it into the running application; false when neither is there
// and Qt stays in English.
bool LoadQtTranslation();

} // namespace tilava
