// The settings window: client area 303 x 332 in sky blue, background picture 300 x 330. A navy
// strip with "Nastavenia:" (the window is moved by it), then white cards with the row labels on
// the left and the controls' words on the right; the flags, the seconds frame and OK are pictures
// of their own.
#include "SkinFlags.h"
#include "SkinWindows.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <cmath>

namespace tilava::skin {

namespace {

constexpr double kWidth = 300;
constexpr double kHeight = 330;
constexpr double kLabelLeft = 18;
constexpr double kLabelRight = 162;
// The window is 3 pixels wider than its picture, in the same sky blue: cards keep 6 pixels
// to the window edge on both sides.
constexpr double kCardLeft = 6;
constexpr double kCardRight = kWidth - 3;

// A row label, vertically centred on the control it belongs to.
void RowLabel(QPainter& p, double centreY, const QString& text, bool secondary = false) {
    const QRectF box(kLabelLeft, centreY - 8, kLabelRight - kLabelLeft, 16);
    Text(p, box, (secondary ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, text, Font(12),
         secondary ? color::kMuted : color::kNavy);
}

// A word right of a control.
void ControlWord(QPainter& p, double left, double centreY, const QString& text) {
    Text(p, QRectF(left, centreY - 8, kCardRight - 4 - left, 16), Qt::AlignLeft | Qt::AlignVCenter,
         text, Font(10), color::kInk);
}

void Card(QPainter& p, double top, double bottom) {
    const QRectF card(kCardLeft, top, kCardRight - kCardLeft, bottom - top);
    Shadow(p, card, 6, 3, 35);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.setBrush(QColor(0xEE, 0xF5, 0xFD));
    p.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

void Background(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, kWidth, kHeight), color::kSky);

    // Strip with the heading; the window is dragged by it.
    QLinearGradient strip(0, 0, 0, 31);
    strip.setColorAt(0, QColor(0x24, 0x48, 0x8A));
    strip.setColorAt(1, QColor(0x14, 0x2D, 0x60));
    p.fillRect(QRectF(0, 0, kWidth, 31), strip);
    p.fillRect(QRectF(0, 31, kWidth, 1), color::kNavyDark);
    Gear(p, QPointF(19, 15.5), 7.5, 7.5 * 0.78, 7.5 * 0.32, color::kSkyLight);
    Text(p, QRectF(33, 3, 250, 25), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Nastavenia:"),
         Font(15, true), color::kWhite);

    Card(p, 35, 69);
    RowLabel(p, 50.5, QStringLiteral("Kalendár mien"));

    Card(p, 72, 126);
    RowLabel(p, 82.5, QStringLiteral("Hlavné okno zobraziť"));
    ControlWord(p, 188, 82.5, QStringLiteral("stále"));
    RowLabel(p, 110.5, QStringLiteral("alebo na"), true);

    Card(p, 129, 154);
    RowLabel(p, 141.5, QStringLiteral("Upozorniť na poznámky"));
    InputBox(p, QRectF(165, 131.5, 39, 21));
    ControlWord(p, 209, 141.5, QStringLiteral("dní dopredu"));

    Card(p, 157, 211);
    RowLabel(p, 168.5, QStringLiteral("Spustiť pri štarte PC"));
    RowLabel(p, 199.5, QStringLiteral("Pamätať pozíciu okna"));

    Card(p, 214, 285);
    RowLabel(p, 230, QStringLiteral("Zvukové upozornenie"));
    ControlWord(p, 186, 230, QStringLiteral("nikdy"));
    ControlWord(p, 186, 252, QStringLiteral("pri prvom spustení"));
    ControlWord(p, 186, 272, QStringLiteral("pri každom spustení"));
    p.restore();
}

// A flag button: the plain flag, or pressed: lit edge and a green tick.
PaintFunction FlagButton(QPointF at, bool slovak, bool pressed) {
    return OnBackground(Background, at, [slovak, pressed](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF flag(3, 3, 36, 23);
        if (pressed) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x2E, 0x9B, 0x5A, 70));
            p.drawRoundedRect(QRectF(0, 0, 42, 29), 5, 5);
            p.setPen(QPen(color::kGreen, 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(0.75, 0.75, 40.5, 27.5), 4.5, 4.5);
        } else {
            Shadow(p, flag, 2, 3, 50);
        }
        QPainterPath clip;
        clip.addRoundedRect(flag, 2, 2);
        p.save();
        p.setClipPath(clip);
        if (slovak) {
            FlagSK(p, flag);
        } else {
            FlagCZ(p, flag);
        }
        p.restore();
        p.setPen(QPen(QColor(0, 0, 0, 50), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(flag.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
        if (pressed) {
            const QPointF c(34, 22);
            p.setPen(QPen(color::kWhite, 1.5));
            p.setBrush(QColor(0x22, 0xA0, 0x4E));
            p.drawEllipse(c, 6.5, 6.5);
            p.setPen(QPen(color::kWhite, 1.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            QPainterPath tick;
            tick.moveTo(c + QPointF(-3.2, 0.2));
            tick.lineTo(c + QPointF(-0.9, 2.6));
            tick.lineTo(c + QPointF(3.3, -2.4));
            p.setBrush(Qt::NoBrush);
            p.drawPath(tick);
        }
    });
}

// The seconds frame: a box for the number and the word, normal or greyed.
PaintFunction SecondsFrame(bool enabled) {
    return OnBackground(Background, QPointF(164, 98), [enabled](QPainter& p) {
        InputBox(p, QRectF(1, 1.5, 39, 21), enabled);
        Text(p, QRectF(45, 0, 48, 25), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("sekúnd"),
             Font(11, true), enabled ? color::kBlue : QColor(0x8E, 0x99, 0xA8));
    });
}

PaintFunction OkButton(bool hover) {
    return ButtonOnBackground(Background, QRectF(191, 296, 100, 25), QStringLiteral("OK"),
                              ButtonKind::Primary, hover);
}

} // namespace

std::vector<PaintedPicture> SettingsWindowPictures() {
    const QPointF sk(165, 36);
    const QPointF cz(223, 36);
    return {
        {"setup_background", Background},
        {"setup_flag_sk", FlagButton(sk, true, false)},
        {"setup_flag_sk_pressed", FlagButton(sk, true, true)},
        {"setup_flag_cz", FlagButton(cz, false, false)},
        {"setup_flag_cz_pressed", FlagButton(cz, false, true)},
        {"setup_seconds", SecondsFrame(true)},
        {"setup_seconds_disabled", SecondsFrame(false)},
        {"setup_ok_normal", OkButton(false)},
        {"setup_ok_hover", OkButton(true)},
    };
}

} // namespace tilava::skin
