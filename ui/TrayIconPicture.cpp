#include "ui/TrayIconPicture.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tilava {

namespace {

QPixmap Nakresli(int strana) {
    QPixmap obraz(strana, strana);
    obraz.fill(Qt::transparent);
    QPainter p(&obraz);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(strana / 32.0, strana / 32.0);

    const QColor nebeska{0xA6, 0xCA, 0xF0}, namornicka{0x15, 0x30, 0x6A}, cervena{0xD4, 0x2A, 0x37};
    const QRectF list(2.5, 4.5, 27, 25);
    p.setPen(QPen(namornicka, 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(list, 4, 4);
    // The binding strip with two rings.
    QPainterPath vrch;
    vrch.addRoundedRect(QRectF(2.5, 4.5, 27, 9), 4, 4);
    vrch.addRect(QRectF(2.5, 9, 27, 4.5));
    p.setPen(Qt::NoPen);
    p.setBrush(namornicka);
    p.drawPath(vrch.simplified());
    p.setBrush(nebeska);
    p.drawRoundedRect(QRectF(8, 1.5, 3, 6), 1.5, 1.5);
    p.drawRoundedRect(QRectF(21, 1.5, 3, 6), 1.5, 1.5);
    // The heart of a name day.
    QPainterPath srdce;
    srdce.moveTo(16, 27);
    srdce.cubicTo(6, 20.5, 9, 14, 13, 15);
    srdce.cubicTo(14.7, 15.4, 15.6, 16.6, 16, 17.6);
    srdce.cubicTo(16.4, 16.6, 17.3, 15.4, 19, 15);
    srdce.cubicTo(23, 14, 26, 20.5, 16, 27);
    p.setBrush(cervena);
    p.drawPath(srdce);
    return obraz;
}

} // namespace

QIcon TrayIconPicture() {
    QIcon ikona;
    for (int strana : {16, 22, 24, 32, 48, 64})
        ikona.addPixmap(Nakresli(strana));
    return ikona;
}

} // namespace tilava
