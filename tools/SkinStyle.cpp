#include "SkinStyle.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <set>
#include <utility>

namespace tilava::skin {

namespace {
// A background is painted once for itself and again under each of its buttons: count each
// fault once.
std::set<QString>& LayoutFaultSet() {
    static std::set<QString> faults;
    return faults;
}
} // namespace

QFont Font(int pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

double TextWidth(const QString& text, const QFont& font) {
    return QFontMetricsF(font).horizontalAdvance(text);
}

int LayoutFaults() {
    return static_cast<int>(LayoutFaultSet().size());
}

void ReportLayoutFault(const QString& what) {
    if (LayoutFaultSet().insert(what).second) {
        std::fprintf(stderr, "layout: %s\n", what.toUtf8().constData());
    }
}

void Text(QPainter& p, const QRectF& box, int flags, const QString& text, const QFont& font,
          const QColor& colour) {
    const QRectF needed = QFontMetricsF(font).boundingRect(box, flags, text);
    if (needed.width() > box.width() + 0.5 || needed.height() > box.height() + 0.5) {
        ReportLayoutFault(QStringLiteral("\"%1\" needs %2 x %3, box is %4 x %5")
                              .arg(text)
                              .arg(needed.width())
                              .arg(needed.height())
                              .arg(box.width())
                              .arg(box.height()));
    }
    p.save();
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, flags, text);
    p.restore();
}

void Shadow(QPainter& p, const QRectF& box, double radius, int spread, int alpha) {
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = spread; i >= 1; --i) {
        QColor c(0x0E, 0x22, 0x4E, alpha / spread);
        p.setBrush(c);
        const QRectF r = box.adjusted(-i * 0.5, -i * 0.25, i * 0.5, i * 0.75);
        p.drawRoundedRect(r, radius + i * 0.5, radius + i * 0.5);
    }
    p.restore();
}

void Button(QPainter& p, const QRectF& box, const QString& caption, ButtonKind kind, bool hover) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body = box.adjusted(1, 1, -1, -2);
    const double radius = 5;
    Shadow(p, body, radius, 3, hover ? 90 : 60);

    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    QColor edge;
    QColor textColour;
    if (kind == ButtonKind::Primary) {
        fill.setColorAt(0, hover ? QColor(0x4A, 0x8F, 0xE2) : QColor(0x34, 0x73, 0xC6));
        fill.setColorAt(1, hover ? QColor(0x2A, 0x65, 0xBA) : QColor(0x1E, 0x4B, 0x94));
        edge = hover ? QColor(0x1C, 0x4F, 0x9C) : QColor(0x16, 0x3C, 0x7A);
        textColour = color::kWhite;
    } else {
        fill.setColorAt(0, hover ? QColor(0xF4, 0xF9, 0xFF) : color::kWhite);
        fill.setColorAt(1, hover ? QColor(0xC4, 0xDC, 0xF8) : QColor(0xE6, 0xEF, 0xFA));
        edge = hover ? color::kBlue : QColor(0x8F, 0xB0, 0xD8);
        textColour = color::kNavy;
    }
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    p.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);

    // Glass line along the top inner edge.
    p.setPen(QPen(QColor(255, 255, 255, kind == ButtonKind::Primary ? 70 : 200), 1));
    p.drawLine(QPointF(body.left() + radius, body.top() + 1.5),
               QPointF(body.right() - radius, body.top() + 1.5));
    if (hover) {
        // A soft light in the middle tells the pointer is on the button.
        QRadialGradient glow(body.center() + QPointF(0, body.height() * 0.35), body.width() * 0.5);
        glow.setColorAt(0, QColor(255, 255, 255, kind == ButtonKind::Primary ? 60 : 120));
        glow.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawRoundedRect(body.adjusted(1, 1, -1, -1), radius, radius);
    }
    // The caption keeps 12 px where it fits; a narrow button takes a smaller size.
    const QRectF captionBox = body.adjusted(3, 0, -3, 0);
    int size = 12;
    while (size > 9 && TextWidth(caption, Font(size, true)) > captionBox.width()) {
        size -= 1;
    }
    Text(p, captionBox, Qt::AlignCenter, caption, Font(size, true), textColour);
    p.restore();
}

PaintFunction OnBackground(PaintFunction background, QPointF origin, PaintFunction overlay) {
    return [background = std::move(background), origin, overlay = std::move(overlay)](QPainter& p) {
        p.save();
        p.translate(-origin);
        background(p);
        p.restore();
        overlay(p);
    };
}

PaintFunction ButtonOnBackground(PaintFunction background, QRectF place, const QString& caption,
                                 ButtonKind kind, bool hover) {
    return OnBackground(std::move(background), place.topLeft(),
                        [size = place.size(), caption, kind, hover](QPainter& p) {
                            Button(p, QRectF(QPointF(0, 0), size), caption, kind, hover);
                        });
}

void InputBox(QPainter& p, const QRectF& box, bool enabled) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(enabled ? QColor(0x8F, 0xB0, 0xD8) : QColor(0xB4, 0xB9, 0xC0), 1));
    p.setBrush(enabled ? color::kWhite : QColor(0xE4, 0xE6, 0xE9));
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    // Inner shadow along the top edge: the box reads as sunk into the surface.
    p.setPen(QPen(QColor(0x15, 0x30, 0x6A, enabled ? 28 : 18), 1));
    p.drawLine(QPointF(box.left() + 3, box.top() + 1.5), QPointF(box.right() - 3, box.top() + 1.5));
    p.restore();
}

void CalendarIcon(QPainter& p, const QRectF& box, const QString& day) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double w = box.width();
    const double r = w * 0.12;
    const QRectF page = box.adjusted(0, box.height() * 0.08, 0, 0);
    Shadow(p, page, r, 4, 70);
    p.setPen(Qt::NoPen);
    p.setBrush(color::kWhite);
    p.drawRoundedRect(page, r, r);
    // Red band at the top of the page.
    QPainterPath band;
    band.addRoundedRect(page, r, r);
    QPainterPath top;
    top.addRect(QRectF(page.left(), page.top(), page.width(), page.height() * 0.3));
    QLinearGradient red(page.topLeft(), QPointF(page.left(), page.top() + page.height() * 0.3));
    red.setColorAt(0, color::kRed.lighter(112));
    red.setColorAt(1, color::kRed);
    p.setBrush(red);
    p.drawPath(band.intersected(top));
    // Binder rings.
    p.setBrush(color::kNavy);
    for (double x : {0.28, 0.72}) {
        p.drawRoundedRect(
            QRectF(box.left() + w * x - w * 0.05, box.top(), w * 0.1, box.height() * 0.2), w * 0.05,
            w * 0.05);
    }
    QFont f = Font(static_cast<int>(page.height() * 0.5), true);
    p.setFont(f);
    p.setPen(color::kNavy);
    p.drawText(
        QRectF(page.left(), page.top() + page.height() * 0.3, page.width(), page.height() * 0.7),
        Qt::AlignCenter, day);
    p.restore();
}

void Gear(QPainter& p, QPointF centre, double outer, double inner, double hole,
          const QColor& colour) {
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const double a0 = (i - 0.5) * M_PI / teeth;
        const double a1 = (i + 0.5) * M_PI / teeth;
        const double radius = (i % 2 == 0) ? outer : inner;
        const QPointF p0 = centre + QPointF(std::cos(a0), std::sin(a0)) * radius;
        const QPointF p1 = centre + QPointF(std::cos(a1), std::sin(a1)) * radius;
        if (i == 0) {
            gear.moveTo(p0);
        } else {
            gear.lineTo(p0);
        }
        gear.lineTo(p1);
    }
    gear.closeSubpath();
    gear.addEllipse(centre, hole, hole);
    gear.setFillRule(Qt::OddEvenFill);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(gear);
}

} // namespace tilava::skin
