#include "ui/desktop/PageOpener.h"

#include <QDesktopServices>

namespace tilava {

bool SystemPageOpener::Otvor(const QUrl& adresa) {
    return QDesktopServices::openUrl(adresa);
}

} // namespace tilava
