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

void Nakresli(QPainter& p, const QRect& place) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(place.topLeft());
    p.scale(place.width() / 32.0, place.height() / 32.0);

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
void NakresliDen(QPainter& p, const QRect& place, int date) {
    const qreal s = place.width() / 32.0;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(place.topLeft());
    // The outline at least one pixel wide keeps the white sheet apart from a light panel.
    const qreal pero = std::max(1.0, 1.5 * s);
    const QRectF list(pero / 2, pero / 2, place.width() - pero, place.height() - pero);
    const qreal polomer = 4 * s;
    QPainterPath margin;
    margin.addRoundedRect(list, polomer, polomer);
    const qreal vazba = std::max(2.0, std::round(6 * s)); // height of the binding strip
    QPainterPath pas;
    pas.addRect(QRectF(0, 0, place.width(), vazba));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(margin);
    p.setBrush(palette::kRed);
    p.drawPath(margin.intersected(pas));
    p.setPen(QPen(palette::kNavy, pero));
    p.setBrush(Qt::NoBrush);
    p.drawPath(margin);

    // The number fills the sheet below the strip, narrowed when two digits would not fit.
    const QString number = QString::number(date);
    const QRectF area(pero, vazba, place.width() - 2 * pero, place.height() - vazba - pero);
    QFont pismo =
        fonts::Font(fonts::kSkin, std::max(6, static_cast<int>(area.height() * 1.18)), true, false);
    QFontMetricsF miery(pismo);
    const qreal width = miery.boundingRect(number).width();
    if (width > area.width())
        pismo.setStretch(std::max(50, static_cast<int>(100 * area.width() / width)));
    p.setFont(pismo);
    p.setPen(palette::kNavy);
    // Centred on the digits' own height, not the font's line.
    miery = QFontMetricsF(pismo);
    const QRectF tvar = miery.tightBoundingRect(number);
    const qreal x = area.center().x() - tvar.center().x();
    const qreal y = area.center().y() - tvar.center().y();
    p.drawText(QPointF(std::round(x), std::round(y)), number);
    p.restore();
}

// Paints the icon at whatever size and density the tray asks for, only when it asks.
class KalendarovaIkona final : public QIconEngine {
public:
    explicit KalendarovaIkona(int date) : den_(date) {}
    void paint(QPainter* p, const QRect& place, QIcon::Mode, QIcon::State) override {
        // A tray slot need not be square: the sheet keeps its shape in the middle of it.
        const int side = std::min(place.width(), place.height());
        QRect stvorec(0, 0, side, side);
        stvorec.moveCenter(place.center());
        if (den_ > 0)
            NakresliDen(*p, stvorec, den_);
        else
            Nakresli(*p, stvorec);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode rezim, QIcon::State state) override {
        return scaledPixmap(size, rezim, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode rezim, QIcon::State state,
                         qreal mierka) override {
        // (Qt passes the size already in the device's pixels)
        QPixmap image(size);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            paint(&p, image.rect(), rezim, state);
        }
        image.setDevicePixelRatio(mierka);
        return image;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new KalendarovaIkona(den_); }

private:
    int den_;
};

} // namespace

QIcon TrayIconPicture() {
    return QIcon(new KalendarovaIkona(0));
}

QIcon TrayIconPicture(int date) {
    return QIcon(new KalendarovaIkona(date));
}

} // namespace tilava
