#include "ui/TrayIconPicture.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tilava {

namespace {

void Nakresli(QPainter& p, const QRect& miesto) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(miesto.topLeft());
    p.scale(miesto.width() / 32.0, miesto.height() / 32.0);

    const QColor nebeska{0xA6, 0xCA, 0xF0}, namornicka{0x15, 0x30, 0x6A}, cervena{0xD4, 0x2A, 0x37};
    // The page, its navy binding strip cut from the same rounded outline (so strip and page meet
    // in one straight edge), and the outline last, over both.
    QPainterPath list;
    list.addRoundedRect(QRectF(2.5, 4.5, 27, 25), 4, 4);
    QPainterPath pas;
    pas.addRect(QRectF(0, 0, 32, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(list);
    p.setBrush(namornicka);
    p.drawPath(list.intersected(pas));
    p.setPen(QPen(namornicka, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(list);
    // The two rings of the binding.
    p.setPen(Qt::NoPen);
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
    p.restore();
}

// Paints the icon at whatever size the tray asks for, only when it asks.
class KalendarovaIkona final : public QIconEngine {
public:
    void paint(QPainter* p, const QRect& miesto, QIcon::Mode, QIcon::State) override {
        Nakresli(*p, miesto);
    }
    QPixmap pixmap(const QSize& velkost, QIcon::Mode, QIcon::State) override {
        QPixmap obraz(velkost);
        obraz.fill(Qt::transparent);
        QPainter p(&obraz);
        Nakresli(p, obraz.rect());
        return obraz;
    }
    QSize actualSize(const QSize& velkost, QIcon::Mode, QIcon::State) override { return velkost; }
    QIconEngine* clone() const override { return new KalendarovaIkona; }
};

} // namespace

QIcon TrayIconPicture() {
    return QIcon(new KalendarovaIkona);
}

} // namespace tilava
