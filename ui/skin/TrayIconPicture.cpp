#include "ui/skin/TrayIconPicture.h"

#include "ui/skin/Fonts.h"
#include "ui/skin/Palette.h"

#include <QFont>
#include <QFontMetricsF>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace tilava {

namespace {

void Nakresli(QPainter& p, const QRect& miesto) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(miesto.topLeft());
    p.scale(miesto.width() / 32.0, miesto.height() / 32.0);

    // The page, its navy binding strip cut from the same rounded outline (so strip and page meet
    // in one straight edge), and the outline last, over both.
    QPainterPath list;
    list.addRoundedRect(QRectF(2.5, 4.5, 27, 25), 4, 4);
    QPainterPath pas;
    pas.addRect(QRectF(0, 0, 32, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(list);
    p.setBrush(palette::kNavy);
    p.drawPath(list.intersected(pas));
    p.setPen(QPen(palette::kNavy, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(list);
    // The two rings of the binding.
    p.setPen(Qt::NoPen);
    p.setBrush(palette::kSky);
    p.drawRoundedRect(QRectF(8, 1.5, 3, 6), 1.5, 1.5);
    p.drawRoundedRect(QRectF(21, 1.5, 3, 6), 1.5, 1.5);
    // The heart of a name day.
    QPainterPath srdce;
    srdce.moveTo(16, 27);
    srdce.cubicTo(6, 20.5, 9, 14, 13, 15);
    srdce.cubicTo(14.7, 15.4, 15.6, 16.6, 16, 17.6);
    srdce.cubicTo(16.4, 16.6, 17.3, 15.4, 19, 15);
    srdce.cubicTo(23, 14, 26, 20.5, 16, 27);
    p.setBrush(palette::kRed);
    p.drawPath(srdce);
    p.restore();
}

// The day's sheet: a thin red band along its top and the day number as large as the sheet allows,
// in whole device pixels, so that it stays legible down to 16 pixels on dark and light panels.
void NakresliDen(QPainter& p, const QRect& miesto, int den) {
    const qreal s = miesto.width() / 32.0;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(miesto.topLeft());
    // The outline at least one pixel wide keeps the white sheet apart from a light panel.
    const qreal pero = std::max(1.0, 1.5 * s);
    const QRectF list(pero / 2, pero / 2, miesto.width() - pero, miesto.height() - pero);
    const qreal polomer = 4 * s;
    QPainterPath okraj;
    okraj.addRoundedRect(list, polomer, polomer);
    const qreal vazba = std::max(2.0, std::round(6 * s)); // height of the binding strip
    QPainterPath pas;
    pas.addRect(QRectF(0, 0, miesto.width(), vazba));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(okraj);
    p.setBrush(palette::kRed);
    p.drawPath(okraj.intersected(pas));
    p.setPen(QPen(palette::kNavy, pero));
    p.setBrush(Qt::NoBrush);
    p.drawPath(okraj);

    // The number fills the sheet below the strip, narrowed when two digits would not fit.
    const QString cislo = QString::number(den);
    const QRectF plocha(pero, vazba, miesto.width() - 2 * pero, miesto.height() - vazba - pero);
    QFont pismo = fonts::Font(fonts::kSkin, std::max(6, static_cast<int>(plocha.height() * 1.18)),
                              true, false);
    QFontMetricsF miery(pismo);
    const qreal sirka = miery.boundingRect(cislo).width();
    if (sirka > plocha.width())
        pismo.setStretch(std::max(50, static_cast<int>(100 * plocha.width() / sirka)));
    p.setFont(pismo);
    p.setPen(palette::kNavy);
    // Centred on the digits' own height, not the font's line.
    miery = QFontMetricsF(pismo);
    const QRectF tvar = miery.tightBoundingRect(cislo);
    const qreal x = plocha.center().x() - tvar.center().x();
    const qreal y = plocha.center().y() - tvar.center().y();
    p.drawText(QPointF(std::round(x), std::round(y)), cislo);
    p.restore();
}

// Paints the icon at whatever size and density the tray asks for, only when it asks.
class KalendarovaIkona final : public QIconEngine {
public:
    explicit KalendarovaIkona(int den) : den_(den) {}
    void paint(QPainter* p, const QRect& miesto, QIcon::Mode, QIcon::State) override {
        // A tray slot need not be square: the sheet keeps its shape in the middle of it.
        const int strana = std::min(miesto.width(), miesto.height());
        QRect stvorec(0, 0, strana, strana);
        stvorec.moveCenter(miesto.center());
        if (den_ > 0)
            NakresliDen(*p, stvorec, den_);
        else
            Nakresli(*p, stvorec);
    }
    QPixmap pixmap(const QSize& velkost, QIcon::Mode rezim, QIcon::State stav) override {
        return scaledPixmap(velkost, rezim, stav, 1.0);
    }
    QPixmap scaledPixmap(const QSize& velkost, QIcon::Mode rezim, QIcon::State stav,
                         qreal mierka) override {
        // (Qt passes the size already in the device's pixels)
        QPixmap obraz(velkost);
        obraz.fill(Qt::transparent);
        {
            QPainter p(&obraz);
            paint(&p, obraz.rect(), rezim, stav);
        }
        obraz.setDevicePixelRatio(mierka);
        return obraz;
    }
    QSize actualSize(const QSize& velkost, QIcon::Mode, QIcon::State) override { return velkost; }
    QIconEngine* clone() const override { return new KalendarovaIkona(den_); }

private:
    int den_;
};

} // namespace

QIcon TrayIconPicture() {
    return QIcon(new KalendarovaIkona(0));
}

QIcon TrayIconPicture(int den) {
    return QIcon(new KalendarovaIkona(den));
}

} // namespace tilava
