#include "ui/InstanceChannel.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <algorithm>

namespace tilava {

namespace {

const QByteArray poziadavka = "zobraz\n";

} // namespace

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {}

bool InstanceChannel::Pocuvaj(const QString& meno) {
    if (!DruhaKopiaZobrazi())
        return false;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(meno);
    connect(server_, &QLocalServer::newConnection, this, &InstanceChannel::PrijmiSpojenie);
    return server_->listen(meno);
}

void InstanceChannel::PrijmiSpojenie() {
    while (QLocalSocket* spojenie = server_->nextPendingConnection()) {
        connect(spojenie, &QLocalSocket::disconnected, spojenie, &QObject::deleteLater);
        connect(spojenie, &QLocalSocket::readyRead, this, [this, spojenie] {
            while (spojenie->canReadLine()) {
                if (spojenie->readLine() == poziadavka)
                    emit zobrazit();
            }
            // Nothing sensible is longer than the request: drop a peer that talks on.
            if (spojenie->bytesAvailable() > poziadavka.size())
                spojenie->abort();
        });
    }
}

bool InstanceChannel::PoziadajOZobrazenie(const QString& meno, int casMs) {
    if (!DruhaKopiaZobrazi())
        return false;
    const QDeadlineTimer koniec(casMs);
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(meno);
        if (socket.waitForConnected(static_cast<int>(koniec.remainingTime()))) {
            socket.write(poziadavka);
            const bool odoslane = socket.waitForBytesWritten(
                static_cast<int>(std::max<qint64>(koniec.remainingTime(), 100)));
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState)
                socket.waitForDisconnected(100);
            return odoslane;
        }
        // The running copy may still be starting and not listen yet.
        if (koniec.hasExpired())
            return false;
        QThread::msleep(50);
    }
}

} // namespace tilava
