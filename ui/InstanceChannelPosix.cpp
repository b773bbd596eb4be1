#include "ui/InstanceChannel.h"

#include "platform/XdgFolders.h"

#include <QDir>

#include <unistd.h>

namespace tilava {

QString InstanceChannel::NazovKanala() {
    const std::filesystem::path runtime = XdgRuntimeDir();
    if (!runtime.empty())
        return QString::fromStdString((runtime / "Tilava.socket").string());
    return QDir::temp().filePath(QStringLiteral("Tilava-%1.socket").arg(::getuid()));
}

bool InstanceChannel::DruhaKopiaZobrazi() {
    return true;
}

} // namespace tilava
