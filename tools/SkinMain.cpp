// The main widget: header (170 x 85) with the day page on the left and the names panel on the
// right under a navy strip that holds "Dnes", the flag and four small buttons; the three event
// bars; the flags; the buttons in normal and hover look; the tomorrow decoration.
#include "SkinFlags.h"
#include "SkinWindows.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace tilava::skin {

namespace {

constexpr double kStripHeight = 20;
const QRectF kDayPage(3, 22, 65, 59);
const QRectF kNamesPanel(72, 23, 96, 58);

// The header is painted one pixel wider than the window so that the tomorrow decoration, which
// reaches to x = 171, has background under all of it.
void Header(QPainter& p) {
    const double width = 171;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 85);
    sky.setColorAt(0, QColor(0xBD, 0xD9, 0xF6));
    sky.setColorAt(1, QColor(0xA2, 0xC8, 0xEF));
    p.fillRect(QRectF(0, 0, width, 85), sky);

    // Navy strip with "Dnes", the flag and the buttons.
    QLinearGradient strip(0, 0, 0, kStripHeight);
    strip.setColorAt(0, QColor(0x23, 0x45, 0x84));
    strip.setColorAt(1, QColor(0x15, 0x2F, 0x63));
    p.fillRect(QRectF(0, 0, width, kStripHeight), strip);
    p.fillRect(QRectF(0, 0, width, 1), QColor(255, 255, 255, 45));
    p.fillRect(QRectF(0, kStripHeight - 1, width, 1), color::kNavyDark);
    p.fillRect(QRectF(0, kStripHeight, width, 1), QColor(0x0E, 0x22, 0x4E, 60));

    // Day page: a tear-off calendar page, one more page peeking out beneath it.
    Shadow(p, kDayPage.adjusted(0, 0, 0, 2), 5, 3, 60);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xDD, 0xE8, 0xF5));
    p.drawRoundedRect(kDayPage.adjusted(1.5, 2, -1.5, 2), 5, 5);
    QLinearGradient paper(kDayPage.topLeft(), kDayPage.bottomLeft());
    paper.setColorAt(0, color::kWhite);
    paper.setColorAt(1, QColor(0xF3, 0xF7, 0xFC));
    p.setBrush(paper);
    p.drawRoundedRect(kDayPage, 5, 5);
    // A red edge at the top of the page, as on a printed calendar.
    QPainterPath page;
    page.addRoundedRect(kDayPage, 5, 5);
    QPainterPath edge;
    edge.addRect(QRectF(kDayPage.left(), kDayPage.top(), kDayPage.width(), 2.5));
    p.setBrush(color::kRed);
    p.drawPath(page.intersected(edge));
    // Binder rings hold the page to the strip; they start below the flag (y 1..18).
    for (double x : {17.0, 50.0}) {
        p.setBrush(QColor(0x0E, 0x22, 0x4E));
        p.drawRoundedRect(QRectF(x - 2, 19, 4, 6), 2, 2);
        p.setBrush(QColor(255, 255, 255, 90));
        p.drawRoundedRect(QRectF(x - 1.2, 19.8, 1.2, 4), 0.6, 0.6);
    }

    // Names panel.
    Shadow(p, kNamesPanel, 6, 3, 70);
    QLinearGradient blue(kNamesPanel.topLeft(), kNamesPanel.bottomLeft());
    blue.setColorAt(0, QColor(0x3E, 0x80, 0xD0));
    blue.setColorAt(1, QColor(0x22, 0x56, 0x9F));
    p.setBrush(blue);
    p.drawRoundedRect(kNamesPanel, 6, 6);
    // A soft sheen over the upper left of the panel.
    QRadialGradient sheen(kNamesPanel.topLeft() + QPointF(20, 0), 70);
    sheen.setColorAt(0, QColor(255, 255, 255, 50));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(sheen);
    p.drawRoundedRect(kNamesPanel, 6, 6);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(kNamesPanel.adjusted(0.5, 0.5, -0.5, -0.5), 5.5, 5.5);
    p.restore();
}

void Bar(QPainter& p, const QColor& base) {
    const QRectF bar(0, 0, 140, 33);
    QLinearGradient fill(0, 0, 0, 33);
    fill.setColorAt(0, base.lighter(114));
    fill.setColorAt(1, base.darker(106));
    p.fillRect(bar, fill);
    // The stripe at the left edge tells the kind at a glance even on a one-line bar.
    p.fillRect(QRectF(0, 0, 4, 33), base.darker(140));
    p.fillRect(QRectF(0, 0, 140, 1), QColor(255, 255, 255, 70));
    p.fillRect(QRectF(0, 32, 140, 1), QColor(0, 0, 0, 55));
}

// Colours of a top button's glyph and face.
struct ButtonLook {
    QColor glyph;
    QColor face; // transparent when normal
};

ButtonLook Look(bool hover, bool danger) {
    if (!hover) {
        return {QColor(0xC6, 0xDA, 0xF3), QColor(0, 0, 0, 0)};
    }
    return {color::kWhite, danger ? color::kRed : QColor(0x3F, 0x74, 0xC4)};
}

void ButtonFace(QPainter& p, const QRectF& box, const ButtonLook& look) {
    if (look.face.alpha() == 0) {
        return;
    }
    p.setPen(QPen(look.face.lighter(130), 1));
    p.setBrush(look.face);
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}

PaintFunction SetupButton(bool hover) {
    return OnBackground(Header, QPointF(101, 1), [hover](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        const ButtonLook look = Look(hover, false);
        ButtonFace(p, QRectF(0, 0, 18, 16), look);
        Gear(p, QPointF(9, 8), 6.0, 4.6, 1.9, look.glyph);
    });
}

PaintFunction HelpButton(bool hover) {
    return OnBackground(Header, QPointF(120, 1), [hover](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        const ButtonLook look = Look(hover, false);
        ButtonFace(p, QRectF(0, 0, 13, 14), look);
        p.setFont(Font(11, true));
        p.setPen(look.glyph);
        p.drawText(QRectF(0, 0, 13, 14), Qt::AlignCenter, QStringLiteral("?"));
    });
}

PaintFunction MinButton(bool hover) {
    return OnBackground(Header, QPointF(135, 1), [hover](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        const ButtonLook look = Look(hover, false);
        ButtonFace(p, QRectF(0, 0, 13, 14), look);
        p.fillRect(QRectF(3, 9, 7, 2), look.glyph);
    });
}

PaintFunction CloseButton(bool hover) {
    return OnBackground(Header, QPointF(152, 1), [hover](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        const ButtonLook look = Look(hover, true);
        ButtonFace(p, QRectF(0, 0, 13, 14), look);
        p.setPen(QPen(look.glyph, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 4), QPointF(9.5, 10));
        p.drawLine(QPointF(9.5, 4), QPointF(3.5, 10));
    });
}

// Shown over the lower right of the names panel in the tomorrow view: the sun rising over the
// hills, "tomorrow" in a picture.
void Tomorrow(QPainter& p) {
    p.save();
    p.translate(-86, -45);
    Header(p);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath panel;
    panel.addRoundedRect(kNamesPanel.adjusted(1, 1, -1, -1), 5, 5);
    p.setClipPath(panel);

    const QPointF sun(127, 73);
    QRadialGradient glow(sun, 30);
    glow.setColorAt(0, QColor(255, 255, 255, 110));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(sun, 30, 30);
    // Rays.
    p.setPen(QPen(QColor(255, 255, 255, 200), 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i <= 6; ++i) {
        const double a = M_PI + i * M_PI / 6;
        const QPointF d(std::cos(a), std::sin(a));
        p.drawLine(sun + d * 13, sun + d * 18);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xF4, 0xD6));
    p.drawEllipse(sun, 10, 10);
    // Hills in front of the sun, opaque so that nothing behind them shows through. Both rise out
    // of the panel's bottom edge inside the picture: at its left edge (x = 86) they are still
    // below the panel, so the picture meets the header there without a seam.
    QPainterPath hills;
    hills.moveTo(86, 84);
    hills.lineTo(86, 82);
    hills.cubicTo(94, 78, 98, 70, 108, 70);
    hills.cubicTo(116, 70, 120, 74, 127, 74.5);
    hills.cubicTo(136, 75, 142, 66, 154, 66);
    hills.cubicTo(162, 66, 168, 69, 172, 71);
    hills.lineTo(172, 84);
    hills.closeSubpath();
    p.setBrush(QColor(0x1A, 0x3C, 0x7C));
    p.drawPath(hills);
    QPainterPath near;
    near.moveTo(86, 84);
    near.lineTo(86, 83);
    near.cubicTo(104, 80, 118, 76, 136, 76.5);
    near.cubicTo(150, 77, 162, 76, 172, 75);
    near.lineTo(172, 84);
    near.closeSubpath();
    p.setBrush(QColor(0x10, 0x27, 0x57));
    p.drawPath(near);
    p.restore();
}

void FlagWithEdge(QPainter& p, bool slovak) {
    const QRectF box(0, 0, 26, 17);
    if (slovak) {
        FlagSK(p, box);
    } else {
        FlagCZ(p, box);
    }
    p.setPen(QPen(QColor(0, 0, 0, 45), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace

std::vector<PaintedPicture> MainWidgetPictures() {
    return {
        {"main_header", Header},
        {"main_bar_note", [](QPainter& p) { Bar(p, QColor(0x2F, 0x72, 0xC4)); }},
        {"main_bar_birthday", [](QPainter& p) { Bar(p, color::kGreen); }},
        {"main_bar_anniversary", [](QPainter& p) { Bar(p, color::kRed); }},
        // The entries of days the program did not run: violet, unlike any kind of entry.
        {"main_bar_missed", [](QPainter& p) { Bar(p, QColor(0x6A, 0x4C, 0x9C)); }},
        {"main_flag_sk", [](QPainter& p) { FlagWithEdge(p, true); }},
        {"main_flag_cz", [](QPainter& p) { FlagWithEdge(p, false); }},
        {"main_setup_normal", SetupButton(false)},
        {"main_setup_hover", SetupButton(true)},
        {"main_help_normal", HelpButton(false)},
        {"main_help_hover", HelpButton(true)},
        {"main_min_normal", MinButton(false)},
        {"main_min_hover", MinButton(true)},
        {"main_close_normal", CloseButton(false)},
        {"main_close_hover", CloseButton(true)},
        {"main_tomorrow", Tomorrow},
    };
}

} // namespace tilava::skin
