#include "ui/desktop/SessionEnd.h"

#include <QGuiApplication>
#include <QSessionManager>

namespace tilava {

SessionEnd::SessionEnd(QObject* parent) : QObject(parent) {
#if QT_CONFIG(sessionmanager)
    // Qt answers WM_QUERYENDSESSION with this request; after WM_ENDSESSION Windows ends the
    // process, so the saving happens here, before the answer.
    connect(
        qApp, &QGuiApplication::commitDataRequest, this,
        [this](QSessionManager&) { emit ending(); }, Qt::DirectConnection);
#endif
}

SessionEnd::~SessionEnd() = default;

} // namespace tilava
