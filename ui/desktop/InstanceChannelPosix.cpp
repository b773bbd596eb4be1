#include "ui/desktop/InstanceChannel.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>

namespace tilava {

namespace {

// A reverse-domain name after the maker ZELM and the program; the object and interface carry
// the same name.
const QString kSluzba = QStringLiteral("sk.zelm.Tilava");
const QString kObjekt = QStringLiteral("/sk/zelm/Tilava");
const QString kRozhranie = QStringLiteral("sk.zelm.Tilava");

} // namespace

InstanceChannel::~InstanceChannel() {
    if (!listening_)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(kSluzba);
    bus.unregisterObject(kObjekt);
}

bool InstanceChannel::Listen() {
    if (listening_)
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!bus.registerObject(kObjekt, this, QDBusConnection::ExportScriptableSlots))
        return false;
    // Only as the name's sole owner: a queued request would answer nobody.
    if (!bus.registerService(kSluzba)) {
        bus.unregisterObject(kObjekt);
        return false;
    }
    listening_ = true;
    return true;
}

bool InstanceChannel::AskToShow(int timeoutMs) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage volanie =
        QDBusMessage::createMethodCall(kSluzba, kObjekt, kRozhranie, QStringLiteral("Ukaz"));
    volanie.setAutoStartService(false);
    const QDeadlineTimer end(timeoutMs);
    while (true) {
        const int zvysok = static_cast<int>(std::max<qint64>(end.remainingTime(), 100));
        const QDBusMessage odpoved = bus.call(volanie, QDBus::Block, zvysok);
        if (odpoved.type() == QDBusMessage::ReplyMessage)
            return true;
        // Nobody owns the name yet: the running copy takes it shortly after its widget is up.
        // Any other answer (no reply in time, a stranger owning the name) is final.
        const QString error = odpoved.errorName();
        const bool nikto = error == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner") ||
                           error == QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown");
        if (!nikto || end.hasExpired())
            return false;
        QThread::msleep(50);
    }
}

} // namespace tilava
