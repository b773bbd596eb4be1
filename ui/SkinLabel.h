#pragma once

#include <QLabel>
#include <QRect>
#include <QString>

namespace tilava {

// A picture control of a skinned window: named as in the designer, at its place, and told of
// every pointer move (the windows light their buttons on moves).
inline QLabel* Obrazok(QWidget* rodic, const char* meno, QRect miesto) {
    auto* obrazok = new QLabel(rodic);
    obrazok->setObjectName(QLatin1String(meno));
    obrazok->setGeometry(miesto);
    obrazok->setMouseTracking(true);
    return obrazok;
}

} // namespace tilava
