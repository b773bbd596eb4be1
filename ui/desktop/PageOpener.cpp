#include "ui/desktop/PageOpener.h"

#include <QDesktopServices>

namespace tilava {

bool SystemPageOpener::Open(const QUrl& address) {
    return QDesktopServices::openUrl(address);
}

} // namespace tilava
