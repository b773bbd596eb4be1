#include "SkinFlags.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace tilava::skin {

namespace {

const QColor kSkWhite{0xFF, 0xFF, 0xFF};
const QColor kSkBlue{0x0B, 0x4E, 0xA2};
const QColor kSkRed{0xEE, 0x1C, 0x25};
const QColor kCzBlue{0x11, 0x45, 0x7E};
const QColor kCzRed{0xD7, 0x14, 0x1A};

// The shield in its own units: 240 wide, 300 high, flat top, sides that round into a point.
QPainterPath ShieldPath() {
    QPainterPath path;
    path.moveTo(0, 0);
    path.lineTo(240, 0);
    path.lineTo(240, 150);
    path.cubicTo(240, 225, 190, 272, 120, 300);
    path.cubicTo(50, 272, 0, 225, 0, 150);
    path.closeSubpath();
    return path;
}

// A bar of the double cross whose ends flare out a little, as in the coat of arms.
QPainterPath FlaredBar(QPointF from, QPointF to, double thickness) {
    const QPointF along = to - from;
    const double length = std::hypot(along.x(), along.y());
    const QPointF n(-along.y() / length, along.x() / length); // unit normal
    const QPointF mid = (from + to) / 2;
    const double endHalf = thickness * 0.75;
    const double midHalf = thickness * 0.1;
    QPainterPath bar;
    bar.moveTo(from + n * endHalf);
    bar.quadTo(mid + n * midHalf, to + n * endHalf);
    bar.lineTo(to - n * endHalf);
    bar.quadTo(mid - n * midHalf, from - n * endHalf);
    bar.closeSubpath();
    return bar;
}

void CoatOfArms(QPainter& p, double border) {
    const QPainterPath shield = ShieldPath();
    // White border: the shield stroked with twice the border width, under the shield itself.
    p.setPen(QPen(kSkWhite, border * 2, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    p.setBrush(kSkWhite);
    p.drawPath(shield);
    p.setPen(Qt::NoPen);
    p.setBrush(kSkRed);
    p.drawPath(shield);

    p.save();
    p.setClipPath(shield);
    // Double cross: the upper bar is shorter than the lower one.
    p.setBrush(kSkWhite);
    QPainterPath cross;
    cross.setFillRule(Qt::WindingFill);
    cross.addPath(FlaredBar(QPointF(120, 28), QPointF(120, 230), 30));
    cross.addPath(FlaredBar(QPointF(68, 84), QPointF(172, 84), 26));
    cross.addPath(FlaredBar(QPointF(42, 146), QPointF(198, 146), 28));
    p.drawPath(cross);
    // Three hills, the middle one highest.
    QPainterPath hills;
    hills.setFillRule(Qt::WindingFill);
    hills.addEllipse(QPointF(120, 268), 66, 62);
    hills.addEllipse(QPointF(34, 292), 66, 60);
    hills.addEllipse(QPointF(206, 292), 66, 60);
    hills.addRect(QRectF(-10, 285, 260, 30));
    p.setBrush(kSkBlue);
    p.drawPath(hills);
    p.restore();
}

} // namespace

void FlagSK(QPainter& p, const QRectF& box) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const double h = box.height();
    const double stripe = h / 3;
    p.fillRect(QRectF(box.left(), box.top(), box.width(), stripe), kSkWhite);
    p.fillRect(QRectF(box.left(), box.top() + stripe, box.width(), stripe), kSkBlue);
    p.fillRect(QRectF(box.left(), box.top() + 2 * stripe, box.width(), h - 2 * stripe), kSkRed);

    // Shield: height h/2, width 0.4 h, h/4 from the top, the bottom and the hoist.
    const double scale = (h / 2) / 300.0;
    p.translate(box.left() + h / 4, box.top() + h / 4);
    p.scale(scale, scale);
    // The border is a hundredth of the flag's length; never thinner than half a pixel of the
    // smallest picture, or it would vanish.
    const double border = std::max(box.width() / 100, 0.5) / scale;
    CoatOfArms(p, border);
    p.restore();
}

void FlagCZ(QPainter& p, const QRectF& box) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const double h = box.height();
    p.fillRect(QRectF(box.left(), box.top(), box.width(), h / 2), kSkWhite);
    p.fillRect(QRectF(box.left(), box.top() + h / 2, box.width(), h / 2), kCzRed);
    QPainterPath wedge;
    wedge.moveTo(box.topLeft());
    wedge.lineTo(box.left() + box.width() / 2, box.top() + h / 2);
    wedge.lineTo(box.bottomLeft());
    wedge.closeSubpath();
    p.setBrush(kCzBlue);
    p.drawPath(wedge);
    p.restore();
}

} // namespace tilava::skin
